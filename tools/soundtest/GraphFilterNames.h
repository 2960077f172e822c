// The names of a graph's filters, in the graph's order (none without a graph),
// for tests that check what a graph was built from.
#pragma once
#include <windows.h>
#include <dshow.h>
#include <string>
#include <vector>
#include "ComPtr.h"

inline std::vector<std::wstring> FilterNames(IGraphBuilder* graph)
{
    std::vector<std::wstring> names;
    CComPtr<IEnumFilters> filters;
    if (!graph || FAILED(graph->EnumFilters(&filters))) return names;
    for (;;) {
        CComPtr<IBaseFilter> f;
        if (filters->Next(1, &f, nullptr) != S_OK) break;
        FILTER_INFO info = {};
        f->QueryFilterInfo(&info);
        if (info.pGraph) info.pGraph->Release();
        names.push_back(info.achName);
    }
    return names;
}
