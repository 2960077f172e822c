// CStep4Dlg (page 344): the recording step. An album name, an optional
// recording time, the live spectrum of both channels, and Record / Stop: MP3
// files (192 kbit/s, 48 kHz, stereo) in a folder named after the album below
// the record folder, split at silences into continuation files when automatic
// split is on. Every stopped recording is listed in the wizard's recorded-file
// list and tagged (album, year, genre 255). Burn leads to the disc steps.
#pragma once
#include "AudioGraphStatic.h"
#include "BButton.h"
#include "BEdit.h"
#include "BStatic.h"
#include "CheckBox.h"
#include "NewWizPage.h"
#include "RecordClock.h"
#include "RecordTime.h"
#include "Spin.h"
#include "TooltipEdit.h"
#include "VolumeButton.h"

class CStep4Dlg : public CNewWizPage {
public:
    enum {
        IDD = 344, IDC_TEXT = 1029, IDC_ALBUM_LABEL = 1030, IDC_ALBUM = 1044, IDC_SET_TIME = 1035,
        IDC_SET_TIME_LABEL = 1031, IDC_HOURS = 1036, IDC_COLON1 = 1071, IDC_MINUTES = 1037, IDC_COLON2 = 1072,
        IDC_SECONDS = 1038, IDC_SPIN = 1040, IDC_RECORD = 1034, IDC_AUTO_SPLIT = 1080, IDC_AUTO_SPLIT_LABEL = 1081,
        IDC_LEFT_GRAPH = 1043, IDC_RIGHT_GRAPH = 1042, IDC_PROGRESS = 1041, IDC_ELAPSED = 1039, IDC_NOTE = 1033
    };
    enum { kGraphStartTimer = 100, kLevelTimer = 101, kRecordTimer = 102 };

    CStep4Dlg();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnSetActive() override;
    BOOL OnQueryClose() override;
    BOOL OnKillActive() override;
    LRESULT OnWizardBack() override;
    LRESULT OnWizardNext() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}
    void OnCancel() override {}

    void UpdateMaxTime();
    void StartRecording();
    void StopRecording();
    void OnRecordTick();
    BOOL MakeOutputFile();
    BOOL PrepareAlbumFolder();
    void OnRecordingStopped(int continuationFiles);
    void TagFile(const CString& file);
    void OnDeviceRemoved() override;

    // The album name as typed, without blanks at either end.
    CString AlbumText();
    BOOL IsRecording() const { return m_bRecording; }
    unsigned GetLongest() const { return m_nLongest; }
    const RecordTimeFields& GetTime() const { return m_time; }
    const CString& GetOutputFile() const { return m_strOutputFile; }

    CBStatic m_text, m_albumLabel, m_setTimeLabel, m_colon1, m_colon2, m_autoSplitLabel, m_elapsed, m_note;
    CTooltipEdit m_album;
    CCheckBox m_setTimeCheck, m_autoSplitCheck;
    CBEdit m_hours, m_minutes, m_seconds;
    CSpin m_spin;
    CBButton m_btnRecord;
    NV_AudioGraphStatic m_graphLeft, m_graphRight;
    CVolumeButton m_progress;

protected:
    void OnRecordClicked();
    void OnTimer(UINT_PTR id);
    void OnPaint();
    void OnSetTimeClicked();
    void OnAutoSplitClicked();
    void OnHoursFocus() { AttachSpin(0); }
    void OnMinutesFocus() { AttachSpin(1); }
    void OnSecondsFocus() { AttachSpin(2); }
    void OnHoursChange() { OnTimeChange(IDC_HOURS); }
    void OnMinutesChange() { OnTimeChange(IDC_MINUTES); }
    void OnSecondsChange() { OnTimeChange(IDC_SECONDS); }
    void OnSpinDelta(NMHDR* hdr, LRESULT* result);

    void AttachSpin(int field);
    void OnTimeChange(UINT id);
    void ReadTimeFields();
    void ShowTimeFields();
    void SetBusyState(int state);
    void EnableTimeControls(BOOL enable);
    void ClearSpectra();

    RecordTimeFields m_time;
    BOOL m_bSetTime = FALSE;
    int m_nSpinTarget = 1;
    unsigned m_nLongest = 86400;
    unsigned m_nLimit = 0;
    double m_fElapsed = 0.0;
    CRecordClock m_clock;
    BOOL m_bRecording = FALSE;
    bool m_bTimeUpdating = false;
    CString m_strAlbumFolder;
    CString m_strTimeText;
    CString m_strOutputFile;

    DECLARE_MESSAGE_MAP()
};
