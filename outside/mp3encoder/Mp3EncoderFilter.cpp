#include "Mp3EncoderFilter.h"
#include "PlatformGuids.h"
#include <mmreg.h>

namespace {

const int kMpegRates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
const int kBitrates[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 192, 224, 256, 320};
const long kOutputBufferBytes = 16384;   // one encoded chunk or flush always fits
// Frames are handed downstream in batches of at least this many bytes (about a third
// of a second at 192 kbps), not one small sample per input sample: each delivery
// costs a buffer from the allocator and its release, and under Wine each of those
// is a round trip through the server.
const size_t kBatchBytes = 8192;

template <size_t N> bool OneOf(int v, const int (&list)[N])
{
    for (int x : list)
        if (x == v) return true;
    return false;
}

bool PcmInput(const CMediaType& mt, WAVEFORMATEX& f)
{
    const WAVEFORMATEX* w = mt.WaveFormat();
    if (mt.majortype != MEDIATYPE_Audio || !w || w->wFormatTag != WAVE_FORMAT_PCM) return false;
    if (w->nChannels < 1 || w->nChannels > 2 || (w->wBitsPerSample != 8 && w->wBitsPerSample != 16)) return false;
    if (w->nSamplesPerSec < 1000 || w->nSamplesPerSec > 384000) return false;
    if (w->nBlockAlign != w->nChannels * w->wBitsPerSample / 8) return false;
    f = *w;
    return true;
}

} // namespace

CMp3EncoderFilter::CMp3EncoderFilter() : CTransformFilter(L"MP3 Encoder", CLSID_NVMP3EncFilter) {}

CUnknown* CMp3EncoderFilter::CreateInstance(HRESULT* result)
{
    auto* f = new (std::nothrow) CMp3EncoderFilter;
    if (!f && result) *result = E_OUTOFMEMORY;
    return f;
}

HRESULT CMp3EncoderFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IMP3EncoderSettings) return GetInterface(static_cast<IMP3EncoderSettings*>(this), ppv);
    if (riid == IID_IMP3EncoderSettings2) return GetInterface(static_cast<IMP3EncoderSettings2*>(this), ppv);
    if (riid == IID_IMP3BitstreamControl) return GetInterface(static_cast<IMP3BitstreamControl*>(this), ppv);
    return CTransformFilter::NonDelegatingQueryInterface(riid, ppv);
}

Mp3StreamSettings CMp3EncoderFilter::SettingsFor(const WAVEFORMATEX& in)
{
    CAutoLock lock(&m_csSettings);
    Mp3StreamSettings s;
    s.inRate = (int)in.nSamplesPerSec;
    s.inChannels = in.nChannels;
    s.inBits = in.wBitsPerSample;
    s.bitrateKbps = m_bitrate;
    s.outRate = m_rate ? m_rate : OneOf(s.inRate, kMpegRates) ? s.inRate : 44100;
    s.monoAsStereo = m_monoAsStereo;
    s.mono = m_mode == 3 || (m_mode < 0 && in.nChannels == 1 && !m_monoAsStereo);
    s.quality = 7;
    return s;
}

