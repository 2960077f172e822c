// CBaseFilter: IBaseFilter with state, clock, graph membership and pin
// enumeration. Renderers and writers answer IAMFilterMiscFlags so that the
// graph counts them when it waits for EC_COMPLETE.
#pragma once
#include "CritSec.h"
#include "Unknown.h"
#include <dshow.h>
#include <string>

class CBasePin;

class CBaseFilter : public IBaseFilter, public IAMFilterMiscFlags, public CUnknown {
public:
    // lock: the filter's state lock, owned by the derived filter.
    CBaseFilter(const wchar_t* name, CCritSec* lock, REFCLSID clsid, bool isRenderer = false);
    ~CBaseFilter() override;

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    IUnknown* GetOwnerUnknown() override { return static_cast<IBaseFilter*>(this); }

    virtual int GetPinCount() = 0;
    virtual CBasePin* GetPin(int n) = 0;

    // IPersist
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    // IMediaFilter
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME start) override;
    STDMETHODIMP GetState(DWORD timeoutMs, FILTER_STATE* state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
    // IBaseFilter
    STDMETHODIMP EnumPins(IEnumPins** pins) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR* info) override;
    // IAMFilterMiscFlags
    STDMETHODIMP_(ULONG) GetMiscFlags() override;

    // Sends an event to the graph; EC_COMPLETE and error events name this filter.
    HRESULT NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2);
    // A renderer's end of stream: the graph hears EC_COMPLETE only while the
    // filter runs, so one that arrives while paused waits for the next Run
    // (and is forgotten at Stop).
    void NotifyEndOfStream();

    FILTER_STATE State() const { return m_state; }
    bool IsStopped() const { return m_state == State_Stopped; }
    bool IsActive() const { return m_state != State_Stopped; }
    CCritSec* StateLock() const { return m_lock; }
    // Graph the filter joined; no reference is held (the graph holds the filter).
    IFilterGraph* Graph() const { return m_graph; }
    REFERENCE_TIME StartTime() const { return m_start; }
    const std::wstring& Name() const { return m_name; }

    // Pin enumerators report VFW_E_ENUM_OUT_OF_SYNC after the pin set changed.
    LONG PinVersion() const { return m_pinVersion; }
    void IncrementPinVersion() { InterlockedIncrement(&m_pinVersion); }

protected:
    CCritSec* m_lock;
    FILTER_STATE m_state = State_Stopped;
    IReferenceClock* m_clock = nullptr;
    REFERENCE_TIME m_start = 0;
    CLSID m_clsid;
    IFilterGraph* m_graph = nullptr;
    IMediaEventSink* m_eventSink = nullptr;   // no reference: it is the graph
    std::wstring m_name;
    bool m_isRenderer;
    bool m_completePending = false;
    volatile LONG m_pinVersion = 1;
};
