#include "Menu.h"
#include "ResourceHandle.h"
#include "Wnd.h"

BOOL CMenu::LoadMenu(UINT id)
{
    HMENU menu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id));
    if (!menu) menu = ::LoadMenuW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(id));
    return Attach(menu);
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* wnd, const RECT* rc)
{
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, wnd ? wnd->m_hWnd : nullptr, rc);
}
