#include "PageCapture.h"
#include "AnalyzerRecord.h"
#include "CaptureDeviceEvents.h"
#include "CaptureOptionDlg.h"
#include "DSoundEnumerator.h"
#include "FilterRegistration.h"
#include "FolderScan.h"
#include "LogFile.h"
#include "MainWindowSkinIds.h"
#include "NewWizDialog.h"
#include "PublishDlg.h"
#include "RecorderCaptureDevice.h"
#include "RecordingLimits.h"
#include "SkinIds.h"
#include "SkinModule.h"
#include "SkinScrollWnd.h"
#include "SonelleGlobals.h"
#include "SonelleSettings.h"
#include "WaitCursor.h"

namespace {

struct ControlPlace {
    int id, x, y, w, h;
};
const ControlPlace kPlaces[] = {
    {CPageCapture::IDC_REC, 849, 113, 86, 86},       {CPageCapture::IDC_STOP, 849, 219, 86, 86},
    {CPageCapture::IDC_OPTION, 849, 325, 86, 86},    {CPageCapture::IDC_PUBLISH, 842, 458, 100, 100},
    {CPageCapture::IDC_HOURS, 839, 74, 21, 16},      {CPageCapture::IDC_MINUTES, 870, 74, 21, 16},
    {CPageCapture::IDC_SECONDS, 901, 74, 21, 16},    {CPageCapture::IDC_SPIN, 930, 69, 15, 21},
    {CPageCapture::IDC_LEFT_GRAPH, 20, 20, 334, 217}, {CPageCapture::IDC_RIGHT_GRAPH, 403, 20, 334, 217},
    {CPageCapture::IDC_LEFT_BAR, 367, 19, 17, 219},  {CPageCapture::IDC_RIGHT_BAR, 750, 19, 17, 219},
    {CPageCapture::IDC_LEVEL, 781, 15, 29, 203},     {CPageCapture::IDC_PROGRESS, 294, 259, 459, 7},
    {CPageCapture::IDC_FORMAT, 30, 256, 40, 18},     {CPageCapture::IDC_ELAPSED, 95, 256, 80, 18},
    {CPageCapture::IDC_RECORDED_SIZE, 190, 256, 60, 18},      {CPageCapture::IDC_PERCENT, 753, 256, 50, 18},
    {CPageCapture::IDC_TIME_LABEL, 828, 34, 126, 30}, {CPageCapture::IDC_LIST, 19, 305, 786, 257},
};

int StringNumber(UINT id, int def)
{
    CString text;
    if (!text.LoadString(id)) return def;
    int value = _wtoi(text);
    return value ? value : def;
}

void CopySetting(wchar_t* field, const wchar_t* text)
{
    lstrcpynW(field, text, 100);
}

}  // namespace

BEGIN_MESSAGE_MAP(CPageCapture, CNewWizPage)
    ON_BN_CLICKED(IDC_REC, OnRec)
    ON_BN_CLICKED(IDC_STOP, OnStop)
    ON_BN_CLICKED(IDC_OPTION, OnOption)
    ON_BN_CLICKED(IDC_PUBLISH, OnPublish)
    ON_WM_TIMER()
    ON_NOTIFY(UDN_DELTAPOS, IDC_SPIN, OnSpinDelta)
    ON_EN_SETFOCUS(IDC_HOURS, OnHoursFocus)
    ON_EN_SETFOCUS(IDC_MINUTES, OnMinutesFocus)
    ON_EN_SETFOCUS(IDC_SECONDS, OnSecondsFocus)
    ON_EN_CHANGE(IDC_HOURS, OnHoursChange)
    ON_EN_CHANGE(IDC_MINUTES, OnMinutesChange)
    ON_EN_CHANGE(IDC_SECONDS, OnSecondsChange)
    ON_WM_CONTEXTMENU()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CPageCapture::CPageCapture() : CNewWizPage(IDD) {}

CPageCapture::~CPageCapture()
{
    StopWorker();
    if (m_hScrollSkin) DeleteObject(m_hScrollSkin);
}

