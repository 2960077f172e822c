#include "PageCapture.h"
#include "MainWindowSkinIds.h"
#include "SonelleGlobals.h"

BEGIN_MESSAGE_MAP(CPageCapture, CNewWizPage)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

BOOL CPageCapture::OnInitDialog()
{
    CNewWizPage::OnInitDialog();
    if (m_background.Load(g_hSkinModule, IDB_PAGE_RECORD_BACK)) m_background.SizeWindow(m_hWnd);
    return TRUE;
}

BOOL CPageCapture::OnSetActive()
{
    SetProcessPriority(HIGH_PRIORITY_CLASS);
    return TRUE;
}

void CPageCapture::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    m_background.Paint(dc);
    EndPaint(m_hWnd, &paint);
}

HBRUSH CPageCapture::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    if (kind == CTLCOLOR_DLG && m_background.GetBrush()) return m_background.GetBrush();
    return CNewWizPage::OnCtlColor(dc, wnd, kind);
}
