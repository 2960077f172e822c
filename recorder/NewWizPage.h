// CNewWizPage: one page of the main window, a child dialog created from its
// template the first time it is shown and kept until the host is destroyed.
#pragma once
#include "ToolTipCtrl.h"
#include "WizardPage.h"

class CNewWizDialog;

class CNewWizPage : public CWizardPage {
public:
    explicit CNewWizPage(UINT templateId = 0, CWnd* parent = nullptr);

    void SetHost(CDialog* host) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void DoDataExchange(CDataExchange*) override {}
    void OnCancel() override {}   // Escape in a page closes nothing

    CNewWizDialog* m_pParent = nullptr;  // the host, set at creation

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
