// CMemoryDC: an off-screen device context compatible with another one, holding
// its own bitmap of the given size for as long as it lives.
#pragma once
#include "DC.h"

class CMemoryDC : public CDC {
public:
    CMemoryDC(CDC* compatible, int width, int height);
    ~CMemoryDC() override;
    CBitmap& Bitmap() { return m_bitmap; }

private:
    CBitmap m_bitmap;
    HGDIOBJ m_previous = nullptr;
};
