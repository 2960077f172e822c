#include "AudioCaptureWizDlg.h"
#include "SkinModule.h"
#include "OpenSystemInfoDlg.h"
#include "AboutDlg.h"
#include "AudioCaptureWizApp.h"
#include "CoreAudioCtrl.h"
#include "MixerControl.h"
#include "OSVersion.h"
#include "DeferredStartup.h"
#include "FilterRegistration.h"
#include "StartupLog.h"
#include "HelpMenu.h"
#include "LogFile.h"
#include "NewWizPage.h"
#include "PatternBrush.h"
#include "SuiteWindows.h"
#include "WizGlobals.h"
#include <shellapi.h>

BEGIN_MESSAGE_MAP(CAudioCaptureWizDlg, CNewWizDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_LBUTTONDOWN()
    ON_WM_CTLCOLOR()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_COMMAND(IDC_EXIT, OnExit)
    ON_COMMAND(IDC_MINIMIZE, OnMinimize)
    ON_COMMAND(IDC_HELP_BUTTON, ShowHelpMenu)
    ON_COMMAND(IDC_STEP4_EXIT, ConfirmExit)
    ON_COMMAND(ID_WIZFINISH, ConfirmExit)
    ON_COMMAND(ID_HELP_GUIDE, OpenUserGuide)
    ON_COMMAND(ID_HELP_KEY, OpenUserGuide)
    ON_COMMAND(ID_HELP_ABOUT, ShowAbout)
    ON_COMMAND(ID_HELP_SUPPORT, OnOnlineSupport)
    ON_COMMAND(ID_HELP_SYSINFO, OnSystemInfo)
END_MESSAGE_MAP()

namespace {
// The product code the support address carries.
const wchar_t kProductCode[] = L"SNWZ20";
const wchar_t* const kFilterModules[] = {L"NVNoiseReduction.ax", L"NVAudioAnalyer.ax", L"NVMp3Enc.ax",
                                         L"Vossel.ax", L"Wavrill.ax", L"Tarrow.ax"};
const int kWindowWidth = 800, kWindowHeight = 600;

}  // namespace

CAudioCaptureWizDlg::CAudioCaptureWizDlg(CWnd* parent) : CNewWizDialog(IDD, parent), m_sleep(g_szRegKey)
{
    m_hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128));
}

CAudioCaptureWizDlg::~CAudioCaptureWizDlg()
{
    if (m_hBackgroundBrush) DeleteObject(m_hBackgroundBrush);
}

void CAudioCaptureWizDlg::DoDataExchange(CDataExchange* dx)
{
    CNewWizDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_STEP_INDICATOR, m_stepIndicator);
    DDX_Control(dx, IDC_DECORATION, m_btnDecoration);
    DDX_Control(dx, IDC_HELP_BUTTON, m_btnHelp);
    DDX_Control(dx, IDC_MINIMIZE, m_btnMinimize);
    DDX_Control(dx, IDC_EXIT, m_btnExit);
    DDX_Control(dx, ID_WIZBACK, m_btnBack);
    DDX_Control(dx, ID_WIZNEXT, m_btnNext);
    DDX_Control(dx, ID_WIZFINISH, m_btnFinish);
    DDX_Control(dx, IDC_STEP4_BURN, m_btnBurn);
    DDX_Control(dx, IDC_STEP4_BACK, m_btnStep4Back);
    DDX_Control(dx, IDC_STEP4_EXIT, m_btnStep4Exit);
    DDX_Control(dx, IDC_CANCEL_BUTTON, m_btnCancel);
}

BOOL CAudioCaptureWizDlg::PreTranslateMessage(MSG* msg)
{
    if (m_ToolTip.m_hWnd) m_ToolTip.RelayEvent(msg);
    if (IsHelpKey(msg)) {
        OpenUserGuide();
        return TRUE;
    }
    return CNewWizDialog::PreTranslateMessage(msg);
}

