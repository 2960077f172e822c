#include "Step4Dlg.h"
#include "AnalyzerRecord.h"
#include "CaptureDevice.h"
#include "ContinuationName.h"
#include "Mp3Info.h"
#include "NewWizDialog.h"
#include "PathUtil.h"
#include "PublishNames.h"
#include "RecordingName.h"
#include "WizGlobals.h"
#include "WizSettings.h"
#include <direct.h>
#include <stdlib.h>

BEGIN_MESSAGE_MAP(CStep4Dlg, CNewWizPage)
    ON_BN_CLICKED(IDC_RECORD, OnRecordClicked)
    ON_BN_CLICKED(IDC_SET_TIME, OnSetTimeClicked)
    ON_BN_CLICKED(IDC_AUTO_SPLIT, OnAutoSplitClicked)
    ON_EN_SETFOCUS(IDC_HOURS, OnHoursFocus)
    ON_EN_SETFOCUS(IDC_MINUTES, OnMinutesFocus)
    ON_EN_SETFOCUS(IDC_SECONDS, OnSecondsFocus)
    ON_EN_CHANGE(IDC_HOURS, OnHoursChange)
    ON_EN_CHANGE(IDC_MINUTES, OnMinutesChange)
    ON_EN_CHANGE(IDC_SECONDS, OnSecondsChange)
    ON_NOTIFY(UDN_DELTAPOS, IDC_SPIN, OnSpinDelta)
    ON_WM_TIMER()
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kFrame = RGB(128, 95, 2);
const DWORD kReserveKB = 51200;

}  // namespace

CStep4Dlg::CStep4Dlg()
    : CNewWizPage(IDD), m_setTimeCheck(g_hSkinModule, 153, 24), m_autoSplitCheck(g_hSkinModule, 153, 24),
      m_spin(g_hSkinModule, 157)
{
}

void CStep4Dlg::DoDataExchange(CDataExchange* dx)
{
    CNewWizPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_TEXT, m_text);
    DDX_Control(dx, IDC_ALBUM_LABEL, m_albumLabel);
    DDX_Control(dx, IDC_ALBUM, m_album);
    DDX_Control(dx, IDC_SET_TIME, m_setTimeCheck);
    DDX_Control(dx, IDC_SET_TIME_LABEL, m_setTimeLabel);
    DDX_Control(dx, IDC_HOURS, m_hours);
    DDX_Control(dx, IDC_COLON1, m_colon1);
    DDX_Control(dx, IDC_MINUTES, m_minutes);
    DDX_Control(dx, IDC_COLON2, m_colon2);
    DDX_Control(dx, IDC_SECONDS, m_seconds);
    DDX_Control(dx, IDC_SPIN, m_spin);
    DDX_Control(dx, IDC_RECORD, m_btnRecord);
    DDX_Control(dx, IDC_AUTO_SPLIT, m_autoSplitCheck);
    DDX_Control(dx, IDC_AUTO_SPLIT_LABEL, m_autoSplitLabel);
    DDX_Control(dx, IDC_LEFT_GRAPH, m_graphLeft);
    DDX_Control(dx, IDC_RIGHT_GRAPH, m_graphRight);
    DDX_Control(dx, IDC_PROGRESS, m_progress);
    DDX_Control(dx, IDC_ELAPSED, m_elapsed);
    DDX_Control(dx, IDC_NOTE, m_note);
}

