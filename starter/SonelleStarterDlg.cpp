#include "SonelleStarterDlg.h"
#include "AboutDlg.h"
#include "DeferredStartup.h"
#include "GuiFonts.h"
#include "HelpMenu.h"
#include "LogFile.h"
#include "OpenSystemInfoDlg.h"
#include "PatternBrush.h"
#include "SkinModule.h"
#include "StarterGlobals.h"
#include "StartupLog.h"
#include "SuiteWindows.h"
#include <shellapi.h>

BEGIN_MESSAGE_MAP(CSonelleStarterDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_CTLCOLOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_HELP_BUTTON, ShowHelpMenu)
    ON_BN_CLICKED(IDC_MINIMIZE, OnMinimize)
    ON_BN_CLICKED(IDC_WIZARD, LaunchWizard)
    ON_BN_CLICKED(IDC_ADVANCED, LaunchRecorder)
    ON_COMMAND(ID_HELP_GUIDE, OpenUserGuide)
    ON_COMMAND(ID_HELP_KEY, OpenUserGuide)
    ON_COMMAND(ID_HELP_ABOUT, ShowAbout)
    ON_COMMAND(ID_HELP_SUPPORT, OnOnlineSupport)
    ON_COMMAND(ID_HELP_SYSINFO, OnSystemInfo)
END_MESSAGE_MAP()

namespace {
// The product code the support address carries, and the product kind: the
// starter serves every kind that shows "Online support".
const wchar_t kProductCode[] = L"SNST20";
const int kProductKind = 0;
const int kWidth = 800, kHeight = 600;

CString StarterString(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

enum FontSize { kLarge, kMedium, kSmall };
const struct {
    int id, x, y, w, h;
    FontSize font;
} kTexts[] = {
    {1005, 103, 340, 280, 20, kMedium}, {1006, 103, 360, 280, 30, kLarge}, {1007, 103, 390, 280, 160, kSmall},
    {1008, 424, 340, 280, 20, kMedium}, {1009, 424, 360, 280, 30, kLarge}, {1010, 424, 390, 20, 20, kSmall},
    {1011, 444, 390, 260, 50, kSmall},  {1012, 424, 440, 20, 20, kSmall},  {1013, 444, 440, 260, 50, kSmall},
    {1014, 424, 490, 20, 20, kSmall},   {1015, 444, 490, 260, 50, kSmall},
};
}  // namespace

CSonelleStarterDlg::CSonelleStarterDlg(CWnd* parent) : CDialog(IDD, parent)
{
    m_hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128));
}

CSonelleStarterDlg::~CSonelleStarterDlg()
{
    if (m_hBackgroundBrush) DeleteObject(m_hBackgroundBrush);
}

void CSonelleStarterDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_HELP_BUTTON, m_btnHelp);
    DDX_Control(dx, IDC_MINIMIZE, m_btnMinimize);
    DDX_Control(dx, IDOK, m_btnExit);
    DDX_Control(dx, IDC_WIZARD, m_btnWizard);
    DDX_Control(dx, IDC_ADVANCED, m_btnAdvanced);
}

BOOL CSonelleStarterDlg::PreTranslateMessage(MSG* msg)
{
    if (m_ToolTip.m_hWnd) m_ToolTip.RelayEvent(msg);
    if (IsHelpKey(msg)) {
        OpenUserGuide();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

BOOL CSonelleStarterDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    AddAboutToSystemMenu(m_hWnd, IDM_ABOUTBOX, StarterString(101));
    SetProgramIcon(m_hWnd, m_hIcon);
    LoadSkin();
    SetWindowRegion();
    NoteStartupStep(L"window made");
    CDeferredStartup::RunAfterFirstPaint(m_hWnd);
    return TRUE;
}

void CSonelleStarterDlg::LoadSkin()
{
    if (m_hBackgroundBrush) DeleteObject(m_hBackgroundBrush);
    m_hBackgroundBrush = CreateBitmapPatternBrush(FindSkinBitmapModule(g_hSkinModule, 130), 130);
    CreateFonts();

    m_logo.DeleteObject();
    // Each picture falls back on its own to the program's copy.
    if (m_logo.Attach(LoadSkinBitmap(g_hSkinModule, 134)))
        ::SendDlgItemMessageW(m_hWnd, IDC_LOGO, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)m_logo.m_hObject);

    m_btnHelp.LoadBitmaps(g_hSkinModule, 132, 39, 39, false);
    m_btnMinimize.LoadBitmaps(g_hSkinModule, 133, 39, 39, false);
    m_btnExit.LoadBitmaps(g_hSkinModule, 131, 39, 39, false);
    // The extra module brings its own picture of the Wizard button.
    if (!g_hExtraModule || !m_btnWizard.LoadBitmaps(g_hExtraModule, 1006, 278, 208, false))
        m_btnWizard.LoadBitmaps(g_hSkinModule, 129, 278, 208, false);
    m_btnAdvanced.LoadBitmaps(g_hSkinModule, 135, 278, 208, false);

    ModifyStyle(0, WS_SYSMENU | WS_MINIMIZEBOX);
    SetWindowText(StarterCaption(g_strTitleBase));

    m_ToolTip.Create(this);
    m_ToolTip.Activate(TRUE);
    m_ToolTip.AddTool(&m_btnHelp, StarterString(124));
    m_ToolTip.AddTool(&m_btnMinimize, StarterString(125));
    m_ToolTip.AddTool(&m_btnExit, StarterString(126));
    m_ToolTip.AddTool(&m_btnAdvanced, StarterString(127));
    m_ToolTip.AddTool(&m_btnWizard, StarterString(128));
}