BOOL CAudioCaptureWizDlg::OnInitDialog()
{
    // The controls are bound (and skinned) before the first page lays them out.
    CNewWizDialog::OnInitDialog();

    AddAboutToSystemMenu(m_hWnd, IDM_ABOUTBOX, WizString(101));
    SetProgramIcon(m_hWnd, m_hIcon);
    SetWindowText(g_szWindowTitle);

    LoadSkin();
    SetWindowRegion();
    PreventSleep(TRUE);
    m_bHoldsTaken = TRUE;
    if (CNewWizPage* page = GetActivePage()) LayoutButtons(page->m_nDialogID);
    NoteStartupStep(L"window made");
    // Registration and the audio set-up wait for the window to be up; a page about
    // to build its first graph runs them first if they have not run yet.
    m_afterWindow.Add([this] {
        RegisterFilterModules();
        NoteStartupStep(L"filter registration started");
    });
    m_afterWindow.Add([this] { TakeAudioHolds(); });
    CDeferredStartup::RunAfterFirstPaint(m_hWnd);
    return TRUE;
}

void CAudioCaptureWizDlg::TakeAudioHolds()
{
    // What reaches the input must not also come out of the speakers.
    if (!m_bHoldsTaken) return;   // the window already closed
    MixerControl().Open();
    CoreAudioCtrl().SaveMute();
    CoreAudioCtrl().ApplyMute(1);
    if (GetOSVersionCode() >= OS_VISTA) MixerControl().SetSpeakerMute(FALSE);
    m_bAudioHeld = TRUE;
    NoteStartupStep(L"mixer and mute set up");
}

void CAudioCaptureWizDlg::LoadSkin()
{
    // Every picture the skin module lacks is the program's own: the window takes
    // its size from the background either way.
    HINSTANCE source = FindSkinBitmapModule(g_hSkinModule, 130);
    if (source) m_backgroundPicture.LoadBitmap(source, 130);
    if (m_hBackgroundBrush) DeleteObject(m_hBackgroundBrush);
    m_hBackgroundBrush = source ? CreateBitmapPatternBrush(source, 130) : nullptr;
    m_step4Backdrop.DeleteObject();
    m_step4Backdrop.Attach(LoadSkinBitmap(g_hSkinModule, 152));

    m_stepIndicator.LoadBitmap(g_hSkinModule, 137);
    m_stepIndicator.SetStyle(2);
    m_stepIndicator.SetRange(0, 6);
    m_stepIndicator.SetValue(1);

    m_btnDecoration.LoadBitmaps(g_hSkinModule, 187, 27, 27, false);
    m_btnHelp.LoadBitmaps(g_hSkinModule, 134, 39, 39, false);
    m_btnMinimize.LoadBitmaps(g_hSkinModule, 135, 39, 39, false);
    m_btnExit.LoadBitmaps(g_hSkinModule, 138, 39, 39, false);
    m_btnBack.LoadBitmaps(g_hSkinModule, 132, 98, 58, false);
    m_btnNext.LoadBitmaps(g_hSkinModule, 136, 98, 58, false);
    m_btnFinish.LoadBitmaps(g_hSkinModule, 186, 98, 58, false);
    m_btnBurn.LoadBitmaps(g_hSkinModule, 184, 88, 58, false);
    m_btnStep4Back.LoadBitmaps(g_hSkinModule, 183, 88, 58, false);
    m_btnStep4Exit.LoadBitmaps(g_hSkinModule, 185, 58, 58, false);

    if (HWND easy = ::GetDlgItem(m_hWnd, IDC_EASY_MODE))
        ::SendMessageW(easy, WM_SETFONT, (WPARAM)m_titleFont.m_hObject, TRUE);
}

