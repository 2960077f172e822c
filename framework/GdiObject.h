// CGdiObject: owner of one GDI object handle (pen, brush, font, bitmap, region);
// deletes it when the wrapper goes unless it was detached.
#pragma once
#include <windows.h>
#include "TempMap.h"

class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;

    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ h)
    {
        if (!h) return FALSE;
        DeleteObject();
        m_hObject = h;
        return TRUE;
    }
    HGDIOBJ Detach() { HGDIOBJ h = m_hObject; m_hObject = nullptr; return h; }
    BOOL DeleteObject()
    {
        if (!m_hObject) return FALSE;
        HGDIOBJ h = Detach();
        return ::DeleteObject(h);
    }
    int GetObject(int size, void* buffer) const { return ::GetObjectW(m_hObject, size, buffer); }
    BOOL CreateStockObject(int index) { return Attach(::GetStockObject(index)); }

    // Used by the temporary-wrapper maps only.
    void AttachTemporary(HGDIOBJ h) { m_hObject = h; }
    void DetachTemporary() { m_hObject = nullptr; }
};

// A wrapper of one handle type; FromHandle gives a temporary wrapper.
template <class Derived, class Handle>
class CGdiObjectOf : public CGdiObject {
public:
    operator Handle() const { return (Handle)m_hObject; }
    static Derived* FromHandle(Handle h) { return framework_detail::TempFromHandle<Derived, HGDIOBJ>(h); }
};
