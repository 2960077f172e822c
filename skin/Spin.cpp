#include "Spin.h"
#include "SkinModule.h"
#include "StripFrame.h"

BEGIN_MESSAGE_MAP(CSpin, CSpinButtonCtrl)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_ENABLE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CSpin::CSpin(HINSTANCE module, UINT bitmapId) : m_nBitmapId(bitmapId)
{
    m_hStrip = LoadSkinBitmap(module, bitmapId);
}

CSpin::~CSpin()
{
    for (HBITMAP frame : m_hFrames)
        if (frame) ::DeleteObject(frame);
    if (m_hStrip) ::DeleteObject(m_hStrip);
}

void CSpin::PreSubclassWindow()
{
    if (!IsWindowEnabled()) {
        m_bDisabled = 1;
        m_nFrame = 4;
    }
    // The wrap, set-buddy-int and align-left styles are not added: they shrink
    // the buddy edit at every focus visit and wrap the time fields.
    CSpinButtonCtrl::PreSubclassWindow();
}

BOOL CSpin::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_LBUTTONDBLCLK && msg->hwnd == m_hWnd) msg->message = WM_LBUTTONDOWN;
    return CSpinButtonCtrl::PreTranslateMessage(msg);
}

void CSpin::CutFrames()
{
    if (!m_hStrip) return;
    BITMAP bm = {};
    ::GetObjectW(m_hStrip, sizeof(bm), &bm);
    int w = bm.bmWidth / 5;
    for (int i : {2, 0, 3, 4}) {
        if (m_hFrames[i]) ::DeleteObject(m_hFrames[i]);
        m_hFrames[i] = CopyStripFrame(m_hStrip, i, w, bm.bmHeight);
    }
}

void CSpin::Draw(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    int w = client.Width(), hh = client.Height() / 2;
    CDC mem;
    mem.CreateCompatibleDC(dc);
    auto copy = [&](int frame, int y, int height) {
        if (!m_hFrames[frame]) return;
        HGDIOBJ old = ::SelectObject(mem.m_hDC, m_hFrames[frame]);
        dc->BitBlt(0, y, w, height, &mem, 0, y, SRCCOPY);
        ::SelectObject(mem.m_hDC, old);
    };
    if (m_nFrame == 4) {
        copy(4, 0, client.Height());
    } else if (m_nHoverHalf == kUpperHalf) {
        copy(m_nFrame, 0, hh);
        copy(0, hh, hh);
    } else if (m_nHoverHalf == kLowerHalf) {
        copy(0, 0, hh);
        copy(m_nFrame, hh, hh);
    } else {
        copy(0, 0, client.Height());
    }
}

void CSpin::ShowFrame(int frame)
{
    if (frame == m_nFrame) return;
    m_nFrame = frame;
    if (m_bCut || !m_hWnd) return;
    CClientDC dc(this);
    Draw(&dc);
}

void CSpin::OnPaint()
{
    CPaintDC dc(this);
    if (m_bCut) {
        CutFrames();
        m_bCut = 0;
    }
    Draw(&dc);
}

void CSpin::OnEnable(BOOL enable)
{
    if (enable) {
        m_bDisabled = 0;
        ShowFrame(2);
    } else {
        m_bDisabled = 1;
        ShowFrame(4);
    }
    CSpinButtonCtrl::OnEnable(enable);
}

void CSpin::OnLButtonDown(UINT flags, CPoint point)
{
    m_bPressed = 1;
    ShowFrame(3);
    CSpinButtonCtrl::OnLButtonDown(flags, point);
}

void CSpin::OnLButtonUp(UINT flags, CPoint point)
{
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(point) || m_bHover) ShowFrame(2);
    CSpinButtonCtrl::OnLButtonUp(flags, point);
}

void CSpin::OnMouseMove(UINT flags, CPoint point)
{
    CSpinButtonCtrl::OnMouseMove(flags, point);
    if ((flags & MK_LBUTTON) && !m_bHover) return;
    CRect upper;
    GetClientRect(&upper);
    upper.bottom -= (upper.bottom - upper.top) / 2;
    if (upper.PtInRect(point)) {
        if (m_nHoverHalf == kLowerHalf) {
            ::ReleaseCapture();
            m_nFrame = -1;
            ShowFrame(2);
        }
        m_nHoverHalf = kUpperHalf;
    } else {
        if (m_nHoverHalf == kUpperHalf) {
            ::ReleaseCapture();
            m_nFrame = -1;
            ShowFrame(2);
        }
        m_nHoverHalf = kLowerHalf;
    }
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (!owner) owner = ::GetParent(m_hWnd);
    if (::GetCapture() != m_hWnd && ::GetActiveWindow() && owner) {
        m_bHover = 1;
        ::SetCapture(m_hWnd);
        m_nFrame = -1;
        ShowFrame(2);
        Invalidate(TRUE);
        return;
    }
    POINT screen = point;
    ClientToScreen(&screen);
    if (::WindowFromPoint(screen) != m_hWnd) {
        m_bHover = 0;
        m_nHoverHalf = kNoHalf;
        if (!(flags & MK_LBUTTON)) {
            ::ReleaseCapture();
            ShowFrame(0);
        }
    }
}
