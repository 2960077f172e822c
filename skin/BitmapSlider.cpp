#include "BitmapSlider.h"
#include "SkinModule.h"
#include <cstdlib>
#include "SliderMemDC.h"

BEGIN_MESSAGE_MAP(CBitmapSlider, CStatic)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_GETDLGCODE()
    ON_WM_NCHITTEST()
    ON_WM_KEYDOWN()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CBitmapSlider::CBitmapSlider() = default;
CBitmapSlider::~CBitmapSlider() = default;

void CBitmapSlider::PreSubclassWindow()
{
    // A static only sees clicks with SS_NOTIFY; the slider answers hit tests too.
    ModifyStyle(0, SS_NOTIFY);
    CStatic::PreSubclassWindow();
}

SliderAxis CBitmapSlider::Axis() const
{
    if (m_bVertical) return SliderAxis{m_nMarginTop, m_nMarginBottom, m_nHeight, m_nThumbHeight};
    return SliderAxis{m_nMarginLeft, m_nMarginRight, m_nWidth, m_nThumbWidth};
}

int CBitmapSlider::ThumbCentre() const { return SliderCentreOfPos(Axis(), m_nPos, m_nMin, m_nMax); }

int CBitmapSlider::Clamp(int pos) const
{
    if (pos > m_nMax) pos = m_nMax;
    if (pos < m_nMin) pos = m_nMin;
    return pos;
}

void CBitmapSlider::Post(UINT message)
{
    HWND parent = ::GetParent(m_hWnd);
    if (parent) ::PostMessageW(parent, message, (WPARAM)GetDlgCtrlID(), (LPARAM)m_nPos);
}

void CBitmapSlider::SetRange(int minPos, int maxPos, BOOL redraw)
{
    m_nMin = minPos;
    m_nMax = maxPos;
    if (redraw && m_hWnd) Invalidate(FALSE);
}

void CBitmapSlider::SetPos(int pos)
{
    m_nPos = Clamp(pos);
    if (m_hWnd) Invalidate(FALSE);
}

void CBitmapSlider::SetMargins(int left, int top, int right, int bottom)
{
    m_nMarginLeft = left;
    m_nMarginTop = top;
    m_nMarginRight = right;
    m_nMarginBottom = bottom;
}

void CBitmapSlider::Enable(BOOL enable)
{
    m_bEnable = enable;
    if (!enable && m_bLButtonDown) {
        m_bLButtonDown = FALSE;
        ::ReleaseCapture();
    }
    if (m_hWnd) Invalidate(FALSE);
}

bool CBitmapSlider::LoadPicture(HINSTANCE module, UINT id, CBitmap& picture, CBitmap& mask, BOOL transparent,
                                COLORREF colour, int x, int y)
{
    picture.DeleteObject();
    mask.DeleteObject();
    if (!picture.Attach(LoadSkinBitmap(module, id))) return false;
    if (!transparent) return true;
    SIZE size = picture.GetSize();
    HDC screen = ::GetDC(nullptr);
    HDC pictureDC = ::CreateCompatibleDC(screen), maskDC = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ oldPicture = ::SelectObject(pictureDC, picture.m_hObject);
    if (colour == 0xFF000000) colour = ::GetPixel(pictureDC, x, y);
    mask.Attach(::CreateBitmap(size.cx, size.cy, 1, 1, nullptr));
    HGDIOBJ oldMask = ::SelectObject(maskDC, mask.m_hObject);
    // Pixels of the transparent colour become 1 in the mask and black in the picture.
    ::SetBkColor(pictureDC, colour);
    ::BitBlt(maskDC, 0, 0, size.cx, size.cy, pictureDC, 0, 0, SRCCOPY);
    ::SetBkColor(pictureDC, RGB(0, 0, 0));
    ::SetTextColor(pictureDC, RGB(255, 255, 255));
    ::BitBlt(pictureDC, 0, 0, size.cx, size.cy, maskDC, 0, 0, SRCAND);
    ::SelectObject(maskDC, oldMask);
    ::SelectObject(pictureDC, oldPicture);
    ::DeleteDC(maskDC);
    ::DeleteDC(pictureDC);
    return true;
}

void CBitmapSlider::DrawPicture(CDC* dc, int x, int y, int w, int h, CBitmap& picture, CBitmap& mask, int sx,
                                int sy, BOOL transparent)
{
    CDC mem;
    mem.CreateCompatibleDC(dc);
    if (transparent && mask.m_hObject) {
        COLORREF oldBk = dc->SetBkColor(RGB(255, 255, 255));
        COLORREF oldText = dc->SetTextColor(RGB(0, 0, 0));
        HGDIOBJ old = ::SelectObject(mem.m_hDC, mask.m_hObject);
        dc->BitBlt(x, y, w, h, &mem, sx, sy, SRCAND);
        ::SelectObject(mem.m_hDC, picture.m_hObject);
        dc->BitBlt(x, y, w, h, &mem, sx, sy, SRCPAINT);
        ::SelectObject(mem.m_hDC, old);
        dc->SetBkColor(oldBk);
        dc->SetTextColor(oldText);
    } else {
        HGDIOBJ old = ::SelectObject(mem.m_hDC, picture.m_hObject);
        dc->BitBlt(x, y, w, h, &mem, sx, sy, SRCCOPY);
        ::SelectObject(mem.m_hDC, old);
    }
}

