#include "PageCapture.h"
#include "SonelleGlobals.h"

BEGIN_MESSAGE_MAP(CPageCapture, CNewWizPage)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CPageCapture::~CPageCapture()
{
    if (m_hBrush) DeleteObject(m_hBrush);
}

BOOL CPageCapture::OnInitDialog()
{
    CNewWizPage::OnInitDialog();
    // The page background is a pattern brush of skin bitmap 152.
    if (HBITMAP pattern = LoadBitmapW(g_hSkinModule, MAKEINTRESOURCEW(152))) {
        m_hBrush = CreatePatternBrush(pattern);
        DeleteObject(pattern);
    }
    return TRUE;
}

BOOL CPageCapture::OnSetActive()
{
    SetProcessPriority(HIGH_PRIORITY_CLASS);
    return TRUE;
}

HBRUSH CPageCapture::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    if (kind == CTLCOLOR_DLG && m_hBrush) return m_hBrush;
    return CNewWizPage::OnCtlColor(dc, wnd, kind);
}
