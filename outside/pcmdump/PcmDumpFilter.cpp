#include "PcmDumpFilter.h"
#include "FileSinkName.h"
#include <climits>
#include <ks.h>
#include <ksmedia.h>

namespace {

bool LayoutOf(const CMediaType& mt, PcmLayout& layout)
{
    const WAVEFORMATEX* f = mt.WaveFormat();
    if (mt.majortype != MEDIATYPE_Audio || !f) return false;
    bool pcm = f->wFormatTag == WAVE_FORMAT_PCM;
    if (f->wFormatTag == WAVE_FORMAT_EXTENSIBLE && f->cbSize >= 22 && mt.cbFormat >= sizeof(WAVEFORMATEXTENSIBLE))
        pcm = ((const WAVEFORMATEXTENSIBLE*)f)->SubFormat == KSDATAFORMAT_SUBTYPE_PCM;
    layout.channels = f->nChannels;
    layout.rate = (int)f->nSamplesPerSec;
    layout.bits = f->wBitsPerSample;
    return pcm && layout.IsSupported() && f->nBlockAlign == layout.BlockAlign();
}

} // namespace

CPcmDumpInputPin::CPcmDumpInputPin(CPcmDumpFilter* filter, CCritSec* lock)
    : CBaseInputPin(filter, lock, L"Input"), m_dump(filter)
{
}

HRESULT CPcmDumpInputPin::CheckMediaType(const CMediaType* mt)
{
    PcmLayout layout;
    return LayoutOf(*mt, layout) ? S_OK : S_FALSE;
}

STDMETHODIMP CPcmDumpInputPin::Receive(IMediaSample* sample)
{
    HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK) return hr;
    return m_dump->Write(sample);
}

STDMETHODIMP CPcmDumpInputPin::EndOfStream()
{
    HRESULT hr = CheckStreaming();
    if (hr != S_OK) return hr;
    return m_dump->EndOfStream();
}

CPcmDumpFilter::CPcmDumpFilter()
    : CBaseFilter(L"NV PCM Dump Filter", &m_csFilter, CLSID_NVPCMDump, true), m_pin(this, &m_csFilter),
      m_seeking(static_cast<IBaseFilter*>(this), &m_pin)
{
}

CPcmDumpFilter::~CPcmDumpFilter()
{
    FinishFiles();
}

CUnknown* CPcmDumpFilter::CreateInstance(HRESULT* result)
{
    CPcmDumpFilter* f = new (std::nothrow) CPcmDumpFilter;
    if (!f && result) *result = E_OUTOFMEMORY;
    return f;
}

HRESULT CPcmDumpFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IFileSinkFilter) return GetInterface(static_cast<IFileSinkFilter*>(this), ppv);
    if (riid == IID_IPCMDump) return GetInterface(static_cast<IPCMDump*>(this), ppv);
    if (riid == IID_IPCMDumpFiles) return GetInterface(static_cast<IPCMDumpFiles*>(this), ppv);
    if (riid == IID_IPCMDumpSplit) return GetInterface(static_cast<IPCMDumpSplit*>(this), ppv);
    // Graphs that end here ask the writer for the duration (conversion progress).
    if (riid == IID_IMediaSeeking) return GetInterface(static_cast<IMediaSeeking*>(&m_seeking), ppv);
    return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

CBasePin* CPcmDumpFilter::GetPin(int n)
{
    return n == 0 ? &m_pin : nullptr;
}

HRESULT CPcmDumpFilter::StartFiles()
{
    CAutoLock lock(&m_csReceive);
    PcmLayout in;
    if (!LayoutOf(m_pin.CurrentMediaType(), in)) return VFW_E_NOT_CONNECTED;
    PcmLayout out = m_formatSet ? m_format : in;
    if (!m_converter.Open(in, out)) return VFW_E_TYPE_NOT_ACCEPTED;
    m_written.store(0);
    m_fileCount.store(0);
    m_errorReported = false;
    if (m_writeWav) {
        if (m_path.empty()) return E_FAIL;
        // The peak file follows the WAV: one for the file and each continuation.
        m_writer.SetListener(m_writePeak ? &m_peak : nullptr);
        m_writer.SetSplit(m_splitEnabled, (uint64_t)(m_splitMegabytes > 0 ? m_splitMegabytes : 0) * 1048576ull);
        // The file is opened, not yet changed: a graph that fails to run leaves
        // an older file of the name as it was.
        if (!m_writer.Open(m_path, out)) return HRESULT_FROM_WIN32(m_writer.LastError());
    }
    else if (m_writePeak && !m_path.empty())
        m_peak.Start(m_path, out);
    return S_OK;
}

void CPcmDumpFilter::FinishFiles()
{
    CAutoLock lock(&m_csReceive);
    m_writer.Finish();
    m_peak.Finish();
}

STDMETHODIMP CPcmDumpFilter::Pause()
{
    CAutoLock lock(&m_csFilter);
    if (m_state == State_Stopped && m_pin.IsConnected()) {
        HRESULT hr = StartFiles();
        if (FAILED(hr)) {
            FinishFiles();
            return hr;
        }
    }
    return CBaseFilter::Pause();
}

STDMETHODIMP CPcmDumpFilter::Stop()
{
    CAutoLock lock(&m_csFilter);
    HRESULT hr = CBaseFilter::Stop();
    // The pin is inactive now, so no sample is being written any more.
    FinishFiles();
    return hr;
}

