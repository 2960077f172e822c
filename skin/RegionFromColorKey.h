// A window region from a bitmap: every pixel whose colour lies in the key range
// (key .. key + tolerance per channel) is cut out. The caller owns the region.
#pragma once
#include <windows.h>

HRGN RegionFromColorKey(HBITMAP bitmap, COLORREF key, COLORREF tolerance);
