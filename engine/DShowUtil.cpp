#include "DShowUtil.h"

#include <vector>
#include "LogFile.h"

namespace {

// A filter whose pin set changes while we walk it makes its enumerator report
// VFW_E_ENUM_OUT_OF_SYNC; we start over, but not forever.
constexpr int kMaxEnumRestarts = 16;

// The mask of the log every caller writes to.
constexpr DWORD kLogLevel = 0x20000;

}  // namespace

CPinWalk::CPinWalk(IBaseFilter* filter)
{
    if (filter && SUCCEEDED(filter->EnumPins(&m_pins)) && m_pins)
        m_pins->Reset();
}

CComPtr<IPin> CPinWalk::Next(bool* restarted)
{
    if (restarted)
        *restarted = false;
    while (m_pins) {
        CComPtr<IPin> pin;
        HRESULT hr = m_pins->Next(1, &pin, nullptr);
        if (hr == VFW_E_ENUM_OUT_OF_SYNC && ++m_restarts <= kMaxEnumRestarts) {
            m_pins->Reset();
            if (restarted)
                *restarted = true;
            continue;
        }
        if (hr == S_OK && pin)
            return pin;
        break;
    }
    return nullptr;
}

bool GetFilterNameForLog(IBaseFilter* filter, CString& name)
{
    FILTER_INFO info = {};
    if (!filter || FAILED(filter->QueryFilterInfo(&info)))
        return false;
    if (info.pGraph)
        info.pGraph->Release();
    // The log stores ANSI text; characters outside the code page arrive as '?'.
    char ansi[300] = {};
    WideCharToMultiByte(CP_ACP, 0, info.achName, -1, ansi, sizeof ansi - 1, nullptr, nullptr);
    name = AnsiToWide(ansi);
    return true;
}

PeerKind GetDownstreamPeer(IPin* pin, CComPtr<IPin>& peer, CComPtr<IBaseFilter>& filter)
{
    peer.Release();
    filter.Release();
    if (FAILED(pin->ConnectedTo(&peer)) || !peer)
        return PeerKind::None;
    PIN_INFO info = {};
    if (FAILED(peer->QueryPinInfo(&info)))
        return PeerKind::InfoFailed;
    filter.Attach(info.pFilter);
    return info.dir == PINDIR_INPUT && filter ? PeerKind::Downstream : PeerKind::None;
}

void ForEachDownstream(IBaseFilter* filter, const std::function<bool(IPin*, IPin*, IBaseFilter*)>& visit)
{
    CPinWalk walk(filter);
    while (CComPtr<IPin> pin = walk.Next()) {
        CComPtr<IPin> peer;
        CComPtr<IBaseFilter> next;
        const PeerKind kind = GetDownstreamPeer(pin, peer, next);
        if (kind == PeerKind::InfoFailed)
            return;
        if (kind == PeerKind::Downstream && !visit(pin, peer, next))
            return;
    }
}

