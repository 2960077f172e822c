// CMemDC: the off-screen picture the statics paint into; transparent text.
#pragma once
#include "BufferedDC.h"

class CMemDC : public CBufferedDC {
public:
    CMemDC(CDC* target, const RECT* rect = nullptr, bool copy = false) : CBufferedDC(target, rect, copy, false)
    {
        SetBkMode(TRANSPARENT);
    }
};
