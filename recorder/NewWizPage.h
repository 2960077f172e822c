// CNewWizPage: one page of the main window, a child dialog created from its
// template the first time it is shown and kept until the host is destroyed.
#pragma once
#include "Dialog.h"
#include "ToolTipCtrl.h"

class CNewWizDialog;

class CNewWizPage : public CDialog {
public:
    explicit CNewWizPage(UINT templateId = 0, CWnd* parent = nullptr);

    // Page notifications, with their defaults.
    virtual BOOL OnCreatePage() { return TRUE; }
    virtual BOOL OnKillActive() { return TRUE; }
    virtual BOOL OnQueryClose() { return TRUE; }   // TRUE: the page may be left
    virtual BOOL OnSetActive() { return TRUE; }
    virtual BOOL OnQueryCancel() { return TRUE; }
    virtual LRESULT OnWizardBack() { return 0; }
    virtual LRESULT OnWizardNext() { return 0; }
    virtual BOOL OnWizardFinish() { return TRUE; }

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void DoDataExchange(CDataExchange*) override {}
    void OnCancel() override {}   // Escape in a page closes nothing

    CNewWizDialog* m_pParent = nullptr;  // the host, set at creation
    BOOL m_bCreated = FALSE;
    BOOL m_bActive = FALSE;
    UINT m_nDialogID;

protected:
    void OnLButtonDown(UINT flags, CPoint point);

    CToolTipCtrl m_ToolTip;
    HBRUSH m_hBrush = nullptr;   // for the pages' own painting
    HFONT m_hFont = nullptr;

    DECLARE_MESSAGE_MAP()
};

// Page size inside the main window.
constexpr int NEWWIZ_PAGE_WIDTH = 966;
constexpr int NEWWIZ_PAGE_HEIGHT = 582;

void SetProcessPriority(DWORD priorityClass);