void CPageCapture::DoDataExchange(CDataExchange* dx)
{
    CNewWizPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_REC, m_btnRec);
    DDX_Control(dx, IDC_STOP, m_btnStop);
    DDX_Control(dx, IDC_OPTION, m_btnOption);
    DDX_Control(dx, IDC_PUBLISH, m_btnPublish);
    DDX_Control(dx, IDC_HOURS, m_editHours);
    DDX_Control(dx, IDC_MINUTES, m_editMinutes);
    DDX_Control(dx, IDC_SECONDS, m_editSeconds);
    DDX_Control(dx, IDC_LEFT_GRAPH, m_graphLeft);
    DDX_Control(dx, IDC_RIGHT_GRAPH, m_graphRight);
    DDX_Control(dx, IDC_LEFT_BAR, m_barLeft);
    DDX_Control(dx, IDC_RIGHT_BAR, m_barRight);
    DDX_Control(dx, IDC_LEVEL, m_level);
    DDX_Control(dx, IDC_PROGRESS, m_progress);
    DDX_Control(dx, IDC_FORMAT, m_format);
    DDX_Control(dx, IDC_ELAPSED, m_elapsed);
    DDX_Control(dx, IDC_RECORDED_SIZE, m_size);
    DDX_Control(dx, IDC_PERCENT, m_percent);
    DDX_Control(dx, IDC_TIME_LABEL, m_timeLabel);
    DDX_Control(dx, IDC_LIST, m_list);
    if (m_spin) DDX_Control(dx, IDC_SPIN, *m_spin);
}

BOOL CPageCapture::OnInitDialog()
{
    // The spin button takes its pictures when it is built.
    m_spin = std::make_unique<CSpin>(g_hSkinModule, IDB_REC_SPIN);
    CNewWizPage::OnInitDialog();
    BuildFonts();
    if (m_background.Load(g_hSkinModule, IDB_PAGE_RECORD_BACK)) m_background.SizeWindow(m_hWnd);
    SkinControls();
    LayoutControls();
    StartWorker();
    RegisterDeviceEvents();
    return TRUE;
}

void CPageCapture::BuildFonts()
{
    CString face;
    if (!face.LoadString(145)) face = L"Arial";
    const struct { UINT heightId; int def, weight; } fonts[3] = {{148, 22, 700}, {149, 14, 500}, {150, 12, 700}};
    for (int i = 0; i < 3; ++i) {
        int height = StringNumber(fonts[i].heightId, fonts[i].def);
        if (!m_fonts[i].CreateFont(-height, 0, 0, 0, fonts[i].weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, DEFAULT_QUALITY,
                                   0, face))
            m_fonts[i].Attach((HFONT)GetStockObject(DEFAULT_GUI_FONT));
    }
}

void CPageCapture::SkinControls()
{
    HINSTANCE skin = g_hSkinModule;
    const struct { CBButton* button; WORD bitmap; int size; } buttons[] = {
        {&m_btnRec, IDB_REC_RECORD, 86}, {&m_btnStop, IDB_REC_STOP, 86},
        {&m_btnOption, IDB_REC_OPTION, 86}, {&m_btnPublish, IDB_REC_PUBLISH, 100}};
    for (const auto& b : buttons) b.button->LoadBitmaps(skin, b.bitmap, b.size, b.size, false);

    m_progress.LoadBitmap(skin, IDB_REC_PROGRESS);
    m_progress.SetStyle(2);
    CString label;
    label.LoadString(169);
    m_timeLabel.SetWindowText(label);

    m_level.m_bVertical = TRUE;
    m_level.SetChannelBitmaps(skin, IDB_REC_LEVEL_CHANNEL, IDB_REC_LEVEL_ACTIVE, FALSE);
    m_level.SetThumbBitmaps(skin, IDB_REC_LEVEL_THUMB, IDB_REC_LEVEL_THUMB, TRUE, 0xFF000000, 0, 0);
    m_level.SetMargins(2, 2, 2, 2);
    m_level.SetRange(-50, -1);
    m_level.SetPos(-(int)g_Settings.nLevel);

    for (CVolumeButton* bar : {&m_barLeft, &m_barRight}) {
        bar->LoadBitmap(skin, IDB_REC_LEVEL_BAR);
        bar->SetStyle(1);
        bar->SetRange(0, 100);
        bar->EnableWindow(FALSE);
    }
    const UINT backs[2] = {IDB_REC_GRAPH_LEFT, IDB_REC_GRAPH_RIGHT};
    NV_AudioGraphStatic* graphs[2] = {&m_graphLeft, &m_graphRight};
    for (int i = 0; i < 2; ++i) {
        graphs[i]->SetActive(0);
        graphs[i]->SetDecayInterval(100);
        graphs[i]->LoadBackBitmap(skin, backs[i]);
        graphs[i]->LoadBarBitmap(skin, IDB_REC_GRAPH_BAR);
    }
    m_hScrollSkin = LoadSkinBitmap(skin, IDB_REC_SCROLL);
}

