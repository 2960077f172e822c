#pragma once
#include "Wnd.h"

class CStatic : public CWnd {
public:
    BOOL Create(const wchar_t* text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF)
    {
        return CWnd::Create(L"STATIC", text, style, rect, parent, id);
    }
    HBITMAP SetBitmap(HBITMAP bitmap) { return (HBITMAP)SendMessage(STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bitmap); }
    HBITMAP GetBitmap() const { return (HBITMAP)SendMessage(STM_GETIMAGE, IMAGE_BITMAP); }
    HICON SetIcon(HICON icon) { return (HICON)SendMessage(STM_SETICON, (WPARAM)icon); }

    // Owner-drawn statics paint here (WM_DRAWITEM reflected from the parent).
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, result);
        DrawItem((LPDRAWITEMSTRUCT)lParam);
        *result = TRUE;
        return TRUE;
    }
};
