#include "PublishDlg.h"
#include "AudioFileChooser.h"
#include "DropDownList.h"
#include "FolderBrowser.h"
#include "GetMediaPlayTime.h"
#include "LogFile.h"
#include "Mp3Info.h"
#include "Mp3SettingDlg.h"
#include "PathUtil.h"
#include "PublishConversion.h"
#include "PublishFileAdd.h"
#include "PublishItemCheck.h"
#include "PublishNames.h"
#include "PublishRowConversion.h"
#include "PublishTags.h"
#include "Registry.h"
#include "SkinIds.h"
#include "SonelleGlobals.h"
#include "SonelleSettings.h"

#include <cmath>
#include <map>

namespace {

const double ReserveKB = 51200;   // kept free on the output volume

struct ControlPlace {
    int id, x, y, w, h;
};
// The row labels (1054 to 1057) end before the writer list at x 192 so that none
// paints over it; they and the type labels centre their text on their rows.
const ControlPlace kPlaces[] = {
    {1049, 579, 58, 61, 26},  {1036, 579, 98, 61, 26},   {1038, 779, 138, 61, 26}, {1009, 714, 178, 61, 26},
    {1041, 779, 178, 61, 26}, {1044, 44, 441, 138, 43},  {IDCANCEL, 758, 509, 94, 29},
    {1035, 192, 100, 360, 120}, {1037, 195, 144, 570, 15}, {1039, 195, 182, 250, 15},
    {1031, 212, 61, 20, 20},  {1032, 332, 61, 20, 20},   {1033, 442, 61, 20, 20},  {1008, 48, 213, 787, 174},
    {1061, 100, 10, 684, 31}, {1054, 63, 52, 92, 36},    {1055, 63, 92, 92, 36},    {1056, 63, 132, 120, 36},
    {1057, 63, 172, 120, 36}, {1058, 235, 50, 80, 41},   {1059, 360, 50, 80, 41},  {1060, 470, 50, 100, 41},
    {1043, 730, 395, 130, 20}, {1046, 210, 435, 360, 19}, {1047, 785, 435, 50, 19}, {1063, 48, 401, 679, 7},
    {1062, 199, 458, 641, 26},
};

CString ResString(UINT id, const wchar_t* fallback = L"")
{
    CString text;
    if (!text.LoadString(id) || text.IsEmpty()) text = fallback;
    return text;
}

int StringNumber(UINT id, int def)
{
    int value = _wtoi(ResString(id));
    return value ? value : def;
}

}  // namespace

PublishItemData RecordedFileItem(const CString& path, double playSeconds)
{
    PublishItemData item;
    item.kind = PublishKindFile;
    item.sourcePath = path;
    item.playTime = playSeconds;
    item.checked = 1;
    item.nameFixed = 0;
    item.track.bitsPerSample = 16;
    item.track.sampleRate = 1;
    item.track.dataOffset = 44;
    // 1 January 2008, 00:00 local time, as a file time.
    SYSTEMTIME start = {2008, 1, 2, 1, 0, 0, 0, 0};
    FILETIME local, utc;
    if (SystemTimeToFileTime(&start, &local) && LocalFileTimeToFileTime(&local, &utc))
        item.track.date = int64_t((uint64_t(utc.dwHighDateTime) << 32) | utc.dwLowDateTime);
    return item;
}

void RunPublishDialog(const std::vector<PublishItemData>& items)
{
    CPublishDlg dialog(nullptr);
    dialog.m_ItemList.RemoveAll();
    for (const PublishItemData& item : items) dialog.m_ItemList.AddTail(item);
    dialog.DoModal();
}

BEGIN_MESSAGE_MAP(CPublishDlg, CDialog)
    ON_BN_CLICKED(IDC_AUDIO_CD, OnTypeAudioCd)
    ON_BN_CLICKED(IDC_MP3_CD, OnTypeMp3Cd)
    ON_BN_CLICKED(IDC_MP3_FILE, OnTypeMp3File)
    ON_BN_CLICKED(IDC_MP3_SETTING, OnMp3Setting)
    ON_CBN_SELCHANGE(IDC_WRITERS, OnWriterChosen)
    ON_BN_CLICKED(IDC_EJECT, OnEject)
    ON_BN_CLICKED(IDC_CHOOSE_FOLDER, ChooseOutputFolder)
    ON_EN_CHANGE(IDC_ALBUM, OnAlbumChanged)
    ON_BN_CLICKED(IDC_ADD, OnAdd)
    ON_BN_CLICKED(IDC_REMOVE, OnRemove)
    ON_BN_CLICKED(IDC_START, OnStart)
    ON_BN_CLICKED(IDC_MERGE, OnMergeClicked)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_LIST, OnListItemChanged)
    ON_WM_TIMER()
    ON_WM_CLOSE()
    ON_WM_LBUTTONDOWN()
    ON_WM_PAINT()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CPublishDlg::CPublishDlg(CWnd* parent)
    : CDialog(IDD, parent),
      m_checkAudioCd(g_hSkinModule, IDB_REC_CHECK_AUDIOCD, 20),
      m_checkMp3Cd(g_hSkinModule, IDB_REC_CHECK_MP3CD, 20),
      m_checkMp3File(g_hSkinModule, IDB_REC_CHECK_MP3FILE, 20),
      m_writers(g_hSkinModule, IDB_REC_COMBO_ARROW)
{
}

CPublishDlg::~CPublishDlg()
{
    m_merge.Wait();
    delete m_pMergeCheck;
    delete m_pMergeLabel;
    if (m_hBackground) DeleteObject(m_hBackground);
}

void CPublishDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_LIST, m_list);
    DDX_Control(dx, IDC_WRITERS, m_writers);
    DDX_Control(dx, IDC_MP3_SETTING, m_btnMp3Setting);
    DDX_Control(dx, IDC_EJECT, m_btnEject);
    DDX_Control(dx, IDC_CHOOSE_FOLDER, m_btnFolder);
    DDX_Control(dx, IDC_ADD, m_btnAdd);
    DDX_Control(dx, IDC_REMOVE, m_btnRemove);
    DDX_Control(dx, IDC_START, m_btnStart);
    DDX_Control(dx, IDCANCEL, m_btnClose);
    DDX_Control(dx, IDC_AUDIO_CD, m_checkAudioCd);
    DDX_Control(dx, IDC_MP3_CD, m_checkMp3Cd);
    DDX_Control(dx, IDC_MP3_FILE, m_checkMp3File);
    DDX_Control(dx, IDC_SIZE_METER, m_sizeMeter);
    DDX_Control(dx, IDC_PROGRESS, m_progress);
    DDX_Text(dx, IDC_FOLDER, m_strOutputFolder);
    DDX_Text(dx, IDC_ALBUM, m_strAlbumName);
}

BOOL CPublishDlg::PreTranslateMessage(MSG* msg)
{
    if (m_ToolTip.m_hWnd) m_ToolTip.RelayEvent(msg);
    return CDialog::PreTranslateMessage(msg);
}

LRESULT CPublishDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CONVERT_GRAPHEVENT: return OnConvertEvent();
    case WM_MERGE_DONE: OnMergeDone(wParam); break;
    case WM_DISC_BURN_DONE: OnBurnDone(int(wParam), BurnKind(lParam)); return 0;
    case WM_DEVICECHANGE: OnDeviceChange(wParam, lParam); break;
    default: break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

// ---- Start-up ---------------------------------------------------------------

BOOL CPublishDlg::OnInitDialog()
{
    m_strOutputFolder = g_Settings.szAlbumFolder;
    CDialog::OnInitDialog();
    // A borderless window: its title names it to the task list and to automation.
    CString title;
    GetDlgItemText(IDC_TITLE, title);
    SetWindowText(title);
    LoadSkin();
    LayoutControls();
    ApplyByteRate();
    for (POSITION pos = m_ItemList.GetHeadPosition(); pos;) {
        const PublishItemData& item = m_ItemList.GetNext(pos);
        if (item.kind == PublishKindTrack)
            m_list.AddItem(m_list.GetItemCount(), item);
        else if (item.kind == PublishKindFile)
            AddOneFile(item.sourcePath);
    }
    UpdateSizes();
    SetDefaultAlbumName();
    ::SendDlgItemMessageW(m_hWnd, IDC_ALBUM, EM_SETLIMITTEXT, 30, 0);
    m_progress.SetRange(0, 100);
    SetOutputType(int(g_Settings.nOutputType));
    SetBusyState(BusyIdle);
    SetTimer(TIMER_STARTUP, 100);
    return TRUE;
}

void CPublishDlg::LoadSkin()
{
    HINSTANCE skin = g_hSkinModule;
    // The second skin module, when there is one, brings its own background.
    if (!(g_hExtraModule && m_background.LoadBitmap(g_hExtraModule, 1011)))
        m_background.LoadBitmap(skin, IDB_PUB_BACKGROUND);
    if (m_background.m_hObject) {
        m_hBackground = CreatePatternBrush((HBITMAP)m_background.m_hObject);
        BITMAP info = {};
        GetObjectW((HBITMAP)m_background.m_hObject, sizeof info, &info);
        CRect client;
        GetClientRect(&client);
        CPoint origin(0, 0);
        ClientToScreen(&origin);
        SetWindowPos((HWND) nullptr, origin.x + 58, origin.y + 80, info.bmWidth, info.bmHeight, SWP_NOZORDER);
        SetWindowRgn(CreateRoundRectRgn(0, 0, info.bmWidth + 1, info.bmHeight + 1, 3, 3), FALSE);
    }

    const CString face = ResString(145, L"Arial");
    const struct { CFont* font; UINT heightId; int def, weight; } fonts[] = {
        {&m_fontTitle, 148, 22, 700}, {&m_fontLabel, 149, 14, 500}, {&m_fontSmall, 150, 12, 100}};
    for (const auto& f : fonts)
        if (!f.font->CreateFont(-StringNumber(f.heightId, f.def), 0, 0, 0, f.weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                DEFAULT_QUALITY, 0, face))
            f.font->Attach((HFONT)GetStockObject(DEFAULT_GUI_FONT));

    const struct { CBButton* button; WORD bitmap; int w, h; } buttons[] = {
        {&m_btnMp3Setting, IDB_PUB_MP3_SETTING, 61, 26}, {&m_btnEject, IDB_PUB_EJECT, 61, 26},
        {&m_btnFolder, IDB_PUB_FOLDER, 61, 26},          {&m_btnRemove, IDB_PUB_REMOVE, 61, 26},
        {&m_btnAdd, IDB_PUB_ADD, 61, 26},                {&m_btnStart, IDB_PUB_START, 138, 43},
        {&m_btnClose, IDB_PUB_CLOSE, 94, 29}};
    for (const auto& b : buttons) {
        b.button->LoadBitmaps(skin, b.bitmap, b.w, b.h, false);
        b.button->SetShowText(TRUE);
        b.button->SetFont(face, StringNumber(150, 12), 400);
    }
    const int captionHeight = StringNumber(158, 16);
    for (CBButton* big : {&m_btnStart, &m_btnClose}) {
        big->SetFont(face, captionHeight, 700);
        big->SetTextColor(0xC0C0C0);
    }
    SetStartCaption(156);
    m_btnClose.SetWindowText(ResString(159, L"Close"));

    m_writers.SetTextColor(0xC0C0C0);
    m_writers.SetParentBrush(m_hBackground);
    m_writers.SetBorderColor(0xFFFFFF);

    m_sizeMeter.LoadBitmap(skin, IDB_REC_DISC_METER);
    m_sizeMeter.SetStyle(3);
    m_progress.LoadBitmap(skin, IDB_REC_PUBLISH_PROGRESS);
    m_progress.SetStyle(2);
}

