#include "Mp3DumpFilter.h"
#include "FileSinkName.h"
#include "ComPtr.h"
#include "PlatformGuids.h"
#include <climits>
#include <mmreg.h>

CMp3DumpInputPin::CMp3DumpInputPin(CMp3DumpFilter* filter, CCritSec* lock)
    : CBaseInputPin(filter, lock, L"Input"), m_dump(filter)
{
}

HRESULT CMp3DumpInputPin::CheckMediaType(const CMediaType* mt)
{
    if (mt->majortype != MEDIATYPE_Audio) return S_FALSE;
    if (mt->subtype == MEDIASUBTYPE_MP3_Audio || mt->subtype == MEDIASUBTYPE_MPEG1AudioPayload) return S_OK;
    const WAVEFORMATEX* f = mt->WaveFormat();
    return f && (f->wFormatTag == WAVE_FORMAT_MPEGLAYER3 || f->wFormatTag == WAVE_FORMAT_MPEG) ? S_OK : S_FALSE;
}

STDMETHODIMP CMp3DumpInputPin::Receive(IMediaSample* sample)
{
    HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK) return hr;
    return m_dump->Write(sample);
}

STDMETHODIMP CMp3DumpInputPin::EndOfStream()
{
    HRESULT hr = CheckStreaming();
    if (hr != S_OK) return hr;
    return m_dump->EndOfStream();
}

STDMETHODIMP CMp3DumpInputPin::BeginFlush()
{
    HRESULT hr = CBaseInputPin::BeginFlush();
    m_dump->Flush();
    return hr;
}

CMp3DumpFilter::CMp3DumpFilter()
    : CBaseFilter(L"NV MP3 Dump", &m_csFilter, CLSID_NVMP3Dump, true), m_pin(this, &m_csFilter),
      m_seeking(static_cast<IBaseFilter*>(this), &m_pin)
{
}

CMp3DumpFilter::~CMp3DumpFilter()
{
    DropUpstreamControl();
    m_files.Finish();
}

CUnknown* CMp3DumpFilter::CreateInstance(HRESULT* result)
{
    auto* f = new (std::nothrow) CMp3DumpFilter;
    if (!f && result) *result = E_OUTOFMEMORY;
    return f;
}

HRESULT CMp3DumpFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IFileSinkFilter) return GetInterface(static_cast<IFileSinkFilter*>(this), ppv);
    if (riid == IID_IMP3Dump) return GetInterface(static_cast<IMP3Dump*>(this), ppv);
    // Graphs that end here ask the writer for the duration and positions.
    if (riid == IID_IMediaSeeking) return GetInterface(static_cast<IMediaSeeking*>(&m_seeking), ppv);
    return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

CBasePin* CMp3DumpFilter::GetPin(int n)
{
    return n == 0 ? &m_pin : nullptr;
}

void CMp3DumpFilter::TakeUpstreamControl()
{
    CComPtr<IPin> peer;
    PIN_INFO info = {};
    IMP3BitstreamControl* control = nullptr;
    if (SUCCEEDED(m_pin.ConnectedTo(&peer)) && peer && SUCCEEDED(peer->QueryPinInfo(&info)) && info.pFilter) {
        info.pFilter->QueryInterface(IID_IMP3BitstreamControl, reinterpret_cast<void**>(&control));
        info.pFilter->Release();
    }
    CAutoLock lock(&m_csControl);
    if (m_control) m_control->Release();
    m_control = control;
}

void CMp3DumpFilter::DropUpstreamControl()
{
    CAutoLock lock(&m_csControl);
    if (m_control) m_control->Release();
    m_control = nullptr;
}

STDMETHODIMP CMp3DumpFilter::Pause()
{
    CAutoLock lock(&m_csFilter);
    if (m_state == State_Stopped && m_pin.IsConnected()) {
        if (m_path.empty()) return E_FAIL;
        CAutoLock receive(&m_csReceive);
        m_frames.Reset();
        m_cutPending = false;
        m_cutAtNextFrame = false;
        m_started = false;
        m_failed = false;
        m_written = 0;
        m_fileCount = 0;
        if (!m_files.Start(m_path)) return HRESULT_FROM_WIN32(m_files.LastError());
        TakeUpstreamControl();
    }
    return CBaseFilter::Pause();
}

