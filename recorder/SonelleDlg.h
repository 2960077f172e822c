// CSonelleDlg: the recorder's only top-level window. A borderless dialog painted
// from skin bitmaps with a rounded region, page buttons, caption buttons, the
// help menu and About box; it hosts the Record and Edit pages.
#pragma once
#include "NewWizDialog.h"
#include "DeferredStartup.h"
#include "PreventSleep.h"
#include "Bitmap.h"
#include "RecorderControls.h"
#include "ToolTipCtrl.h"

class CSonelleDlg : public CNewWizDialog {
public:
    enum { IDD = 102 };
    enum {
        IDC_RECORD_PAGE = 1000, IDC_EDIT_PAGE = 1001, IDC_HELP_BUTTON = 1003, IDC_MINIMIZE = 1004,
        IDC_EXIT = 1005, IDC_PLACEHOLDER = 1006
    };
    enum { ID_HELP_GUIDE = 32779, ID_HELP_ABOUT = 32780, ID_HELP_SUPPORT = 32783, ID_HELP_SYSINFO = 32785 };
    enum { IDM_ABOUTBOX = 16, IDR_HELP_MENU = 186 };
    enum { PAGE_RECORD = 129, PAGE_EDIT = 337 };

    explicit CSonelleDlg(CWnd* parent = nullptr);
    ~CSonelleDlg() override;

    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void OnDropFiles(HDROP drop) override;
    void OpenFileInEditPage(const wchar_t* path) override;
    void EnableButtons(BOOL enable) override;

    void RegisterFilterModules();
    // Opens the mixer and mutes what the inputs would send to the speakers;
    // CloseSequence gives it back.
    void TakeAudioHolds();
    void PreventSleep(BOOL on);

protected:
    void OnRecordPage();
    void OnEditPage();
    void OnHelpButton();
    void OnMinimize();
    void OnExit();
    void OnClose();
    void OnHelpGuide();
    void OnAbout();
    void OnSupport();
    void OnSystemInfo();
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    HCURSOR OnQueryDragIcon() { return (HCURSOR)m_hIcon; }
    void OnDropFilesMessage(HDROP drop) { OnDropFiles(drop); }
    void CloseSequence();
    void SkinButtons();
    void Layout();

    HICON m_hIcon = nullptr;
    CToolTipCtrl m_ToolTip;
    CBitmap m_background;
    CBitmap m_title;
    CBButton m_btnHelp, m_btnMinimize, m_btnExit, m_btnEdit, m_btnRecord;
    CPreventSleep m_sleep;
    BOOL m_bAudioHeld = FALSE;
    CDeferredStartup m_afterWindow;   // registration and audio set-up, once the window is up

    DECLARE_MESSAGE_MAP()
};
