#include "ParentBackground.h"

void PaintParentBackground(HWND control, HDC dc)
{
    HWND parent = ::GetParent(control);
    if (!parent || !dc) return;
    POINT origin = {0, 0};
    ::MapWindowPoints(control, parent, &origin, 1);
    int saved = ::SaveDC(dc);
    ::OffsetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
    POINT brushOrigin = {};
    ::GetBrushOrgEx(dc, &brushOrigin);
    ::SetBrushOrgEx(dc, brushOrigin.x - origin.x, brushOrigin.y - origin.y, nullptr);  // patterns line up
    ::SendMessageW(parent, WM_ERASEBKGND, (WPARAM)dc, 0);
    ::RestoreDC(dc, saved);
}
