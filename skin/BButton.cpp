#include "BButton.h"
#include <algorithm>
#include "SkinModule.h"
#include "StripFrame.h"
#include "RegionFromColorKey.h"

BEGIN_MESSAGE_MAP(CBButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_SETCURSOR()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CBButton::CBButton() = default;

CBButton::~CBButton()
{
    delete m_pFont;
    if (m_hCursor) ::DestroyCursor(m_hCursor);
}

void CBButton::PreSubclassWindow()
{
    SendMessage(BM_SETSTYLE, (GetStyle() & 0xFFFF) | BS_OWNERDRAW, TRUE);
    CButton::PreSubclassWindow();
    if (m_hCursor) ::DestroyCursor(m_hCursor);
    m_hCursor = ::LoadCursorW(nullptr, IDC_HAND);
    if (!m_pFont) SetFont(L"Arial", 20, 500);
}

bool CBButton::LoadBitmaps(HINSTANCE module, WORD bitmapId, int frameWidth, int frameHeight, bool single)
{
    HBITMAP strip = LoadSkinBitmap(module, bitmapId);
    if (!strip) {
        m_bLoaded = 0;
        return false;
    }
    m_nWidth = frameWidth;
    m_nHeight = frameHeight;
    CBitmap* frames[5] = {&m_bmpNormal, &m_bmpMask, &m_bmpHover, &m_bmpPressed, &m_bmpDisabled};
    for (int i = 0; i < 5; ++i) {
        frames[i]->DeleteObject();
        // A single picture fills the normal frame; the other frames stay blank.
        frames[i]->Attach(CopyStripFrame(strip, i > 0 && single ? -1 : i, frameWidth, frameHeight));
    }
    ::DeleteObject(strip);
    m_bLoaded = 1;
    UpdateWindowRegion();
    return true;
}

bool CBButton::UpdateWindowRegion()
{
    if (!m_bLoaded || !m_hWnd) return false;
    HRGN region = RegionFromColorKey((HBITMAP)m_bmpMask.m_hObject, m_crKey, 0);
    return ::SetWindowRgn(m_hWnd, region, TRUE) != 0;
}

void CBButton::SetFont(const wchar_t* face, int height, int weight)
{
    delete m_pFont;
    m_pFont = new CFont;
    m_strFontFace = face;
    m_nFontHeight = height;
    m_nFontWeight = weight;
    m_pFont->CreateFont(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DRAFT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

void CBButton::SetTextColor(COLORREF colour) { m_crNormal = m_crHover = m_crPressed = m_crDisabled = colour; }

void CBButton::ResetHover()
{
    m_bHover = 0;
    Invalidate(TRUE);
}

void CBButton::DrawItem(LPDRAWITEMSTRUCT dis)
{
    if (!m_bLoaded) return;
    CDC* dc = CDC::FromHandle(dis->hDC);
    CBitmap* frame = &m_bmpNormal;
    COLORREF colour = m_crNormal;
    if (dis->itemState & ODS_DISABLED) {
        CBitmap* bySelector[5] = {&m_bmpNormal, &m_bmpHover, &m_bmpPressed, &m_bmpDisabled, &m_bmpMask};
        frame = (m_nDisabledFrame >= 0 && m_nDisabledFrame < 5) ? bySelector[m_nDisabledFrame] : &m_bmpDisabled;
        m_bHover = 0;
        colour = m_crDisabled;
    } else if (m_bHover && !m_bPressed) {
        frame = &m_bmpHover;
        colour = m_crHover;
    } else if (m_bHover && m_bPressed) {
        frame = &m_bmpPressed;
        colour = m_crPressed;
    }
    int clipped = dc->SaveDC();
    ClipToWindowRegion(dc);
    CDC mem;
    mem.CreateCompatibleDC(dc);
    CBitmap* old = mem.SelectObject(frame);
    dc->BitBlt(0, 0, m_nWidth, m_nHeight, &mem, 0, 0, SRCCOPY);
    mem.SelectObject(old);

    if (m_bShowText) {
        dc->SetTextColor(colour);
        int saved = dc->SaveDC();
        dc->SetBkMode(TRANSPARENT);
        wchar_t text[255] = {};
        ::GetWindowTextW(m_hWnd, text, 255);
        m_strCaption = text;
        if (m_pFont && m_pFont->m_hObject) dc->SelectObject(m_pFont);
        // A caption wider than the button is drawn in a smaller size of the same
        // face (down to 8 pixels), so it is not cut at the button's edges.
        CFont fitted;
        const int room = m_nWidth - 4;
        if (m_nFontHeight > 8 && room > 0 &&
            dc->GetTextExtent(m_strCaption, m_strCaption.GetLength()).cx > room) {
            for (int height = m_nFontHeight - 1; height >= 8; --height) {
                if (m_pFont && m_pFont->m_hObject) dc->SelectObject(m_pFont);   // never delete a selected font
                if (!fitted.CreateFont(-height, 0, 0, 0, m_nFontWeight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DRAFT_QUALITY,
                                       DEFAULT_PITCH | FF_DONTCARE, m_strFontFace))
                    break;
                dc->SelectObject(&fitted);
                if (dc->GetTextExtent(m_strCaption, m_strCaption.GetLength()).cx <= room) break;
            }
        }
        CRect rc(0, 0, m_nWidth, m_nHeight);
        dc->DrawText(m_strCaption, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc->RestoreDC(saved);
    }
    dc->RestoreDC(clipped);
}

// A button paints with its parent's clipping (the platform registers the button
// class with CS_PARENTDC), and under Wine that clipping leaves the window region
// out: without this the whole square frame would cover the parent around a round
// button.
void CBButton::ClipToWindowRegion(CDC* dc)
{
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetWindowRgn(m_hWnd, region) != ERROR) {
        // The region is relative to the window, the device context to the client area.
        CRect window;
        GetWindowRect(&window);
        POINT client = {0, 0};
        ::ClientToScreen(m_hWnd, &client);
        ::OffsetRgn(region, window.left - client.x, window.top - client.y);
        ::ExtSelectClipRgn(dc->m_hDC, region, RGN_AND);
    }
    ::DeleteObject(region);
}

void CBButton::OnMouseMove(UINT flags, CPoint point)
{
    CButton::OnMouseMove(flags, point);
    if ((flags & MK_LBUTTON) && !m_bHover) return;  // a drag that enters does not light it
    // Hovering does not take the keyboard focus away from where the user left it.
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (!owner) owner = ::GetParent(m_hWnd);
    if (::GetCapture() != m_hWnd && owner) {
        m_bHover = 1;
        ::SetCapture(m_hWnd);
        if (flags & MK_LBUTTON) m_bPressed = 1;
        Invalidate(TRUE);
        return;
    }
    POINT screen = point;
    ::ClientToScreen(m_hWnd, &screen);
    HWND under = ::WindowFromPoint(screen);
    if (under && under != m_hWnd) {
        if (m_bHover) {
            m_bHover = 0;
            m_bPressed = 0;
            Invalidate(TRUE);
        }
        if (!(flags & MK_LBUTTON)) ::ReleaseCapture();
    }
}

void CBButton::OnLButtonDown(UINT flags, CPoint point)
{
    m_bPressed = 1;
    CButton::OnLButtonDown(flags, point);
}

void CBButton::OnLButtonUp(UINT flags, CPoint point)
{
    m_bPressed = 0;
    CButton::OnLButtonUp(flags, point);
    ResetHover();
}

BOOL CBButton::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    if (!m_hCursor) return CButton::OnSetCursor(wnd, hitTest, message);
    ::SetCursor(m_hCursor);
    return TRUE;
}
