#include "PatternBrush.h"

HBRUSH CreateBitmapPatternBrush(HINSTANCE module, UINT id)
{
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* dib = loaded ? LockResource(loaded) : nullptr;
    return dib ? CreateDIBPatternBrushPt(dib, DIB_RGB_COLORS) : nullptr;
}

void AlignPatternToDialog(HDC dc, HWND dialog, HWND control)
{
    POINT offset = {0, 0};
    if (control && control != dialog) ::MapWindowPoints(control, dialog, &offset, 1);
    SetBrushOrgEx(dc, -offset.x, -offset.y, nullptr);
    SetBkMode(dc, TRANSPARENT);
}
