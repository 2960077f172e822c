#include "BStatic.h"
#include "DC.h"

BEGIN_MESSAGE_MAP(CBStatic, CStatic)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CBStatic::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    // The static's alignment bits (left 0, centre 1, right 2) are DrawText's.
    m_nFormat = ((UINT)GetStyle() & 0xFF & ~0x10u) | DT_WORDBREAK;
    int length = GetWindowTextLength();
    ::GetWindowTextW(m_hWnd, m_strText.GetBuffer(length + 1), length + 1);
    m_strText.ReleaseBuffer();
}

void CBStatic::SetBkRect(int x, int y, int width, int height)
{
    m_nSourceX = x;
    m_nSourceY = y;
    m_nWidth = width;
    m_nHeight = height;
    if (m_hWnd) Invalidate(TRUE);
}

// The window keeps the same text, so that other programs (and screen readers)
// read what is shown.
void CBStatic::SetText(const wchar_t* text)
{
    m_strText = text;
    if (!m_hWnd) return;
    ::SetWindowTextW(m_hWnd, text);
    Invalidate(TRUE);
}

BOOL CBStatic::OnEraseBkgnd(CDC* dc)
{
    if (!m_pBackground || !m_pBackground->m_hObject) return (BOOL)Default();
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ oldBitmap = SelectObject(memory, m_pBackground->m_hObject);
    BitBlt(dc->m_hDC, 0, 0, m_nWidth, m_nHeight, memory, m_nSourceX, m_nSourceY, SRCCOPY);

    m_hFont = (HFONT)SendMessage(WM_GETFONT);
    HGDIOBJ oldFont = m_hFont ? SelectObject(dc->m_hDC, m_hFont) : nullptr;
    SetBkMode(dc->m_hDC, TRANSPARENT);
    ::SetTextColor(dc->m_hDC, m_crText);
    RECT client;
    GetClientRect(&client);
    DrawTextW(dc->m_hDC, m_strText, m_strText.GetLength(), &client, m_nFormat);
    if (oldFont) SelectObject(dc->m_hDC, oldFont);
    SelectObject(memory, oldBitmap);
    DeleteDC(memory);
    return TRUE;
}

// Everything is drawn on erase.
void CBStatic::OnPaint()
{
    PAINTSTRUCT paint;
    BeginPaint(m_hWnd, &paint);
    EndPaint(m_hWnd, &paint);
}
