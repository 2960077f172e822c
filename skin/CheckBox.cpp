#include "CheckBox.h"
#include "SkinModule.h"
#include <algorithm>

BEGIN_MESSAGE_MAP(CCheckBox, CButton)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_ENABLE()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_KILLFOCUS()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CCheckBox::CCheckBox(HINSTANCE module, WORD bitmapId, int boxSize) : m_nBoxSize(boxSize), m_nBitmapId(bitmapId)
{
    m_hStrip = LoadSkinBitmap(module, bitmapId);
}

CCheckBox::~CCheckBox()
{
    FreeFrames();
    if (m_hStrip) ::DeleteObject(m_hStrip);
    if (m_hCursor) ::DestroyCursor(m_hCursor);
}

void CCheckBox::FreeFrames()
{
    for (HBITMAP& frame : m_hFrames) {
        if (frame) ::DeleteObject(frame);
        frame = nullptr;
    }
}

void CCheckBox::PreSubclassWindow()
{
    m_bLeftText = ((GetStyle() & BS_LEFTTEXT) || (GetExStyle() & WS_EX_RIGHT)) ? 1 : 0;
    wchar_t text[260] = {};
    ::GetWindowTextW(m_hWnd, text, 260);
    m_strCaption = text;
    m_hFont = (HFONT)::SendMessageW(::GetParent(m_hWnd), WM_GETFONT, 0, 0);
    if (!IsWindowEnabled()) {
        m_bDisabled = 1;
        m_nFrame = 5;
    }
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (GetStyle() & ~(LONG_PTR)BS_TYPEMASK) | BS_OWNERDRAW);
    CButton::PreSubclassWindow();
    if (m_hCursor) ::DestroyCursor(m_hCursor);
    m_hCursor = ::LoadCursorW(nullptr, IDC_HAND);
}

BOOL CCheckBox::PreTranslateMessage(MSG* msg)
{
    // A double click counts as two clicks.
    if (msg->message == WM_LBUTTONDBLCLK && msg->hwnd == m_hWnd) msg->message = WM_LBUTTONDOWN;
    return CButton::PreTranslateMessage(msg);
}

LRESULT CCheckBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == BM_GETCHECK) return m_bChecked;
    if (message == BM_SETCHECK) {
        m_bChecked = wParam == 1 ? 1 : 0;
        if (m_bDisabled) ShowFrame(m_bChecked ? 4 : 5);
        else if (m_bButtonDown) ShowFrame(m_bPressedInside ? PushedFrame() : PlainFrame());
        else ShowFrame(m_bSpaceDown ? PushedFrame() : PlainFrame());
        return 0;
    }
    return CButton::WindowProc(message, wParam, lParam);
}

void CCheckBox::Band(const CRect& client, int& y, int& height) const
{
    int h = client.Height();
    if (h >= m_nRowHeight) {
        y = (h - m_nRowHeight) / 2;
        height = h - 2 * y;
    } else {
        y = 0;
        height = h;
    }
}

void CCheckBox::ShowFrame(int frame)
{
    if (frame == m_nFrame) return;
    m_nFrame = frame;
    if (!m_hWnd || !m_hFrames[frame]) return;
    CClientDC dc(this);
    CRect client;
    GetClientRect(&client);
    int y, height;
    Band(client, y, height);
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    HGDIOBJ old = ::SelectObject(mem.m_hDC, m_hFrames[frame]);
    dc.BitBlt(0, y, client.Width(), height, &mem, 0, 0, SRCCOPY);
    ::SelectObject(mem.m_hDC, old);
}

void CCheckBox::OnPaint()
{
    CPaintDC dc(this);
    COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    if (face != m_crButtonFace) {
        FreeFrames();
        m_crButtonFace = face;
        m_bPrepare = 1;
    }
    if (m_bPrepare) {
        PrepareFrames(&dc);
        m_bPrepare = 0;
    }
    CRect client;
    GetClientRect(&client);
    int y, height;
    Band(client, y, height);
    if (!m_hFrames[m_nFrame]) return;
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    HGDIOBJ old = ::SelectObject(mem.m_hDC, m_hFrames[m_nFrame]);
    dc.BitBlt(0, y, client.Width(), height, &mem, 0, 0, SRCCOPY);
    ::SelectObject(mem.m_hDC, old);
}

