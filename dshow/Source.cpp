#include "Source.h"

CSource::CSource(const wchar_t* name, REFCLSID clsid, bool live)
    : CBaseFilter(name, &m_csFilter, clsid), m_live(live)
{
}

CSource::~CSource()
{
    for (CSourceStream* stream : m_streams)
        delete stream;
}

int CSource::GetPinCount()
{
    return static_cast<int>(m_streams.size());
}

CBasePin* CSource::GetPin(int n)
{
    return n >= 0 && n < GetPinCount() ? m_streams[n] : nullptr;
}

void CSource::AddStream(CSourceStream* stream)
{
    CAutoLock lock(&m_csFilter);
    m_streams.push_back(stream);
    IncrementPinVersion();
}

STDMETHODIMP CSource::GetState(DWORD timeoutMs, FILTER_STATE* state)
{
    HRESULT hr = CBaseFilter::GetState(timeoutMs, state);
    if (SUCCEEDED(hr) && m_live && *state == State_Paused)
        return VFW_S_CANT_CUE;
    return hr;
}

CSourceStream::CSourceStream(CSource* filter, const wchar_t* name)
    : CBaseOutputPin(filter, filter->StateLock(), name), m_source(filter)
{
    filter->AddStream(this);
}

HRESULT CSourceStream::Active()
{
    HRESULT hr = CBaseOutputPin::Active();
    if (FAILED(hr))
        return hr;
    if (ThreadExists())
        return S_OK;
    if (!Create())
        return E_FAIL;
    hr = (HRESULT)CallWorker(CMD_INIT);
    if (FAILED(hr)) {
        CallWorker(CMD_EXIT);
        Close();
        return hr;
    }
    return (HRESULT)CallWorker(CMD_PAUSE);
}

HRESULT CSourceStream::Inactive()
{
    // Decommit first: a thread waiting for a buffer is freed and sees the stop.
    HRESULT hr = CBaseOutputPin::Inactive();
    if (ThreadExists()) {
        CallWorker(CMD_STOP);
        CallWorker(CMD_EXIT);
        Close();
    }
    return hr;
}

HRESULT CSourceStream::Run(REFERENCE_TIME)
{
    return ThreadExists() ? (HRESULT)CallWorker(CMD_RUN) : S_OK;
}

HRESULT CSourceStream::PauseFromRun()
{
    return ThreadExists() ? (HRESULT)CallWorker(CMD_PAUSE) : S_OK;
}

DWORD CSourceStream::ThreadProc()
{
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    bool running = false;   // the filter runs (only a live source cares)
    bool ended = false;     // the stream was delivered to its end
    for (;;) {
        DWORD command = GetRequest();
        switch (command) {
        case CMD_INIT: {
            HRESULT hr = OnThreadCreate();
            Reply((DWORD)hr);
            if (FAILED(hr)) {
                // The caller sends CMD_EXIT next.
                GetRequest();
                Reply(S_OK);
                CoUninitialize();
                return 1;
            }
            continue;
        }
        case CMD_RUN:
            running = true;
            Reply(S_OK);
            break;
        case CMD_PAUSE:
            running = false;
            Reply(S_OK);
            break;
        case CMD_STOP:
            ended = false;
            Reply(S_OK);
            continue;
        case CMD_EXIT:
            Reply(S_OK);
            OnThreadDestroy();
            CoUninitialize();
            return 0;
        default:
            Reply((DWORD)E_UNEXPECTED);
            continue;
        }
        // Deliver until a command needs us, answering run and pause on the way.
        while (!ended && (running || !m_source->IsLive())) {
            ended = DoBufferProcessingLoop();
            DWORD pending = 0;
            if (!CheckRequest(&pending))
                break;   // delivery stopped on its own; wait for the next command
            if (pending == CMD_RUN || pending == CMD_PAUSE) {
                GetRequest();
                running = pending == CMD_RUN;
                Reply(S_OK);
                continue;
            }
            break;   // stop or exit: handled by the outer loop
        }
    }
}

bool CSourceStream::DoBufferProcessingLoop()
{
    OnThreadStartPlay();
    DWORD command = 0;
    while (!CheckRequest(&command)) {
        IMediaSample* sample = nullptr;
        HRESULT hr = GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
        if (FAILED(hr)) {
            // Decommitted: a stop is on its way.
            Sleep(1);
            continue;
        }
        hr = FillBuffer(sample);
        if (hr == S_OK) {
            hr = Deliver(sample);
            sample->Release();
            if (hr != S_OK)
                return false;   // downstream refused (stopping or flushing)
        } else if (hr == S_FALSE) {
            sample->Release();
            DeliverEndOfStream();
            return true;
        } else {
            sample->Release();
            DeliverEndOfStream();
            m_source->NotifyEvent(EC_ERRORABORT, hr, 0);
            return true;
        }
    }
    return false;
}