BOOL CStep4Dlg::OnInitDialog()
{
    CNewWizPage::OnInitDialog();
    SetBackground(g_hSkinModule, 149);
    PlaceText(m_text, 80, 40, 650, 50, m_largeFont, kBlack);
    ::SendMessageW(m_albumLabel.m_hWnd, WM_SETFONT, (WPARAM)m_largeFont.m_hObject, FALSE);
    int w1 = GetTextWidth(IDC_ALBUM_LABEL);
    PlaceText(m_albumLabel, 80, 100, w1, 20, m_largeFont, kBlack);
    PlaceControl(IDC_ALBUM, w1 + 90, 102, 260, 15, nullptr);
    PlaceControl(IDC_SET_TIME, 95, 130, 24, 24, nullptr);
    ::SendMessageW(m_setTimeLabel.m_hWnd, WM_SETFONT, (WPARAM)m_mediumFont.m_hObject, FALSE);
    int w2 = GetTextWidth(IDC_SET_TIME_LABEL);
    PlaceText(m_setTimeLabel, 123, 135, w2, 20, m_mediumFont, kBlack);
    PlaceControl(IDC_HOURS, w2 + 143, 135, 20, 15, nullptr);
    PlaceText(m_colon1, w2 + 168, 135, 10, 15, m_mediumFont, kBlack);
    PlaceControl(IDC_MINUTES, w2 + 183, 135, 20, 15, nullptr);
    PlaceText(m_colon2, w2 + 208, 135, 10, 15, m_mediumFont, kBlack);
    PlaceControl(IDC_SECONDS, w2 + 223, 135, 20, 15, nullptr);
    PlaceControl(IDC_SPIN, w2 + 253, 130, 16, 24, nullptr);

    m_btnRecord.LoadBitmaps(g_hSkinModule, 155, 188, 43, false);
    m_btnRecord.SetFont(WizString(102), _wtoi(WizString(104)), 700);
    m_btnRecord.SetTextColor(kBlack);
    m_btnRecord.SetHoverTextColor(kBlack);
    m_btnRecord.SetPressedTextColor(kBlack);
    m_btnRecord.SetWindowText(WizStringOr(181, L"Record"));
    m_btnRecord.SetShowText(TRUE);
    PlaceControl(IDC_RECORD, 79, 178, 188, 43, nullptr);
    PlaceControl(IDC_AUTO_SPLIT, 318, 193, 24, 24, nullptr);
    PlaceText(m_autoSplitLabel, 350, 198, 400, 30, m_smallFont, kBlack);

    NV_AudioGraphStatic* graphs[2] = {&m_graphLeft, &m_graphRight};
    const UINT bars[2] = {202, 201};
    for (int i = 0; i < 2; ++i) {
        graphs[i]->SetActive(0);
        graphs[i]->SetDecayInterval(100);
        graphs[i]->LoadBackBitmap(g_hSkinModule, 189);
        graphs[i]->LoadBarBitmap(g_hSkinModule, bars[i]);
    }
    PlaceControl(IDC_LEFT_GRAPH, 91, 234, 273, 70, nullptr);
    PlaceControl(IDC_RIGHT_GRAPH, 386, 234, 273, 70, nullptr);
    m_progress.LoadBitmap(g_hSkinModule, 156);
    m_progress.SetStyle(2);
    m_progress.SetRange(0, 100);
    m_progress.EnableWindow(FALSE);
    PlaceControl(IDC_PROGRESS, 89, 317, 453, 26, nullptr);
    PlaceText(m_elapsed, 560, 324, 150, 20, m_smallFont, kBlack);
    PlaceText(m_note, 89, 355, 650, 50, m_mediumFont, kBlack);

    m_album.SendMessage(EM_LIMITTEXT, 30);
    m_album.SetTipParent(AfxGetMainWnd());
    for (UINT id : {IDC_HOURS, IDC_MINUTES, IDC_SECONDS}) SetDlgItemText(id, L"0");
    AttachSpin(1);
    return TRUE;
}

BOOL CStep4Dlg::OnSetActive()
{
    SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
    m_bRecording = FALSE;
    if (m_bSetTime < 0) m_bSetTime = FALSE;
    m_setTimeCheck.SendMessage(BM_SETCHECK, m_bSetTime ? BST_CHECKED : BST_UNCHECKED);
    m_album.SetWindowText(g_WizSettings.szAlbumName);
    EnableTimeControls(m_bSetTime);
    m_autoSplitCheck.SendMessage(BM_SETCHECK, g_WizSettings.bAutoSplit ? BST_CHECKED : BST_UNCHECKED);
    ShowStep(FillFormat(WizString(151), L"4"), 4);
    UpdateMaxTime();
    ClearSpectra();
    SetTimer(kGraphStartTimer, 100);
    RegisterDeviceNotify();
    return TRUE;
}

BOOL CStep4Dlg::OnQueryClose()
{
    if (CaptureDevice().m_bInit) KillTimer(kLevelTimer);
    lstrcpynW(g_WizSettings.szAlbumName, AlbumText(), 100);
    UnregisterDeviceNotify();
    return TRUE;
}

