// The Record page's recording run: the requested time with its edits and spin
// button, the longest recording the disk allows, REC, the recording timer with its
// status line, Stop, and the listing of a finished recording.
#include <shlwapi.h>
#include <stdlib.h>
#include "LogFile.h"
#include "PageCapture.h"
#include "PathUtil.h"
#include "RecorderCaptureDevice.h"
#include "RecordingLimits.h"
#include "SonelleGlobals.h"
#include "SonelleSettings.h"
#include "WaitCursor.h"

void CPageCapture::ComputeMaxSeconds()
{
    DWORD freeKB = GetFreeDiskSpaceKB(g_Settings.szRecordFolder);
    m_nMaxSeconds = MaxRecordSeconds(freeKB, (int)g_Settings.nSamplerate, (int)g_Settings.nChannel,
                                     (int)g_Settings.nBitsPerSample);
    RecordTimeFields t = TimeFields();
    if (t.FitTo(m_nMaxSeconds)) SetTimeFields(t);
}

void CPageCapture::UpdateTimeFields()
{
    if (!m_hWnd) return;
    m_bTimeUpdating = true;
    SetDlgItemInt(IDC_HOURS, (UINT)m_nHours, FALSE);
    SetDlgItemInt(IDC_MINUTES, (UINT)m_nMinutes, FALSE);
    SetDlgItemInt(IDC_SECONDS, (UINT)m_nSeconds, FALSE);
    m_bTimeUpdating = false;
}

void CPageCapture::ReadTimeFields(UINT emptyFixId)
{
    if (emptyFixId && ::GetWindowTextLengthW(::GetDlgItem(m_hWnd, emptyFixId)) == 0) {
        m_bTimeUpdating = true;
        SetDlgItemText(emptyFixId, L"0");
        ::SendMessageW(::GetDlgItem(m_hWnd, emptyFixId), EM_SETSEL, 0, -1);
        m_bTimeUpdating = false;
    }
    m_nHours = (int)GetDlgItemInt(IDC_HOURS, nullptr, TRUE);
    m_nMinutes = (int)GetDlgItemInt(IDC_MINUTES, nullptr, TRUE);
    m_nSeconds = (int)GetDlgItemInt(IDC_SECONDS, nullptr, TRUE);
}

void CPageCapture::OnTimeFieldFocus(UINT id)
{
    ReadTimeFields(0);
    if (!m_spin || !m_spin->m_hWnd) return;
    int field = id == IDC_HOURS ? 0 : id == IDC_MINUTES ? 1 : 2;
    m_spin->SetBuddy(GetDlgItem((int)id));
    m_spin->SetRange32(0, field == 0 ? 23 : 59);
    m_spin->SetPos32(field == 0 ? m_nHours : field == 1 ? m_nMinutes : m_nSeconds);
    m_nActiveField = field;
}

RecordTimeFields CPageCapture::TimeFields() const
{
    RecordTimeFields t;
    t.hours = m_nHours;
    t.minutes = m_nMinutes;
    t.seconds = m_nSeconds;
    return t;
}

void CPageCapture::SetTimeFields(const RecordTimeFields& t)
{
    m_nHours = t.hours;
    m_nMinutes = t.minutes;
    m_nSeconds = t.seconds;
    UpdateTimeFields();
}

void CPageCapture::OnSpinDelta(NMHDR* hdr, LRESULT* result)
{
    const NMUPDOWN* step = (const NMUPDOWN*)hdr;
    RecordTimeFields t = TimeFields();
    t.Step(m_nActiveField, step->iDelta, m_nMaxSeconds);
    SetTimeFields(t);
    *result = 0;
}

void CPageCapture::OnHoursChange()
{
    if (m_bTimeUpdating) return;
    ReadTimeFields(IDC_HOURS);
    RecordTimeFields t = TimeFields();
    t.LimitHours(m_nMaxSeconds);
    SetTimeFields(t);
}

void CPageCapture::OnMinutesChange()
{
    if (m_bTimeUpdating) return;
    ReadTimeFields(IDC_MINUTES);
    RecordTimeFields t = TimeFields();
    t.LimitMinutes(m_nMaxSeconds);
    SetTimeFields(t);
}

void CPageCapture::OnSecondsChange()
{
    if (m_bTimeUpdating) return;
    ReadTimeFields(IDC_SECONDS);
    RecordTimeFields t = TimeFields();
    t.LimitSeconds(m_nMaxSeconds);
    SetTimeFields(t);
}

