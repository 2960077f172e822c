#include "NewWizDialog.h"
#include "NewWizPage.h"
#include "WizGlobals.h"
#include <cwchar>

BEGIN_MESSAGE_MAP(CNewWizDialog, CDialog)
    ON_COMMAND(ID_WIZBACK, OnWizardBack)
    ON_COMMAND(IDC_STEP4_BACK, OnWizardBack)
    ON_COMMAND(ID_WIZNEXT, OnWizardNext)
    ON_COMMAND(IDC_STEP4_BURN, OnWizardNext)
    ON_COMMAND(ID_WIZFINISH, OnWizardFinish)
    ON_COMMAND(IDC_CANCEL_BUTTON, OnWizardCancel)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CNewWizDialog::CNewWizDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {}

void CNewWizDialog::AddPage(CNewWizPage* page, UINT templateId)
{
    m_pages.Add(page, templateId);
}

// Every page in the list is one of ours (AddPage takes nothing else).
CNewWizPage* CNewWizDialog::FindPage(UINT templateId) const
{
    return static_cast<CNewWizPage*>(m_pages.Find(templateId));
}

CNewWizPage* CNewWizDialog::GetFirstPage() const
{
    return static_cast<CNewWizPage*>(m_pages.GetAt(0));
}

CNewWizPage* CNewWizDialog::GetLastPage() const
{
    return static_cast<CNewWizPage*>(m_pages.GetAt(m_pages.GetCount() - 1));
}

CNewWizPage* CNewWizDialog::GetActivePage() const
{
    return static_cast<CNewWizPage*>(m_pages.GetActive());
}

BOOL CNewWizDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    ModifyStyle(0, WS_SYSMENU | WS_MINIMIZEBOX);
    m_nPlaceholderID = IDC_PLACEHOLDER;
    CreateTitleFont();
    if (HWND placeholder = ::GetDlgItem(m_hWnd, m_nPlaceholderID))
        ::MoveWindow(placeholder, 25, 124, NEWWIZ_PAGE_WIDTH, NEWWIZ_PAGE_HEIGHT, FALSE);
    SetFirstPage();
    return TRUE;
}

void CNewWizDialog::CreateTitleFont()
{
    CString face = WizString(102);
    if (face.IsEmpty()) face = L"Arial";
    CString height = WizString(103);
    int size = height.IsEmpty() ? 20 : _wtoi(height);
    m_titleFont.CreateFont(-size, 0, 0, 0, 700, FALSE, FALSE, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, 1, DEFAULT_PITCH, face);
    if (HWND title = ::GetDlgItem(m_hWnd, IDC_STEP_TITLE))
        ::SendMessageW(title, WM_SETFONT, (WPARAM)m_titleFont.m_hObject, TRUE);
}

BOOL CNewWizDialog::SetFirstPage()
{
    if (!m_pages.Deactivate()) return FALSE;
    EnableBack(FALSE);
    EnableFinish(TRUE);
    EnableNext(m_pages.GetCount() > 1);
    return ActivatePage(GetFirstPage());
}

BOOL CNewWizDialog::ActivatePage(CNewWizPage* page)
{
    return m_pages.Activate(this, m_nPlaceholderID, page);
}

void CNewWizDialog::EnableCommand(UINT id, BOOL enable)
{
    if (HWND button = ::GetDlgItem(m_hWnd, id)) ::EnableWindow(button, enable);
}

void CNewWizDialog::EnsureDiscLibrary()
{
    if (m_bDiscReady) return;
    m_bDiscReady = m_dataDisc.Initialize() ? TRUE : FALSE;
    if (m_bDiscReady) m_dataDisc.SetBurnMode(1);
}

int CNewWizDialog::ReleaseDiscLibrary()
{
    if (!m_bDiscReady) return 0;
    m_bDiscReady = FALSE;
    return m_dataDisc.Uninitialize();
}

void CNewWizDialog::SetStepTitle(const wchar_t* text)
{
    if (HWND title = ::GetDlgItem(m_hWnd, IDC_STEP_TITLE)) ::SetWindowTextW(title, text);
}

void CNewWizDialog::SetStepIndicator(int value)
{
    if (m_stepIndicator.m_hWnd) m_stepIndicator.SetValue(value);
}

void CNewWizDialog::OnWizardBack()
{
    CWizardPage* active = m_pages.GetActive();
    if (!active) return;
    CWizardPage* page = m_pages.StepTarget(active, active->OnWizardBack(), -1);
    if (!page || !ActivatePage(static_cast<CNewWizPage*>(page))) return;
    if (m_pages.IndexOf(page) == 0) {
        EnableBack(FALSE);
        EnableFinish(TRUE);
    }
    EnableNext(TRUE);
}

void CNewWizDialog::OnWizardNext()
{
    CWizardPage* active = m_pages.GetActive();
    if (!active) return;
    CWizardPage* page = m_pages.StepTarget(active, active->OnWizardNext(), +1);
    if (!page || !ActivatePage(static_cast<CNewWizPage*>(page))) return;
    if (m_pages.IndexOf(page) == m_pages.GetCount() - 1) {
        EnableNext(FALSE);
        EnableFinish(TRUE);
    }
    EnableBack(TRUE);
}

void CNewWizDialog::OnWizardFinish()
{
    if (!m_pages.QueryFinish()) return;
    UpdateData(TRUE);
    EndDialog(ID_WIZFINISH);
}

void CNewWizDialog::OnWizardCancel()
{
    if (!m_pages.QueryCancel()) return;
    CDialog::OnCancel();
}

void CNewWizDialog::OnDestroy()
{
    m_pages.DestroyPages();
    Default();
}
