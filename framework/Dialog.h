// CDialog: dialogs from templates of the current resource module (else the
// program's own). DoModal runs our own loop, in which every message first goes
// through PreTranslateMessage of the windows from its target up to the dialog,
// and only then IsDialogMessage; Create makes a modeless (often child) dialog.
#pragma once
#include "DataExchange.h"
#include "Wnd.h"

class CDialog : public CWnd {
public:
    CDialog() = default;
    explicit CDialog(UINT templateId, CWnd* parent = nullptr) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

    virtual INT_PTR DoModal();
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    BOOL CreateIndirect(const DLGTEMPLATE* dialogTemplate, CWnd* parent);
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange*) {}
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    void NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
    void GotoDlgCtrl(CWnd* control) { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, (WPARAM)control->m_hWnd, 1); }
    void SetDefID(UINT id) { ::SendMessageW(m_hWnd, DM_SETDEFID, id, 0); }
    DWORD GetDefID() const { return (DWORD)::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0); }
    void MapDialogRect(RECT* rc) const { ::MapDialogRect(m_hWnd, rc); }

    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;

protected:
    // The dialog's template: from the current resource module, else the program.
    static const DLGTEMPLATE* LoadTemplate(UINT templateId);
    BOOL CreateFromTemplate(const DLGTEMPLATE* dialogTemplate, HWND parent);

    DECLARE_MESSAGE_MAP()
};
