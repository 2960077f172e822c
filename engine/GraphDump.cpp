#include "GraphDump.h"

#include "ComPtr.h"
#include "DShowUtil.h"
#include "LogFile.h"

namespace {

constexpr DWORD kLogLevel = 0x20000;

bool HasInputPin(IBaseFilter* filter)
{
    CPinWalk walk(filter);
    while (CComPtr<IPin> pin = walk.Next()) {
        PIN_DIRECTION dir;
        if (SUCCEEDED(pin->QueryDirection(&dir)) && dir == PINDIR_INPUT)
            return true;
    }
    return false;
}

}  // namespace

CGraphDump::CGraphDump()
{
    m_comInitialized = SUCCEEDED(CoInitialize(nullptr));
}

CGraphDump::~CGraphDump()
{
    m_graph = nullptr;
    if (m_comInitialized)
        CoUninitialize();
}

void CGraphDump::Dump(IGraphBuilder* graph)
{
    m_graph = graph;
    CComPtr<IBaseFilter> source;
    source.Attach(FindSourceFilter());
    if (!source) {
        LogPrint(kLogLevel, L"Fail to find source filter");
        return;
    }
    DumpChain(source);
}

IBaseFilter* CGraphDump::FindSourceFilter()
{
    CComPtr<IEnumFilters> filters;
    if (!m_graph || FAILED(m_graph->EnumFilters(&filters)) || !filters)
        return nullptr;
    for (;;) {
        CComPtr<IBaseFilter> filter;
        if (filters->Next(1, &filter, nullptr) != S_OK || !filter)
            return nullptr;
        if (!HasInputPin(filter))
            return filter.Detach();
    }
}

void CGraphDump::DumpChain(IBaseFilter* filter)
{
    ForEachDownstream(filter, [this](IPin*, IPin*, IBaseFilter* next) {
        CString name;
        const bool named = GetFilterNameForLog(next, name);
        if (named)
            LogPrint(kLogLevel, L"FILTER : ===[%s]===", name.GetString());
        DumpChain(next);
        return named;
    });
}
