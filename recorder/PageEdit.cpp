#include "PageEdit.h"
#include "MainWindowSkinIds.h"
#include "PublishDlg.h"
#include "SkinIds.h"
#include "SonelleGlobals.h"

BEGIN_MESSAGE_MAP(CPageEdit, CNewWizPage)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_BN_CLICKED(IDC_PUBLISH, OnPublish)
END_MESSAGE_MAP()

void CPageEdit::DoDataExchange(CDataExchange* dx)
{
    CNewWizPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_PUBLISH, m_btnPublish);
}

BOOL CPageEdit::OnInitDialog()
{
    CNewWizPage::OnInitDialog();
    if (m_background.Load(g_hSkinModule, IDB_PAGE_EDIT_BACK)) m_background.SizeWindow(m_hWnd);
    m_btnPublish.LoadBitmaps(g_hSkinModule, IDB_REC_PUBLISH, 100, 100, false);
    m_btnPublish.MoveWindow(842, 458, 100, 100, FALSE);
    return TRUE;
}

BOOL CPageEdit::OnSetActive()
{
    SetProcessPriority(NORMAL_PRIORITY_CLASS);
    return TRUE;
}

// With no file open the dialog starts with an empty list; the page hands its
// checked tracks once it opens files.
void CPageEdit::OnPublish() { RunPublishDialog({}); }

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