bool CBitmapSlider::SetChannelBitmaps(HINSTANCE module, UINT channelId, UINT activeId, BOOL transparent,
                                      COLORREF colour, int x, int y)
{
    if (channelId == 0) {
        m_bmChannel.DeleteObject();
        m_bmChannelMask.DeleteObject();
        m_bmChannelActive.DeleteObject();
        m_bmChannelActiveMask.DeleteObject();
        m_bChannel = FALSE;
        m_bChannelActive = FALSE;
        return true;
    }
    if (!LoadPicture(module, channelId, m_bmChannel, m_bmChannelMask, transparent, colour, x, y)) return false;
    m_bChannelActive = FALSE;
    if (activeId) {
        if (!LoadPicture(module, activeId, m_bmChannelActive, m_bmChannelActiveMask, transparent, colour, x, y)) {
            m_bmChannel.DeleteObject();
            m_bmChannelMask.DeleteObject();
            return false;
        }
        m_bChannelActive = TRUE;
    }
    SIZE size = m_bmChannel.GetSize();
    m_nWidth = size.cx;
    m_nHeight = size.cy;
    if (m_hWnd) {
        SetWindowPos((HWND) nullptr, 0, 0, m_nWidth, m_nHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        GetClientRect(&m_rcClient);
    }
    m_bTransparentChannel = transparent;
    m_bChannel = TRUE;
    return true;
}

bool CBitmapSlider::SetThumbBitmaps(HINSTANCE module, UINT thumbId, UINT activeId, BOOL transparent,
                                    COLORREF colour, int x, int y)
{
    if (thumbId == 0) {
        m_bmThumb.DeleteObject();
        m_bmThumbMask.DeleteObject();
        m_bmThumbActive.DeleteObject();
        m_bmThumbActiveMask.DeleteObject();
        m_bThumb = FALSE;
        m_bThumbActive = FALSE;
        return true;
    }
    if (!LoadPicture(module, thumbId, m_bmThumb, m_bmThumbMask, transparent, colour, x, y)) return false;
    m_bThumbActive = FALSE;
    if (activeId) {
        if (!LoadPicture(module, activeId, m_bmThumbActive, m_bmThumbActiveMask, transparent, colour, x, y)) {
            m_bmThumb.DeleteObject();
            m_bmThumbMask.DeleteObject();
            return false;
        }
        m_bThumbActive = TRUE;
    }
    SIZE size = m_bmThumb.GetSize();
    m_nThumbWidth = size.cx;
    m_nThumbHeight = size.cy;
    if (!m_bChannel && m_hWnd) {
        GetClientRect(&m_rcClient);
        m_nWidth = m_rcClient.Width();
        m_nHeight = m_rcClient.Height();
    }
    m_bTransparentThumb = transparent;
    m_bThumb = TRUE;
    return true;
}

void CBitmapSlider::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CSliderMemDC dc(&paint, &client, m_bTransparentChannel != FALSE);

    if (m_bFocusRect && (m_bTransparentChannel || !m_bChannel)) {
        dc.DrawFocusRect(&client);
        m_bFocusRect = FALSE;
    }
    int c = ThumbCentre();
    if (m_bChannel) {
        if (m_bChannelActive && m_bEnable) {
            if (m_bVertical) {
                DrawPicture(&dc, 0, 0, m_nWidth, c, m_bmChannelActive, m_bmChannelActiveMask, 0, 0, m_bTransparentChannel);
                DrawPicture(&dc, 0, c, m_nWidth, m_nHeight - c, m_bmChannel, m_bmChannelMask, 0, c, m_bTransparentChannel);
            } else {
                DrawPicture(&dc, 0, 0, c, m_nHeight, m_bmChannelActive, m_bmChannelActiveMask, 0, 0, m_bTransparentChannel);
                DrawPicture(&dc, c, 0, m_nWidth - c, m_nHeight, m_bmChannel, m_bmChannelMask, c, 0, m_bTransparentChannel);
            }
        } else {
            DrawPicture(&dc, 0, 0, m_nWidth, m_nHeight, m_bmChannel, m_bmChannelMask, 0, 0, m_bTransparentChannel);
        }
    }
    if (m_nThumbBgX != -1 && m_bmThumbBg.m_hObject) {
        CDC mem;
        mem.CreateCompatibleDC(&dc);
        HGDIOBJ old = ::SelectObject(mem.m_hDC, m_bmThumbBg.m_hObject);
        dc.BitBlt(m_nThumbBgX, m_nThumbBgY, m_nThumbWidth, m_nThumbHeight, &mem, 0, 0, SRCCOPY);
        ::SelectObject(mem.m_hDC, old);
        m_nThumbBgX = -1;
    }
    if (m_bThumb && m_bEnable) {
        bool active = m_bLButtonDown && m_bThumbActive;
        int x = m_bVertical ? m_nMarginLeft : c - m_nThumbWidth / 2;
        int y = m_bVertical ? c - m_nThumbHeight / 2 : m_nMarginTop;
        if (m_bTransparentChannel || !m_bChannel) {
            m_bmThumbBg.DeleteObject();
            m_bmThumbBg.CreateCompatibleBitmap(&dc, m_nThumbWidth, m_nThumbHeight);
            CDC mem;
            mem.CreateCompatibleDC(&dc);
            HGDIOBJ old = ::SelectObject(mem.m_hDC, m_bmThumbBg.m_hObject);
            mem.BitBlt(0, 0, m_nThumbWidth, m_nThumbHeight, &dc, x, y, SRCCOPY);
            ::SelectObject(mem.m_hDC, old);
            m_nThumbBgX = x;
            m_nThumbBgY = y;
        }
        if (active) DrawPicture(&dc, x, y, m_nThumbWidth, m_nThumbHeight, m_bmThumbActive, m_bmThumbActiveMask, 0, 0, m_bTransparentThumb);
        else DrawPicture(&dc, x, y, m_nThumbWidth, m_nThumbHeight, m_bmThumb, m_bmThumbMask, 0, 0, m_bTransparentThumb);
    }
    if (m_bDrawFocusRect && m_bFocus && m_bEnable) m_bFocusRect = TRUE;
}

