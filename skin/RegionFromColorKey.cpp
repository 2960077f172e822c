#include "RegionFromColorKey.h"
#include <algorithm>

namespace {
const DWORD kGrowBy = 100;      // rectangles the buffer grows by
const DWORD kBatch = 2000;      // rectangles handed to the platform at once

// Builds the region of the buffer's rectangles and merges it into `result`.
void Flush(RGNDATA* data, DWORD capacity, HRGN& result)
{
    HRGN part = ::ExtCreateRegion(nullptr, sizeof(RGNDATAHEADER) + sizeof(RECT) * capacity, data);
    if (part) {
        if (result) {
            ::CombineRgn(result, result, part, RGN_OR);
            ::DeleteObject(part);
        } else {
            result = part;
        }
    }
    data->rdh.nCount = 0;
    ::SetRect(&data->rdh.rcBound, 0x7FFFFFFF, 0x7FFFFFFF, 0, 0);
}
} // namespace

HRGN RegionFromColorKey(HBITMAP bitmap, COLORREF key, COLORREF tolerance)
{
    if (!bitmap) return nullptr;
    HDC memDC = ::CreateCompatibleDC(nullptr);
    if (!memDC) return nullptr;
    BITMAP bm = {};
    ::GetObjectW(bitmap, sizeof(bm), &bm);

    BITMAPINFOHEADER bih = {};
    bih.biSize = sizeof(bih);
    bih.biWidth = bm.bmWidth;
    bih.biHeight = bm.bmHeight;  // bottom-up
    bih.biPlanes = 1;
    bih.biBitCount = 32;
    bih.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(memDC, (BITMAPINFO*)&bih, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) {
        ::DeleteDC(memDC);
        return nullptr;
    }
    HGDIOBJ oldDib = ::SelectObject(memDC, dib);
    HDC srcDC = ::CreateCompatibleDC(memDC);
    if (!srcDC) {
        ::SelectObject(memDC, oldDib);
        ::DeleteObject(dib);
        ::DeleteDC(memDC);
        return nullptr;
    }
    BITMAP dibInfo = {};
    ::GetObjectW(dib, sizeof(dibInfo), &dibInfo);
    LONG rowBytes = (dibInfo.bmWidthBytes + 3) & ~3;
    HGDIOBJ oldSrc = ::SelectObject(srcDC, bitmap);
    ::BitBlt(memDC, 0, 0, bm.bmWidth, bm.bmHeight, srcDC, 0, 0, SRCCOPY);
    ::GdiFlush();

    DWORD capacity = kGrowBy;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(RGNDATAHEADER) + sizeof(RECT) * capacity);
    HRGN result = nullptr;
    if (block) {
        RGNDATA* data = (RGNDATA*)::GlobalLock(block);
        data->rdh.dwSize = sizeof(RGNDATAHEADER);
        data->rdh.iType = RDH_RECTANGLES;
        data->rdh.nCount = 0;
        data->rdh.nRgnSize = 0;
        ::SetRect(&data->rdh.rcBound, 0x7FFFFFFF, 0x7FFFFFFF, 0, 0);

        const int lowR = GetRValue(key), lowG = GetGValue(key), lowB = GetBValue(key);
        const int highR = std::min(lowR + GetRValue(tolerance), 255);
        const int highG = std::min(lowG + GetGValue(tolerance), 255);
        const int highB = std::min(lowB + GetBValue(tolerance), 255);

        // The top image row is the last row in the bottom-up DIB's memory.
        BYTE* row = (BYTE*)bits + (bm.bmHeight - 1) * rowBytes;
        for (int y = 0; y < bm.bmHeight; ++y, row -= rowBytes) {
            for (int x = 0; x < bm.bmWidth; ++x) {
                int x0 = x;
                const BYTE* p = row + x * 4;
                while (x < bm.bmWidth) {
                    int b = p[0], g = p[1], r = p[2];
                    if (r >= lowR && r <= highR && g >= lowG && g <= highG && b >= lowB && b <= highB) break;
                    ++x;
                    p += 4;
                }
                if (x > x0) {
                    if (data->rdh.nCount >= capacity) {
                        ::GlobalUnlock(block);
                        capacity += kGrowBy;
                        HGLOBAL grown = ::GlobalReAlloc(block, sizeof(RGNDATAHEADER) + sizeof(RECT) * capacity,
                                                        GMEM_MOVEABLE);
                        if (!grown) {
                            capacity -= kGrowBy;
                            data = (RGNDATA*)::GlobalLock(block);
                            Flush(data, capacity, result);
                        } else {
                            block = grown;
                            data = (RGNDATA*)::GlobalLock(block);
                        }
                    }
                    RECT* rects = (RECT*)data->Buffer;
                    ::SetRect(&rects[data->rdh.nCount], x0, y, x, y + 1);
                    RECT& bound = data->rdh.rcBound;
                    bound.left = std::min<LONG>(bound.left, x0);
                    bound.top = std::min<LONG>(bound.top, y);
                    bound.right = std::max<LONG>(bound.right, x);
                    bound.bottom = std::max<LONG>(bound.bottom, y + 1);
                    ++data->rdh.nCount;
                    if (data->rdh.nCount == kBatch) Flush(data, capacity, result);
                }
            }
        }
        Flush(data, capacity, result);
        // A bitmap that is all key colour gives an empty region, not no region.
        if (!result) result = ::CreateRectRgn(0, 0, 0, 0);
        ::GlobalUnlock(block);
        ::GlobalFree(block);
    }
    ::SelectObject(srcDC, oldSrc);
    ::DeleteDC(srcDC);
    ::SelectObject(memDC, oldDib);
    ::DeleteObject(dib);
    ::DeleteDC(memDC);
    return result;
}
