// CMenu: a menu handle; owns it when loaded or created, not when attached to a
// window's menu through FromHandle.
#pragma once
#include <windows.h>
#include "TempMap.h"

class CWnd;

class CMenu {
public:
    CMenu() = default;
    virtual ~CMenu() { DestroyMenu(); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;
    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }
    static CMenu* FromHandle(HMENU menu) { return framework_detail::TempFromHandle<CMenu, HMENU>(menu); }

    BOOL Attach(HMENU menu) { if (!menu) return FALSE; DestroyMenu(); m_hMenu = menu; return TRUE; }
    HMENU Detach() { HMENU m = m_hMenu; m_hMenu = nullptr; return m; }
    // From the current resource module (AfxGetResourceHandle), else the program.
    BOOL LoadMenu(UINT id);
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL DestroyMenu() { if (!m_hMenu) return FALSE; return ::DestroyMenu(Detach()); }

    CMenu* GetSubMenu(int pos) const { return FromHandle(::GetSubMenu(m_hMenu, pos)); }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int pos) const { return ::GetMenuItemID(m_hMenu, pos); }
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const wchar_t* text = nullptr)
    {
        return ::AppendMenuW(m_hMenu, flags, id, text);
    }
    BOOL InsertMenu(UINT pos, UINT flags, UINT_PTR id = 0, const wchar_t* text = nullptr)
    {
        return ::InsertMenuW(m_hMenu, pos, flags, id, text);
    }
    BOOL ModifyMenu(UINT pos, UINT flags, UINT_PTR id = 0, const wchar_t* text = nullptr)
    {
        return ::ModifyMenuW(m_hMenu, pos, flags, id, text);
    }
    BOOL RemoveMenu(UINT pos, UINT flags) { return ::RemoveMenu(m_hMenu, pos, flags); }
    BOOL DeleteMenu(UINT pos, UINT flags) { return ::DeleteMenu(m_hMenu, pos, flags); }
    UINT EnableMenuItem(UINT id, UINT enable) { return ::EnableMenuItem(m_hMenu, id, enable); }
    DWORD CheckMenuItem(UINT id, UINT check) { return ::CheckMenuItem(m_hMenu, id, check); }
    UINT GetMenuState(UINT id, UINT flags) const { return ::GetMenuState(m_hMenu, id, flags); }
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* wnd, const RECT* rc = nullptr);

    // Used by the temporary-wrapper maps only.
    void AttachTemporary(HMENU menu) { m_hMenu = menu; }
    void DetachTemporary() { m_hMenu = nullptr; }
};
