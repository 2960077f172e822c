#pragma once
#include "GdiObject.h"

class CDC;

class CBitmap : public CGdiObjectOf<CBitmap, HBITMAP> {
public:
    // From the current resource module (AfxGetResourceHandle).
    BOOL LoadBitmap(UINT id);
    BOOL LoadBitmap(HINSTANCE module, UINT id) { return Attach(::LoadBitmapW(module, MAKEINTRESOURCEW(id))); }
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
    {
        return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
    }
    int GetBitmap(BITMAP* info) const { return GetObject(sizeof(BITMAP), info); }
    // Width and height in pixels; (0, 0) without a bitmap.
    SIZE GetSize() const;
};
