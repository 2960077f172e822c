// CBufferedDC: an off-screen copy of a rectangle of a device context that is
// drawn into and copied back when the object ends; it starts as a copy of the
// target or filled with the target's background colour. A printing device
// context is drawn on directly.
#pragma once
#include "Controls.h"

class CBufferedDC : public CDC {
public:
    CBufferedDC(CDC* target, const RECT* rect, bool copy, bool takeExtents);
    ~CBufferedDC() override;

private:
    CDC* m_pTarget;
    CRect m_rect;
    CBitmap m_bitmap;
    HGDIOBJ m_oldBitmap = nullptr;
    bool m_bMemory;
};
