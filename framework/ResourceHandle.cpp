#include "ResourceHandle.h"
#include <atomic>

namespace {
std::atomic<HINSTANCE> g_resource{nullptr};
}

HINSTANCE AfxGetInstanceHandle() { return GetModuleHandleW(nullptr); }

HINSTANCE AfxGetResourceHandle()
{
    HINSTANCE h = g_resource.load();
    return h ? h : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE module) { g_resource.store(module); }