void CCheckBox::PrepareFrames(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    HGDIOBJ oldFont = m_hFont ? dc->SelectObject((HGDIOBJ)m_hFont) : nullptr;
    CSize dummy = dc->GetTextExtent(L"Dummy", 5);
    m_nRowHeight = std::max(m_nBoxSize, (int)dummy.cy + 1);
    int y, height;
    Band(client, y, height);
    int w = client.Width();

    CDC frameDC, stripDC, maskDC;
    frameDC.CreateCompatibleDC(dc);
    stripDC.CreateCompatibleDC(dc);
    maskDC.CreateCompatibleDC(dc);
    HGDIOBJ oldStrip = m_hStrip ? ::SelectObject(stripDC.m_hDC, m_hStrip) : nullptr;
    int boxX = m_bLeftText ? w - m_nBoxSize : 0;
    int boxY = (m_nRowHeight - m_nBoxSize) / 2;
    for (int i = 0; i < 6; ++i) {
        if (m_hFrames[i]) ::DeleteObject(m_hFrames[i]);
        m_hFrames[i] = ::CreateCompatibleBitmap(dc->m_hDC, w, m_nRowHeight);
        HGDIOBJ oldFrame = ::SelectObject(frameDC.m_hDC, m_hFrames[i]);
        // The frame carries what the dialog painted under the control.
        frameDC.BitBlt(0, 0, w, height, dc, 0, y, SRCCOPY);
        if (m_hStrip) {
            // Magenta is transparent: a mask with magenta as background, then
            // strip XOR, mask AND, strip XOR leaves the dialog where magenta was.
            HBITMAP mask = ::CreateBitmap(m_nBoxSize, m_nBoxSize, 1, 1, nullptr);
            HGDIOBJ oldMask = ::SelectObject(maskDC.m_hDC, mask);
            COLORREF oldBk = stripDC.SetBkColor(RGB(255, 0, 255));
            maskDC.BitBlt(0, 0, m_nBoxSize, m_nBoxSize, &stripDC, i * m_nBoxSize, 0, SRCCOPY);
            stripDC.SetBkColor(oldBk);
            frameDC.SetBkColor(RGB(255, 255, 255));
            frameDC.SetTextColor(RGB(0, 0, 0));
            frameDC.BitBlt(boxX, boxY, m_nBoxSize, m_nBoxSize, &stripDC, i * m_nBoxSize, 0, SRCINVERT);
            frameDC.BitBlt(boxX, boxY, m_nBoxSize, m_nBoxSize, &maskDC, 0, 0, SRCAND);
            frameDC.BitBlt(boxX, boxY, m_nBoxSize, m_nBoxSize, &stripDC, i * m_nBoxSize, 0, SRCINVERT);
            ::SelectObject(maskDC.m_hDC, oldMask);
            ::DeleteObject(mask);
        }
        frameDC.SetBkMode(TRANSPARENT);
        HGDIOBJ oldFrameFont = m_hFont ? frameDC.SelectObject((HGDIOBJ)m_hFont) : nullptr;
        CRect text(0, 0, w, m_nRowHeight - 1);
        UINT format = DT_VCENTER | DT_SINGLELINE;
        if (m_bLeftText) {
            text.right -= m_nBoxSize + 6;
            format |= DT_RIGHT;
        } else {
            text.left += m_nBoxSize + 5;
        }
        if (i >= 4) {
            CRect shifted = text;
            shifted.OffsetRect(1, 1);
            frameDC.SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
            frameDC.DrawText(m_strCaption, &shifted, format);
            frameDC.SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
        } else {
            frameDC.SetTextColor(RGB(0, 0, 0));
        }
        frameDC.DrawText(m_strCaption, &text, format);
        if (oldFrameFont) frameDC.SelectObject(oldFrameFont);
        ::SelectObject(frameDC.m_hDC, oldFrame);
    }
    if (oldStrip) ::SelectObject(stripDC.m_hDC, oldStrip);
    if (oldFont) dc->SelectObject(oldFont);
}

void CCheckBox::OnEnable(BOOL enable)
{
    if (enable) {
        m_bDisabled = 0;
        ShowFrame(m_nFrame == 4 ? 0 : 1);
    } else {
        m_bDisabled = 1;
        ShowFrame(m_bChecked ? 4 : 5);
    }
    CButton::OnEnable(enable);
}

void CCheckBox::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_SPACE) {
        if (!m_bSpaceDown) {
            m_bSpaceDown = 1;
            if (!m_bButtonDown) ShowFrame(PushedFrame());
        }
    } else if (m_bSpaceDown) {
        m_bSpaceDown = 0;
        if (!m_bButtonDown) ShowFrame(PlainFrame());
    }
    CButton::OnKeyDown(key, repeat, flags);
}

void CCheckBox::OnKeyUp(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_SPACE && m_bSpaceDown) {
        m_bSpaceDown = 0;
        if (!m_bButtonDown) {
            m_bChecked = !m_bChecked;
            ShowFrame(PlainFrame());
        }
    }
    CButton::OnKeyUp(key, repeat, flags);
}

void CCheckBox::OnLButtonDown(UINT flags, CPoint point)
{
    m_bButtonDown = 1;
    m_bPressedInside = 1;
    ShowFrame(PushedFrame());
    CButton::OnLButtonDown(flags, point);
}

void CCheckBox::OnMouseMove(UINT flags, CPoint point)
{
    if (m_bButtonDown) {
        CRect client;
        GetClientRect(&client);
        if (!client.PtInRect(point)) {
            ShowFrame(PlainFrame());
            m_bPressedInside = 0;
        } else if (!m_bPressedInside) {
            m_bPressedInside = 1;
            ShowFrame(PushedFrame());
        }
    }
    CButton::OnMouseMove(flags, point);
}

void CCheckBox::OnLButtonUp(UINT flags, CPoint point)
{
    m_bButtonDown = 0;
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(point)) {
        // Toggled before the platform button notifies the parent.
        m_bChecked = !m_bChecked;
        ShowFrame(m_bSpaceDown ? PushedFrame() : PlainFrame());
    } else if (m_bSpaceDown) {
        ShowFrame(PushedFrame());
    }
    CButton::OnLButtonUp(flags, point);
}

void CCheckBox::OnKillFocus(CWnd* wnd)
{
    if (m_bSpaceDown) {
        m_bSpaceDown = 0;
        ShowFrame(PlainFrame());
    }
    CButton::OnKillFocus(wnd);
}

BOOL CCheckBox::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(m_hCursor);
    return TRUE;
}