HRESULT CMp3EncoderFilter::CheckInputType(const CMediaType* in)
{
    WAVEFORMATEX f;
    return PcmInput(*in, f) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CMp3EncoderFilter::CheckTransform(const CMediaType* in, const CMediaType* out)
{
    WAVEFORMATEX f;
    if (!PcmInput(*in, f)) return VFW_E_TYPE_NOT_ACCEPTED;
    if (out->majortype != MEDIATYPE_Audio || out->subtype != MEDIASUBTYPE_MP3_Audio) return VFW_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

HRESULT CMp3EncoderFilter::GetMediaType(int position, CMediaType* mt)
{
    if (position < 0) return E_INVALIDARG;
    if (position > 0) return VFW_S_NO_MORE_ITEMS;
    WAVEFORMATEX in;
    if (!PcmInput(m_input->CurrentMediaType(), in)) return E_UNEXPECTED;
    Mp3StreamSettings s = SettingsFor(in);
    mt->InitMediaType();
    mt->majortype = MEDIATYPE_Audio;
    mt->subtype = MEDIASUBTYPE_MP3_Audio;
    mt->formattype = FORMAT_WaveFormatEx;
    mt->bFixedSizeSamples = FALSE;
    mt->bTemporalCompression = FALSE;
    mt->lSampleSize = 0;
    auto* f = reinterpret_cast<MPEGLAYER3WAVEFORMAT*>(mt->AllocFormatBuffer(sizeof(MPEGLAYER3WAVEFORMAT)));
    if (!f) return E_OUTOFMEMORY;
    ZeroMemory(f, sizeof *f);
    f->wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    f->wfx.nChannels = s.mono ? 1 : 2;
    f->wfx.nSamplesPerSec = s.outRate;
    f->wfx.nAvgBytesPerSec = s.bitrateKbps * 125;
    f->wfx.nBlockAlign = 1;
    f->wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    f->wID = MPEGLAYER3_ID_MPEG;
    f->fdwFlags = MPEGLAYER3_FLAG_PADDING_ISO;
    f->nBlockSize = (WORD)((s.outRate >= 32000 ? 144 : 72) * s.bitrateKbps * 1000 / s.outRate);
    f->nFramesPerBlock = 1;
    return S_OK;
}

HRESULT CMp3EncoderFilter::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    if (request->cBuffers < 8) request->cBuffers = 8;
    if (request->cbBuffer < kOutputBufferBytes) request->cbBuffer = kOutputBufferBytes;
    return CBaseOutputPin::SetAllocatorProperties(allocator, request);
}

HRESULT CMp3EncoderFilter::StartStreaming()
{
    WAVEFORMATEX in;
    if (!PcmInput(m_input->CurrentMediaType(), in)) return VFW_E_TYPE_NOT_ACCEPTED;
    if (!m_stream.Open(SettingsFor(in))) return E_FAIL;
    m_cutRequested = false;
    m_newBitstream = false;
    m_ended = false;
    m_out.clear();
    return S_OK;
}

HRESULT CMp3EncoderFilter::StopStreaming()
{
    m_stream.Close();
    return S_OK;
}

HRESULT CMp3EncoderFilter::DeliverBytes(const std::vector<uint8_t>& bytes)
{
    for (size_t at = 0; at < bytes.size();) {
        IMediaSample* sample = nullptr;
        HRESULT hr = m_output->GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
        if (FAILED(hr)) return hr;
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        size_t n = bytes.size() - at;
        if (n > (size_t)sample->GetSize()) n = (size_t)sample->GetSize();
        memcpy(data, bytes.data() + at, n);
        sample->SetActualDataLength((long)n);
        sample->SetTime(nullptr, nullptr);
        sample->SetSyncPoint(TRUE);
        // The writer starts a new file where a new bitstream begins.
        sample->SetDiscontinuity(m_newBitstream && at == 0);
        m_newBitstream = false;
        hr = m_output->Deliver(sample);
        sample->Release();
        if (hr != S_OK) return hr;
        at += n;
    }
    return S_OK;
}

HRESULT CMp3EncoderFilter::Receive(IMediaSample* sample)
{
    CAutoLock receive(&m_csReceive);
    HRESULT hr = m_input->CheckStreaming();
    if (hr != S_OK) return hr;
    if (!m_stream.IsOpen() || m_ended) return S_OK;
    if (m_cutRequested.exchange(false)) {
        // The old bitstream's frames, its end included, go before the new one starts.
        if (!m_stream.Cut(m_out)) return E_FAIL;
        hr = DeliverBytes(m_out);
        m_out.clear();
        if (hr != S_OK) return hr;
        m_newBitstream = true;
    }
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data))) return E_POINTER;
    long length = sample->GetActualDataLength();
    if (length <= 0) return S_OK;
    if (!m_stream.Encode(data, (size_t)length, m_out)) {
        m_input->SetRunTimeError();
        NotifyEvent(EC_ERRORABORT, E_FAIL, 0);
        return E_FAIL;
    }
    if (m_out.size() < kBatchBytes) return S_OK;
    hr = DeliverBytes(m_out);
    m_out.clear();
    return hr;
}

HRESULT CMp3EncoderFilter::EndOfStream()
{
    CAutoLock receive(&m_csReceive);
    HRESULT hr = m_input->CheckStreaming();
    if (hr != S_OK) return hr;
    // The batch waiting here and the frames LAME still holds come before the end of the stream.
    if (m_stream.IsOpen() && !m_ended) {
        m_stream.Finish(m_out);
        DeliverBytes(m_out);
        m_out.clear();
        m_ended = true;
    }
    m_eosDelivered = true;
    return m_output->DeliverEndOfStream();
}

STDMETHODIMP CMp3EncoderFilter::RequestCut()
{
    m_cutRequested = true;
    return S_OK;
}

STDMETHODIMP CMp3EncoderFilter::FlushTail()
{
    CAutoLock receive(&m_csReceive);
    if (IsStopped() || !m_stream.IsOpen() || m_ended || !m_output->IsConnected()) return S_FALSE;
    // The batch waiting here first, then the frames LAME holds back.
    if (!m_stream.Finish(m_out)) return E_FAIL;
    m_ended = true;
    HRESULT hr = DeliverBytes(m_out);
    m_out.clear();
    return hr;
}

STDMETHODIMP CMp3EncoderFilter::SetBitrate(int kbps)
{
    if (!OneOf(kbps, kBitrates)) return E_INVALIDARG;
    CAutoLock lock(&m_csSettings);
    m_bitrate = kbps;
    return S_OK;
}

STDMETHODIMP CMp3EncoderFilter::SetSampleRate(int hz)
{
    if (!OneOf(hz, kMpegRates)) return E_INVALIDARG;
    CAutoLock lock(&m_csSettings);
    m_rate = hz;
    return S_OK;
}

STDMETHODIMP CMp3EncoderFilter::SetChannelMode(int mode)
{
    if (mode != 0 && mode != 3) return E_INVALIDARG;
    CAutoLock lock(&m_csSettings);
    m_mode = mode;
    return S_OK;
}

STDMETHODIMP CMp3EncoderFilter::SetStereoOption(int value)
{
    if (value != 0 && value != 1) return E_INVALIDARG;
    CAutoLock lock(&m_csSettings);
    m_monoAsStereo = value == 1;
    return S_OK;
}