void CAudioCaptureWizDlg::SetWindowRegion()
{
    SIZE size = m_backgroundPicture.GetSize();
    if (size.cx <= 0 || size.cy <= 0) size = SIZE{kWindowWidth, kWindowHeight};
    CentreWithRoundCorners(m_hWnd, size);

    auto place = [this](UINT id, int px, int py, int w, int h) {
        if (HWND control = ::GetDlgItem(m_hWnd, (int)id)) ::MoveWindow(control, px, py, w, h, FALSE);
    };
    place(IDC_STEP_TITLE, 80, 82, 430, 60);
    place(IDC_EASY_MODE, 510, 82, 250, 60);
    BITMAP logo = {};
    CBitmap logoPicture;
    if (logoPicture.Attach(LoadSkinBitmap(g_hSkinModule, 131))) GetObjectW(logoPicture.m_hObject, sizeof(logo), &logo);
    place(IDC_LOGO, 3, 0, logo.bmWidth, logo.bmHeight);
    place(IDC_STEP_INDICATOR, 46, 541, 173, 23);
    place(IDC_DECORATION, 45, 80, 27, 27);
    place(IDC_HELP_BUTTON, 653, 14, 39, 39);
    place(IDC_MINIMIZE, 696, 14, 39, 39);
    place(IDC_EXIT, 739, 14, 39, 39);
    m_btnDecoration.EnableWindow(FALSE);

    m_ToolTip.Create(this);
    m_ToolTip.Activate(TRUE);
    m_ToolTip.AddTool(&m_btnHelp, WizString(184));
    m_ToolTip.AddTool(&m_btnMinimize, WizString(187));
    m_ToolTip.AddTool(&m_btnExit, WizString(188));
    m_ToolTip.AddTool(&m_btnBack, WizString(192));
    m_ToolTip.AddTool(&m_btnNext, WizString(191));
    m_ToolTip.AddTool(&m_btnFinish, WizString(188));
    m_ToolTip.AddTool(&m_btnBurn, WizString(185));
    m_ToolTip.AddTool(&m_btnStep4Back, WizString(192));
    m_ToolTip.AddTool(&m_btnStep4Exit, WizString(188));
    m_ToolTip.AddTool(&m_btnCancel, WizString(188));
}

void CAudioCaptureWizDlg::RegisterFilterModules()
{
    g_FilterRegistration.Start(g_szAppPath, kFilterModules, (int)(sizeof(kFilterModules) / sizeof(kFilterModules[0])));
}

void CAudioCaptureWizDlg::PreventSleep(BOOL on)
{
    m_sleep.PreventSleep(on);
}

// Every way out (Exit, Finish, the recording step's Exit, closing) ends here,
// once the pages have agreed: the mute states, the mixer and the screen saver
// are given back exactly once.
void CAudioCaptureWizDlg::ReleaseStartupHolds()
{
    if (!m_bHoldsTaken) return;
    m_bHoldsTaken = FALSE;
    if (m_bAudioHeld) {
        m_bAudioHeld = FALSE;
        CoreAudioCtrl().ApplyMute(0);
        MixerControl().Close();
    }
    PreventSleep(FALSE);
}

// A button taken away is moved below the window and hidden, so that neither
// Tab nor Space can reach it.
void CAudioCaptureWizDlg::PlaceButton(CWnd& button, int x, int y, int w, int h, bool shown)
{
    if (!button.m_hWnd) return;
    if (shown) {
        button.SetWindowPos((HWND)nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    } else {
        button.SetWindowPos((HWND)nullptr, x, kHiddenY, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    }
}

void CAudioCaptureWizDlg::LayoutButtons(UINT pageId)
{
    const bool endPage = pageId == PAGE_NO_DEVICE || pageId == PAGE_NO_WRITER || pageId == PAGE_BURN;
    const bool recordPage = pageId == PAGE_RECORD;
    const bool plainPage = !endPage && !recordPage;
    PlaceButton(m_btnBack, 550, 523, 98, 58, !recordPage);
    PlaceButton(m_btnNext, 655, 523, 98, 58, plainPage);
    PlaceButton(m_btnBurn, 676, 523, 88, 58, recordPage);
    PlaceButton(m_btnStep4Back, 581, 523, 88, 58, recordPage);
    PlaceButton(m_btnStep4Exit, 516, 523, 58, 58, recordPage);
    PlaceButton(m_btnFinish, 654, 523, 98, 58, endPage);
    RefreshNavigation();
}

void CAudioCaptureWizDlg::RefreshNavigation()
{
    RECT area = {504, 508, 778, 589};
    InvalidateRect(&area, TRUE);
}

void CAudioCaptureWizDlg::SetBusy(int state)
{
    if (state < 0 || state > 3) return;
    m_nBusy = state;
    const BOOL enable = state == 0;
    CWnd* buttons[] = {&m_btnHelp, &m_btnExit, &m_btnBack, &m_btnStep4Back, &m_btnNext,
                       &m_btnBurn, &m_btnStep4Exit, &m_btnFinish};
    for (CWnd* button : buttons)
        if (button->m_hWnd) button->EnableWindow(enable);
}

LRESULT CAudioCaptureWizDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DEVICECHANGE) {
        if (CNewWizPage* page = GetActivePage()) ::SendMessageW(page->m_hWnd, message, wParam, lParam);
    }
    return CNewWizDialog::WindowProc(message, wParam, lParam);
}