void CPublishDlg::LayoutControls()
{
    for (const ControlPlace& p : kPlaces)
        if (HWND control = ::GetDlgItem(m_hWnd, p.id)) ::MoveWindow(control, p.x, p.y, p.w, p.h, FALSE);
    FitDropDownList(m_writers.m_hWnd);
    ::SendDlgItemMessageW(m_hWnd, IDC_TITLE, WM_SETFONT, (WPARAM)m_fontTitle.m_hObject, FALSE);
    for (int id = 1054; id <= 1060; ++id)
        ::SendDlgItemMessageW(m_hWnd, id, WM_SETFONT, (WPARAM)m_fontLabel.m_hObject, FALSE);
    for (int id : {IDC_SIZE_TEXT, IDC_STATUS, IDC_PERCENT})
        ::SendDlgItemMessageW(m_hWnd, id, WM_SETFONT, (WPARAM)m_fontSmall.m_hObject, FALSE);
    if (g_Settings.bEnableMergeTrack)
        CreateMergeCheck();
    else
        ::MoveWindow(::GetDlgItem(m_hWnd, IDC_ALBUM), 195, 182, 300, 15, FALSE);

    m_ToolTip.Create(this);
    m_ToolTip.Activate(TRUE);
    const struct { CWnd* control; UINT text; const wchar_t* fallback; } tips[] = {
        {&m_btnEject, 206, L"Eject"},       {&m_btnMp3Setting, 172, L"Setting"},
        {&m_btnAdd, 207, L"Add Tracks"},    {&m_btnRemove, 208, L"Remove Tracks"},
        {&m_btnFolder, 209, L"Output Floder"}, {&m_btnClose, 159, L"Close"},
        {&m_btnStart, 156, L"Start"}};
    for (const auto& t : tips) m_ToolTip.AddTool(t.control, ResString(t.text, t.fallback));
}

void CPublishDlg::CreateMergeCheck()
{
    m_pMergeCheck = new CButton;
    m_pMergeCheck->Create(L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, CRect(475, 180, 495, 200), this,
                          IDC_MERGE);
    m_pMergeCheck->SetCheck(g_Settings.bMergeTrack ? BST_CHECKED : BST_UNCHECKED);
    m_pMergeLabel = new CStatic;
    m_pMergeLabel->Create(ResString(210, L"Merge Tracks"), WS_CHILD | WS_VISIBLE | SS_CENTERIMAGE,
                          CRect(495, 180, 675, 200), this, IDC_MERGE_LABEL);
    m_pMergeLabel->SendMessage(WM_SETFONT, (WPARAM)m_fontLabel.m_hObject, FALSE);
}

void CPublishDlg::OnTimer(UINT_PTR id)
{
    switch (id) {
    case TIMER_STARTUP:
        KillTimer(TIMER_STARTUP);
        m_data.Initialize();
        m_data.SetBurnMode(1);
        m_bLibraryReady = true;
        FillDriveList();
        break;
    case TIMER_CONVERT: SetProgress(m_convert.GetConvertPercent()); break;
    case TIMER_DATA_BURN: ShowBurnProgress(BurnKindData); break;
    case TIMER_AUDIO_BURN: ShowBurnProgress(BurnKindAudio); break;
    case TIMER_MERGE: SetProgress(m_merge.GetPercent()); break;
    default: break;
    }
    Default();
}

// ---- Controls and states ----------------------------------------------------

void CPublishDlg::SetOutputType(int type)
{
    if (type < OutputAudioCd || type > OutputMp3File) type = OutputAudioCd;
    g_Settings.nOutputType = DWORD(type);
    ApplyByteRate();
    m_checkAudioCd.SetCheck(type == OutputAudioCd ? BST_CHECKED : BST_UNCHECKED);
    m_checkMp3Cd.SetCheck(type == OutputMp3Cd ? BST_CHECKED : BST_UNCHECKED);
    m_checkMp3File.SetCheck(type == OutputMp3File ? BST_CHECKED : BST_UNCHECKED);
    UpdateDiscSpace();
    UpdateSizes();
    ApplyEnableRules();
}

void CPublishDlg::ApplyByteRate()
{
    const int rate = g_Settings.nOutputType == OutputAudioCd ? 176400 : int(g_Settings.nMp3Bitrate * 1000 / 8);
    m_list.SetByteRate(rate);
    UpdateSizes();
}

void CPublishDlg::UpdateSizes()
{
    if (!m_list.m_hWnd) return;
    m_dProjectedBytes = m_list.GetTotalSize();
    CString text;
    text.Format(L"%5.1f / %5.1fMB", m_dProjectedBytes / 1048576, m_dFreeDiscBytes / 1048576);
    SetDlgItemText(IDC_SIZE_TEXT, text);
    const int mark = g_Settings.nOutputType == OutputMp3File ? 1000 : int(m_dFreeDiscBytes / 1048576);
    m_sizeMeter.SetRangeEx(0, 1000, mark);
    m_sizeMeter.SetValue(int(m_dProjectedBytes / 1048576));
}

