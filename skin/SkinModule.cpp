#include "SkinModule.h"
#include <atomic>
#include <initializer_list>

namespace {
std::atomic<HINSTANCE> g_skin{nullptr};
}

void SetSkinModule(HINSTANCE module) { g_skin.store(module); }

HINSTANCE GetSkinModule()
{
    HINSTANCE module = g_skin.load();
    return module ? module : ::GetModuleHandleW(nullptr);
}

HINSTANCE FindSkinBitmapModule(HINSTANCE module, UINT id)
{
    HINSTANCE own = ::GetModuleHandleW(nullptr);
    for (HINSTANCE candidate : {module ? module : own, own})
        if (::FindResourceW(candidate, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2) /* RT_BITMAP */)) return candidate;
    return nullptr;
}

HBITMAP LoadSkinBitmap(HINSTANCE module, UINT id, UINT loadFlags)
{
    HINSTANCE from = FindSkinBitmapModule(module, id);
    if (!from) return nullptr;
    return (HBITMAP)::LoadImageW(from, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, loadFlags);
}
