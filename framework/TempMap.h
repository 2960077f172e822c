// Temporary wrapper objects for handles that no wrapper owns (FromHandle on a
// window, device context or GDI object made elsewhere). They are per thread, never
// own their handle, and are freed when the outermost message loop is idle.
#pragma once
#include <windows.h>
#include <memory>
#include <unordered_map>

namespace framework_detail {

// Registry of the per-thread clean-up functions, run by AfxDeleteTempMaps.
void RegisterTempMapCleaner(void (*cleaner)());

template <class T, class H>
T* TempFromHandle(H handle)
{
    struct Map {
        std::unordered_map<H, std::unique_ptr<T>> items;
        Map() { RegisterTempMapCleaner(&Clean); }
        static Map& Get() { static thread_local Map m; return m; }
        static void Clean()
        {
            for (auto& item : Get().items) item.second->DetachTemporary();
            Get().items.clear();
        }
    };
    if (!handle) return nullptr;
    auto& slot = Map::Get().items[handle];
    if (!slot) {
        slot.reset(new T);
        slot->AttachTemporary(handle);
    }
    return slot.get();
}

} // namespace framework_detail

// Frees this thread's temporary wrappers; the message loops call it when idle.
void AfxDeleteTempMaps();
