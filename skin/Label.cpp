#include "Label.h"
#include "ParentBackground.h"
#include <shellapi.h>

BEGIN_MESSAGE_MAP(CLabel, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CLabel::CLabel() : m_crText(::GetSysColor(COLOR_WINDOWTEXT))
{
    m_brush.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(m_lf), &m_lf);
    m_font.CreateFontIndirect(&m_lf);
}

CLabel::~CLabel() = default;

void CLabel::ReconstructFont()
{
    // The static selects the font it was given over whatever its colour message
    // selected, so the label's font is handed to the control itself; the old
    // font goes only after the control has let go of it.
    HFONT old = (HFONT)m_font.Detach();
    m_font.CreateFontIndirect(&m_lf);
    if (m_hWnd) SendMessage(WM_SETFONT, (WPARAM)m_font.m_hObject, FALSE);
    if (old) ::DeleteObject(old);
}

void CLabel::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    SendMessage(WM_SETFONT, (WPARAM)m_font.m_hObject, FALSE);
}

void CLabel::RedrawNow()
{
    if (m_hWnd) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

CLabel& CLabel::SetTextColor(COLORREF colour)
{
    m_crText = colour;
    RedrawNow();
    return *this;
}

CLabel& CLabel::SetFontSize(int size)
{
    m_lf.lfHeight = -size;
    ReconstructFont();
    RedrawNow();
    return *this;
}

CLabel& CLabel::SetFontUnderline(BOOL underline)
{
    m_lf.lfUnderline = underline ? 1 : 0;
    ReconstructFont();
    RedrawNow();
    return *this;
}

CLabel& CLabel::SetLink(BOOL link)
{
    m_bLink = link;
    if (m_hWnd) ModifyStyle(link ? 0 : SS_NOTIFY, link ? SS_NOTIFY : 0);
    return *this;
}

CLabel& CLabel::SetLinkCursor(HCURSOR cursor)
{
    m_hCursor = cursor;
    return *this;
}

HBRUSH CLabel::CtlColor(CDC* dc, UINT kind)
{
    if (kind != CTLCOLOR_STATIC) return (HBRUSH)m_brush.m_hObject;
    // The text stands on whatever the parent shows there (the button face in a
    // plain dialog, the skin's picture in a skinned one), not on a box of its own.
    PaintParentBackground(m_hWnd, dc->m_hDC);
    dc->SelectObject(&m_font);
    dc->SetTextColor(m_crText);
    dc->SetBkMode(TRANSPARENT);
    return (HBRUSH)::GetStockObject(NULL_BRUSH);
}

BOOL CLabel::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    if (!m_hCursor) return CStatic::OnSetCursor(wnd, hitTest, message);
    ::SetCursor(m_hCursor);
    return TRUE;
}

void CLabel::OnLButtonDown(UINT flags, CPoint point)
{
    CString target = GetWindowText();
    ::ShellExecuteW(nullptr, L"open", target, nullptr, nullptr, SW_SHOWNORMAL);
    CStatic::OnLButtonDown(flags, point);
}