HRESULT CPcmDumpFilter::Write(IMediaSample* sample)
{
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data))) return E_POINTER;
    long length = sample->GetActualDataLength();
    if (length <= 0) return S_OK;
    CAutoLock lock(&m_csReceive);
    m_converted.clear();
    m_converter.Convert(data, (size_t)length, m_converted);
    if (m_converted.empty()) return S_OK;
    if (m_writeWav) {
        if (!m_writer.Write(m_converted.data(), m_converted.size()) && !m_errorReported) {
            // Reported once (a full disk gives ERROR_DISK_FULL); what reached the
            // files stays there with headers that describe it. Later sound is
            // dropped so the rest of the graph (monitoring) keeps running.
            m_errorReported = true;
            NotifyEvent(EC_ERRORABORT, HRESULT_FROM_WIN32(m_writer.LastError()), 0);
        }
        m_written.store((int64_t)m_writer.TotalBytes());
        m_fileCount.store(m_writer.ContinuationCount());
    } else {
        m_written.fetch_add((int64_t)m_converted.size());
        m_peak.Feed(m_converted.data(), m_converted.size());
    }
    return S_OK;
}

HRESULT CPcmDumpFilter::EndOfStream()
{
    {
        CAutoLock lock(&m_csReceive);
        m_writer.RefreshHeader();
    }
    NotifyEndOfStream();
    return S_OK;
}

// IFileSinkFilter

STDMETHODIMP CPcmDumpFilter::SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE*)
{
    if (!name || !*name) return E_INVALIDARG;
    CAutoLock lock(&m_csFilter);
    if (!IsStopped()) return VFW_E_NOT_STOPPED;
    // A name that cannot be written fails here, before the graph runs; naming
    // creates and changes nothing (the file is opened when streaming starts).
    HRESULT hr = CheckWritableName(name);
    if (FAILED(hr)) return hr;
    m_path = name;
    return S_OK;
}

STDMETHODIMP CPcmDumpFilter::GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* mt)
{
    CAutoLock lock(&m_csFilter);
    return CopyFileSinkName(m_path, name, mt);
}

// IPCMDump

STDMETHODIMP CPcmDumpFilter::SetFormat(int channels, int sampleRate, int bitsPerSample)
{
    PcmLayout f;
    f.channels = channels;
    f.rate = sampleRate;
    f.bits = bitsPerSample;
    if (!f.IsSupported()) return E_INVALIDARG;
    CAutoLock lock(&m_csFilter);
    if (!IsStopped()) return VFW_E_NOT_STOPPED;
    m_format = f;
    m_formatSet = true;
    return S_OK;
}

STDMETHODIMP CPcmDumpFilter::GetFormat(int* channels, int* sampleRate, int* bitsPerSample)
{
    if (!channels || !sampleRate || !bitsPerSample) return E_POINTER;
    CAutoLock lock(&m_csFilter);
    PcmLayout f = m_format;
    if (!m_formatSet) LayoutOf(m_pin.CurrentMediaType(), f);
    *channels = f.channels;
    *sampleRate = f.rate;
    *bitsPerSample = f.bits;
    return S_OK;
}

STDMETHODIMP CPcmDumpFilter::GetWrittenBytes(int* bytes)
{
    if (!bytes) return E_POINTER;
    int64_t n = m_written.load();
    *bytes = n > INT_MAX ? INT_MAX : (int)n;
    return S_OK;
}

STDMETHODIMP CPcmDumpFilter::GetWrittenBytes64(LONGLONG* bytes)
{
    if (!bytes) return E_POINTER;
    *bytes = m_written.load();
    return S_OK;
}

// IPCMDumpFiles

STDMETHODIMP CPcmDumpFilter::SetWriteWav(BOOL write)
{
    CAutoLock lock(&m_csFilter);
    if (!IsStopped()) return VFW_E_NOT_STOPPED;
    m_writeWav = write != FALSE;
    return S_OK;
}

STDMETHODIMP CPcmDumpFilter::SetWritePeak(BOOL write)
{
    CAutoLock lock(&m_csFilter);
    if (!IsStopped()) return VFW_E_NOT_STOPPED;
    m_writePeak = write != FALSE;
    return S_OK;
}

// IPCMDumpSplit

STDMETHODIMP CPcmDumpFilter::SetSplitEnabled(BOOL enabled)
{
    CAutoLock lock(&m_csFilter);
    if (!IsStopped()) return VFW_E_NOT_STOPPED;
    m_splitEnabled = enabled != FALSE;
    return S_OK;
}

STDMETHODIMP CPcmDumpFilter::SetSplitLimit(int megabytes)
{
    if (megabytes < 0) return E_INVALIDARG;
    CAutoLock lock(&m_csFilter);
    // Also while running: the recording graph gives the limit after it is built.
    m_splitMegabytes = megabytes;
    CAutoLock streaming(&m_csReceive);
    m_writer.SetSplit(m_splitEnabled, (uint64_t)megabytes * 1048576ull);
    return S_OK;
}

STDMETHODIMP CPcmDumpFilter::GetFileCount(int* count)
{
    if (!count) return E_POINTER;
    *count = m_fileCount.load();
    return S_OK;
}
