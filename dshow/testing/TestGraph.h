// CTestGraph: a filter graph for tests that runs without a reference clock, so
// streams go through as fast as the filters allow, and waits for completion.
#pragma once
#include "ComPtr.h"
#include <dshow.h>
#include <initializer_list>
#include <string>

class CTestGraph {
public:
    CTestGraph();
    ~CTestGraph();

    bool Ok() const { return m_graph != nullptr; }
    IGraphBuilder* Graph() const { return m_graph; }

    HRESULT Add(IBaseFilter* filter, const wchar_t* name);
    // Connects the first free output pin of `from` to the first free input pin of `to` directly.
    HRESULT ConnectDirect(IBaseFilter* from, IBaseFilter* to, const AM_MEDIA_TYPE* mt = nullptr);
    // Adds the filters (named "1", "2", ...) and connects each to the next directly.
    HRESULT Chain(std::initializer_list<IBaseFilter*> filters);
    // Lets the graph insert converters between the two pins.
    HRESULT ConnectIntelligent(IBaseFilter* from, IBaseFilter* to);

    // Runs without a clock and waits for EC_COMPLETE (or an error event): returns the event code, or 0 on time-out.
    long RunToCompletion(DWORD timeoutMs, LONG_PTR* param1 = nullptr);
    HRESULT Run();
    HRESULT Pause();
    HRESULT Stop();

    static IPin* FindPin(IBaseFilter* filter, PIN_DIRECTION dir, bool unconnected = true);   // caller releases

private:
    CComPtr<IGraphBuilder> m_graph;
    bool m_comInitialised = false;
};
