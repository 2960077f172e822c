#include "ToolTipCtrl.h"

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    return CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, parent ? parent->m_hWnd : nullptr, nullptr);
}

void CToolTipCtrl::FillTool(TOOLINFOW& info, CWnd* wnd, UINT_PTR toolId) const
{
    info = {};
    info.cbSize = sizeof(info);
    info.hwnd = wnd ? (toolId ? wnd->m_hWnd : ::GetParent(wnd->m_hWnd)) : nullptr;
    info.uId = toolId ? toolId : (UINT_PTR)(wnd ? wnd->m_hWnd : nullptr);
    info.uFlags = toolId ? 0 : TTF_IDISHWND | TTF_SUBCLASS;
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, const wchar_t* text, const RECT* rc, UINT_PTR toolId)
{
    TOOLINFOW info;
    FillTool(info, wnd, toolId);
    info.lpszText = const_cast<wchar_t*>(text ? text : LPSTR_TEXTCALLBACKW);
    if (rc) info.rect = *rc;
    else if (toolId && wnd) ::GetClientRect(wnd->m_hWnd, &info.rect);
    return (BOOL)SendMessage(TTM_ADDTOOLW, 0, (LPARAM)&info);
}

void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR toolId)
{
    TOOLINFOW info;
    FillTool(info, wnd, toolId);
    SendMessage(TTM_DELTOOLW, 0, (LPARAM)&info);
}

void CToolTipCtrl::UpdateTipText(const wchar_t* text, CWnd* wnd, UINT_PTR toolId)
{
    TOOLINFOW info;
    FillTool(info, wnd, toolId);
    info.lpszText = const_cast<wchar_t*>(text);
    SendMessage(TTM_UPDATETIPTEXTW, 0, (LPARAM)&info);
}
