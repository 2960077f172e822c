// CFileLoadingDlg: turns the file to be edited into the Edit page's work set, a
// PCM work WAV (".tmw") and its peak file (".npk") beside it, by one conversion
// graph. An MP3 with an ID3v2 tag is converted from a copy without the tag
// (".nv0" in the TmpF folder of the temporary path); the tag's fields go to
// the caller's record. A complete work set made from this very source is used
// again without converting. The platform's parsers work on threads of their
// own (the play-time question, then the loading job), so Cancel answers at once
// in every phase.
#pragma once
// The framework before DirectShow: dshow.h brings a SubclassWindow macro.
#include "EditProgressDlg.h"
#include "FileLoadingJob.h"
#include "EditTagRecord.h"
#include "PlayTimeQuery.h"

class CFileLoadingDlg : public CEditProgressDlg {
public:
    enum : UINT_PTR { TIMER_START = 10, TIMER_PROGRESS = 100 };
    // Posted by the play-time question of a file that is no RIFF/WAVE.
    enum : UINT { WM_PLAYTIME_KNOWN = WM_APP + 27 };
    // Posted by the loading job when it is done.
    enum : UINT { WM_LOADING_DONE = WM_APP + 28 };

    CFileLoadingDlg();
    ~CFileLoadingDlg() override;

    void SetSource(const wchar_t* path, EditTagRecord* tags)
    {
        m_strSource = path;
        m_pTags = tags;
    }
    int GetResult() const { return m_nResult; }
    BOOL IsCancelled() const { return m_bCancelled; }
    // The message id of a refused load (the disk cannot hold the work copy);
    // 0 when the load was not refused.
    UINT GetRefusal() const { return m_nRefusal; }
    const CString& GetWorkPath() const { return m_strWorkPath; }
    const CString& GetPeakPath() const { return m_strPeakPath; }
    // What the last load did: TRUE when the work WAV / peak file was written.
    BOOL WroteWav() const { return m_bWriteWav; }
    BOOL WrotePeak() const { return m_bWritePeak; }

    BOOL OnInitDialog() override;


protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(UINT_PTR id);
    void OnCancelConfirmed() override;
    // A file that is no RIFF/WAVE first has its play time asked (on a thread: the
    // dialog's Cancel answers meanwhile) to check the room its work copy needs.
    void AskPlayTime();
    void OnPlayTimeKnown();
    void StartLoading();
    void OnLoadingDone();
    void Finish();

    CString m_strSource, m_strWorkPath, m_strPeakPath;
    EditTagRecord* m_pTags = nullptr;
    int m_nResult = 0;
    UINT m_nRefusal = 0;
    CPlayTimeQuery m_playTime;
    BOOL m_bCancelled = FALSE;
    BOOL m_bWriteWav = FALSE, m_bWritePeak = FALSE;
    CFileLoadingJob m_job;

    DECLARE_MESSAGE_MAP()
};