void CSonelleStarterDlg::CreateFonts()
{
    const int heights[3] = {_wtoi(StarterString(103)), _wtoi(StarterString(104)), _wtoi(StarterString(105))};
    const int weights[3] = {700, 500, 100};
    CFont* fonts[3] = {&m_largeFont, &m_mediumFont, &m_smallFont};
    CreateGuiFonts(StarterString(102), heights, weights, fonts, 3);
}

void CSonelleStarterDlg::SetWindowRegion()
{
    CentreWithRoundCorners(m_hWnd, SIZE{kWidth, kHeight});

    auto place = [this](int id, int x, int y, int w, int h) {
        if (HWND control = ::GetDlgItem(m_hWnd, id)) ::MoveWindow(control, x, y, w, h, FALSE);
    };
    place(IDC_HELP_BUTTON, 653, 14, 39, 39);
    place(IDC_MINIMIZE, 696, 14, 39, 39);
    place(IDOK, 739, 14, 39, 39);
    place(IDC_WIZARD, 101, 108, 278, 208);
    place(IDC_ADVANCED, 422, 108, 278, 208);
    SIZE logo = m_logo.m_hObject ? m_logo.GetSize() : SIZE{0, 0};
    place(IDC_LOGO, 3, 0, logo.cx, logo.cy);
    CFont* fonts[3] = {&m_largeFont, &m_mediumFont, &m_smallFont};
    for (const auto& text : kTexts) {
        place(text.id, text.x, text.y, text.w, text.h);
        ::SendDlgItemMessageW(m_hWnd, text.id, WM_SETFONT, (WPARAM)fonts[text.font]->m_hObject, FALSE);
    }
    Invalidate();
}

void CSonelleStarterDlg::LaunchWizard()
{
    Launch(L"SonelleWiz.exe");
}

void CSonelleStarterDlg::LaunchRecorder()
{
    Launch(L"Sonelle.exe");
}

void CSonelleStarterDlg::Launch(const wchar_t* program)
{
    m_btnWizard.EnableWindow(FALSE);
    m_btnAdvanced.EnableWindow(FALSE);
    CString path;
    path.Format(L"%s%s", (const wchar_t*)g_szAppPath, program);
    HINSTANCE result = ShellExecuteW(nullptr, L"open", path, nullptr, nullptr, SW_SHOWNORMAL);
    DebugPrint(L"Launch [%s] : %d", (const wchar_t*)path, (int)(INT_PTR)result);
    if ((INT_PTR)result <= 32) {
        // Ending now would leave the user with nothing: say so and stay.
        CString text;
        text.Format(StarterString(106), (const wchar_t*)path);
        ::MessageBoxW(m_hWnd, text, StarterCaption(g_strTitleBase), MB_OK | MB_ICONEXCLAMATION);
        m_btnWizard.EnableWindow(TRUE);
        m_btnAdvanced.EnableWindow(TRUE);
        m_btnWizard.ResetHover();
        m_btnAdvanced.ResetHover();
        return;
    }
    SetTimer(IDT_LAUNCH, 100, nullptr);
}

void CSonelleStarterDlg::OnTimer(UINT_PTR id)
{
    if (id != IDT_LAUNCH) {
        Default();
        return;
    }
    KillTimer(IDT_LAUNCH);
    OnOK();
}

void CSonelleStarterDlg::ShowHelpMenu()
{
    TrackHelpPopup(LoadHelpPopup(IDR_HELP_MENU, kProductKind, g_strTitleBase), m_hWnd, m_btnHelp.m_hWnd);
}

void CSonelleStarterDlg::OpenUserGuide()
{
    ::OpenUserGuide(g_szAppPath, m_hWnd);
    m_btnHelp.ResetHover();
}

void CSonelleStarterDlg::OnOnlineSupport()
{
    CString address = SupportAddress(StarterString(117), StarterString(115), kProductCode);
    ShellExecuteW(m_hWnd, L"open", address, nullptr, nullptr, SW_SHOWNORMAL);
    m_btnHelp.ResetHover();
}

void CSonelleStarterDlg::ShowAbout()
{
    CAboutDlg about(1114, 116, g_strTitleBase, StarterString(122) + L" : 2.0.43", this);
    about.DoModal();
}

void CSonelleStarterDlg::OnSystemInfo()
{
    COpenSystemInfoDlg().OpenSystemInfo();
}

void CSonelleStarterDlg::OnSysCommand(UINT id, LPARAM)
{
    if (id >= 16 && id <= 31) {
        // The template's texts only.
        CAboutDlg about(1114, 0, CString(), CString(), this);
        about.DoModal();
    } else {
        Default();
    }
}

void CSonelleStarterDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    DrawIconCentred(m_hWnd, dc, m_hIcon);
    EndPaint(m_hWnd, &paint);
}

HBRUSH CSonelleStarterDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    HBRUSH framework = CDialog::OnCtlColor(dc, wnd, kind);
    if (!m_hBackgroundBrush) return framework;
    HWND control = wnd ? wnd->m_hWnd : nullptr;
    AlignPatternToDialog(dc->m_hDC, m_hWnd, control);
    switch (control ? ::GetDlgCtrlID(control) : 0) {
    case IDC_NOVICE:
    case IDC_PROFESSIONAL: ::SetTextColor(dc->m_hDC, RGB(149, 99, 2)); break;
    case IDC_WIZARD_HEADING:
    case IDC_ADVANCED_HEADING: ::SetTextColor(dc->m_hDC, RGB(175, 0, 5)); break;
    default: break;
    }
    return m_hBackgroundBrush;
}

void CSonelleStarterDlg::OnLButtonDown(UINT, CPoint point)
{
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    Default();
}
