#include "SkinModule.h"
#include <atomic>

namespace {
std::atomic<HINSTANCE> g_skin{nullptr};
}

void SetSkinModule(HINSTANCE module) { g_skin.store(module); }

HINSTANCE GetSkinModule()
{
    HINSTANCE module = g_skin.load();
    return module ? module : ::GetModuleHandleW(nullptr);
}