void CPageCapture::OnRec()
{
    ComputeMaxSeconds();
    unsigned requested = (unsigned)TimeFields().Total();
    m_nLimitSeconds = requested == 0 || requested > m_nMaxSeconds ? m_nMaxSeconds : requested;
    CString title = g_szWindowTitle;
    if (m_nMaxSeconds == 0) {
        CString text;
        text.LoadString(108);
        ::MessageBoxW(m_hWnd, text, title, MB_ICONEXCLAMATION);
        return;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    // The name is taken by creating the file: the writer then opens our own empty
    // file, never one that another program made at that name meanwhile.
    m_strRecordingPath = CreateRecordFile(g_Settings.szRecordFolder, g_Settings.szPrefixName, now.wHour, now.wMinute,
                                          now.wSecond);
    if (m_strRecordingPath.IsEmpty()) {
        CString text;
        text.LoadString(109);
        ::MessageBoxW(m_hWnd, text, title, MB_ICONERROR);
        return;
    }
    LogPrint(0x20000, L"filename:[%s] ch:[%d] bitrate:[%d] samplerate:[%d]", (const wchar_t*)m_strRecordingPath,
             (int)g_Settings.nChannel, (int)g_Settings.nBitsPerSample, (int)g_Settings.nSamplerate);
    if (g_CaptureDevice.StartRecordWav(m_strRecordingPath, (int)g_Settings.nChannel, (int)g_Settings.nBitsPerSample,
                                       (int)g_Settings.nSamplerate, 2047)) {
        SetButtonsRecording();
        m_fElapsed = 0.0;
        m_clock.Start();
        m_bRecording = TRUE;
        m_nRecordTimer = SetTimer(TIMER_RECORD, 500);
        return;
    }
    DeleteUnusedRecordFile(m_strRecordingPath);
    SetButtonsIdle();
    CString text;
    text.LoadString(109);
    ::MessageBoxW(m_hWnd, text, title, MB_ICONERROR);
}

void CPageCapture::OnRecordTick()
{
    m_fElapsed = m_clock.ElapsedSeconds();
    if (m_nLimitSeconds <= m_fElapsed) {
        OnStop();
    } else if (GetFreeDiskSpaceKB(g_Settings.szRecordFolder) < kDiskReserveKB) {
        OnStop();
        CString text;
        text.LoadString(108);
        ::MessageBoxW(m_hWnd, text, g_szWindowTitle, MB_ICONEXCLAMATION);
    }
    LONGLONG bytes = 0;
    if (!g_CaptureDevice.GetRecordedBytes64(&bytes)) bytes = 0;
    int percent = m_nLimitSeconds ? (int)(m_fElapsed * 100 / m_nLimitSeconds) : 0;
    ShowStatus(m_fElapsed, bytes, percent);
}

void CPageCapture::OnStop()
{
    KillTimer(TIMER_RECORD);
    m_nRecordTimer = 0;
    CWaitCursor wait;
    if (g_CaptureDevice.m_bInit) g_CaptureDevice.StopRecord();
    if (m_bRecording || g_CaptureDevice.m_bInit) SetButtonsIdle();
    m_bRecording = FALSE;
    ComputeMaxSeconds();
    ShowStatus(0, 0, 0);
}

void CPageCapture::ShowStatus(double elapsedSeconds, LONGLONG bytes, int percent)
{
    m_elapsed.SetWindowText(ElapsedText((unsigned)elapsedSeconds));
    m_size.SetWindowText(RecordedSizeText(bytes));
    m_percent.SetWindowText(PercentText(percent));
    m_progress.SetValue(percent);
}

void CPageCapture::OnRecordingStopped(int continuationFiles)
{
    m_list.AddFile(m_strRecordingPath, TRUE);
    if (continuationFiles <= 0) return;
    // The continuation files sit beside the recording: "<folder><title>_<n>.wav".
    const wchar_t* name = PathFindFileNameW(m_strRecordingPath);
    const wchar_t* ext = PathFindExtensionW(name);
    CString stem = m_strRecordingPath.Left((int)(ext - (const wchar_t*)m_strRecordingPath));
    for (int i = 1; i <= continuationFiles; ++i) {
        CString part;
        part.Format(L"%s_%d.wav", (const wchar_t*)stem, i);
        m_list.AddFile(part, TRUE);
    }
}
