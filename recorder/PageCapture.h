// CPageCapture: the Record page (template 129). It opens the chosen sound input
// through the process-wide capture device, shows its levels while the page is
// shown, records WAV files within a time limit and the free disk space, lists the
// recordings of the record folder and opens the recording options.
#pragma once
#include <windows.h>
#include <dbt.h>
#include <atomic>
#include <memory>
#include "AudioGraphStatic.h"
#include "BitmapSlider.h"
#include "Edit.h"
#include "Font.h"
#include "NewWizPage.h"
#include "RecordClock.h"
#include "RecordTime.h"
#include "PageBackground.h"
#include "RecordFileListCtrl.h"
#include "RecorderControls.h"
#include "Spin.h"
#include "VolumeButton.h"

class CPageCapture : public CNewWizPage {
public:
    enum { IDD = 129 };
    enum {
        IDC_LIST = 1007, IDC_OPTION = 1031, IDC_LEFT_BAR = 1032, IDC_REC = 1033, IDC_STOP = 1034,
        IDC_HOURS = 1035, IDC_MINUTES = 1036, IDC_SECONDS = 1037, IDC_PUBLISH = 1038, IDC_RIGHT_BAR = 1039,
        IDC_FORMAT = 1042, IDC_ELAPSED = 1043, IDC_RECORDED_SIZE = 1044, IDC_PERCENT = 1045, IDC_LEFT_GRAPH = 1046,
        IDC_RIGHT_GRAPH = 1047, IDC_TIME_LABEL = 1049, IDC_PROGRESS = 1051, IDC_SPIN = 1052, IDC_LEVEL = 1056,
    };
    enum { IDR_LIST_MENU = 133 };
    enum { ID_FILE_DELETE = 32771, ID_FILE_RENAME = 32772, ID_FILE_REMOVE = 32773, ID_FILE_PLAY = 32776,
           ID_FILE_EDIT = 32777 };
    enum : UINT_PTR { TIMER_RESUME = 10, TIMER_LEVEL = 101, TIMER_RECORD = 102, TIMER_START = 300 };

    CPageCapture();
    ~CPageCapture() override;

    // The program's command line; names a USB device with "VID_" (used once).
    CString m_strCmdLine = L"NULL";

    void DoDataExchange(CDataExchange* dx) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    BOOL OnKillActive() override;
    BOOL OnQueryClose() override;
    BOOL OnSetActive() override;

    // Open the device and start monitoring (the start timer's work).
    void StartMonitoring();
    void ResetMeters();
    // One level-timer step: TRUE when a new analyzer record was shown.
    BOOL ShowLevels();
    void SetButtonsIdle();
    void SetButtonsRecording();
    void ComputeMaxSeconds();

    // The recording run.
    void OnRec();
    void OnStop();
    void OnRecordTick();
    void OnRecordingStopped(int continuationFiles);
    void ShowStatus(double elapsedSeconds, LONGLONG bytes, int percent);

    // The device-removal check for one WM_DEVICECHANGE broadcast.
    void OnDeviceRemoved(const DEV_BROADCAST_HDR* broadcast);

    // Waits (pumping) for the status worker to end, at most `rounds` x 50 ms
    // (without limit when rounds is negative).
    void WaitForWorker(int rounds);
    // Asks the worker to stop after its current file and waits for it.
    void StopWorker();
    BOOL IsWorkerRunning() const { return m_hWorker != nullptr; }

    CRecordFileListCtrl& FileList() { return m_list; }
    int MaxSeconds() const { return (int)m_nMaxSeconds; }
    BOOL IsRecording() const { return m_bRecording; }
    const CString& RecordingPath() const { return m_strRecordingPath; }

    // Requested recording time (bound to the three edits).
    int m_nHours = 0, m_nMinutes = 0, m_nSeconds = 0;
    int m_nActiveField = 1;   // 0 hours, 1 minutes, 2 seconds

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
    void OnTimer(UINT_PTR id);
    void OnContextMenu(CWnd* wnd, CPoint point);
    void OnOption();
    void OnPublish();
    void OnTimeFieldFocus(UINT id);
    void OnHoursFocus() { OnTimeFieldFocus(IDC_HOURS); }
    void OnMinutesFocus() { OnTimeFieldFocus(IDC_MINUTES); }
    void OnSecondsFocus() { OnTimeFieldFocus(IDC_SECONDS); }
    void OnHoursChange();
    void OnMinutesChange();
    void OnSecondsChange();
    void OnSpinDelta(NMHDR* hdr, LRESULT* result);

    void BuildFonts();
    void SkinControls();
    void LayoutControls();
    void RegisterDeviceEvents();
    void UnregisterDeviceEvents();
    void StartWorker();
    static DWORD WINAPI WorkerMain(LPVOID page);
    // Reads the three edits into the fields; an empty one gets "0" first.
    void ReadTimeFields(UINT emptyFixId);
    void UpdateTimeFields();
    RecordTimeFields TimeFields() const;
    void SetTimeFields(const RecordTimeFields& t);

    CPageBackground m_background;
    double m_fElapsed = 0.0;
    unsigned m_nMaxSeconds = 86400;
    unsigned m_nLimitSeconds = 86400;
    BOOL m_bRecording = FALSE;
    HANDLE m_hWorker = nullptr;
    CString m_workerFolder;             // the folder the worker lists
    HWND m_hListWindow = nullptr;       // where the worker sends its rows
    std::atomic<bool> m_bWorkerStop{false};
    CString m_strRecordingPath = L"1.wav";
    CFont m_fonts[3];
    UINT_PTR m_nLevelTimer = 0, m_nRecordTimer = 0, m_nResumeTimer = 0, m_nStartTimer = 0;
    HDEVNOTIFY m_hDeviceNotify = nullptr;
    CRecordClock m_clock;

    CBButton m_btnRec, m_btnStop, m_btnOption, m_btnPublish;
    CEdit m_editHours, m_editMinutes, m_editSeconds;
    std::unique_ptr<CSpin> m_spin;
    NV_AudioGraphStatic m_graphLeft, m_graphRight;
    CVolumeButton m_barLeft, m_barRight, m_progress;
    CBitmapSlider m_level;
    CStatic m_format, m_elapsed, m_size, m_percent, m_timeLabel;
    CRecordFileListCtrl m_list;
    HBITMAP m_hScrollSkin = nullptr;
    bool m_bTimeUpdating = false;   // the page itself is writing the time edits

    DECLARE_MESSAGE_MAP()
};