void CPageCapture::LayoutControls()
{
    for (const ControlPlace& p : kPlaces)
        if (HWND control = ::GetDlgItem(m_hWnd, p.id)) ::MoveWindow(control, p.x, p.y, p.w, p.h, FALSE);
    m_list.InsertColumns();
    SkinWndScroll(&m_list, m_hScrollSkin);
    for (UINT id : {IDC_HOURS, IDC_MINUTES, IDC_SECONDS}) SetDlgItemText(id, L"0");
    for (CStatic* text : {&m_format, &m_elapsed, &m_size, &m_percent, &m_timeLabel})
        text->SendMessage(WM_SETFONT, (WPARAM)m_fonts[2].m_hObject, FALSE);

    m_ToolTip.Create(this);
    m_ToolTip.Activate(TRUE);
    const struct { CWnd* control; UINT text; } tips[] = {
        {&m_btnRec, 166}, {&m_btnStop, 157}, {&m_btnOption, 167}, {&m_btnPublish, 168}};
    for (const auto& t : tips) {
        CString text;
        text.LoadString(t.text);
        m_ToolTip.AddTool(t.control, text);
    }
    ResetMeters();
    // The template's placeholders are not what a stop shows; both come from one formatter.
    ShowStatus(0, 0, 0);
    OnTimeFieldFocus(IDC_MINUTES);
}

void CPageCapture::RegisterDeviceEvents()
{
    if (!m_hDeviceNotify) m_hDeviceNotify = RegisterCaptureDeviceEvents(m_hWnd);
}

void CPageCapture::UnregisterDeviceEvents()
{
    if (m_hDeviceNotify) UnregisterDeviceNotification(m_hDeviceNotify);
    m_hDeviceNotify = nullptr;
}

BOOL CPageCapture::OnSetActive()
{
    ComputeMaxSeconds();
    ResetMeters();
    m_nStartTimer = SetTimer(TIMER_START, 300);
    SetProcessPriority(HIGH_PRIORITY_CLASS);
    return TRUE;
}

void CPageCapture::StartMonitoring()
{
    CWaitCursor wait;
    wchar_t names[CCaptureDevice::DeviceListSize][CCaptureDevice::DeviceNameLength] = {};
    int count = CCaptureDevice::GetAudioDeviceNames(names);
    CString audio = count > 0 ? names[0] : L"", video;
    bool found = false;
    for (int i = 0; i < count && !found; ++i) {
        if (wcscmp(names[i], g_Settings.szAudioDeviceName) == 0) {
            audio = names[i];
            found = true;
        }
    }
    // A USB device named on the command line wins over the saved one, once; one
    // that is not there leaves the saved choice alone.
    if (m_strCmdLine.Find(L"VID_") >= 0) {
        CDSoundEnumerator dsound;
        dsound.Enumerate();
        CString named = dsound.GetFriendlyNameByVidPid(m_strCmdLine);
        if (!named.IsEmpty()) {
            audio = named;
            found = true;
        }
        m_strCmdLine.Empty();
    }
    if (!found) {
        count = CCaptureDevice::GetVideoDeviceNames(names);
        for (int i = 0; i < count; ++i)
            if (wcscmp(names[i], g_Settings.szAudioDeviceName) == 0) video = names[i];
    }
    int renderMode = SONELLE_PRODUCT_KIND == 5 ? 0 : g_Settings.bAudioStreamRender ? 1 : 2;
    BOOL opened = video.IsEmpty() ? g_CaptureDevice.InitFilterGraph(m_hWnd, L"", audio, renderMode)
                                  : g_CaptureDevice.InitFilterGraph(m_hWnd, video, L"", renderMode);
    // Success means a device is open: two empty names open nothing.
    if (opened && g_CaptureDevice.m_bInit) {
        g_Settings.bNoiseReduction = FALSE;
        g_CaptureDevice.SetNoiseReduction(FALSE, g_Settings.fNoiseReductionValue / 10.0f);
        g_CaptureDevice.SetAnalyzerGain(TRUE, g_Settings.nLevel / 10.0f);
        g_CaptureDevice.SetStartMute(100, 0.0f);
        g_CaptureDevice.StartRendering();
        m_nLevelTimer = SetTimer(TIMER_LEVEL, 300);
        CopySetting(g_Settings.szAudioDeviceName, video.IsEmpty() ? audio : video);
    }
    SetButtonsIdle();
}

