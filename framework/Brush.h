#pragma once
#include "GdiObject.h"

class CBitmap;

class CBrush : public CGdiObjectOf<CBrush, HBRUSH> {
public:
    CBrush() = default;
    explicit CBrush(COLORREF colour) { CreateSolidBrush(colour); }
    BOOL CreateSolidBrush(COLORREF colour) { return Attach(::CreateSolidBrush(colour)); }
    BOOL CreatePatternBrush(CBitmap* bitmap);
};
