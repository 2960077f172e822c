#include "FileLoadingDlg.h"
#include "EditWorkSet.h"
#include "LogFile.h"
#include "PathUtil.h"

BEGIN_MESSAGE_MAP(CFileLoadingDlg, CEditProgressDlg)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CFileLoadingDlg::CFileLoadingDlg() : CEditProgressDlg(147)
{
    if (m_strName.IsEmpty()) m_strName = L"Loading";
}

CFileLoadingDlg::~CFileLoadingDlg() = default;

BOOL CFileLoadingDlg::OnInitDialog()
{
    CEditProgressDlg::OnInitDialog();
    SetTimer(TIMER_START, 200);
    return TRUE;
}

void CFileLoadingDlg::OnTimer(UINT_PTR id)
{
    if (id == TIMER_START) {
        KillTimer(TIMER_START);
        AskPlayTime();
    } else if (id == TIMER_PROGRESS) {
        ShowPercent(m_job.Percent());
    }
}

void CFileLoadingDlg::AskPlayTime()
{
    uint64_t bytes = 0;
    BOOL usable = FALSE;
    // A RIFF/WAVE file's room was checked from its header before the dialog.
    if (WaveWorkCopyBytes(m_strSource, bytes, usable) || !m_playTime.Start(m_strSource, m_hWnd, WM_PLAYTIME_KNOWN))
        StartLoading();
}

void CFileLoadingDlg::OnPlayTimeKnown()
{
    const UINT refusal = CheckPlayTimeRoom(m_playTime.Seconds(), GetFreeDiskSpaceKB(m_strSource));
    if (refusal) {
        m_nRefusal = refusal;
        m_nResult = 0;
        Finish();
        return;
    }
    StartLoading();
}

void CFileLoadingDlg::StartLoading()
{
    if (!m_job.Start(m_strSource, m_hWnd, WM_LOADING_DONE)) {
        m_nResult = 0;
        Finish();
        return;
    }
    SetTimer(TIMER_PROGRESS, 300);
}

void CFileLoadingDlg::OnLoadingDone()
{
    const CFileLoadingJob::Outcome out = m_job.Result();
    m_strWorkPath = out.workPath;
    m_strPeakPath = out.peakPath;
    m_bWriteWav = out.wroteWav;
    m_bWritePeak = out.wrotePeak;
    if (m_pTags) *m_pTags = out.tags;
    m_nResult = out.result;
    if (m_nResult == 1) ShowPercent(100);
    Finish();
}

LRESULT CFileLoadingDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PLAYTIME_KNOWN) {
        OnPlayTimeKnown();
        return 0;
    }
    if (message == WM_LOADING_DONE) {
        OnLoadingDone();
        return 0;
    }
    return CEditProgressDlg::WindowProc(message, wParam, lParam);
}

void CFileLoadingDlg::Finish()
{
    KillTimer(TIMER_PROGRESS);
    EndDialog(IDCANCEL);
}

void CFileLoadingDlg::OnCancelConfirmed()
{
    m_nResult = 0;
    m_bCancelled = TRUE;
    // Both threads finish on their own; the job deletes what it made once its graph lets go.
    m_playTime.Abandon();
    m_job.Abandon();
    KillTimer(TIMER_START);
    KillTimer(TIMER_PROGRESS);
    EndDialog(IDCANCEL);
}
