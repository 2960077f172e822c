#pragma once
#include "Wnd.h"

class CButton : public CWnd {
public:
    BOOL Create(const wchar_t* caption, DWORD style, const RECT& rect, CWnd* parent, UINT id)
    {
        return CWnd::Create(L"BUTTON", caption, style, rect, parent, id);
    }
    int GetCheck() const { return (int)SendMessage(BM_GETCHECK); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, (WPARAM)check); }
    UINT GetState() const { return (UINT)SendMessage(BM_GETSTATE); }
    void SetState(BOOL highlight) { SendMessage(BM_SETSTATE, highlight); }
    UINT GetButtonStyle() const { return GetStyle() & 0xFFFF; }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE) { SendMessage(BM_SETSTYLE, style, redraw); }
    HBITMAP SetBitmap(HBITMAP bitmap) { return (HBITMAP)SendMessage(BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bitmap); }
    HICON SetIcon(HICON icon) { return (HICON)SendMessage(BM_SETIMAGE, IMAGE_ICON, (LPARAM)icon); }

    // Owner-drawn buttons paint here (WM_DRAWITEM reflected from the parent).
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, result);
        DrawItem((LPDRAWITEMSTRUCT)lParam);
        *result = TRUE;
        return TRUE;
    }
};