void CPublishDlg::SetProgress(int percent)
{
    if (percent == m_nShownProgress) return;
    m_nShownProgress = percent;
    CString text;
    text.Format(L"%02d %%", percent);
    SetDlgItemText(IDC_PERCENT, text);
    m_progress.SetValue(percent);
}

void CPublishDlg::SetStatus(const wchar_t* text) { SetDlgItemText(IDC_STATUS, text); }

void CPublishDlg::SetStartCaption(UINT stringId)
{
    const CString caption = ResString(stringId, stringId == 157 ? L"Stop" : L"Start");
    m_btnStart.SetWindowText(caption);
    if (m_ToolTip.m_hWnd) m_ToolTip.UpdateTipText(caption, &m_btnStart);
}

void CPublishDlg::ApplyEnableRules()
{
    const int type = int(g_Settings.nOutputType);
    const bool disc = type != OutputMp3File;
    const bool idle = m_nBusyState == BusyIdle && !m_bAdding;
    m_btnMp3Setting.EnableWindow(idle && type != OutputAudioCd);
    m_btnEject.EnableWindow(idle && disc);
    m_writers.EnableWindow(idle && disc);
    if (m_pMergeCheck) {
        m_pMergeCheck->SetCheck(type == OutputMp3File && g_Settings.bMergeTrack ? BST_CHECKED : BST_UNCHECKED);
        m_pMergeCheck->EnableWindow(idle && type == OutputMp3File);
    }
}

void CPublishDlg::SetBusyState(int state)
{
    m_nBusyState = state;
    const bool idle = state == BusyIdle && !m_bAdding;
    for (CWnd* control : {(CWnd*)&m_btnFolder, (CWnd*)&m_btnAdd, (CWnd*)&m_btnRemove, (CWnd*)&m_btnClose,
                          (CWnd*)&m_checkAudioCd, (CWnd*)&m_checkMp3Cd, (CWnd*)&m_checkMp3File})
        control->EnableWindow(idle);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_ALBUM), idle);
    m_btnStart.EnableWindow(state != BusyWriting && !m_bAdding);
    m_list.EnableMouse(idle);
    ApplyEnableRules();
    KeepFocusOnAWorkingControl();
}

// A control that goes off loses the focus, and the dialog would hand it to the
// first one left (the read-only folder text, shown selected): Start (Stop) takes
// it, or the list while Start is off too.
void CPublishDlg::KeepFocusOnAWorkingControl()
{
    if (::GetActiveWindow() != m_hWnd) return;
    HWND focus = ::GetFocus();
    if (focus && ::IsWindowEnabled(focus) && focus != ::GetDlgItem(m_hWnd, IDC_FOLDER)) return;
    ::SetFocus(m_btnStart.IsWindowEnabled() ? m_btnStart.m_hWnd : m_list.m_hWnd);
}

void CPublishDlg::SetDefaultAlbumName()
{
    CString album;
    GetDlgItemText(IDC_ALBUM, album);
    if (!album.IsEmpty() || m_list.GetItemCount() == 0) return;
    const PublishItemData* first = m_list.Record(0);
    album = first && !first->album.IsEmpty() ? first->album : m_list.GetFileTitle(0);
    SetDlgItemText(IDC_ALBUM, album);
}

void CPublishDlg::OnMp3Setting()
{
    CMp3SettingDlg dialog(this);
    dialog.m_nChannel = int(g_Settings.nMp3Channel) - 1;
    dialog.m_nSampleRate = int(g_Settings.nMp3SampleRate);
    dialog.m_nBitrate = int(g_Settings.nMp3Bitrate);
    if (dialog.DoModal() != IDOK) return;
    g_Settings.nMp3Channel = DWORD(dialog.m_nChannel + 1);
    g_Settings.nMp3SampleRate = DWORD(dialog.m_nSampleRate);
    g_Settings.nMp3Bitrate = DWORD(dialog.m_nBitrate);
    if (g_Settings.nOutputType != OutputAudioCd) ApplyByteRate();
}

void CPublishDlg::OnWriterChosen()
{
    const int index = m_writers.GetCurSel();
    if (index >= 0) ChooseDrive(index);
}

void CPublishDlg::OnEject()
{
    if (m_bWriterPresent) m_data.UnloadMedium();
}

void CPublishDlg::OnAlbumChanged()
{
    CString album;
    GetDlgItemText(IDC_ALBUM, album);
    if (album.IsEmpty() || publish::IsValidName(album.str())) m_list.RenameAfterAlbum(album, ResString(102, L"Track"));
}

void CPublishDlg::OnMergeClicked()
{
    if (m_pMergeCheck) g_Settings.bMergeTrack = m_pMergeCheck->GetCheck() == BST_CHECKED;
}

void CPublishDlg::OnListItemChanged(NMHDR*, LRESULT* result)
{
    UpdateSizes();
    *result = 0;
}

void CPublishDlg::OnRemove()
{
    if (m_bAdding || m_nBusyState != BusyIdle) return;
    m_list.RemoveSelected();
    UpdateSizes();
}

void CPublishDlg::OnStart()
{
    if (m_bAdding) return;
    if (m_bBusy) {
        StopPublish();
        SetBusyState(BusyIdle);
        return;
    }
    if (m_nBusyState != BusyIdle) return;
    // A started run sets its own states (it may even have ended already).
    if (!StartPublish()) {
        SetBusyState(BusyIdle);
        SetStartCaption(156);
    }
}

