#include "PageEdit.h"
#include "MainWindowSkinIds.h"
#include "SonelleGlobals.h"

BEGIN_MESSAGE_MAP(CPageEdit, CNewWizPage)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CPageEdit::OnInitDialog()
{
    CNewWizPage::OnInitDialog();
    if (m_background.Load(g_hSkinModule, IDB_PAGE_EDIT_BACK)) m_background.SizeWindow(m_hWnd);
    return TRUE;
}

BOOL CPageEdit::OnSetActive()
{
    SetProcessPriority(NORMAL_PRIORITY_CLASS);
    return TRUE;
}

void CPageEdit::OpenFile(const wchar_t* path)
{
    m_strOpened = path;
}

void CPageEdit::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    m_background.Paint(dc);
    EndPaint(m_hWnd, &paint);
}
