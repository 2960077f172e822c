// Filter and pin work on a graph owned by someone else: adding filters by class
// id, finding pins, connecting, taking a downstream chain apart, finding a capture
// device by friendly name, and running the graph with or without a clock.
#pragma once
#include <windows.h>
#include <dshow.h>
#include <functional>
#include "ComPtr.h"
#include "String.h"

class CDShowUtil {
public:
    CDShowUtil() = default;
    CDShowUtil(const CDShowUtil&) = delete;
    CDShowUtil& operator=(const CDShowUtil&) = delete;
    virtual ~CDShowUtil();

    // Binds the owner's graph and builder; no references are taken.
    void Init(IGraphBuilder* graph, ICaptureGraphBuilder2* builder);

    // Replaces whatever filter the caller's slot holds (removing it from the graph)
    // with a new instance of the class, added under the name.
    HRESULT AddFilterByCLSID(REFCLSID clsid, IBaseFilter** slot, LPCWSTR name);

    // The index-th pin of that direction, or null. The caller owns the reference.
    CComPtr<IPin> GetInPin(IBaseFilter* filter, int index);
    CComPtr<IPin> GetOutPin(IBaseFilter* filter, int index);

    // Intelligent connect (the graph may insert converters) / direct connect.
    HRESULT ConnectFilters(IBaseFilter* source, int outIndex, IBaseFilter* target, int inIndex);
    HRESULT ConnectFiltersDirect(IBaseFilter* source, int outIndex, IBaseFilter* target, int inIndex);

    // Index of the first output pin whose first media type is audio, or -1.
    int FindAudioOutPin(IBaseFilter* filter);

    // Removes every filter downstream of the filter (not the filter itself), far
    // end first, logging each.
    void RemoveDownstream(IBaseFilter* filter);
    // Removes what hangs behind the filter's first output pin of the major type.
    void RemoveDownstreamOfMediaType(IBaseFilter* filter, REFGUID majorType);

    // Binds the device of the category whose friendly name equals the name (any
    // case) into the slot. S_FALSE with the slot untouched when the category is empty.
    HRESULT FindDeviceFilter(LPCWSTR friendlyName, IBaseFilter** slot, REFCLSID category);

    // A reference clock for the graph; null runs the graph without a clock.
    void SetSyncSource(IUnknown* clock);

private:
    CComPtr<IPin> GetPin(IBaseFilter* filter, PIN_DIRECTION direction, int index);
    HRESULT Connect(IBaseFilter* source, int outIndex, IBaseFilter* target, int inIndex, bool direct);
    // Takes apart what hangs behind `next` and then `next` itself; RemoveFilter's result.
    HRESULT CutAt(IPin* out, IPin* in, IBaseFilter* next);

    ICaptureGraphBuilder2* m_builder = nullptr;
    IGraphBuilder* m_graph = nullptr;
};

// Handles at most one waiting message of the thread. A WM_QUIT taken here is
// posted again so that the thread's own loop still sees it.
void PumpOneMessage();

// Enumerates a filter's pins in order. A pin set that changes under the walk (the
// enumerator falls out of step) starts it over, a few times at most.
class CPinWalk {
public:
    explicit CPinWalk(IBaseFilter* filter);
    // The next pin, or null at the end; `restarted` tells that the walk began again.
    CComPtr<IPin> Next(bool* restarted = nullptr);

private:
    CComPtr<IEnumPins> m_pins;
    int m_restarts = 0;
};

// What a pin feeds: the peer input pin and its filter (Downstream); None for an
// unconnected pin or one fed from upstream; InfoFailed when the peer gives no
// information, which ends a walk.
enum class PeerKind { None, Downstream, InfoFailed };
PeerKind GetDownstreamPeer(IPin* pin, CComPtr<IPin>& peer, CComPtr<IBaseFilter>& filter);

// Calls visit(pin, peer input pin, downstream filter) for each pin of the filter,
// in pin order, that feeds another filter; visit returns false to end the walk.
// The walk also ends at a peer that gives no information.
void ForEachDownstream(IBaseFilter* filter, const std::function<bool(IPin*, IPin*, IBaseFilter*)>& visit);

// A filter's name as the log shows it (through the ANSI code page, as the log file
// stores it). False when the filter gives no information.
bool GetFilterNameForLog(IBaseFilter* filter, CString& name);
