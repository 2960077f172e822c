#pragma once
#include "GdiObject.h"

class CPen : public CGdiObjectOf<CPen, HPEN> {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF colour) { CreatePen(style, width, colour); }
    BOOL CreatePen(int style, int width, COLORREF colour) { return Attach(::CreatePen(style, width, colour)); }
};