BOOL CStep4Dlg::OnKillActive()
{
    g_WizSettings.recordedFiles.clear();
    if (m_pParent) m_pParent->ReleaseDiscLibrary();
    return TRUE;
}

LRESULT CStep4Dlg::OnWizardBack()
{
    m_album.HideTip();
    return 0;
}

LRESULT CStep4Dlg::OnWizardNext()
{
    m_album.HideTip();
    CCaptureDevice& device = CaptureDevice();
    if (device.m_bInit) {
        device.StopRecord();
        device.StopGraph();
    }
    if (!m_pParent) return 196;
    m_pParent->ReleaseDiscLibrary();
    m_pParent->EnsureDiscLibrary();
    if (m_pParent->IsDiscLibraryReady() && m_pParent->DataDisc().GetDriveCount() > 0) return 345;
    return 196;
}

LRESULT CStep4Dlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CAPTURE_STOPPED && wParam == 16) OnRecordingStopped((int)lParam);
    return CNewWizPage::WindowProc(message, wParam, lParam);
}

CString CStep4Dlg::AlbumText()
{
    wchar_t text[100] = {};
    if (m_album.m_hWnd) ::GetWindowTextW(m_album.m_hWnd, text, 100);
    return CString(publish::TrimBlanks(text).c_str());
}

void CStep4Dlg::ClearSpectra()
{
    const BYTE silent[30] = {};
    m_graphLeft.SetLevels(silent);
    m_graphRight.SetLevels(silent);
}

void CStep4Dlg::OnTimer(UINT_PTR id)
{
    if (id == kGraphStartTimer) {
        KillTimer(kGraphStartTimer);
        CCaptureDevice& device = CaptureDevice();
        device.SetOwner(m_hWnd);
        device.StartRendering();
        SetTimer(kLevelTimer, 300);
    } else if (id == kLevelTimer) {
        AnalyzerRecord record = {};
        if (CaptureDevice().GetAnalyzerData(reinterpret_cast<BYTE*>(&record))) {
            m_graphLeft.SetLevels(record.leftBands);
            m_graphRight.SetLevels(record.rightBands);
        }
    } else if (id == kRecordTimer) {
        OnRecordTick();
    }
    Default();
}

void CStep4Dlg::OnPaint()
{
    Default();
    HDC dc = ::GetDC(m_hWnd);
    for (UINT id : {IDC_ALBUM, IDC_HOURS, IDC_MINUTES, IDC_SECONDS}) DrawControlFrame(dc, id, kFrame);
    ::ReleaseDC(m_hWnd, dc);
}

// Limits

void CStep4Dlg::UpdateMaxTime()
{
    DWORD freeKB = GetFreeDiskSpaceKB(g_WizSettings.strRecordFolder);
    m_nLongest = recordingname::LongestMp3Recording(freeKB, g_WizSettings.nMp3Bitrate);
    if (m_time.FitTo(m_nLongest)) ShowTimeFields();
}

void CStep4Dlg::ReadTimeFields()
{
    m_time.hours = (int)GetDlgItemInt(IDC_HOURS, nullptr, TRUE);
    m_time.minutes = (int)GetDlgItemInt(IDC_MINUTES, nullptr, TRUE);
    m_time.seconds = (int)GetDlgItemInt(IDC_SECONDS, nullptr, TRUE);
}

void CStep4Dlg::ShowTimeFields()
{
    if (!m_hWnd) return;
    m_bTimeUpdating = true;
    SetDlgItemInt(IDC_HOURS, (UINT)m_time.hours, FALSE);
    SetDlgItemInt(IDC_MINUTES, (UINT)m_time.minutes, FALSE);
    SetDlgItemInt(IDC_SECONDS, (UINT)m_time.seconds, FALSE);
    m_bTimeUpdating = false;
}

void CStep4Dlg::AttachSpin(int field)
{
    ReadTimeFields();
    const UINT ids[3] = {IDC_HOURS, IDC_MINUTES, IDC_SECONDS};
    const int values[3] = {m_time.hours, m_time.minutes, m_time.seconds};
    m_spin.SetBuddy(GetDlgItem((int)ids[field]));
    m_spin.SetRange32(0, RecordTimeFields::FieldTop(field));
    m_spin.SetPos32(values[field]);
    m_nSpinTarget = field;
}