void CBitmapSlider::OnLButtonDown(UINT flags, CPoint point)
{
    if (!m_bEnable) return;
    SetCapture();
    SetFocus();
    m_bLButtonDown = TRUE;
    int coordinate = m_bVertical ? point.y : point.x;
    int thumb = m_bVertical ? m_nThumbHeight : m_nThumbWidth;
    int centre = ThumbCentre();
    m_nGrabOffset = (std::abs(coordinate - centre) > thumb / 2) ? 0 : coordinate - centre;
    OnMouseMove(flags, point);
    Invalidate(FALSE);
    CStatic::OnLButtonDown(flags, point);
}

void CBitmapSlider::OnMouseMove(UINT flags, CPoint point)
{
    if (!m_bLButtonDown || !m_bEnable) return;
    SliderAxis axis = Axis();
    int wanted = (m_bVertical ? point.y : point.x) - m_nGrabOffset;
    int low = axis.start + axis.thumb / 2, high = axis.length - axis.end - axis.thumb / 2;
    if (wanted < low) wanted = low;
    if (wanted > high) wanted = high;
    if (wanted != ThumbCentre()) {
        m_nPos = Clamp(SliderPosOfCentre(axis, wanted, m_nMin, m_nMax));
        Invalidate(FALSE);
        Post(WM_SLIDER_TRACKING);
    }
    CStatic::OnMouseMove(flags, point);
}

void CBitmapSlider::OnLButtonUp(UINT flags, CPoint point)
{
    if (!m_bEnable) return;
    ::ReleaseCapture();
    m_bLButtonDown = FALSE;
    Invalidate(FALSE);
    Post(WM_SLIDER_RELEASED);
    CStatic::OnLButtonUp(flags, point);
}

UINT CBitmapSlider::OnGetDlgCode()
{
    if (::GetKeyState(VK_TAB) < 0) return CStatic::OnGetDlgCode();
    return DLGC_WANTALLKEYS;
}

void CBitmapSlider::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (!m_bEnable) return;
    int pos = m_nPos;
    bool handled = true;
    switch (key) {
    case VK_PRIOR: pos -= m_nPage; break;
    case VK_NEXT: pos += m_nPage; break;
    case VK_END: pos = m_nMax; break;
    case VK_HOME: pos = m_nMin; break;
    case VK_LEFT:
    case VK_UP: pos -= 1; break;
    case VK_RIGHT:
    case VK_DOWN: pos += 1; break;
    default: handled = false;
    }
    if (handled) {
        m_nPos = Clamp(pos);
        Invalidate(FALSE);
        Post(WM_SLIDER_RELEASED);
    }
    CStatic::OnKeyDown(key, repeat, flags);
}

void CBitmapSlider::OnSetFocus(CWnd* wnd)
{
    m_bFocus = TRUE;
    Invalidate(FALSE);
    CStatic::OnSetFocus(wnd);
}

void CBitmapSlider::OnKillFocus(CWnd* wnd)
{
    m_bFocus = FALSE;
    Invalidate(FALSE);
    CStatic::OnKillFocus(wnd);
}

void CBitmapSlider::OnDestroy()
{
    CBitmap* all[9] = {&m_bmChannel, &m_bmChannelMask, &m_bmChannelActive, &m_bmChannelActiveMask, &m_bmThumb,
                       &m_bmThumbMask, &m_bmThumbActive, &m_bmThumbActiveMask, &m_bmThumbBg};
    for (CBitmap* b : all) b->DeleteObject();
    CStatic::OnDestroy();
}