STDMETHODIMP CMp3DumpFilter::Stop()
{
    // A recording stopped without end of stream still gets the frames the encoder
    // holds back; they arrive through Receive, so no lock of ours is held here.
    IMP3BitstreamControl* control = nullptr;
    if (IsActive()) {
        CAutoLock lock(&m_csControl);
        control = m_control;
        if (control) control->AddRef();
    }
    if (control) {
        control->FlushTail();
        control->Release();
    }
    CAutoLock lock(&m_csFilter);
    HRESULT hr = CBaseFilter::Stop();
    DropUpstreamControl();
    CAutoLock receive(&m_csReceive);
    m_files.Finish();
    m_frames.Reset();
    return hr;
}

void CMp3DumpFilter::ReportError()
{
    if (m_failed) return;
    // Reported once; what reached the file stays there as whole frames, and later
    // sound is dropped so that the rest of the graph keeps running.
    m_failed = true;
    NotifyEvent(EC_ERRORABORT, HRESULT_FROM_WIN32(m_files.LastError()), 0);
}

HRESULT CMp3DumpFilter::Write(IMediaSample* sample)
{
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data))) return E_POINTER;
    long length = sample->GetActualDataLength();
    CAutoLock lock(&m_csReceive);
    if (m_failed || length <= 0) return S_OK;
    if (m_cutPending) {
        bool encoderCuts;
        {
            CAutoLock control(&m_csControl);
            encoderCuts = m_control != nullptr;
        }
        // Our encoder marks the first sample of the new bitstream; frames before it
        // are the end of the old one. Any other source is cut at a frame boundary.
        if (!encoderCuts || sample->IsDiscontinuity() == S_OK) {
            if (encoderCuts) m_frames.Reset();
            m_cutPending = false;
            m_cutAtNextFrame = m_started;
        }
    }
    m_frames.Append(data, (size_t)length);
    m_batch.clear();
    m_batchEnds.clear();
    const uint8_t* frame;
    size_t frameBytes;
    MpegFrameHeader header;
    bool ok = true;
    while (ok && m_frames.Next(frame, frameBytes, header)) {
        if (m_cutAtNextFrame) {
            ok = m_files.Write(m_batch.data(), m_batch.size(), m_batchEnds.data(), m_batchEnds.size());
            m_batch.clear();
            m_batchEnds.clear();
            m_cutAtNextFrame = false;
            if (ok) {
                ok = m_files.StartNext();
                m_fileCount = m_files.ContinuationCount();
            }
        }
        m_batch.insert(m_batch.end(), frame, frame + frameBytes);
        m_batchEnds.push_back(m_batch.size());
        m_written += (long long)frameBytes;
        m_started = true;
    }
    if (ok && !m_batch.empty()) ok = m_files.Write(m_batch.data(), m_batch.size(), m_batchEnds.data(), m_batchEnds.size());
    if (!ok) ReportError();
    return S_OK;
}

HRESULT CMp3DumpFilter::EndOfStream()
{
    NotifyEndOfStream();
    return S_OK;
}

void CMp3DumpFilter::Flush()
{
    CAutoLock lock(&m_csReceive);
    m_frames.Reset();
}

// IFileSinkFilter

STDMETHODIMP CMp3DumpFilter::SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE*)
{
    if (!name || !*name) return E_INVALIDARG;
    CAutoLock lock(&m_csFilter);
    if (!IsStopped()) return VFW_E_NOT_STOPPED;
    // A bad path fails the graph before it runs; naming creates nothing. The file
    // is created when streaming starts, and never over one that is there.
    HRESULT hr = CheckWritableName(name);
    if (FAILED(hr)) return hr;
    m_path = name;
    return S_OK;
}

STDMETHODIMP CMp3DumpFilter::GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* mt)
{
    CAutoLock lock(&m_csFilter);
    return CopyFileSinkName(m_path, name, mt);
}

// IMP3Dump

STDMETHODIMP CMp3DumpFilter::GetWrittenBytes(int* bytes)
{
    if (!bytes) return E_POINTER;
    long long n = m_written;
    *bytes = n > INT_MAX ? INT_MAX : (int)n;
    return S_OK;
}

STDMETHODIMP CMp3DumpFilter::GetWrittenBytes64(LONGLONG* bytes)
{
    if (!bytes) return E_POINTER;
    *bytes = m_written;
    return S_OK;
}

STDMETHODIMP CMp3DumpFilter::GetFileCount(int* count)
{
    if (!count) return E_POINTER;
    *count = m_fileCount;
    return S_OK;
}

STDMETHODIMP CMp3DumpFilter::NewFile()
{
    // Called on the analyzer's streaming thread: only mark the cut here.
    m_cutPending = true;
    CAutoLock lock(&m_csControl);
    if (m_control) m_control->RequestCut();
    return S_OK;
}