BOOL CPageCapture::ShowLevels()
{
    AnalyzerRecord record;
    if (!g_CaptureDevice.GetAnalyzerData((BYTE*)&record)) return FALSE;
    m_graphLeft.SetLevels(record.leftBands);
    m_graphRight.SetLevels(record.rightBands);
    m_barLeft.SetValue(LevelBarValue(record.leftLevelDb));
    m_barRight.SetValue(LevelBarValue(record.rightLevelDb));
    return TRUE;
}

void CPageCapture::ResetMeters()
{
    const BYTE zero[30] = {};
    m_graphLeft.SetLevels(zero);
    m_graphRight.SetLevels(zero);
    m_barLeft.SetValue(0);
    m_barRight.SetValue(0);
}

void CPageCapture::SetButtonsIdle()
{
    m_btnRec.EnableWindow(TRUE);
    m_btnStop.EnableWindow(FALSE);
    for (CWnd* control : {(CWnd*)&m_btnOption, (CWnd*)m_spin.get(), (CWnd*)&m_editHours, (CWnd*)&m_editMinutes,
                          (CWnd*)&m_editSeconds, (CWnd*)&m_btnPublish})
        control->EnableWindow(TRUE);
    if (m_pParent) m_pParent->EnableButtons(TRUE);
    m_list.EnableMouse(TRUE);
}

void CPageCapture::SetButtonsRecording()
{
    m_btnRec.EnableWindow(FALSE);
    m_btnStop.EnableWindow(TRUE);
    for (CWnd* control : {(CWnd*)&m_btnOption, (CWnd*)m_spin.get(), (CWnd*)&m_editHours, (CWnd*)&m_editMinutes,
                          (CWnd*)&m_editSeconds, (CWnd*)&m_btnPublish})
        control->EnableWindow(FALSE);
    if (m_pParent) m_pParent->EnableButtons(FALSE);
    m_list.EnableMouse(FALSE);
}

void CPageCapture::OnTimer(UINT_PTR id)
{
    switch (id) {
    case TIMER_START:
        KillTimer(TIMER_START);
        m_nStartTimer = 0;
        // The first graph creates the suite's filters: the registrations started
        // by the main window must have ended first (bounded, the window keeps working).
        WaitForFilterRegistration();
        StartMonitoring();
        break;
    case TIMER_LEVEL:
        ShowLevels();
        break;
    case TIMER_RECORD:
        OnRecordTick();
        break;
    case TIMER_RESUME:
        KillTimer(TIMER_RESUME);
        m_nResumeTimer = 0;
        if (g_CaptureDevice.m_bInit) {
            g_CaptureDevice.Run();
            m_nLevelTimer = SetTimer(TIMER_LEVEL, 300);
        }
        break;
    }
}

void CPageCapture::OnOption()
{
    UnregisterDeviceEvents();
    {
        CCaptureOptionDlg dialog(this);
        dialog.DoModal();
    }
    RegisterDeviceEvents();
    ComputeMaxSeconds();
}