void CStep4Dlg::OnSpinDelta(NMHDR* hdr, LRESULT* result)
{
    const NMUPDOWN* step = (const NMUPDOWN*)hdr;
    m_time.Step(m_nSpinTarget, step->iDelta, m_nLongest);
    ShowTimeFields();
    *result = 0;
}

void CStep4Dlg::OnTimeChange(UINT id)
{
    if (m_bTimeUpdating) return;
    HWND edit = ::GetDlgItem(m_hWnd, (int)id);
    if (edit && ::GetWindowTextLengthW(edit) == 0) {
        m_bTimeUpdating = true;
        ::SetWindowTextW(edit, L"0");
        ::SendMessageW(edit, EM_SETSEL, 0, -1);
        m_bTimeUpdating = false;
    }
    ReadTimeFields();
    RecordTimeFields before = m_time;
    if (id == IDC_HOURS) m_time.LimitHours(m_nLongest);
    else if (id == IDC_MINUTES) m_time.LimitMinutes(m_nLongest);
    else m_time.LimitSeconds(m_nLongest);
    if (before.hours == m_time.hours && before.minutes == m_time.minutes && before.seconds == m_time.seconds) return;
    ShowTimeFields();
    if (edit) ::SendMessageW(edit, EM_SETSEL, 0, -1);
}

void CStep4Dlg::EnableTimeControls(BOOL enable)
{
    for (CWnd* control : {(CWnd*)&m_hours, (CWnd*)&m_minutes, (CWnd*)&m_seconds, (CWnd*)&m_spin})
        if (control->m_hWnd) control->EnableWindow(enable);
}

void CStep4Dlg::OnSetTimeClicked()
{
    m_bSetTime = m_setTimeCheck.SendMessage(BM_GETCHECK) == BST_CHECKED;
    EnableTimeControls(m_bSetTime);
}

void CStep4Dlg::OnAutoSplitClicked()
{
    g_WizSettings.bAutoSplit = m_autoSplitCheck.SendMessage(BM_GETCHECK) == BST_CHECKED;
}

// Recording

void CStep4Dlg::OnRecordClicked()
{
    if (m_bRecording) StopRecording();
    else StartRecording();
}

void CStep4Dlg::StartRecording()
{
    UpdateMaxTime();
    ReadTimeFields();
    unsigned set = (unsigned)m_time.Total();
    m_nLimit = set == 0 || !m_bSetTime ? m_nLongest : set;
    if (m_nLimit > m_nLongest) m_nLimit = m_nLongest;
    if (m_nLongest == 0) {
        ::MessageBoxW(m_hWnd, WizStringOr(158, L"Hard disk is full."), g_szWindowTitle, MB_ICONEXCLAMATION);
        return;
    }
    if (!MakeOutputFile()) return;
    CCaptureDevice& device = CaptureDevice();
    if (!device.StartRecordMp3(m_strOutputFile)) {
        ::MessageBoxW(m_hWnd, WizStringOr(157, L"Cannot start recording"), g_szWindowTitle, MB_ICONERROR);
        return;
    }
    const WizSettings& s = g_WizSettings;
    device.SetSplitParams(s.bAutoSplit, s.nAutoSplitThreshold, s.nAutoSplitSilentTime, s.nAutoSplitMinDuration);
    m_btnRecord.SetWindowText(WizStringOr(182, L"Stop"));
    m_btnRecord.Invalidate();
    m_fElapsed = 0.0;
    m_clock.Start();
    m_bRecording = TRUE;
    SetTimer(kRecordTimer, 500);
    SetBusyState(1);
}

void CStep4Dlg::StopRecording()
{
    KillTimer(kRecordTimer);
    CCaptureDevice& device = CaptureDevice();
    device.StopRecord();
    m_bRecording = FALSE;
    const WizSettings& s = g_WizSettings;
    device.SetSplitParams(FALSE, s.nAutoSplitThreshold, s.nAutoSplitSilentTime, s.nAutoSplitMinDuration);
    m_btnRecord.SetWindowText(WizStringOr(181, L"Record"));
    m_btnRecord.Invalidate();
    m_progress.SetValue(0);
    m_elapsed.SetText(L"00 : 00 : 00");
    SetBusyState(0);
    UpdateMaxTime();
}

