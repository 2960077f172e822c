#include "BmpDC.h"

NV_BmpDC::NV_BmpDC(HDC target, int left, int top, int right, int bottom, int copy)
{
    const int w = right - left, h = bottom - top;
    m_dc = CreateCompatibleDC(target);
    m_bitmap = CreateCompatibleBitmap(target, w > 0 ? w : 1, h > 0 ? h : 1);
    m_old = SelectObject(m_dc, m_bitmap);
    if (copy == 1)
        BitBlt(m_dc, 0, 0, w, h, target, 0, 0, SRCCOPY);
}

NV_BmpDC::~NV_BmpDC()
{
    SelectObject(m_dc, m_old);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}