void CPageCapture::OnPublish()
{
    SetProcessPriority(NORMAL_PRIORITY_CLASS);
    // Monitoring pauses while the dialog runs: its conversions need the machine.
    if (g_CaptureDevice.m_bInit) {
        g_CaptureDevice.StopGraph();
        ResetMeters();
        KillTimer(TIMER_LEVEL);
        m_nLevelTimer = 0;
    }
    std::vector<PublishItemData> items;
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        const RecordFileRow* file = m_list.Row(row);
        if (file && m_list.GetCheck(row)) items.push_back(RecordedFileItem(file->path, file->playSeconds));
    }
    RunPublishDialog(items);
    SetProcessPriority(HIGH_PRIORITY_CLASS);
    m_nResumeTimer = SetTimer(TIMER_RESUME, 100);
}

void CPageCapture::OnContextMenu(CWnd*, CPoint point)
{
    if (m_bRecording) return;
    CRect rows(15, 327, 810, 562);
    ClientToScreen(&rows);
    if (!rows.PtInRect(point)) return;
    CMenu menu;
    if (!menu.LoadMenu(IDR_LIST_MENU)) return;
    HMENU popup = ::GetSubMenu(menu, 0);
    if (!popup) return;
    UINT selected = m_list.GetSelectedCount();
    const UINT single[] = {ID_FILE_PLAY, ID_FILE_EDIT, ID_FILE_RENAME};
    const UINT many[] = {ID_FILE_REMOVE, ID_FILE_DELETE};
    for (UINT id : single) ::EnableMenuItem(popup, id, MF_BYCOMMAND | (selected == 1 ? MF_ENABLED : MF_GRAYED));
    for (UINT id : many) ::EnableMenuItem(popup, id, MF_BYCOMMAND | (selected >= 1 ? MF_ENABLED : MF_GRAYED));
    UINT command = ::TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD, point.x, point.y, 0, m_hWnd, nullptr);
    switch (command) {
    case ID_FILE_PLAY: m_list.Play(); break;
    case ID_FILE_REMOVE: m_list.Remove(); break;
    case ID_FILE_DELETE: m_list.Delete(); break;
    case ID_FILE_RENAME: m_list.Rename(); break;
    case ID_FILE_EDIT: {
        CString path = m_list.GetSelectedPath();
        if (!path.IsEmpty() && m_pParent) m_pParent->OpenFileInEditPage(path);
        break;
    }
    }
}

// The status worker

void CPageCapture::StartWorker()
{
    m_workerFolder = g_Settings.szRecordFolder;
    m_bWorkerStop = false;
    m_hListWindow = m_list.m_hWnd;
    m_hWorker = CreateThread(nullptr, 0, WorkerMain, this, 0, nullptr);
}

DWORD WINAPI CPageCapture::WorkerMain(LPVOID param)
{
    CPageCapture* page = (CPageCapture*)param;
    CPathInfoList found;
    ScanFolder(page->m_workerFolder, found, 0, MEDIA_AUDIO);
    for (POSITION pos = found.GetHeadPosition(); pos && !page->m_bWorkerStop;) {
        NV_PathInfo* info = found.GetNext(pos);
        if (!info->wszFolder[0] || !info->wszTitle[0] || !info->wszExt[0]) continue;
        CString path;
        path.Format(L"%s%s%s", info->wszFolder, info->wszTitle, info->wszExt);
        // The row is read here and inserted by the list's own thread in one step.
        if (std::unique_ptr<RecordFileRow> row = ReadRecordFileRow(path)) {
            RecordFileRow* handed = row.release();
            if (::SendMessageW(page->m_hListWindow, CRecordFileListCtrl::WM_ADD_ROW, 0, (LPARAM)handed)) continue;
            delete handed;  // the list is gone
        }
    }
    FreePathInfoList(found);
    return 0;
}

void CPageCapture::WaitForWorker(int rounds)
{
    for (int i = 0; m_hWorker && (rounds < 0 || i < rounds); ++i) {
        DWORD code = 0;
        if (GetExitCodeThread(m_hWorker, &code) && code != STILL_ACTIVE) {
            CloseHandle(m_hWorker);
            m_hWorker = nullptr;
            break;
        }
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(50);
    }
}

void CPageCapture::StopWorker()
{
    m_bWorkerStop = true;
    WaitForWorker(-1);
}

