#include "CrossbarRouter.h"
#include "DShowUtil.h"

namespace {

// Audio connectors (PhysConn_Audio_*) start here; routes follow video connectors.
const long kFirstAudioType = 0x1000;

// The crossbar's pins of one direction are numbered in its pin order.
CComPtr<IPin> NthPin(IBaseFilter* filter, PIN_DIRECTION direction, long index)
{
    CPinWalk walk(filter);
    long n = 0;
    for (;;) {
        bool restarted = false;
        CComPtr<IPin> pin = walk.Next(&restarted);
        if (restarted) n = 0;
        if (!pin) return nullptr;
        PIN_DIRECTION dir;
        if (FAILED(pin->QueryDirection(&dir)) || dir != direction) continue;
        if (n++ == index) return pin;
    }
}

bool SameObject(IUnknown* a, IUnknown* b)
{
    CComPtr<IUnknown> ia, ib;
    if (!a || !b || FAILED(a->QueryInterface(IID_IUnknown, (void**)&ia)) ||
        FAILED(b->QueryInterface(IID_IUnknown, (void**)&ib)))
        return false;
    return ia == ib;
}

long IndexOfPin(IBaseFilter* filter, IPin* wanted, PIN_DIRECTION direction)
{
    CPinWalk walk(filter);
    long n = 0;
    for (;;) {
        bool restarted = false;
        CComPtr<IPin> pin = walk.Next(&restarted);
        if (restarted) n = 0;
        if (!pin) return -1;
        PIN_DIRECTION dir;
        if (FAILED(pin->QueryDirection(&dir)) || dir != direction) continue;
        if (SameObject(pin, wanted)) return n;
        ++n;
    }
}

} // namespace

CCrossbarRouter::CCrossbarRouter(IPin* startPin, HRESULT* result) : m_startPin(startPin)
{
    HRESULT hr = startPin ? BuildRoutingList(startPin, 0) : E_POINTER;
    if (result) *result = hr;
}

CCrossbarRouter::~CCrossbarRouter()
{
    for (std::vector<CrossbarRouting>& route : m_routingList)
        for (CrossbarRouting& step : route)
            if (step.crossbar) step.crossbar->Release();
}

HRESULT CCrossbarRouter::BuildRoutingList(IPin* pin, int depth)
{
    const HRESULT noCrossbar = depth > 0 ? 1 : E_FAIL;
    CComPtr<IPin> peer;
    if (FAILED(pin->ConnectedTo(&peer)) || !peer) return noCrossbar;
    PIN_INFO info = {};
    if (FAILED(peer->QueryPinInfo(&info)) || !info.pFilter) return noCrossbar;
    CComPtr<IBaseFilter> filter;
    filter.Attach(info.pFilter);
    CComPtr<IAMCrossbar> crossbar;
    if (FAILED(filter->QueryInterface(IID_IAMCrossbar, (void**)&crossbar)) || !crossbar) return noCrossbar;

    // A chain that comes back to a crossbar already on this route, or goes on
    // beyond reason, gives no route through here.
    if (depth >= MaxDepth) return 0;
    for (int d = 0; d < depth; ++d)
        if (SameObject(m_working[d].crossbar, crossbar)) return 0;

    long outputs = 0, inputs = 0;
    if (FAILED(crossbar->get_PinCounts(&outputs, &inputs))) return depth > 0 ? 0 : E_FAIL;
    // A peer that is not among the crossbar's outputs ends this branch.
    long videoOut = IndexOfPin(filter, peer, PINDIR_OUTPUT);
    if (videoOut < 0 || videoOut >= outputs) return 0;
    long audioOut = -1, outputType = 0;
    if (FAILED(crossbar->get_CrossbarPinInfo(FALSE, videoOut, &audioOut, &outputType))) return 0;

    for (long i = 0; i < inputs; ++i) {
        long audioIn = -1, inputType = 0;
        if (FAILED(crossbar->get_CrossbarPinInfo(TRUE, i, &audioIn, &inputType))) continue;
        if (inputType >= kFirstAudioType || crossbar->CanRoute(videoOut, i) != S_OK) continue;
        CrossbarRouting& step = m_working[depth];
        step = CrossbarRouting();
        step.left = depth > 0 ? &m_working[depth - 1] : nullptr;
        step.videoIn = i;
        step.videoOut = videoOut;
        step.audioIn = audioIn;
        step.audioOut = audioOut;
        step.crossbar = crossbar;
        step.inputType = inputType;
        step.outputType = outputType;
        step.depth = depth;
        CComPtr<IPin> input = NthPin(filter, PINDIR_INPUT, i);
        if (input && BuildRoutingList(input, depth + 1) == 1) SaveRouting(depth);
    }
    m_working[depth].crossbar = nullptr;
    return 0;
}

void CCrossbarRouter::SaveRouting(int depth)
{
    std::vector<CrossbarRouting> route(m_working, m_working + depth + 1);
    for (size_t i = 0; i < route.size(); ++i) {
        route[i].crossbar->AddRef();
        route[i].left = i > 0 ? &route[i - 1] : nullptr;
        route[i].right = i + 1 < route.size() ? &route[i + 1] : nullptr;
    }
    m_routingList.push_back(std::move(route));
    // The links point into the array, which moving the vector keeps in place.
}

HRESULT CCrossbarRouter::GetInputCount(int* count) const
{
    if (!count) return E_POINTER;
    *count = (int)m_routingList.size();
    return S_OK;
}

HRESULT CCrossbarRouter::GetInputType(int index, int* type) const
{
    if (!type) return E_POINTER;
    if (index < 0 || (size_t)index >= m_routingList.size()) return E_FAIL;
    *type = (int)m_routingList[(size_t)index].back().inputType;
    return S_OK;
}

HRESULT CCrossbarRouter::SetInputIndex(int index)
{
    if (index < 0 || (size_t)index >= m_routingList.size()) return E_FAIL;
    HRESULT hr = E_FAIL;
    for (CrossbarRouting& step : m_routingList[(size_t)index]) {
        hr = step.crossbar->Route(step.videoOut, step.videoIn);
        if (step.audioIn != -1 && step.audioOut != -1) step.crossbar->Route(step.audioOut, step.audioIn);
    }
    return hr;
}
