#include "SonelleDlg.h"
#include "AboutDlg.h"
#include "AudioControls.h"
#include "DeferredStartup.h"
#include "FilterRegistration.h"
#include "LogFile.h"
#include "MainWindowSkinIds.h"
#include "OpenSystemInfoDlg.h"
#include "OSVersion.h"
#include "Menu.h"
#include "PageEdit.h"
#include "SonelleGlobals.h"
#include "SonelleSettings.h"
#include "SkinModule.h"
#include "StartupLog.h"
#include "SuiteWindows.h"
#include <shellapi.h>

BEGIN_MESSAGE_MAP(CSonelleDlg, CNewWizDialog)
    ON_BN_CLICKED(IDC_RECORD_PAGE, OnRecordPage)
    ON_BN_CLICKED(IDC_EDIT_PAGE, OnEditPage)
    ON_BN_CLICKED(IDC_HELP_BUTTON, OnHelpButton)
    ON_BN_CLICKED(IDC_MINIMIZE, OnMinimize)
    ON_BN_CLICKED(IDC_EXIT, OnExit)
    ON_COMMAND(ID_HELP_GUIDE, OnHelpGuide)
    ON_COMMAND(ID_HELP_ABOUT, OnAbout)
    ON_COMMAND(ID_HELP_SUPPORT, OnSupport)
    ON_COMMAND(ID_HELP_SYSINFO, OnSystemInfo)
    ON_WM_CLOSE()
    ON_WM_SYSCOMMAND()
    ON_WM_LBUTTONDOWN()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_QUERYDRAGICON()
    AFX_VOID_ENTRY(WM_DROPFILES, AFX_THIS(w_)->OnDropFilesMessage((HDROP)wParam))
END_MESSAGE_MAP()

namespace {
const wchar_t* const kFilterModules[] = {L"NVAudioAnalyer.ax", L"NVMp3Enc.ax", L"Vossel.ax", L"Wavrill.ax",
                                         L"Tarrow.ax"};
const COLORREF kActiveCaption = 0x00FFFF;
const COLORREF kIdleCaption = 0x9B9B9B;
const COLORREF kHoverCaption = 0x0A0A0A;

CString ResourceString(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}
}  // namespace

CSonelleDlg::CSonelleDlg(CWnd* parent) : CNewWizDialog(IDD, parent), m_sleep(g_szRegKey)
{
    m_hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128));
}

CSonelleDlg::~CSonelleDlg() = default;

void CSonelleDlg::DoDataExchange(CDataExchange* dx)
{
    CNewWizDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_HELP_BUTTON, m_btnHelp);
    DDX_Control(dx, IDC_MINIMIZE, m_btnMinimize);
    DDX_Control(dx, IDC_EXIT, m_btnExit);
    DDX_Control(dx, IDC_EDIT_PAGE, m_btnEdit);
    DDX_Control(dx, IDC_RECORD_PAGE, m_btnRecord);
}

BOOL CSonelleDlg::PreTranslateMessage(MSG* msg)
{
    if (HandleMergeModeChord(msg)) return TRUE;
    if (m_ToolTip.m_hWnd) m_ToolTip.RelayEvent(msg);
    return CNewWizDialog::PreTranslateMessage(msg);
}

BOOL CSonelleDlg::OnInitDialog()
{
    CNewWizDialog::OnInitDialog();

    AddAboutToSystemMenu(m_hWnd, IDM_ABOUTBOX, ResourceString(101));
    SetProgramIcon(m_hWnd, m_hIcon);
    ModifyStyle(0, WS_MINIMIZEBOX | WS_SYSMENU);
    SetWindowText(g_szWindowTitle);

    SkinButtons();
    Layout();

    SetActivePage(g_hExtra2Module ? PAGE_EDIT : PAGE_RECORD);
    EnableButtons(TRUE);
    PreventSleep(TRUE);
    NoteStartupStep(L"window made");
    // Registration and the audio set-up wait for the window to be up; the record
    // page's first graph runs them first if they have not run yet.
    m_afterWindow.Add([this] {
        RegisterFilterModules();
        NoteStartupStep(L"filter registration started");
    });
    m_afterWindow.Add([this] { TakeAudioHolds(); });
    CDeferredStartup::RunAfterFirstPaint(m_hWnd);
    return TRUE;
}

void CSonelleDlg::TakeAudioHolds()
{
    // The sound reaching the inputs must not also come out of the speakers.
    g_MixerControl.Open();
    g_CoreAudioCtrl.SaveMute();
    g_CoreAudioCtrl.ApplyMute(1);
    if (GetOSVersionCode() >= OS_VISTA) g_MixerControl.SetSpeakerMute(FALSE);
    m_bAudioHeld = TRUE;
    NoteStartupStep(L"mixer and mute set up");
}

