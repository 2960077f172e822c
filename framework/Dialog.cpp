#include "Dialog.h"
#include "ResourceHandle.h"
#include "WinApp.h"

BOOL AfxHookWindowCreate(CWnd* wnd);
void AfxUnhookWindowCreate();

namespace {
// Everything but WM_INITDIALOG is handled in front of the dialog manager by our
// window procedure; the dialog procedure only answers the dialog manager.
INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
} // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

const DLGTEMPLATE* CDialog::LoadTemplate(UINT templateId)
{
    HINSTANCE modules[2] = {AfxGetResourceHandle(), AfxGetInstanceHandle()};
    for (HINSTANCE module : modules) {
        HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(templateId), (LPCWSTR)RT_DIALOG);
        if (!found) continue;
        HGLOBAL loaded = ::LoadResource(module, found);
        if (loaded) return (const DLGTEMPLATE*)::LockResource(loaded);
    }
    return nullptr;
}

BOOL CDialog::CreateFromTemplate(const DLGTEMPLATE* dialogTemplate, HWND parent)
{
    if (!dialogTemplate) return FALSE;
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamW(AfxGetInstanceHandle(), dialogTemplate, parent, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    if (!hWnd) {
        if (m_hWnd) Detach();
        return FALSE;
    }
    return m_hWnd == hWnd;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent)
{
    m_nIDTemplate = templateId;
    if (parent) m_pParentWnd = parent;
    return CreateFromTemplate(LoadTemplate(templateId), m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr);
}

BOOL CDialog::CreateIndirect(const DLGTEMPLATE* dialogTemplate, CWnd* parent)
{
    if (parent) m_pParentWnd = parent;
    return CreateFromTemplate(dialogTemplate, m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr);
}

INT_PTR CDialog::DoModal()
{
    const DLGTEMPLATE* dialogTemplate = LoadTemplate(m_nIDTemplate);
    if (!dialogTemplate) return -1;
    // The owner is the top-level window of the given parent, else the main window.
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner && AfxGetMainWnd() && AfxGetMainWnd() != this) owner = AfxGetMainWnd()->m_hWnd;
    if (!owner) owner = ::GetActiveWindow();
    if (owner) owner = ::GetAncestor(owner, GA_ROOT);
    bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
    if (ownerWasEnabled) ::EnableWindow(owner, FALSE);

    m_nModalResult = -1;
    m_bContinueModal = TRUE;
    if (CreateFromTemplate(dialogTemplate, owner)) {
        if (m_bContinueModal) {
            if (!(GetStyle() & WS_VISIBLE)) ShowWindow(SW_SHOWNORMAL);
            RunModalLoop();
        }
        if (m_hWnd) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                                   SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (ownerWasEnabled) ::EnableWindow(owner, TRUE);
    if (owner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
    if (m_hWnd) DestroyWindow();
    m_bContinueModal = FALSE;
    return m_nModalResult;
}

void CDialog::EndDialog(int result)
{
    if (m_bContinueModal) EndModalLoop(result);
    else {
        m_nModalResult = result;
        if (m_hWnd) ::EndDialog(m_hWnd, result);
    }
}

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_INITDIALOG) {
        *result = OnInitDialog();
        return TRUE;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, result);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    bool input = (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) ||
                 (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST);
    if (!input || !m_hWnd) return FALSE;
    return ::IsDialogMessageW(m_hWnd, msg);
}
