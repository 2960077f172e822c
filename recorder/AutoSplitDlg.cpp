#include "AutoSplitDlg.h"
#include <algorithm>
#include <vector>
#include "AutoSplitDetector.h"
#include "SonelleSettings.h"
#include "SharedReadFile.h"
#include "WaveEditXCtrl.h"

BEGIN_MESSAGE_MAP(CAutoSplitDlg, CEditProgressDlg)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CAutoSplitDlg::CAutoSplitDlg()
    : CEditProgressDlg(153), m_nThreshold((int)g_Settings.nAutoSplitThreshold),
      m_nSilentBlocks((int)g_Settings.nAutoSplitSilentTime), m_nMinSeconds((int)g_Settings.nAutoSplitMinDuration)
{
    if (m_strName.IsEmpty()) m_strName = L"Auto Split";
}

CAutoSplitDlg::~CAutoSplitDlg()
{
    m_bCancel = 1;
    WaitForWorker(INFINITE);
}

void CAutoSplitDlg::SetDocument(NV_WaveEditXCtrl* editor, const wchar_t* workWav)
{
    m_pDoc = editor ? &editor->GetDocument() : nullptr;
    m_strWorkWav = workWav;
}

BOOL CAutoSplitDlg::OnInitDialog()
{
    CEditProgressDlg::OnInitDialog();
    if (m_hWorker) CloseHandle(m_hWorker);
    m_hWorker = CreateThread(nullptr, 0, WorkerMain, this, 0, nullptr);
    SetTimer(TIMER_WATCH, 500);
    return TRUE;
}

DWORD WINAPI CAutoSplitDlg::WorkerMain(LPVOID self)
{
    static_cast<CAutoSplitDlg*>(self)->SplitWorker();
    return 0;
}

BOOL CAutoSplitDlg::WorkerRunning() const
{
    DWORD code = 0;
    return m_hWorker && GetExitCodeThread(m_hWorker, &code) && code == STILL_ACTIVE;
}

void CAutoSplitDlg::Progress(int percent)
{
    // Posted: the worker never waits for the dialog's thread, which may be waiting for it.
    // Only a new value is posted: a post per block would queue thousands of messages
    // ahead of the user's clicks, and Cancel would answer seconds late.
    if (percent == m_nLastPosted) return;
    m_nLastPosted = percent;
    if (m_hWnd) ::PostMessageW(m_hWnd, WM_WAVEEDIT_PEAKPROGRESS, 0, (LPARAM)percent);
}

void CAutoSplitDlg::SplitWorker()
{
    m_bCancel = 0;
    m_nLastPosted = -1;
    if (!m_pDoc) return;
    CSharedReadFile file(m_strWorkWav);
    WavHeaderInfo info;
    if (!file.IsOpen() || file.ParseWavHeader(info) != WavHeaderStatus::Ok || !IsPlainPcm(info)) return;
    m_pDoc->ClearSplitPoints();

    const int channels = info.channels, bytesPerSample = info.bitsPerSample / 8, blockAlign = info.blockAlign;
    const size_t blockBytes = (size_t)CAutoSplitDetector::kBlock * blockAlign;
    std::vector<uint8_t> buffer(blockBytes);
    std::vector<int16_t> values(CAutoSplitDetector::kBlock);
    // The sound is the data chunk; chunks after it are no audio.
    const uint64_t total = info.dataSize;
    uint64_t processed = 0;

    CAutoSplitDetector detector;
    detector.Reset();
    detector.SetParams(m_nThreshold, m_nSilentBlocks);
    const int64_t gap = (int64_t)info.sampleRate * m_nMinSeconds;
    int64_t last = 0;
    bool handled = false;
    while (processed < total) {
        if (total - processed < blockBytes) break;  // the last, partial block is not examined
        if (file.ReadAt(info.dataOffset + processed, buffer.data(), blockBytes) != blockBytes) break;
        // One value per frame: the largest of the channels (8-bit as (s - 128) x 256).
        for (int f = 0; f < CAutoSplitDetector::kBlock; ++f) {
            const uint8_t* frame = buffer.data() + (size_t)f * blockAlign;
            int best = -32768;
            for (int c = 0; c < channels; ++c) {
                int v;
                if (bytesPerSample == 2) {
                    int16_t s;
                    memcpy(&s, frame + c * 2, 2);
                    v = s;
                } else {
                    v = ((int)frame[c] - 128) * 256;
                }
                best = std::max(best, v);
            }
            values[(size_t)f] = (int16_t)best;
        }
        const int64_t first = (int64_t)(processed / blockAlign);
        processed += blockBytes;
        Progress((int)(processed * 100 / total));
        detector.Process(values.data());
        if (detector.SoundStarted() && !handled) {
            if (first - last > gap) {
                m_pDoc->AddSplitPoint((int32_t)first, 1);
                last = first;
            }
            handled = true;
        }
        if (detector.SilenceReached()) {
            detector.Reset();
            handled = false;
        }
        if (m_bCancel) break;
    }
}

void CAutoSplitDlg::OnTimer(UINT_PTR id)
{
    if (id != TIMER_WATCH || WorkerRunning()) return;
    KillTimer(TIMER_WATCH);
    if (m_hWorker) Sleep(100);
    EndDialog(IDOK);
}

LRESULT CAutoSplitDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_WAVEEDIT_PEAKPROGRESS) {
        ShowPercent((int)lParam);
        return 0;
    }
    return CEditProgressDlg::WindowProc(message, wParam, lParam);
}

void CAutoSplitDlg::WaitForWorker(DWORD maxMs)
{
    DWORD start = GetTickCount();
    while (WorkerRunning() && (maxMs == INFINITE || GetTickCount() - start < maxMs)) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(1, &m_hWorker, FALSE, 100, QS_ALLINPUT);
    }
    if (m_hWorker && !WorkerRunning()) {
        CloseHandle(m_hWorker);
        m_hWorker = nullptr;
    }
}

void CAutoSplitDlg::OnCancelConfirmed()
{
    m_bCancel = 1;
    KillTimer(TIMER_WATCH);
    WaitForWorker(10000);
    EndDialog(IDCANCEL);
}