// Refused while converting, writing or merging: a closed dialog would leave a
// graph, a disc write or a merge without its owner.
void CPublishDlg::OnCancel()
{
    if (m_nBusyState != BusyIdle || m_bBusy || m_bAdding) return;
    m_list.DeleteAllRows();
    m_ItemList.RemoveAll();
    if (m_bLibraryReady) m_data.Uninitialize();
    m_bLibraryReady = false;
    if (m_pMergeCheck) m_pMergeCheck->DestroyWindow();
    if (m_pMergeLabel) m_pMergeLabel->DestroyWindow();
    EndDialog(IDOK);
}

void CPublishDlg::OnLButtonDown(UINT, CPoint)
{
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void CPublishDlg::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    HBRUSH white = (HBRUSH)GetStockObject(WHITE_BRUSH);
    for (int id : {IDC_FOLDER, IDC_ALBUM}) {
        HWND control = ::GetDlgItem(m_hWnd, id);
        if (!control) continue;
        CRect r;
        ::GetWindowRect(control, &r);
        ScreenToClient(&r);
        RECT frame = {r.left - 3, r.top - 3, r.right + 2, r.bottom + 2};
        FrameRect(dc, &frame, white);
    }
    ::EndPaint(m_hWnd, &ps);
}

HBRUSH CPublishDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    if (!m_hBackground) return CDialog::OnCtlColor(dc, wnd, kind);
    if (kind == CTLCOLOR_DLG) return m_hBackground;
    if (kind == CTLCOLOR_EDIT && wnd && wnd->SendMessage(EM_GETMODIFY)) {
        wnd->SendMessage(EM_SETMODIFY, 0);
        return CDialog::OnCtlColor(dc, wnd, kind);
    }
    if (!wnd) return CDialog::OnCtlColor(dc, wnd, kind);
    CRect dialog, control;
    GetWindowRect(&dialog);
    wnd->GetWindowRect(&control);
    SetBrushOrgEx(dc->m_hDC, dialog.left - control.left, dialog.top - control.top, nullptr);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(wnd->GetDlgCtrlID() == IDC_TITLE ? 0x000000 : 0xFFFFFF);
    return m_hBackground;
}

// ---- Adding files -----------------------------------------------------------

void CPublishDlg::OnAdd()
{
    if (m_bAdding || m_nBusyState != BusyIdle) return;
    const std::vector<CString> paths = ChooseAudioFiles(m_hWnd, g_Settings.szRecordFolder);
    if (!paths.empty()) AddFiles(paths);
}

