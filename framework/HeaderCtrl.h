#pragma once
#include "Wnd.h"

class CHeaderCtrl : public CWnd {
public:
    int GetItemCount() const { return (int)SendMessage(HDM_GETITEMCOUNT); }
    BOOL GetItem(int index, HDITEMW* item) const { return (BOOL)SendMessage(HDM_GETITEMW, (WPARAM)index, (LPARAM)item); }
    BOOL SetItem(int index, HDITEMW* item) { return (BOOL)SendMessage(HDM_SETITEMW, (WPARAM)index, (LPARAM)item); }
    BOOL GetItemRect(int index, RECT* rc) const { return (BOOL)SendMessage(HDM_GETITEMRECT, (WPARAM)index, (LPARAM)rc); }
    int HitTest(HDHITTESTINFO* info) { return (int)SendMessage(HDM_HITTEST, 0, (LPARAM)info); }

    // Owner-drawn header items paint here (WM_DRAWITEM reflected from the list).
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, result);
        DrawItem((LPDRAWITEMSTRUCT)lParam);
        *result = TRUE;
        return TRUE;
    }
};
