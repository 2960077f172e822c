// Writes the filter chain of a built graph to the log, from its source filter
// downstream, depth first.
#pragma once
#include <windows.h>
#include <dshow.h>

class CGraphDump {
public:
    CGraphDump();
    ~CGraphDump();
    CGraphDump(const CGraphDump&) = delete;
    CGraphDump& operator=(const CGraphDump&) = delete;

    void Dump(IGraphBuilder* graph);

private:
    IBaseFilter* FindSourceFilter();   // a new reference, or null
    void DumpChain(IBaseFilter* filter);

    IGraphBuilder* m_graph = nullptr;  // not owned
    bool m_comInitialized = false;
};
