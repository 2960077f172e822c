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
    page->m_nDialogID = templateId;
    page->m_nIDTemplate = templateId;
    m_pages.push_back(page);
}

BOOL CNewWizDialog::OnInitDialog()
{
    NvDropDialog::OnInitDialog();
    ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    if (HWND placeholder = ::GetDlgItem(m_hWnd, kPlaceholder))
        ::MoveWindow(placeholder, 17, 79, NEWWIZ_PAGE_WIDTH, NEWWIZ_PAGE_HEIGHT, FALSE);
    return TRUE;
}

CNewWizPage* CNewWizDialog::FindPage(UINT templateId) const
{
    for (CNewWizPage* page : m_pages)
        if (page->m_nDialogID == templateId) return page;
    return nullptr;
}

int CNewWizDialog::IndexOf(const CNewWizPage* page) const
{
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (m_pages[i] == page) return (int)i;
    return -1;
}

CNewWizPage* CNewWizDialog::GetActivePage() const
{
    for (CNewWizPage* page : m_pages)
        if (page->m_bActive) return page;
    return nullptr;
}

UINT CNewWizDialog::GetActivePageID() const
{
    CNewWizPage* page = GetActivePage();
    return page ? page->m_nDialogID : 0;
}

BOOL CNewWizDialog::SetActivePage(UINT templateId)
{
    CNewWizPage* page = FindPage(templateId);
    return page ? ActivatePage(page) : FALSE;
}

BOOL CNewWizDialog::ActivatePage(CNewWizPage* page)
{
    if (!page) return FALSE;
    if (!page->m_bCreated) {
        if (!page->Create(page->m_nDialogID, this)) return FALSE;
        page->m_bCreated = TRUE;
        page->m_pParent = this;
        if (!page->OnCreatePage()) return FALSE;
    }

    if (CNewWizPage* current = GetActivePage()) {
        if (!current->OnQueryClose()) return FALSE;
        current->ShowWindow(SW_HIDE);
        current->m_bActive = FALSE;
    }

    RECT area = {};
    if (HWND placeholder = ::GetDlgItem(m_hWnd, m_nPlaceholderID)) {
        ::GetWindowRect(placeholder, &area);
        ScreenToClient(&area);
    }
    page->SetWindowPos((HWND)nullptr, area.left, area.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    page->EnableWindow(TRUE);
    page->ShowWindow(SW_SHOW);
    page->Invalidate();
    page->UpdateWindow();

    page->OnSetActive();
    page->m_bActive = TRUE;
    return TRUE;
}

void CNewWizDialog::Finish()
{
    CNewWizPage* active = GetActivePage();
    if (active && !active->OnQueryClose()) return;
    for (CNewWizPage* page : m_pages)
        if (page->m_bCreated && !page->OnWizardFinish()) return;
    UpdateData(TRUE);
    EndDialog(ID_WIZFINISH);
}

void CNewWizDialog::EnableCommand(UINT id, BOOL enable)
{
    if (HWND button = ::GetDlgItem(m_hWnd, id)) ::EnableWindow(button, enable);
}

CNewWizPage* CNewWizDialog::StepTarget(CNewWizPage* active, LRESULT target, int step)
{
    if (target == -1) return nullptr;  // the page keeps the wizard where it is
    if (target != 0) return FindPage((UINT)target);
    const int current = IndexOf(active);
    const int index = current + step;
    if (current < 0 || index < 0 || index >= (int)m_pages.size()) return nullptr;
    return m_pages[(size_t)index];
}

void CNewWizDialog::OnWizardBack()
{
    CNewWizPage* active = GetActivePage();
    if (!active) return;
    CNewWizPage* page = StepTarget(active, active->OnWizardBack(), -1);
    if (!page || !ActivatePage(page)) return;
    if (IndexOf(page) == 0) {
        EnableCommand(ID_WIZBACK, FALSE);
        EnableCommand(ID_WIZFINISH, FALSE);
    }
    EnableCommand(ID_WIZNEXT, TRUE);
    EnableCommand(ID_WIZFINISH, FALSE);
}

void CNewWizDialog::OnWizardNext()
{
    CNewWizPage* active = GetActivePage();
    if (!active) return;
    CNewWizPage* page = StepTarget(active, active->OnWizardNext(), +1);
    if (!page || !ActivatePage(page)) return;
    if (IndexOf(page) == (int)m_pages.size() - 1) {
        EnableCommand(ID_WIZNEXT, FALSE);
        EnableCommand(ID_WIZFINISH, TRUE);
    }
    EnableCommand(ID_WIZBACK, TRUE);
}

void CNewWizDialog::OnCancel()
{
    for (CNewWizPage* page : m_pages)
        if (page->m_bCreated && !page->OnQueryCancel()) return;
    NvDropDialog::OnCancel();
}

void CNewWizDialog::OnDestroy()
{
    for (CNewWizPage* page : m_pages) {
        if (!page->m_bCreated || !page->OnQueryClose()) continue;
        page->OnKillActive();
        page->DestroyWindow();
        page->m_bCreated = FALSE;
        page->m_bActive = FALSE;
    }
    NvDropDialog::OnDestroy();
}
