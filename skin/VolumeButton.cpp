#include "VolumeButton.h"
#include "VolumeGeometry.h"

int CVolumeButton::s_markRows = 4;

BEGIN_MESSAGE_MAP(CVolumeButton, CButton)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CVolumeButton::CVolumeButton() = default;

void CVolumeButton::PreSubclassWindow()
{
    SendMessage(BM_SETSTYLE, (GetStyle() & 0xFFFF) | BS_OWNERDRAW, TRUE);
}

void CVolumeButton::LoadBitmap(HINSTANCE module, UINT id)
{
    m_picture.Load(module, id);
}

void CVolumeButton::SetValue(int value)
{
    m_nValue = value;
    if (m_hWnd) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CVolumeButton::Copy(CDC* dc, CDC* src, int x, int y, int w, int h, int sx, int sy)
{
    if (sx + w > m_picture.m_nWidth) w = m_picture.m_nWidth - sx;  // only what the bitmap holds
    if (w > 0 && h > 0) dc->BitBlt(x, y, w, h, src, sx, sy, SRCCOPY);
}

void CVolumeButton::DrawItem(LPDRAWITEMSTRUCT dis)
{
    if (!m_picture.m_bLoaded) return;
    CDC* dc = CDC::FromHandle(dis->hDC);
    CDC src;
    src.CreateCompatibleDC(dc);
    CBitmap* old = src.SelectObject(&m_picture.m_bitmap);
    int W = m_picture.m_nWidth, H = m_picture.m_nHeight, range = m_nMax - m_nMin;
    switch (m_nStyle) {
    case 1: {
        int filled = VolumeFilledHeight(H, m_nValue, range);
        int y = H - filled;
        Copy(dc, &src, 0, 0, W / 2, H, 0, 0);
        Copy(dc, &src, 0, y, W / 2, H - y, W / 2, y);
        break;
    }
    case 2: {
        int x = ProgressFilledWidth(W, m_nValue, range);
        int row = H / 2;
        Copy(dc, &src, 0, 0, x, row, 0, row);
        Copy(dc, &src, x, 0, W - x, row, x, 0);
        break;
    }
    case 3: {
        int rows = s_markRows > 0 ? s_markRows : 4;
        int r = H / rows;
        int first = rows - 1;
        int x = ProgressFilledWidth(W, m_nValue, range);
        Copy(dc, &src, 0, 0, W, r, 0, r);
        if (m_nValue > 1) {
            if (m_nValue < m_nSecond) {
                Copy(dc, &src, 0, 0, x, r, 0, first * r);
            } else {
                int s = ProgressFilledWidth(W, m_nSecond, range);
                Copy(dc, &src, 0, 0, s, r, 0, first * r);
                Copy(dc, &src, s, 0, x - s, r, 0, 0);
            }
        }
        break;
    }
    default:
        break;
    }
    src.SelectObject(old);
}
