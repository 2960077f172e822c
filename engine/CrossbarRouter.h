// Every route from a physical input connector, through one or more crossbars, to
// a capture filter's analog video input, and the routing of the crossbars along
// a chosen route (the related audio pins with them).
#pragma once
#include <windows.h>
#include <dshow.h>
#include <vector>
#include "ComPtr.h"

// One crossbar step of a route.
struct CrossbarRouting {
    CrossbarRouting* left = nullptr;    // the step nearer the capture filter
    CrossbarRouting* right = nullptr;   // the step further upstream
    long videoIn = -1;
    long videoOut = -1;
    long audioIn = -1;                  // related audio pins, -1 when none
    long audioOut = -1;
    IAMCrossbar* crossbar = nullptr;    // one reference held by a saved route
    long inputType = 0;                 // physical type of the input connector
    long outputType = 0;                // physical type of the output pin
    int depth = 0;                      // 0 for the crossbar next to the capture filter
};

class CCrossbarRouter {
public:
    // Crossbars in a chain deeper than this are not followed (a chain that loops
    // back on itself must still end).
    static const int MaxDepth = 8;

    // Builds the route list from the capture filter's analog video input; *result
    // is E_FAIL when that pin is not fed by a crossbar.
    CCrossbarRouter(IPin* startPin, HRESULT* result);
    ~CCrossbarRouter();
    CCrossbarRouter(const CCrossbarRouter&) = delete;
    CCrossbarRouter& operator=(const CCrossbarRouter&) = delete;

    HRESULT GetInputCount(int* count) const;
    // The physical type of the connector where the route's signal enters (its
    // furthest crossbar's input); E_FAIL for an index past the end.
    HRESULT GetInputType(int index, int* type) const;
    // Routes every crossbar of the route; the result of the last video Route call.
    HRESULT SetInputIndex(int index);

private:
    // 1: the pin ends a complete route; 0: all inputs tried; an error at depth 0.
    HRESULT BuildRoutingList(IPin* pin, int depth);
    void SaveRouting(int depth);

    CComPtr<IPin> m_startPin;
    CrossbarRouting m_working[MaxDepth];
    std::vector<std::vector<CrossbarRouting>> m_routingList;   // "RoutingList"
};