void CSonelleDlg::SkinButtons()
{
    // Each picture the skin module lacks is taken from the program's own copy.
    m_background.Attach(LoadSkinBitmap(g_hSkinModule, IDB_MAIN_BACKGROUND));
    if (!g_hExtra2Module || !m_title.LoadBitmap(g_hExtra2Module, 1010))
        m_title.Attach(LoadSkinBitmap(g_hSkinModule, IDB_MAIN_TITLE));

    m_btnHelp.LoadBitmaps(g_hSkinModule, IDB_MAIN_HELP, 39, 39, false);
    m_btnMinimize.LoadBitmaps(g_hSkinModule, IDB_MAIN_MINIMIZE, 39, 39, false);
    m_btnExit.LoadBitmaps(g_hSkinModule, IDB_MAIN_EXIT, 39, 39, false);
    // The left strip goes with the button placed first.
    m_btnRecord.LoadBitmaps(g_hSkinModule, g_hExtra2Module ? IDB_MAIN_RIGHT_TAB : IDB_MAIN_LEFT_TAB, 307, 46, false);
    m_btnEdit.LoadBitmaps(g_hSkinModule, g_hExtra2Module ? IDB_MAIN_LEFT_TAB : IDB_MAIN_RIGHT_TAB, 307, 46, false);

    CString face = ResourceString(145);
    CBButton* pageButtons[] = {&m_btnRecord, &m_btnEdit};
    const UINT captions[] = {166, 170};
    for (int i = 0; i < 2; ++i) {
        pageButtons[i]->SetFont(face, 22, 700);
        pageButtons[i]->SetTextColor(kActiveCaption);
        pageButtons[i]->SetWindowText(ResourceString(captions[i]));
        pageButtons[i]->SetShowText(TRUE);
    }
}

void CSonelleDlg::Layout()
{
    SIZE size = m_background.GetSize();
    if (size.cx <= 0) size = SIZE{1000, 680};
    CentreWithRoundCorners(m_hWnd, size);

    m_btnHelp.SetWindowPos((HWND)nullptr, 857, 14, 39, 39, SWP_NOZORDER);
    m_btnMinimize.SetWindowPos((HWND)nullptr, 900, 14, 39, 39, SWP_NOZORDER);
    m_btnExit.SetWindowPos((HWND)nullptr, 943, 14, 39, 39, SWP_NOZORDER);
    m_btnRecord.SetWindowPos((HWND)nullptr, g_hExtra2Module ? 505 : 259, 22, 307, 46, SWP_NOZORDER);
    m_btnEdit.SetWindowPos((HWND)nullptr, g_hExtra2Module ? 259 : 505, 22, 307, 46, SWP_NOZORDER);

    m_ToolTip.Create(this);
    m_ToolTip.Activate(TRUE);
    m_ToolTip.AddTool(&m_btnRecord, ResourceString(166));
    m_ToolTip.AddTool(&m_btnEdit, ResourceString(170));
    m_ToolTip.AddTool(&m_btnMinimize, ResourceString(203));
    m_ToolTip.AddTool(&m_btnHelp, ResourceString(202));
    m_ToolTip.AddTool(&m_btnExit, ResourceString(204));
}

void CSonelleDlg::EnableButtons(BOOL enable)
{
    UINT active = GetActivePageID();
    CBButton* activeButton = active == PAGE_EDIT ? &m_btnEdit : &m_btnRecord;
    CBButton* otherButton = active == PAGE_EDIT ? &m_btnRecord : &m_btnEdit;
    if (enable) {
        activeButton->EnableWindow(FALSE);
        activeButton->SetTextColor(kActiveCaption);
        otherButton->EnableWindow(TRUE);
        otherButton->SetTextColor(kIdleCaption);
        otherButton->SetHoverTextColor(kHoverCaption);
        otherButton->SetPressedTextColor(kActiveCaption);
        activeButton->SetDisabledFrame(3);
        otherButton->SetDisabledFrame(3);
        m_btnHelp.EnableWindow(TRUE);
        m_btnMinimize.EnableWindow(TRUE);
        m_btnExit.EnableWindow(TRUE);
    } else {
        m_btnHelp.EnableWindow(FALSE);
        m_btnExit.EnableWindow(FALSE);
        m_btnMinimize.EnableWindow(TRUE);
        activeButton->EnableWindow(FALSE);
        otherButton->EnableWindow(FALSE);
        activeButton->SetTextColor(kIdleCaption);
        otherButton->SetTextColor(kIdleCaption);
        activeButton->SetDisabledFrame(3);
        otherButton->SetDisabledFrame(0);
    }
    if (enable) activeButton->SetDisabledTextColor(kActiveCaption);
    else {
        activeButton->SetDisabledTextColor(kIdleCaption);
        otherButton->SetDisabledTextColor(kIdleCaption);
    }
    m_btnRecord.ResetHover();
    m_btnEdit.ResetHover();
}

