#include "PCMStream.h"
#include "Wavrill.h"

PCMStream::PCMStream(Wavrill* filter) : CSourceStream(filter, L"PCM"), m_owner(filter) {}

HRESULT PCMStream::GetMediaType(int position, CMediaType* mt)
{
    if (!mt)
        return E_POINTER;
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    CAutoLock lock(&m_owner->m_csStream);
    if (!m_owner->m_headerOk)
        return E_INVALIDARG;
    const WavHeaderInfo& h = m_owner->m_file.header;
    *mt = CMediaType::Pcm(h.sampleRate, h.channels, h.bitsPerSample);
    return S_OK;
}

HRESULT PCMStream::CheckMediaType(const CMediaType* mt)
{
    // Only the file's own format: another PCM layout would be read as garbage.
    if (!mt || mt->majortype != MEDIATYPE_Audio)
        return E_INVALIDARG;
    CMediaType own;
    if (GetMediaType(0, &own) != S_OK)
        return E_INVALIDARG;
    const WAVEFORMATEX* want = own.WaveFormat();
    const WAVEFORMATEX* got = mt->WaveFormat();
    if (mt->subtype != MEDIASUBTYPE_PCM || !got || got->wFormatTag != WAVE_FORMAT_PCM ||
        got->nChannels != want->nChannels || got->nSamplesPerSec != want->nSamplesPerSec ||
        got->wBitsPerSample != want->wBitsPerSample || got->nBlockAlign != want->nBlockAlign)
        return E_INVALIDARG;
    return S_OK;
}

HRESULT PCMStream::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    if (!allocator || !request)
        return E_POINTER;
    LONG size;
    {
        CAutoLock lock(&m_owner->m_csStream);
        if (!m_owner->m_headerOk)
            return E_FAIL;
        size = m_owner->BufferSize();
    }
    if (request->cBuffers < 1)
        request->cBuffers = 1;
    request->cbBuffer = size;
    if (request->cbAlign < 1)
        request->cbAlign = 1;
    ALLOCATOR_PROPERTIES actual = {};
    HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer < size ? E_FAIL : S_OK;
}

HRESULT PCMStream::FillBuffer(IMediaSample* sample)
{
    return m_owner->FillSample(sample);
}

HRESULT PCMStream::OnThreadCreate()
{
    m_owner->StartStreaming();
    return S_OK;
}
