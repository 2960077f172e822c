// CAutoSplitDlg: splits the recording in the editor into tracks where a sound
// begins after a silence. A worker reads the work WAV block by block through the
// split detector and adds a split point to the document at each onset far enough
// behind the previous one; the editor tells the Edit page, which adds the rows.
#pragma once
#include <atomic>
#include "EditProgressDlg.h"

class NV_WaveEditXCtrl;
class NV_EditWaveFile;

class CAutoSplitDlg : public CEditProgressDlg {
public:
    enum : UINT_PTR { TIMER_WATCH = 100 };

    CAutoSplitDlg();
    ~CAutoSplitDlg() override;

    void SetDocument(NV_WaveEditXCtrl* editor, const wchar_t* workWav);
    // The detector's settings (the recorder's "AutoSplit..." values by default).
    void SetParams(int threshold, int silentBlocks, int minSeconds)
    {
        m_nThreshold = threshold;
        m_nSilentBlocks = silentBlocks;
        m_nMinSeconds = minSeconds;
    }

    BOOL OnInitDialog() override;
    // The worker's whole run, on the calling thread; the dialog runs it on its own.
    void SplitWorker();
    BOOL WorkerRunning() const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR id);
    void OnCancelConfirmed() override;
    static DWORD WINAPI WorkerMain(LPVOID self);
    // Waits for the worker while this thread's messages flow (it may be sending to us).
    void WaitForWorker(DWORD maxMs);
    void Progress(int percent);

    NV_EditWaveFile* m_pDoc = nullptr;
    CString m_strWorkWav;
    HANDLE m_hWorker = nullptr;
    std::atomic<int> m_bCancel{0};
    int m_nLastPosted = -1;   // the worker's own: the last percentage it posted
    int m_nThreshold, m_nSilentBlocks, m_nMinSeconds;

    DECLARE_MESSAGE_MAP()
};