void PumpOneMessage()
{
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return;
    if (msg.message == WM_QUIT) {
        PostQuitMessage((int)msg.wParam);
        return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

CDShowUtil::~CDShowUtil()
{
    m_builder = nullptr;
    m_graph = nullptr;
}

void CDShowUtil::Init(IGraphBuilder* graph, ICaptureGraphBuilder2* builder)
{
    m_graph = graph;
    m_builder = builder;
}

HRESULT CDShowUtil::AddFilterByCLSID(REFCLSID clsid, IBaseFilter** slot, LPCWSTR name)
{
    if (!m_graph)
        return E_FAIL;
    if (!slot)
        return E_POINTER;
    if (*slot) {
        m_graph->RemoveFilter(*slot);
        (*slot)->Release();
        *slot = nullptr;
    }
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                  IID_IBaseFilter, (void**)slot);
    if (FAILED(hr))
        return hr;
    return m_graph->AddFilter(*slot, name);
}

CComPtr<IPin> CDShowUtil::GetPin(IBaseFilter* filter, PIN_DIRECTION direction, int index)
{
    if (index < 0)
        return nullptr;
    CPinWalk walk(filter);
    int seen = 0;
    bool restarted = false;
    while (CComPtr<IPin> pin = walk.Next(&restarted)) {
        if (restarted)
            seen = 0;
        PIN_DIRECTION dir;
        if (FAILED(pin->QueryDirection(&dir)) || dir != direction)
            continue;
        if (seen++ == index)
            return pin;
    }
    return nullptr;
}

CComPtr<IPin> CDShowUtil::GetInPin(IBaseFilter* filter, int index)
{
    return GetPin(filter, PINDIR_INPUT, index);
}

CComPtr<IPin> CDShowUtil::GetOutPin(IBaseFilter* filter, int index)
{
    return GetPin(filter, PINDIR_OUTPUT, index);
}

HRESULT CDShowUtil::Connect(IBaseFilter* source, int outIndex, IBaseFilter* target, int inIndex, bool direct)
{
    if (!m_graph)
        return E_FAIL;
    CComPtr<IPin> out = GetOutPin(source, outIndex);
    CComPtr<IPin> in = GetInPin(target, inIndex);
    if (!out || !in)
        return E_FAIL;
    return direct ? m_graph->ConnectDirect(out, in, nullptr) : m_graph->Connect(out, in);
}

HRESULT CDShowUtil::ConnectFilters(IBaseFilter* source, int outIndex, IBaseFilter* target, int inIndex)
{
    return Connect(source, outIndex, target, inIndex, false);
}

HRESULT CDShowUtil::ConnectFiltersDirect(IBaseFilter* source, int outIndex, IBaseFilter* target, int inIndex)
{
    return Connect(source, outIndex, target, inIndex, true);
}

int CDShowUtil::FindAudioOutPin(IBaseFilter* filter)
{
    for (int i = 0;; ++i) {
        CComPtr<IPin> pin = GetOutPin(filter, i);
        if (!pin)
            return -1;
        CComPtr<IEnumMediaTypes> types;
        if (FAILED(pin->EnumMediaTypes(&types)) || !types)
            continue;
        AM_MEDIA_TYPE* mt = nullptr;
        if (types->Next(1, &mt, nullptr) != S_OK || !mt)
            continue;
        const bool audio = IsEqualGUID(mt->majortype, MEDIATYPE_Audio);
        if (mt->cbFormat && mt->pbFormat)
            CoTaskMemFree(mt->pbFormat);
        if (mt->pUnk)
            mt->pUnk->Release();
        CoTaskMemFree(mt);
        if (audio)
            return i;
    }
}

void CDShowUtil::RemoveDownstream(IBaseFilter* filter)
{
    if (!m_graph)
        return;
    // Pins already handled are disconnected, so a walk that starts over passes them by.
    ForEachDownstream(filter, [this](IPin* pin, IPin* peer, IBaseFilter* next) {
        CString name;
        const bool named = GetFilterNameForLog(next, name);
        if (!named)
            name = L"Unknow name";
        if (SUCCEEDED(CutAt(pin, peer, next)))
            LogPrint(kLogLevel, L"remove Filter: [%s]", name.GetString());
        else
            LogPrint(kLogLevel, L"remove Filter Error: [%s]", name.GetString());
        return named;
    });
}

void CDShowUtil::RemoveDownstreamOfMediaType(IBaseFilter* filter, REFGUID majorType)
{
    if (!filter || !m_graph || !m_builder)
        return;
    CComPtr<IPin> pin;
    if (FAILED(m_builder->FindPin(filter, PINDIR_OUTPUT, nullptr, &majorType, FALSE, 0, &pin)) || !pin)
        return;
    CComPtr<IPin> peer;
    CComPtr<IBaseFilter> next;
    if (GetDownstreamPeer(pin, peer, next) == PeerKind::Downstream)
        CutAt(pin, peer, next);
}

HRESULT CDShowUtil::CutAt(IPin* out, IPin* in, IBaseFilter* next)
{
    RemoveDownstream(next);
    m_graph->Disconnect(in);
    m_graph->Disconnect(out);
    return m_graph->RemoveFilter(next);
}

HRESULT CDShowUtil::FindDeviceFilter(LPCWSTR friendlyName, IBaseFilter** slot, REFCLSID category)
{
    if (!friendlyName || !slot)
        return E_POINTER;
    CComPtr<ICreateDevEnum> devices;
    HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_ICreateDevEnum, (void**)&devices);
    if (FAILED(hr))
        return hr;
    CComPtr<IEnumMoniker> monikers;
    hr = devices->CreateClassEnumerator(category, &monikers, 0);
    if (hr != S_OK || !monikers)
        return FAILED(hr) ? hr : S_FALSE;

    // Several devices may share a friendly name (two boxes of one model); the one
    // with the lowest display name wins, so the choice does not depend on the
    // order in which the system lists them.
    CComPtr<IMoniker> best;
    CString bestDisplayName;
    monikers->Reset();
    for (;;) {
        CComPtr<IMoniker> moniker;
        if (monikers->Next(1, &moniker, nullptr) != S_OK || !moniker)
            break;
        CComPtr<IPropertyBag> bag;
        if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, (void**)&bag)) || !bag)
            continue;
        VARIANT value;
        VariantInit(&value);
        bool match = false;
        if (SUCCEEDED(bag->Read(L"FriendlyName", &value, nullptr)) && value.vt == VT_BSTR && value.bstrVal)
            match = _wcsicmp(value.bstrVal, friendlyName) == 0;
        VariantClear(&value);
        if (!match)
            continue;
        CString displayName;
        LPOLESTR text = nullptr;
        if (SUCCEEDED(moniker->GetDisplayName(nullptr, nullptr, &text)) && text) {
            displayName = text;
            CoTaskMemFree(text);
        }
        if (!best || _wcsicmp(displayName, bestDisplayName) < 0) {
            best = moniker;
            bestDisplayName = displayName;
        }
    }
    if (!best)
        return E_FAIL;
    if (*slot) {
        (*slot)->Release();
        *slot = nullptr;
    }
    return best->BindToObject(nullptr, nullptr, IID_IBaseFilter, (void**)slot);
}

void CDShowUtil::SetSyncSource(IUnknown* clock)
{
    if (!m_graph)
        return;
    CComQIPtr<IMediaFilter> mediaFilter(m_graph);
    if (!mediaFilter)
        return;
    if (!clock) {
        mediaFilter->SetSyncSource(nullptr);
        return;
    }
    CComQIPtr<IReferenceClock> referenceClock(clock);
    if (referenceClock) {
        mediaFilter->SetSyncSource(referenceClock);
        return;
    }
    m_graph->SetDefaultSyncSource();
}
