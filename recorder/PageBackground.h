// The background picture of a page: a skin bitmap that gives the page its size
// and is painted at (0, 0), and the same picture as the page's brush so that
// controls drawn over it show the picture behind them.
#pragma once
#include "Bitmap.h"

class CPageBackground {
public:
    ~CPageBackground();
    // Loads the bitmap (and the brush) from the module; FALSE when it is missing.
    BOOL Load(HINSTANCE module, UINT bitmapId);
    // Sizes the window to the picture, at (0, 0) of its parent.
    void SizeWindow(HWND page) const;
    void Paint(HDC dc) const;
    HBRUSH GetBrush() const { return m_hBrush; }
    SIZE GetSize() const { return m_bitmap.GetSize(); }
    BOOL IsLoaded() const { return m_bitmap.m_hObject != nullptr; }

private:
    CBitmap m_bitmap;
    HBRUSH m_hBrush = nullptr;
};
