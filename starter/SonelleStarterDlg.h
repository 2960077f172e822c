// CSonelleStarterDlg: the starter's window. An 800 x 600 skinned dialog with two
// large buttons that start the wizard or the recorder and then end the starter,
// the caption buttons (help menu, minimise, exit) and the descriptions of the
// two ways in.
#pragma once
#include "BButton.h"
#include "Bitmap.h"
#include "Dialog.h"
#include "Font.h"
#include "ToolTipCtrl.h"

class CSonelleStarterDlg : public CDialog {
public:
    enum { IDD = 102 };
    enum {
        IDC_MINIMIZE = 1001, IDC_HELP_BUTTON = 1002, IDC_WIZARD = 1003, IDC_ADVANCED = 1004, IDC_LOGO = 1016,
        IDC_NOVICE = 1005, IDC_WIZARD_HEADING = 1006, IDC_PROFESSIONAL = 1008, IDC_ADVANCED_HEADING = 1009
    };
    enum { ID_HELP_GUIDE = 32779, ID_HELP_ABOUT = 32780, ID_HELP_SUPPORT = 32783, ID_HELP_SYSINFO = 32785 };
    enum { IDM_ABOUTBOX = 16, IDR_HELP_MENU = 186, ID_HELP_KEY = 57670, IDT_LAUNCH = 100 };

    explicit CSonelleStarterDlg(CWnd* parent = nullptr);
    ~CSonelleStarterDlg() override;

    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnInitDialog() override;

    void LoadSkin();
    void CreateFonts();
    void SetWindowRegion();
    void LaunchWizard();
    void LaunchRecorder();
    void ShowHelpMenu();
    void OpenUserGuide();
    void OnOnlineSupport();
    void ShowAbout();

protected:
    // Starts "<installation folder><program>" and ends the starter 100 ms later;
    // a program that cannot be started is reported and the starter stays.
    void Launch(const wchar_t* program);
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon() { return (HCURSOR)m_hIcon; }
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMinimize() { ShowWindow(SW_MINIMIZE); }
    void OnTimer(UINT_PTR id);
    void OnSystemInfo();

    HICON m_hIcon = nullptr;
    CFont m_largeFont, m_mediumFont, m_smallFont;
    HBRUSH m_hBackgroundBrush = nullptr;
    CBitmap m_logo;
    CToolTipCtrl m_ToolTip;
    CBButton m_btnHelp, m_btnMinimize, m_btnExit, m_btnWizard, m_btnAdvanced;

    DECLARE_MESSAGE_MAP()
};
