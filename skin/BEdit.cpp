#include "BEdit.h"

BEGIN_MESSAGE_MAP(CBEdit, CEdit)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_ERASEBKGND()
    ON_CONTROL_REFLECT(EN_UPDATE, OnUpdateReflect)
    ON_WM_NCPAINT()
    ON_WM_ENABLE()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CBEdit::CBEdit() { m_brush.CreateStockObject(NULL_BRUSH); }

CBEdit::~CBEdit()
{
    m_brush.Detach();  // a stock object
    if (m_hBackground) ::DeleteObject(m_hBackground);
}

void CBEdit::PreSubclassWindow()
{
    m_bDisabled = IsWindowEnabled() ? 0 : 1;
    CEdit::PreSubclassWindow();
}

void CBEdit::CaptureBackground(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    if (m_hBackground) ::DeleteObject(m_hBackground);
    m_hBackground = ::CreateCompatibleBitmap(dc->m_hDC, client.Width(), client.Height());
    CDC mem;
    mem.CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(mem.m_hDC, m_hBackground);
    mem.BitBlt(0, 0, client.Width(), client.Height(), dc, 0, 0, SRCCOPY);
    ::SelectObject(mem.m_hDC, old);
}

void CBEdit::Draw(CDC* dc)
{
    // Only the background: the edit draws its own text over it, once.
    if (!m_hBackground) return;
    CRect client;
    GetClientRect(&client);
    CDC mem;
    mem.CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(mem.m_hDC, m_hBackground);
    dc->BitBlt(0, 0, client.Width(), client.Height(), &mem, 0, 0, SRCCOPY);
    ::SelectObject(mem.m_hDC, old);
}

HBRUSH CBEdit::CtlColor(CDC* dc, UINT)
{
    // Called by the edit's own painting, before it draws its text: the skinned
    // background goes under the text and the null brush keeps it there.
    Draw(dc);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(m_bDisabled ? ::GetSysColor(COLOR_BTNSHADOW) : RGB(0, 0, 0));
    return (HBRUSH)m_brush.m_hObject;
}

void CBEdit::OnNcPaint()
{
    // The standard border is not painted; the background is taken once from
    // what the parent drew under the control. The client area is the edit's
    // own painting (background and text), so nothing is drawn into it here.
    if (m_bCaptureBackground) {
        CClientDC dc(this);
        CaptureBackground(&dc);
        m_bCaptureBackground = 0;
    }
}

void CBEdit::OnEnable(BOOL enable)
{
    m_bDisabled = enable ? 0 : 1;
    CEdit::OnEnable(enable);
    Invalidate(FALSE);  // the text in its new colour, on the same background
}

void CBEdit::InvalidateParentArea(int grow)
{
    HWND parent = ::GetParent(m_hWnd);
    if (!parent) return;
    CRect rc;
    GetWindowRect(&rc);
    ::MapWindowPoints(nullptr, parent, (POINT*)&rc, 2);
    rc.InflateRect(grow, grow);
    ::InvalidateRect(parent, &rc, TRUE);
}

void CBEdit::OnUpdateReflect() { InvalidateParentArea(10); }

void CBEdit::OnKillFocus(CWnd* wnd)
{
    CEdit::OnKillFocus(wnd);
    InvalidateParentArea(20);
}

bool CBEdit::RecreateWithStyle(DWORD remove, DWORD add)
{
    if (!m_hWnd) return false;
    UINT limit = GetLimitText();
    HFONT font = (HFONT)SendMessage(WM_GETFONT);
    wchar_t text[261] = {};
    ::GetWindowTextW(m_hWnd, text, 261);
    DWORD style = GetStyle();
    if (remove) style &= ~remove;
    if (add) style |= add;
    HWND parent = ::GetParent(m_hWnd);
    CRect rc;
    GetWindowRect(&rc);
    ::MapWindowPoints(nullptr, parent, (POINT*)&rc, 2);
    bool hadFocus = ::GetFocus() == m_hWnd;
    int id = GetDlgCtrlID();
    DWORD exStyle = GetExStyle();

    HWND created = ::CreateWindowExW(exStyle, L"EDIT", L"", style, rc.left, rc.top, rc.Width(), rc.Height(),
                                     parent, (HMENU)(INT_PTR)id, ::GetModuleHandleW(nullptr), nullptr);
    if (!created) return false;
    HWND old = m_hWnd;
    ::SetWindowTextW(old, L"");
    ::SetWindowTextW(created, text);
    ::SendMessageW(created, WM_SETFONT, (WPARAM)font, FALSE);
    ::SetWindowLongPtrW(old, GWLP_ID, id + 1);

    UnsubclassWindow();
    SubclassWindow(created);
    ::SetWindowPos(created, HWND_TOP, 0, 0, 0, 0,
                   SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::UpdateWindow(created);
    ::SetWindowPos(old, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::DestroyWindow(old);
    SetLimitText(limit);
    if (hadFocus) ::SetFocus(created);
    return true;
}
