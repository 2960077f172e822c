#include "PageBackground.h"
#include "SkinModule.h"

CPageBackground::~CPageBackground()
{
    if (m_hBrush) DeleteObject(m_hBrush);
}

BOOL CPageBackground::Load(HINSTANCE module, UINT bitmapId)
{
    // A skin module without this picture leaves the program's own copy in its place.
    module = FindSkinBitmapModule(module, bitmapId);
    if (!module || !m_bitmap.LoadBitmap(module, bitmapId)) return FALSE;
    // The brush is made from the bitmap resource itself, as a DIB pattern.
    if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(bitmapId), MAKEINTRESOURCEW(2) /* RT_BITMAP */))
        if (HGLOBAL loaded = LoadResource(module, found))
            if (const void* dib = LockResource(loaded)) m_hBrush = CreateDIBPatternBrushPt(dib, DIB_RGB_COLORS);
    return TRUE;
}

void CPageBackground::SizeWindow(HWND page) const
{
    SIZE size = m_bitmap.GetSize();
    if (size.cx > 0 && size.cy > 0)
        SetWindowPos(page, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPageBackground::Paint(HDC dc) const
{
    if (!m_bitmap.m_hObject) return;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, m_bitmap.m_hObject);
    SIZE size = m_bitmap.GetSize();
    BitBlt(dc, 0, 0, size.cx, size.cy, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}
