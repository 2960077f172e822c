#include "TestGraph.h"

CTestGraph::CTestGraph()
{
    m_comInitialised = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    m_graph.CoCreateInstance(CLSID_FilterGraph);
}

CTestGraph::~CTestGraph()
{
    if (m_graph) {
        Stop();
        // Take the filters out so that they drop their graph pointer before the graph goes.
        CComPtr<IEnumFilters> filters;
        if (SUCCEEDED(m_graph->EnumFilters(&filters))) {
            for (;;) {
                CComPtr<IBaseFilter> f;
                if (filters->Next(1, &f, nullptr) != S_OK)
                    break;
                m_graph->RemoveFilter(f);
                filters->Reset();
            }
        }
    }
    m_graph.Release();
    if (m_comInitialised)
        CoUninitialize();
}

HRESULT CTestGraph::Add(IBaseFilter* filter, const wchar_t* name)
{
    return m_graph ? m_graph->AddFilter(filter, name) : E_FAIL;
}

IPin* CTestGraph::FindPin(IBaseFilter* filter, PIN_DIRECTION dir, bool unconnected)
{
    CComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(&pins)))
        return nullptr;
    for (;;) {
        CComPtr<IPin> pin;
        if (pins->Next(1, &pin, nullptr) != S_OK)
            return nullptr;
        PIN_DIRECTION d;
        if (FAILED(pin->QueryDirection(&d)) || d != dir)
            continue;
        if (unconnected) {
            CComPtr<IPin> peer;
            if (SUCCEEDED(pin->ConnectedTo(&peer)) && peer)
                continue;
        }
        return pin.Detach();
    }
}

HRESULT CTestGraph::ConnectDirect(IBaseFilter* from, IBaseFilter* to, const AM_MEDIA_TYPE* mt)
{
    CComPtr<IPin> out, in;
    out.Attach(FindPin(from, PINDIR_OUTPUT));
    in.Attach(FindPin(to, PINDIR_INPUT));
    if (!out || !in)
        return E_FAIL;
    return m_graph->ConnectDirect(out, in, mt);
}

HRESULT CTestGraph::Chain(std::initializer_list<IBaseFilter*> filters)
{
    IBaseFilter* previous = nullptr;
    int n = 0;
    for (IBaseFilter* filter : filters) {
        HRESULT hr = Add(filter, std::to_wstring(++n).c_str());
        if (SUCCEEDED(hr) && previous)
            hr = ConnectDirect(previous, filter);
        if (FAILED(hr))
            return hr;
        previous = filter;
    }
    return S_OK;
}

HRESULT CTestGraph::ConnectIntelligent(IBaseFilter* from, IBaseFilter* to)
{
    CComPtr<IPin> out, in;
    out.Attach(FindPin(from, PINDIR_OUTPUT));
    in.Attach(FindPin(to, PINDIR_INPUT));
    if (!out || !in)
        return E_FAIL;
    return m_graph->Connect(out, in);
}

HRESULT CTestGraph::Run()
{
    CComQIPtr<IMediaFilter> mf(m_graph.p);
    if (mf)
        mf->SetSyncSource(nullptr);
    CComQIPtr<IMediaControl> control(m_graph.p);
    return control ? control->Run() : E_NOINTERFACE;
}

HRESULT CTestGraph::Pause()
{
    CComQIPtr<IMediaControl> control(m_graph.p);
    return control ? control->Pause() : E_NOINTERFACE;
}

HRESULT CTestGraph::Stop()
{
    CComQIPtr<IMediaControl> control(m_graph.p);
    return control ? control->Stop() : E_NOINTERFACE;
}

long CTestGraph::RunToCompletion(DWORD timeoutMs, LONG_PTR* param1)
{
    // IMediaEvent has no __uuidof in MinGW's headers: ask by IID.
    CComPtr<IMediaEvent> events;
    if (!m_graph || FAILED(m_graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(&events))) || FAILED(Run()))
        return 0;
    DWORD start = GetTickCount();
    for (;;) {
        long code = 0;
        LONG_PTR p1 = 0, p2 = 0;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return 0;
        // Wine's GetEvent may answer E_ABORT at once when its queue ran empty: ask again.
        HRESULT hr = events->GetEvent(&code, &p1, &p2, timeoutMs - elapsed);
        if (hr == E_ABORT)
            continue;
        if (hr != S_OK)
            return 0;
        events->FreeEventParams(code, p1, p2);
        if (code == EC_COMPLETE || code == EC_ERRORABORT || code == EC_USERABORT || code == EC_STREAM_ERROR_STOPPED) {
            if (param1)
                *param1 = p1;
            return code;
        }
    }
}