void CSonelleDlg::OnRecordPage()
{
    SetActivePage(PAGE_RECORD);
    EnableButtons(TRUE);
}

void CSonelleDlg::OnEditPage()
{
    SetActivePage(PAGE_EDIT);
    EnableButtons(TRUE);
}

void CSonelleDlg::OpenFileInEditPage(const wchar_t* path)
{
    OnEditPage();
    if (GetActivePageID() == PAGE_EDIT) static_cast<CPageEdit*>(GetActivePage())->OpenFile(path);
}

void CSonelleDlg::OnDropFiles(HDROP drop)
{
    if (GetActivePageID() == PAGE_EDIT && DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 1) {
        wchar_t path[520] = {};
        DragQueryFileW(drop, 0, path, 520);
        DWORD attributes = GetFileAttributesW(path);
        bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        const wchar_t* name = wcsrchr(path, L'\\');
        name = name ? name + 1 : path;
        if (!folder && wcscmp(name, L".") != 0 && wcscmp(name, L"..") != 0) OpenFileInEditPage(path);
    }
    DragFinish(drop);
}

void CSonelleDlg::OnHelpButton()
{
    CMenu menu;
    if (!menu.LoadMenu(IDR_HELP_MENU)) return;
    HMENU popup = ::GetSubMenu((HMENU)menu.m_hMenu, 0);
    if (!popup) return;
    ModifyMenuW(popup, ID_HELP_ABOUT, MF_BYCOMMAND | MF_STRING, ID_HELP_ABOUT, g_szWindowTitle);
    RECT button = {};
    m_btnHelp.GetWindowRect(&button);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, button.left + 3, button.top + 20, 0, m_hWnd, nullptr);
}

void CSonelleDlg::OnMinimize()
{
    ShowWindow(SW_MINIMIZE);
}

void CSonelleDlg::OnExit()
{
    CloseSequence();
}

void CSonelleDlg::OnClose()
{
    CloseSequence();
}

void CSonelleDlg::CloseSequence()
{
    // Restored once, when the window really closes: while a page refuses to be
    // left the recorder goes on running and its inputs stay muted.
    if (!Finish()) return;
    if (m_bAudioHeld) {
        m_bAudioHeld = FALSE;
        g_CoreAudioCtrl.ApplyMute(0);
        g_MixerControl.Close();
    }
    PreventSleep(FALSE);
}

void CSonelleDlg::OnHelpGuide()
{
    OpenUserGuide(g_szAppPath, m_hWnd);
}

void CSonelleDlg::OnAbout()
{
    CString version = ResourceString(129) + L" : 2.0.43";
    CAboutDlg about(1114, 123, g_szWindowTitle, version, this);
    about.DoModal();
}

void CSonelleDlg::OnSupport()
{
    CString address = ResourceString(124);
    if (!address.IsEmpty() && address[address.GetLength() - 1] == L'=') address += ResourceString(122);
    address += L"&product=sonelle";
    ShellExecuteW(m_hWnd, L"open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

void CSonelleDlg::OnSystemInfo()
{
    COpenSystemInfoDlg().OpenSystemInfo();
}

void CSonelleDlg::OnSysCommand(UINT id, LPARAM)
{
    if (id >= 16 && id <= 31) OnAbout();
    else Default();
}

void CSonelleDlg::OnLButtonDown(UINT, CPoint point)
{
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
}

void CSonelleDlg::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    if (IsIconic()) {
        DrawIconCentred(m_hWnd, dc, m_hIcon);
    } else {
        HDC memory = CreateCompatibleDC(dc);
        if (!m_background.m_hObject) {
            // Without any skin the window is still one calm surface.
            HBRUSH plain = CreateSolidBrush(RGB(40, 40, 46));
            FillRect(dc, &paint.rcPaint, plain);
            DeleteObject(plain);
        } else {
            HGDIOBJ old = SelectObject(memory, m_background.m_hObject);
            SIZE size = m_background.GetSize();
            BitBlt(dc, 0, 0, size.cx, size.cy, memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
        }
        if (m_title.m_hObject) {
            HGDIOBJ old = SelectObject(memory, m_title.m_hObject);
            SIZE size = m_title.GetSize();
            BitBlt(dc, 3, 0, size.cx, size.cy, memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
        }
        DeleteDC(memory);
    }
    EndPaint(m_hWnd, &paint);
}

void CSonelleDlg::RegisterFilterModules()
{
    g_FilterRegistration.Start(g_szAppPath, kFilterModules, (int)(sizeof(kFilterModules) / sizeof(kFilterModules[0])));
}

void CSonelleDlg::PreventSleep(BOOL on)
{
    m_sleep.PreventSleep(on);
}