void CPublishDlg::AddFiles(const std::vector<CString>& paths)
{
    m_bAdding = true;
    SetBusyState(m_nBusyState);
    for (const CString& path : paths) {
        Sleep(0);
        AddOneFile(path);
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    m_bAdding = false;
    SetBusyState(m_nBusyState);
    UpdateSizes();
}

BOOL CPublishDlg::AddOneFile(const CString& source)
{
    AddFileTexts texts;
    texts.owner = m_hWnd;
    texts.title = g_szWindowTitle;
    texts.openError = ResString(131, L"Error opening file!");
    texts.copyExtension = L".nv0";
    if (!AddListedFile(m_list, source, texts)) return FALSE;
    SetDefaultAlbumName();
    return TRUE;
}

void CPublishDlg::ChooseOutputFolder()
{
    if (m_nBusyState != BusyIdle) return;
    CString folder = m_strOutputFolder;
    if (folder.Right(1) == L"\\") folder = folder.Left(folder.GetLength() - 1);
    bool longFile = false;
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        if (m_list.GetItemText(row, CPublishListCtrl::ColumnFile).GetLength() > 30) longFile = true;
    const int limit = int(::SendDlgItemMessageW(m_hWnd, IDC_ALBUM, EM_GETLIMITTEXT, 0, 0));
    CString album;
    GetDlgItemText(IDC_ALBUM, album);
    const int maxLength = 233 - (longFile ? 60 : 30) - (album.GetLength() > limit ? 2 * limit : limit);
    CPathDialog dialog(TRUE, nullptr, nullptr, folder, m_hWnd, maxLength, ResString(106), ResString(107));
    if (dialog.DoModal() != 1) return;
    UseOutputFolder(dialog.GetPathName());
}

BOOL CPublishDlg::UseOutputFolder(const CString& chosen)
{
    BOOL canAddFolder = FALSE, canAddFile = FALSE;
    CheckFolderAccess(chosen, &canAddFolder, &canAddFile);
    if (!canAddFolder || !canAddFile) {
        CString text = ResString(201, L"You do not have permissions to save in this directory.");
        text.AppendFormat(L"\r\n\r\n\"%s\"", (const wchar_t*)chosen);
        ::MessageBoxW(m_hWnd, text, g_szWindowTitle, MB_ICONEXCLAMATION);
        return FALSE;
    }
    CString folder = chosen;
    if (folder.Right(1) != L"\\") folder += L"\\";
    m_strOutputFolder = folder;
    SetDlgItemText(IDC_FOLDER, folder);
    lstrcpynW(g_Settings.szAlbumFolder, folder, 260);
    return TRUE;
}

// ---- The publish run --------------------------------------------------------

void CPublishDlg::Message(UINT stringId, UINT icon, const CString& extra)
{
    CString text = ResString(stringId);
    text += extra;
    ::MessageBoxW(m_hWnd, text, g_szWindowTitle, MB_OK | icon);
}

void CPublishDlg::ReadControls()
{
    GetDlgItemText(IDC_FOLDER, m_strOutputFolder);
    GetDlgItemText(IDC_ALBUM, m_strAlbumName);
}

BOOL CPublishDlg::CheckItems()
{
    ItemCheckPrompts prompts;
    prompts.owner = m_hWnd;
    prompts.title = g_szWindowTitle;
    prompts.noFileId = 143;
    // An audio CD refuses these; the user is told why, of every one at once.
    prompts.shortTracks = [this](const std::vector<int>& rows) {
        CString text;
        for (int row : rows) {
            const PublishItemData* item = m_list.Record(row);
            text.AppendFormat(L"%sTrack %02d \"%s\" plays %.1f seconds.", text.IsEmpty() ? L"" : L"\n", row + 1,
                              (const wchar_t*)m_list.GetItemText(row, CPublishListCtrl::ColumnFile), item->playTime);
        }
        text.AppendFormat(L"%sAn audio CD track must play at least %.1f seconds.", rows.size() == 1 ? L"  " : L"\n",
                          MinAudioTrackSeconds);
        ::MessageBoxW(m_hWnd, text, g_szWindowTitle, MB_OK | MB_ICONSTOP);
        return false;
    };
    prompts.tooManyTracks = [this](int count) {
        CString text;
        text.Format(L"An audio CD holds at most %d tracks.  Please uncheck %d of the %d checked tracks.",
                    MaxAudioTracks, count - MaxAudioTracks, count);
        ::MessageBoxW(m_hWnd, text, g_szWindowTitle, MB_OK | MB_ICONSTOP);
    };
    return ::CheckItems(m_list, g_Settings.nOutputType == OutputAudioCd, prompts);
}

BOOL CPublishDlg::StartPublish()
{
    // The previous run's end report goes, whether or not this run starts.
    SetProgress(0);
    SetStatus(L"");
    // A finished run's outputs are the user's now: nothing below touches them.
    m_produced.clear();
    m_discNames.clear();
    m_failedRows.clear();
    m_bMadeAlbumFolder = false;
    UpdateSizes();

    const double freeKB = GetFreeDiskSpaceKB(g_Settings.szAlbumFolder);
    if (freeKB < std::floor(m_dProjectedBytes / 1024) + ReserveKB) {
        Message(200, MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (!CheckItems()) return FALSE;
    if (!PrepareAlbumFolder()) return FALSE;
    if (g_Settings.nOutputType != OutputMp3File && !CheckDisc()) {
        DeleteOutputs();
        return FALSE;
    }
    m_nOverwrite = 0;
    m_nCurrentRow = 0;
    ++m_nRun;
    m_bBusy = TRUE;
    SetBusyState(BusyConverting);
    SetStartCaption(157);
    SetTimer(TIMER_CONVERT, 500);
    ConvertNextTrack(0);
    return TRUE;
}

BOOL CPublishDlg::PrepareAlbumFolder()
{
    ReadControls();
    m_strAlbumName = CString(publish::TrimBlanks(m_strAlbumName.str()));
    SetDlgItemText(IDC_ALBUM, m_strAlbumName);
    if (!publish::IsValidName(m_strAlbumName.str())) {
        Message(132, MB_ICONSTOP);
        return FALSE;
    }
    CString folder = m_strOutputFolder;
    if (folder.IsEmpty()) {
        // No folder chosen: never the current directory.
        Message(107, MB_ICONSTOP);
        return FALSE;
    }
    if (folder.Right(1) != L"\\") folder += L"\\";
    m_strAlbumPath.Format(L"%s%s\\", (const wchar_t*)folder, (const wchar_t*)m_strAlbumName);
    const DWORD attributes = GetFileAttributesW(m_strAlbumPath);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return TRUE;
    if (!CreateDirectoryW(m_strAlbumPath, nullptr)) {
        Message(107, MB_ICONSTOP);
        return FALSE;
    }
    m_bMadeAlbumFolder = true;
    return TRUE;
}

void CPublishDlg::ConvertNextTrack(int firstRow)
{
    RowConversion steps;
    steps.converting = ResString(133, L"Convert :");
    steps.failedText = ResString(134);
    steps.start = [this](int row, PublishItemData& item) {
        m_nCurrentRow = row;
        return ConvertTrack(&item);
    };
    steps.status = [this](const CString& text) { SetStatus(text); };
    steps.failed = [this](int row) { m_failedRows.push_back(row); };
    if (StartNextRowConversion(m_list, firstRow, steps) >= 0) return;

    m_convert.Close();
    KillTimer(TIMER_CONVERT);
    BOOL started = FALSE;
    if (m_produced.empty()) {
        // Nothing came out: nothing to write or merge.
        Message(134, MB_ICONSTOP, FailedRows());
    } else if (g_Settings.nOutputType == OutputAudioCd) {
        SetStatus(ResString(151, L"Waiting ..."));
        started = BurnAudioDisc();
    } else if (g_Settings.nOutputType == OutputMp3Cd) {
        SetStatus(ResString(151, L"Waiting ..."));
        started = BurnDataDisc();
    } else if (!g_Settings.bMergeTrack) {
        m_bBusy = FALSE;
        FinishPublish();
        return;
    } else {
        started = StartMerge();
    }
    if (!started) {
        StopPublish();
        SetBusyState(BusyIdle);
    }
    m_bBusy = FALSE;
}

BOOL CPublishDlg::ConvertTrack(PublishItemData* item)
{
    m_strCurrentOutput.Empty();
    const int type = int(g_Settings.nOutputType);
    const std::wstring extension = type == OutputAudioCd ? L".wav" : L".mp3";
    const std::wstring intended = publish::OutputFileName(m_strAlbumPath.str(), item->rowIndex,
                                                          item->trackName.str(), item->fileTitle.str(), extension);
    Mp3OutputSettings mp3;
    mp3.bitrate = int(g_Settings.nMp3Bitrate);
    mp3.sampleRate = int(g_Settings.nMp3SampleRate);
    mp3.channels = int(g_Settings.nMp3Channel);
    m_convert.SetMp3Settings(mp3);
    const bool toMp3 = type != OutputAudioCd;
    // Never over a file that is there, nor over a source of this run: the output
    // takes the next free name.
    const std::wstring output =
        StartItemConversion(m_convert, m_hWnd, *item, intended, toMp3, [this](const std::wstring& name) {
            return OutputNameTaken(m_list, m_produced, name);
        });
    if (output.empty()) return FALSE;
    if (toMp3) m_strCurrentOutput = output.c_str();
    m_produced.push_back(output.c_str());
    const size_t slash = intended.find_last_of(L'\\');
    m_discNames.push_back(intended.substr(slash + 1).c_str());
    return TRUE;
}

void CPublishDlg::PumpMessagesFor(DWORD ms)
{
    for (DWORD waited = 0; waited < ms; waited += 50) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!CWnd::WalkPreTranslateTree(m_hWnd, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        Sleep(50);
    }
}

LRESULT CPublishDlg::OnConvertEvent()
{
    const long result = m_convert.WaitForCompletion();
    if (result == 1) {
        SetProgress(100);
        m_convert.Close();
        if (!g_Settings.bMergeTrack || g_Settings.nOutputType != OutputMp3File)
            WriteTags(m_list, m_nCurrentRow, m_strAlbumName, m_strCurrentOutput, CString());
        // The pause keeps the dialog alive (Stop works); it continues only its own run.
        const int run = m_nRun;
        PumpMessagesFor(1000);
        if (run != m_nRun || !m_bBusy) return 0;
        LogPrint(LOG_LEVEL_DEFAULT, L"current convert track:[%d]", m_nCurrentRow);
        if (m_nCurrentRow < m_list.GetItemCount()) ConvertNextTrack(m_nCurrentRow + 1);
    } else if (result == 2 || result == 3) {
        // A conversion that did not end well leaves nothing behind and counts as failed.
        m_convert.Close();
        if (!m_produced.empty()) {
            DeleteFileW(m_produced.back());
            m_produced.pop_back();
            m_discNames.pop_back();
        }
        m_failedRows.push_back(m_nCurrentRow);
        if (m_bBusy && m_nCurrentRow < m_list.GetItemCount()) ConvertNextTrack(m_nCurrentRow + 1);
    }
    return 0;
}

CString CPublishDlg::FailedRows() const
{
    CString text;
    for (int row : m_failedRows) {
        const PublishItemData* item = m_list.Record(row);
        text.AppendFormat(L"\n[ %02d ]  %s", row + 1, item ? (const wchar_t*)item->fileTitle : L"");
    }
    return text;
}

CString CPublishDlg::FailedRowsText() const
{
    return m_failedRows.empty() ? CString() : L"\n\n" + ResString(134) + FailedRows();
}

void CPublishDlg::StopPublish()
{
    m_nCurrentRow = m_list.GetItemCount();
    KillTimer(TIMER_CONVERT);
    KillTimer(TIMER_MERGE);
    SetStartCaption(156);
    m_bBusy = FALSE;
    m_convert.Stop();
    // The writer lets go of its file only when the graph goes.
    m_convert.Close();
    DeleteOutputs();
    SetProgress(0);
    SetStatus(L"");
}

void CPublishDlg::FinishPublish()
{
    KillTimer(TIMER_CONVERT);
    KillTimer(TIMER_MERGE);
    SetStatus(ResString(135, L"File conversion completed."));
    SetBusyState(BusyIdle);
    SetProgress(100);
    SetStartCaption(156);
    // The outputs stay: a later run must not take them for its own.
    m_produced.clear();
    m_discNames.clear();
    Message(135, MB_ICONINFORMATION, FailedRowsText());
}

void CPublishDlg::DeleteOutputs()
{
    for (const CString& file : m_produced) DeleteFileW(file);
    m_produced.clear();
    m_discNames.clear();
    // Only a folder this run made goes, and only when empty.
    if (m_bMadeAlbumFolder && !m_strAlbumPath.IsEmpty()) RemoveDirectoryW(m_strAlbumPath);
}

// ---- Discs ------------------------------------------------------------------

DiscStepTexts CPublishDlg::DiscTexts() const
{
    DiscStepTexts texts;
    texts.title = g_szWindowTitle;
    texts.notReady = 136;
    texts.notCompatible = 137;
    texts.tooSmall = 138;
    texts.notWritable = 144;
    texts.burnFailed = 139;
    texts.burned = 141;
    return texts;
}

BurnKind CPublishDlg::OutputBurnKind() const
{
    return g_Settings.nOutputType == OutputAudioCd ? BurnKindAudio : BurnKindData;
}

void CPublishDlg::FillDriveList()
{
    const int selected = ::FillDriveList(m_writers, m_burner, g_Settings.szBurnDeviceName);
    m_bWriterPresent = m_burner.WriterPresent();
    if (selected >= 0) ChooseDrive(selected);
}

void CPublishDlg::ChooseDrive(int index)
{
    const CString name = m_burner.ChooseDrive(index);
    UpdateDiscSpace();
    UpdateSizes();
    lstrcpynW(g_Settings.szBurnDeviceName, name, 260);
}

void CPublishDlg::UpdateDiscSpace()
{
    if (!m_bWriterPresent) return;
    m_dFreeDiscBytes = m_burner.FreeDiscBytes(OutputBurnKind());
}

void CPublishDlg::OnDeviceChange(WPARAM event, LPARAM data)
{
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE) return;
    const DEV_BROADCAST_VOLUME* volume = (const DEV_BROADCAST_VOLUME*)data;
    if (!volume || volume->dbcv_devicetype != DBT_DEVTYP_VOLUME || !(volume->dbcv_flags & DBTF_MEDIA)) return;
    UpdateDiscSpace();
    UpdateSizes();
}

BOOL CPublishDlg::CheckDisc()
{
    // Before converting: the rows' projected sizes; before writing: the files made.
    std::vector<double> bytes;
    if (m_produced.empty()) {
        for (int row = 0; row < m_list.GetItemCount(); ++row) {
            const PublishItemData* item = m_list.Record(row);
            if (item && m_list.GetCheck(row)) bytes.push_back(item->playTime * m_list.GetByteRate());
        }
    } else {
        bytes = ProducedBytes();
    }
    if (!m_bWriterPresent) {
        Message(136, MB_ICONINFORMATION);
        return FALSE;
    }
    return ::CheckDisc(m_hWnd, m_burner, OutputBurnKind(), bytes, DiscTexts());
}

std::vector<double> CPublishDlg::ProducedBytes() const
{
    std::vector<double> bytes;
    for (const CString& file : m_produced) bytes.push_back(double(FileSizeBytes(file)));
    return bytes;
}

BOOL CPublishDlg::BurnDataDisc()
{
    KillTimer(TIMER_DATA_BURN);
    if (!m_bWriterPresent) return FALSE;
    if (!::BurnDataDisc(m_hWnd, m_burner, m_produced, ProducedBytes(), m_strAlbumName, DiscTexts(), &m_discNames))
        return FALSE;
    SetTimer(TIMER_DATA_BURN, 100);
    SetBusyState(BusyWriting);
    return TRUE;
}

BOOL CPublishDlg::BurnAudioDisc()
{
    KillTimer(TIMER_AUDIO_BURN);
    if (!m_bWriterPresent) return FALSE;
    DWORD mode = g_Settings.nBurnMode;
    if (RegReadDword(HKEY_CURRENT_USER, g_szRegKey, L"BurnMode", mode, 0)) g_Settings.nBurnMode = mode;
    if (!::BurnAudioDisc(m_hWnd, m_burner, m_produced, ProducedBytes(), (unsigned char)(g_Settings.nBurnMode & 0xFF),
                         DiscTexts()))
        return FALSE;
    SetTimer(TIMER_AUDIO_BURN, 100);
    SetBusyState(BusyWriting);
    return TRUE;
}

void CPublishDlg::ShowBurnProgress(BurnKind kind)
{
    ShowBurnFigures(m_burner.Progress(kind));
}

// The percentage and the megabytes always come from one reading.
void CPublishDlg::ShowBurnFigures(const BurnProgress& progress)
{
    SetProgress(progress.percent);
    SetStatus(BurnProgressText(ResString(140, L"CD Burning :   "), progress));
}

// Posted by the burner from the library's thread: the end-of-write work runs here.
void CPublishDlg::OnBurnDone(int status, BurnKind kind)
{
    const UINT_PTR timer = kind == BurnKindAudio ? TIMER_AUDIO_BURN : TIMER_DATA_BURN;
    if (status != 1) {
        KillTimer(timer);
        ShowBurnFigures(m_burner.Completed(kind));
    }
    ReportBurnEnd(m_hWnd, m_burner, kind, status, DiscTexts(), FailedRowsText());
    KillTimer(timer);
    SetBusyState(BusyIdle);
    ResetAfterBurn();
}

void CPublishDlg::ResetAfterBurn()
{
    SetStartCaption(156);
    m_bBusy = FALSE;
    DeleteOutputs();
    SetProgress(0);
    SetStatus(L"");
}

// ---- Merging ----------------------------------------------------------------

CString CPublishDlg::MakeMergeName()
{
    const std::wstring label = ResString(210, L"Merge Tracks").str();
    const std::wstring name = publish::MergeName(m_strAlbumPath.str(), m_strAlbumName.str(), label, publish::NameOnDisk);
    // Never over a file that is there, a source or one of the tracks being joined.
    return publish::FreeName(name, [this](const std::wstring& candidate) {
               return OutputNameTaken(m_list, m_produced, candidate);
           }).c_str();
}

BOOL CPublishDlg::StartMerge()
{
    KillTimer(TIMER_MERGE);
    SetStatus(ResString(210, L"Merge Tracks"));
    const CString name = MakeMergeName();
    if (!m_merge.Start(m_hWnd, &m_produced, name)) {
        Message(134, MB_ICONSTOP);
        return FALSE;
    }
    m_strCurrentOutput = name;
    SetTimer(TIMER_MERGE, 1000);
    SetBusyState(BusyWriting);
    return TRUE;
}

LRESULT CPublishDlg::OnMergeDone(WPARAM merged)
{
    m_merge.Wait();
    if (merged == 1) {
        for (const CString& track : m_produced) DeleteFileW(track);
        m_produced.clear();
        m_discNames.clear();
        WriteTags(m_list, m_nCurrentRow, m_strAlbumName, m_strCurrentOutput, m_strAlbumName);
        FinishPublish();
        return 0;
    }
    // No merged file: the tracks stay where they are, the partial file goes (only
    // when the merge made it: a file that took the name meanwhile stays).
    KillTimer(TIMER_MERGE);
    if (m_merge.CreatedOutput()) DeleteFileW(m_strCurrentOutput);
    m_produced.clear();
    m_discNames.clear();
    SetBusyState(BusyIdle);
    SetStartCaption(156);
    SetProgress(0);
    SetStatus(L"");
    Message(134, MB_ICONSTOP);
    return 0;
}
