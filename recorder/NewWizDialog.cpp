#include "NewWizDialog.h"
#include "NewWizPage.h"

BEGIN_MESSAGE_MAP(CNewWizDialog, NvDropDialog)
    ON_COMMAND(ID_WIZBACK, OnWizardBack)
    ON_COMMAND(ID_WIZNEXT, OnWizardNext)
    ON_COMMAND(ID_WIZFINISH, OnWizardFinish)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {
const UINT kPlaceholder = 1006;
}

CNewWizDialog::CNewWizDialog(UINT templateId, CWnd* parent) : NvDropDialog(templateId, parent) {}

void CNewWizDialog::AddPage(CNewWizPage* page, UINT templateId)
{
    m_pages.Add(page, templateId);
}

BOOL CNewWizDialog::OnInitDialog()
{
    NvDropDialog::OnInitDialog();
    ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    if (HWND placeholder = ::GetDlgItem(m_hWnd, kPlaceholder))
        ::MoveWindow(placeholder, 17, 79, NEWWIZ_PAGE_WIDTH, NEWWIZ_PAGE_HEIGHT, FALSE);
    return TRUE;
}

// Every page in the list is one of ours (AddPage takes nothing else).
CNewWizPage* CNewWizDialog::FindPage(UINT templateId) const
{
    return static_cast<CNewWizPage*>(m_pages.Find(templateId));
}

CNewWizPage* CNewWizDialog::GetActivePage() const
{
    return static_cast<CNewWizPage*>(m_pages.GetActive());
}

UINT CNewWizDialog::GetActivePageID() const
{
    return m_pages.GetActiveID();
}

BOOL CNewWizDialog::SetActivePage(UINT templateId)
{
    CNewWizPage* page = FindPage(templateId);
    return page ? ActivatePage(page) : FALSE;
}

BOOL CNewWizDialog::ActivatePage(CNewWizPage* page)
{
    return m_pages.Activate(this, m_nPlaceholderID, page);
}

BOOL CNewWizDialog::Finish()
{
    if (!m_pages.QueryFinish()) return FALSE;
    UpdateData(TRUE);
    EndDialog(ID_WIZFINISH);
    return TRUE;
}

void CNewWizDialog::EnableCommand(UINT id, BOOL enable)
{
    if (HWND button = ::GetDlgItem(m_hWnd, id)) ::EnableWindow(button, enable);
}

void CNewWizDialog::OnWizardBack()
{
    CWizardPage* active = m_pages.GetActive();
    if (!active) return;
    CWizardPage* page = m_pages.StepTarget(active, active->OnWizardBack(), -1);
    if (!page || !ActivatePage(static_cast<CNewWizPage*>(page))) return;
    if (m_pages.IndexOf(page) == 0) {
        EnableCommand(ID_WIZBACK, FALSE);
        EnableCommand(ID_WIZFINISH, FALSE);
    }
    EnableCommand(ID_WIZNEXT, TRUE);
    EnableCommand(ID_WIZFINISH, FALSE);
}

void CNewWizDialog::OnWizardNext()
{
    CWizardPage* active = m_pages.GetActive();
    if (!active) return;
    CWizardPage* page = m_pages.StepTarget(active, active->OnWizardNext(), +1);
    if (!page || !ActivatePage(static_cast<CNewWizPage*>(page))) return;
    if (m_pages.IndexOf(page) == m_pages.GetCount() - 1) {
        EnableCommand(ID_WIZNEXT, FALSE);
        EnableCommand(ID_WIZFINISH, TRUE);
    }
    EnableCommand(ID_WIZBACK, TRUE);
}

void CNewWizDialog::OnCancel()
{
    if (!m_pages.QueryCancel()) return;
    NvDropDialog::OnCancel();
}

void CNewWizDialog::OnDestroy()
{
    m_pages.DestroyPages();
    NvDropDialog::OnDestroy();
}
