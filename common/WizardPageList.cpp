#include "WizardPageList.h"

void CWizardPageList::Add(CWizardPage* page, UINT templateId)
{
    page->m_nDialogID = templateId;
    page->m_nIDTemplate = templateId;
    m_pages.push_back(page);
}

CWizardPage* CWizardPageList::GetAt(int index) const
{
    return index >= 0 && index < (int)m_pages.size() ? m_pages[(size_t)index] : nullptr;
}

CWizardPage* CWizardPageList::Find(UINT templateId) const
{
    for (CWizardPage* page : m_pages)
        if (page->m_nDialogID == templateId) return page;
    return nullptr;
}

int CWizardPageList::IndexOf(const CWizardPage* page) const
{
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (m_pages[i] == page) return (int)i;
    return -1;
}

CWizardPage* CWizardPageList::GetActive() const
{
    for (CWizardPage* page : m_pages)
        if (page->m_bActive) return page;
    return nullptr;
}

UINT CWizardPageList::GetActiveID() const
{
    CWizardPage* page = GetActive();
    return page ? page->m_nDialogID : 0;
}

BOOL CWizardPageList::Deactivate()
{
    CWizardPage* current = GetActive();
    if (!current) return TRUE;
    if (!current->OnQueryClose()) return FALSE;
    current->ShowWindow(SW_HIDE);
    current->m_bActive = FALSE;
    return TRUE;
}

BOOL CWizardPageList::Activate(CDialog* host, UINT placeholderId, CWizardPage* page)
{
    if (!page) return FALSE;
    if (!page->m_bCreated) {
        if (!page->Create(page->m_nDialogID, host)) return FALSE;
        page->m_bCreated = TRUE;
        page->SetHost(host);
        if (!page->OnCreatePage()) return FALSE;
    }

    if (!Deactivate()) return FALSE;

    RECT area = {};
    if (HWND placeholder = ::GetDlgItem(host->m_hWnd, placeholderId)) {
        ::GetWindowRect(placeholder, &area);
        host->ScreenToClient(&area);
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

CWizardPage* CWizardPageList::StepTarget(CWizardPage* active, LRESULT target, int step) const
{
    if (target == -1) return nullptr;  // the page keeps the wizard where it is
    if (target != 0) return Find((UINT)target);
    const int current = IndexOf(active);
    if (current < 0) return nullptr;
    return GetAt(current + step);
}

BOOL CWizardPageList::QueryFinish() const
{
    CWizardPage* active = GetActive();
    if (active && !active->OnQueryClose()) return FALSE;
    for (CWizardPage* page : m_pages)
        if (page->m_bCreated && !page->OnWizardFinish()) return FALSE;
    return TRUE;
}

BOOL CWizardPageList::QueryCancel() const
{
    for (CWizardPage* page : m_pages)
        if (page->m_bCreated && !page->OnQueryCancel()) return FALSE;
    return TRUE;
}

void CWizardPageList::DestroyPages()
{
    for (CWizardPage* page : m_pages) {
        if (!page->m_bCreated || !page->OnQueryClose()) continue;
        page->OnKillActive();
        page->DestroyWindow();
        page->m_bCreated = FALSE;
        page->m_bActive = FALSE;
    }
}
