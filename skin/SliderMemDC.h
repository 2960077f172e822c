// CSliderMemDC: the off-screen picture the slider paints into.
#pragma once
#include "BufferedDC.h"

class CSliderMemDC : public CBufferedDC {
public:
    CSliderMemDC(CDC* target, const RECT* rect = nullptr, bool copy = false) : CBufferedDC(target, rect, copy, true) {}
};
