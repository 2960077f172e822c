#include "BaseFilter.h"
#include "BasePin.h"
#include "Enumerators.h"

CBaseFilter::CBaseFilter(const wchar_t* name, CCritSec* lock, REFCLSID clsid, bool isRenderer)
    : m_lock(lock), m_clsid(clsid), m_name(name ? name : L""), m_isRenderer(isRenderer)
{
}

CBaseFilter::~CBaseFilter()
{
    if (m_clock)
        m_clock->Release();
}

HRESULT CBaseFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IBaseFilter || riid == IID_IMediaFilter || riid == IID_IPersist)
        return GetInterface(static_cast<IBaseFilter*>(this), ppv);
    if (riid == IID_IAMFilterMiscFlags && m_isRenderer)
        return GetInterface(static_cast<IAMFilterMiscFlags*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBaseFilter::GetClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = m_clsid;
    return S_OK;
}

STDMETHODIMP CBaseFilter::Stop()
{
    CAutoLock lock(m_lock);
    HRESULT result = S_OK;
    if (m_state != State_Stopped) {
        for (int i = 0; i < GetPinCount(); i++) {
            CBasePin* pin = GetPin(i);
            if (pin && pin->IsConnected()) {
                HRESULT hr = pin->Inactive();
                if (FAILED(hr) && SUCCEEDED(result))
                    result = hr;
            }
        }
    }
    m_state = State_Stopped;
    m_completePending = false;
    return result;
}

STDMETHODIMP CBaseFilter::Pause()
{
    CAutoLock lock(m_lock);
    for (int i = 0; i < GetPinCount(); i++) {
        CBasePin* pin = GetPin(i);
        if (!pin || !pin->IsConnected())
            continue;
        HRESULT hr = S_OK;
        if (m_state == State_Stopped)
            hr = pin->Active();
        else if (m_state == State_Running)
            hr = pin->PauseFromRun();
        if (FAILED(hr))
            return hr;
    }
    m_state = State_Paused;
    return S_OK;
}

STDMETHODIMP CBaseFilter::Run(REFERENCE_TIME start)
{
    CAutoLock lock(m_lock);
    if (m_state == State_Stopped) {
        HRESULT hr = Pause();
        if (FAILED(hr))
            return hr;
    }
    m_start = start;
    if (m_state != State_Running) {
        for (int i = 0; i < GetPinCount(); i++) {
            CBasePin* pin = GetPin(i);
            if (pin && pin->IsConnected()) {
                HRESULT hr = pin->Run(start);
                if (FAILED(hr))
                    return hr;
            }
        }
    }
    m_state = State_Running;
    if (m_completePending) {
        m_completePending = false;
        NotifyEvent(EC_COMPLETE, S_OK, 0);
    }
    return S_OK;
}

void CBaseFilter::NotifyEndOfStream()
{
    CAutoLock lock(m_lock);
    if (m_state == State_Running)
        NotifyEvent(EC_COMPLETE, S_OK, 0);
    else
        m_completePending = true;
}

STDMETHODIMP CBaseFilter::GetState(DWORD, FILTER_STATE* state)
{
    if (!state)
        return E_POINTER;
    *state = m_state;
    return S_OK;
}

STDMETHODIMP CBaseFilter::SetSyncSource(IReferenceClock* clock)
{
    CAutoLock lock(m_lock);
    if (clock)
        clock->AddRef();
    if (m_clock)
        m_clock->Release();
    m_clock = clock;
    return S_OK;
}

STDMETHODIMP CBaseFilter::GetSyncSource(IReferenceClock** clock)
{
    if (!clock)
        return E_POINTER;
    CAutoLock lock(m_lock);
    *clock = m_clock;
    if (m_clock)
        m_clock->AddRef();
    return S_OK;
}

STDMETHODIMP CBaseFilter::EnumPins(IEnumPins** pins)
{
    if (!pins)
        return E_POINTER;
    auto* e = new (std::nothrow) CEnumPins(this);
    if (!e) {
        *pins = nullptr;
        return E_OUTOFMEMORY;
    }
    return GetInterface(static_cast<IEnumPins*>(e), reinterpret_cast<void**>(pins));
}

STDMETHODIMP CBaseFilter::FindPin(LPCWSTR id, IPin** pin)
{
    if (!id || !pin)
        return E_POINTER;
    CAutoLock lock(m_lock);
    for (int i = 0; i < GetPinCount(); i++) {
        CBasePin* p = GetPin(i);
        if (p && p->Name() == id)
            return GetInterface(static_cast<IPin*>(p), reinterpret_cast<void**>(pin));
    }
    *pin = nullptr;
    return VFW_E_NOT_FOUND;
}

STDMETHODIMP CBaseFilter::QueryFilterInfo(FILTER_INFO* info)
{
    if (!info)
        return E_POINTER;
    lstrcpynW(info->achName, m_name.c_str(), MAX_FILTER_NAME);
    info->pGraph = m_graph;
    if (m_graph)
        m_graph->AddRef();
    return S_OK;
}

STDMETHODIMP CBaseFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name)
{
    CAutoLock lock(m_lock);
    m_graph = graph;
    m_eventSink = nullptr;
    if (graph) {
        IMediaEventSink* sink = nullptr;
        if (SUCCEEDED(graph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&sink)))) {
            m_eventSink = sink;
            sink->Release();   // the graph outlives its membership; holding it would make a cycle
        }
    }
    if (name)
        m_name = name;
    return S_OK;
}

STDMETHODIMP CBaseFilter::QueryVendorInfo(LPWSTR*)
{
    return E_NOTIMPL;
}

STDMETHODIMP_(ULONG) CBaseFilter::GetMiscFlags()
{
    return m_isRenderer ? AM_FILTER_MISC_FLAGS_IS_RENDERER : 0;
}

HRESULT CBaseFilter::NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2)
{
    IMediaEventSink* sink = m_eventSink;
    if (!sink)
        return E_NOTIMPL;
    if ((code == EC_COMPLETE || code == EC_ERRORABORT || code == EC_STREAM_ERROR_STOPPED) && !param2)
        param2 = reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(this));
    return sink->Notify(code, param1, param2);
}
