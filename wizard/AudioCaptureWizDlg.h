// CAudioCaptureWizDlg: the wizard's only top-level window. A borderless, skinned
// dialog that frames the pages with a step title, a step indicator, navigation
// buttons laid out per page, caption buttons (Help, Minimize, Exit) and the help
// menu. From the start it keeps the display awake; once it is up it registers the
// filter modules and mutes what the input would play; every way out gives that
// back once, when the dialog really ends.
#pragma once
#include "BButton.h"
#include "Bitmap.h"
#include "NewWizDialog.h"
#include "DeferredStartup.h"
#include "PreventSleep.h"
#include "ToolTipCtrl.h"

class CAudioCaptureWizDlg : public CNewWizDialog {
public:
    enum { IDD = 102 };
    enum {
        IDC_EXIT = 1002, IDC_MINIMIZE = 1003, IDC_HELP_BUTTON = 1004, IDC_EASY_MODE = 1005, IDC_LOGO = 1007,
        IDC_DECORATION = 1065, IDC_STEP4_EXIT = 1063
    };
    enum { ID_HELP_GUIDE = 32779, ID_HELP_ABOUT = 32780, ID_HELP_SUPPORT = 32783, ID_HELP_SYSINFO = 32785 };
    enum { IDM_ABOUTBOX = 16, IDR_HELP_MENU = 186, ID_HELP_KEY = 57670 };
    // Where LayoutButtons puts a button it takes away: below the window's bottom.
    static const int kHiddenY = 823;

    explicit CAudioCaptureWizDlg(CWnd* parent = nullptr);
    ~CAudioCaptureWizDlg() override;

    void LayoutButtons(UINT pageId) override;
    void RefreshNavigation() override;
    void SetBusy(int state) override;
    int GetBusy() const { return m_nBusy; }

    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

    void LoadSkin();
    void SetWindowRegion();
    void RegisterFilterModules();
    // Opens the mixer and mutes what the input would send to the speakers, once
    // the window is up; ReleaseStartupHolds gives it back.
    void TakeAudioHolds();
    void PreventSleep(BOOL on);
    void OnExit();
    void ConfirmExit();
    void ShowHelpMenu();
    void OpenUserGuide();
    void OnOnlineSupport();
    void ShowAbout();
    // The help menu as ShowHelpMenu would show it (the caller destroys it).
    HMENU BuildHelpMenu();

    // Gives back the screen saver and the display request, once.
    void ReleaseStartupHolds();

protected:
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon() { return (HCURSOR)m_hIcon; }
    void OnLButtonDown(UINT flags, CPoint point);
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
    void OnClose();
    void OnMinimize() { ShowWindow(SW_MINIMIZE); }
    void OnSystemInfo();
    void OnDestroy();
    void PlaceButton(CWnd& button, int x, int y, int w, int h, bool shown);

    HICON m_hIcon = nullptr;
    CToolTipCtrl m_ToolTip;
    HBRUSH m_hBackgroundBrush = nullptr;
    CBitmap m_backgroundPicture;   // bitmap 130: the window's size
    CBitmap m_step4Backdrop;
    CBButton m_btnDecoration, m_btnHelp, m_btnMinimize, m_btnExit;
    CBButton m_btnBack, m_btnNext, m_btnFinish, m_btnBurn, m_btnStep4Back, m_btnStep4Exit, m_btnCancel;
    CPreventSleep m_sleep;
    BOOL m_bHoldsTaken = FALSE;
    BOOL m_bAudioHeld = FALSE;
    CDeferredStartup m_afterWindow;   // registration and audio set-up, once the window is up
    int m_nBusy = 0;

    DECLARE_MESSAGE_MAP()
};