void CStep4Dlg::OnRecordTick()
{
    m_fElapsed = m_clock.ElapsedSeconds();
    if (m_nLimit > 0 && m_bSetTime && m_nLimit <= m_fElapsed) {
        StopRecording();
        return;
    }
    DWORD freeKB = GetFreeDiskSpaceKB(g_WizSettings.strRecordFolder);
    if (freeKB >= kReserveKB) {
        if (m_nLimit > 0) m_progress.SetValue((int)(m_fElapsed * 100 / m_nLimit));
        m_elapsed.SetText(ElapsedText((unsigned)m_fElapsed));
    } else {
        StopRecording();
        ::MessageBoxW(m_hWnd, WizStringOr(158, L"Hard disk is full."), g_szWindowTitle, MB_ICONEXCLAMATION);
    }
}

void CStep4Dlg::SetBusyState(int state)
{
    if (m_pParent) m_pParent->SetBusy(state);
    const BOOL idle = state == 0;
    m_setTimeCheck.EnableWindow(idle);
    m_autoSplitCheck.EnableWindow(idle);
    m_album.EnableWindow(idle);
    EnableTimeControls(idle && m_bSetTime);
}

// Naming

BOOL CStep4Dlg::MakeOutputFile()
{
    CString album = AlbumText();
    lstrcpynW(g_WizSettings.szAlbumName, album, 100);
    SYSTEMTIME now;
    GetLocalTime(&now);
    m_strTimeText.Format(L"%02d%02d%02d", now.wHour, now.wMinute, now.wSecond);
    if (!PrepareAlbumFolder()) return FALSE;
    const std::wstring folder = (const wchar_t*)m_strAlbumFolder;
    std::wstring stem = recordingname::FreeStem((const wchar_t*)album, (const wchar_t*)m_strTimeText,
                                                [&folder](const std::wstring& s) { return recordingname::StemTaken(folder, s); });
    m_strOutputFile.Format(L"%s%s.mp3", (const wchar_t*)m_strAlbumFolder, stem.c_str());
    return TRUE;
}

BOOL CStep4Dlg::PrepareAlbumFolder()
{
    CString album = AlbumText();
    if (!publish::IsValidName((const wchar_t*)album)) {
        ::MessageBoxW(m_hWnd, WizStringOr(175, L"Cannot use the album name.  Please use different name."), g_szWindowTitle,
                      MB_ICONERROR);
        return FALSE;
    }
    m_strAlbumFolder.Format(L"%s%s\\", (const wchar_t*)g_WizSettings.strRecordFolder, (const wchar_t*)album);
    if (!PathIsFolder(m_strAlbumFolder)) _wmkdir(m_strAlbumFolder);
    return TRUE;
}

// The end of a recording

void CStep4Dlg::OnRecordingStopped(int continuationFiles)
{
    if (m_strOutputFile.IsEmpty()) return;
    // The count comes from the writer: only continuation files that are there are listed.
    auto take = [](const CString& file) {
        if (GetFileAttributesW(file) == INVALID_FILE_ATTRIBUTES) return false;
        g_WizSettings.recordedFiles.push_back(file);
        return true;
    };
    if (take(m_strOutputFile)) TagFile(m_strOutputFile);
    // Named as the writer names them, beside the recording whatever its path's length.
    for (int i = 1; i <= continuationFiles; ++i) {
        const CString file(ContinuationName((const wchar_t*)m_strOutputFile, i, L".mp3").c_str());
        if (take(file)) TagFile(file);
    }
}

void CStep4Dlg::TagFile(const CString& file)
{
    // A fresh recording carries no tag: Open then reports nothing found and
    // leaves a blank ID3v1.1 record to fill.
    CMp3Info info;
    info.Open(file);
    info.tagKind = 1;
    info.SetAlbum(AlbumText());
    SYSTEMTIME now;
    GetLocalTime(&now);
    info.SetYear(now.wYear);
    info.SetTitle(L"", L"");
    info.SetGenre(255);
    info.WriteID3v1();
}

// A removed capture device

void CStep4Dlg::OnDeviceRemoved()
{
    // A running recording is stopped first: its files are listed and tagged
    // when the stop message arrives.
    CCaptureDevice& device = CaptureDevice();
    if (device.m_bInit) {
        if (m_bRecording) StopRecording();
        else device.StopRendering();
    }
    KillTimer(kLevelTimer);
    device.Close();
    ShowDeviceRemovedMessage();
}
