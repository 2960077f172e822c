#include "NewWizPage.h"
#include "NewWizDialog.h"
#include "SonelleSettings.h"

BEGIN_MESSAGE_MAP(CNewWizPage, CWizardPage)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CNewWizPage::CNewWizPage(UINT templateId, CWnd* parent) : CWizardPage(templateId, parent) {}

void CNewWizPage::SetHost(CDialog* host)
{
    m_pParent = static_cast<CNewWizDialog*>(host);
}

BOOL CNewWizPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowPos((HWND)nullptr, 0, 0, NEWWIZ_PAGE_WIDTH, NEWWIZ_PAGE_HEIGHT, SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

// Dragging the page background drags the main window.
void CNewWizPage::OnLButtonDown(UINT, CPoint point)
{
    if (m_pParent) m_pParent->PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
}

BOOL CNewWizPage::PreTranslateMessage(MSG* msg)
{
    if (HandleMergeModeChord(msg)) return TRUE;
    if (m_ToolTip.m_hWnd) m_ToolTip.RelayEvent(msg);
    return CDialog::PreTranslateMessage(msg);
}

void SetProcessPriority(DWORD priorityClass)
{
    SetPriorityClass(GetCurrentProcess(), priorityClass);
}