BOOL CPageCapture::OnQueryClose()
{
    if (g_CaptureDevice.m_bInit) {
        KillTimer(TIMER_RECORD);
        KillTimer(TIMER_LEVEL);
        m_nRecordTimer = m_nLevelTimer = 0;
        g_CaptureDevice.StopRecord();
        SetButtonsIdle();
        m_bRecording = FALSE;
        g_CaptureDevice.Close();
    }
    WaitForWorker(10);
    return TRUE;
}

BOOL CPageCapture::OnKillActive()
{
    OnStop();
    UnregisterDeviceEvents();
    KillTimer(TIMER_RECORD);
    KillTimer(TIMER_LEVEL);
    m_nRecordTimer = m_nLevelTimer = 0;
    return TRUE;
}

// Device removal

void CPageCapture::OnDeviceRemoved(const DEV_BROADCAST_HDR* broadcast)
{
    CString identity = VidPidOfBroadcast(broadcast);
    if (identity.IsEmpty()) return;
    // Only the open device counts; the notifications of its other interfaces then
    // find it closed.
    if (!g_CaptureDevice.m_bInit || !g_CaptureDevice.IsSameDevice(identity)) return;

    KillTimer(TIMER_RECORD);
    KillTimer(TIMER_LEVEL);
    m_nRecordTimer = m_nLevelTimer = 0;
    g_CaptureDevice.StopRendering();
    g_CaptureDevice.Close();
    SetButtonsIdle();
    m_bRecording = FALSE;
    ComputeMaxSeconds();
    ShowStatus(0, 0, 0);
    ResetMeters();
    ::MessageBoxW(m_hWnd, L"The USB device has been disconnected.", g_szWindowTitle, MB_ICONERROR);
}

LRESULT CPageCapture::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CAPTURE_STOPPED:
        if (wParam == 16) OnRecordingStopped((int)lParam);
        break;
    case WM_SLIDER_TRACKING:
        if (wParam == IDC_LEVEL) {
            int level = (int)lParam < 0 ? -(int)lParam : (int)lParam;
            g_CaptureDevice.SetAnalyzerGain(TRUE, level / 10.0f);
            g_Settings.nLevel = (DWORD)level;
            return 0;
        }
        break;
    case WM_DEVICECHANGE:
        if (wParam == DBT_DEVICEREMOVECOMPLETE) OnDeviceRemoved((const DEV_BROADCAST_HDR*)lParam);
        break;
    case WM_DESTROY:
        // The worker's rows go to the list, which is destroyed after the page.
        StopWorker();
        break;
    }
    return CNewWizPage::WindowProc(message, wParam, lParam);
}

// Painting

void CPageCapture::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    m_background.Paint(dc);
    EndPaint(m_hWnd, &paint);
}

HBRUSH CPageCapture::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    if (kind == CTLCOLOR_DLG) return m_background.GetBrush() ? m_background.GetBrush() : CNewWizPage::OnCtlColor(dc, wnd, kind);
    if (kind == CTLCOLOR_EDIT && wnd && wnd->SendMessage(EM_GETMODIFY)) {
        // An edit being typed in keeps the default colours for that paint.
        wnd->SendMessage(EM_SETMODIFY, 0);
        return CNewWizPage::OnCtlColor(dc, wnd, kind);
    }
    HBRUSH brush = m_background.GetBrush();
    if (!brush || !wnd) return CNewWizPage::OnCtlColor(dc, wnd, kind);
    // The pattern lines up with the page behind the control.
    CRect page, control;
    GetWindowRect(&page);
    wnd->GetWindowRect(&control);
    SetBrushOrgEx(dc->m_hDC, page.left - control.left, page.top - control.top, nullptr);
    dc->SetBkMode(TRANSPARENT);
    if (kind == CTLCOLOR_STATIC) {
        int id = wnd->GetDlgCtrlID();
        if (id >= IDC_HOURS && id <= IDC_SECONDS) {
            dc->SetBkColor(0xFFFFFE);
            dc->SetTextColor(0x0A0A0A);
        } else if (id == IDC_FORMAT) {
            dc->SetTextColor(0x01FEFE);
        } else if (id == IDC_ELAPSED || id == IDC_RECORDED_SIZE || id == IDC_PERCENT || id == IDC_TIME_LABEL) {
            dc->SetTextColor(0xFFFFFF);
        }
    } else {
        dc->SetTextColor(0);
    }
    return brush;
}