void CAudioCaptureWizDlg::OnSysCommand(UINT id, LPARAM)
{
    if (id >= 16 && id <= 31) ShowAbout();
    else Default();
}

void CAudioCaptureWizDlg::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    if (IsIconic()) {
        DrawIconCentred(m_hWnd, dc, m_hIcon);
    } else if (GetActivePageID() == PAGE_RECORD && m_step4Backdrop.m_hObject) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, m_step4Backdrop.m_hObject);
        BitBlt(dc, 499, 510, 280, 90, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    EndPaint(m_hWnd, &paint);
}

void CAudioCaptureWizDlg::OnLButtonDown(UINT, CPoint point)
{
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    Default();
}

// The pattern is lined up with the dialog's, whichever control asks.
HBRUSH CAudioCaptureWizDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    if (!m_hBackgroundBrush) return CNewWizDialog::OnCtlColor(dc, wnd, kind);
    AlignPatternToDialog(dc->m_hDC, m_hWnd, wnd ? wnd->m_hWnd : nullptr);
    if (kind == CTLCOLOR_STATIC && wnd && wnd->m_hWnd) {
        int id = ::GetDlgCtrlID(wnd->m_hWnd);
        if (id == IDC_STEP_TITLE) ::SetTextColor(dc->m_hDC, RGB(249, 255, 1));
        else if (id == IDC_EASY_MODE) ::SetTextColor(dc->m_hDC, RGB(156, 156, 156));
    }
    return m_hBackgroundBrush;
}

// Closing the window is the finish sequence; refused while a page is busy, as
// the disabled exit buttons are.
void CAudioCaptureWizDlg::OnClose()
{
    if (m_nBusy) return;
    OnWizardFinish();
}

void CAudioCaptureWizDlg::OnDestroy()
{
    ReleaseStartupHolds();
    CNewWizDialog::OnDestroy();
}

void CAudioCaptureWizDlg::OnExit()
{
    if (m_nBusy) return;
    OnWizardFinish();
}

void CAudioCaptureWizDlg::ConfirmExit()
{
    if (m_nBusy) return;
    CString text = WizString(198);
    if (text.IsEmpty()) text = L"Do you really want to exit the program?";
    if (::MessageBoxW(m_hWnd, text, g_szWindowTitle, MB_YESNO | MB_ICONQUESTION) == IDNO) return;
    OnWizardFinish();
}

HMENU CAudioCaptureWizDlg::BuildHelpMenu()
{
    return LoadHelpPopup(IDR_HELP_MENU, g_WizProduct.kind, g_szWindowTitle);
}

void CAudioCaptureWizDlg::ShowHelpMenu()
{
    TrackHelpPopup(BuildHelpMenu(), m_hWnd, m_btnHelp.m_hWnd);
}

void CAudioCaptureWizDlg::OpenUserGuide()
{
    ::OpenUserGuide(g_szAppPath, nullptr);
}

void CAudioCaptureWizDlg::OnOnlineSupport()
{
    CString address = SupportAddress(WizString(117), WizString(115), kProductCode);
    ShellExecuteW(m_hWnd, L"open", address, nullptr, nullptr, SW_SHOWNORMAL);
    m_btnHelp.ResetHover();
}

void CAudioCaptureWizDlg::ShowAbout()
{
    CString version = WizString(122) + L" : 2.0.43";
    CAboutDlg about(1065, 116, g_szWindowTitle, version, this);
    about.DoModal();
}

void CAudioCaptureWizDlg::OnSystemInfo()
{
    COpenSystemInfoDlg().OpenSystemInfo();
}
