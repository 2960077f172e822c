// CPublishDlg: the modal dialog (template 133) that turns recordings and audio
// files into an audio CD, an MP3 data CD or MP3 files. The pages fill its item
// list and run it; the dialog lists the items, converts every checked row in
// turn through CConvertFile into the album folder, tags the MP3 files, and then
// writes a disc through the disc libraries, merges the MP3 files, or finishes.
#pragma once
#include <windows.h>
#include <dbt.h>
#include <vector>
#include "BButton.h"
#include "BComboBox.h"
#include "CheckBox.h"
#include "ConvertFile.h"
#include "DiscBurner.h"
#include "DiscSteps.h"
#include "Font.h"
#include "List.h"
#include "MergeMp3.h"
#include "PublishItemData.h"
#include "PublishListCtrl.h"
#include "PublishMessages.h"
#include "Static.h"
#include "ToolTipCtrl.h"
#include "VolumeButton.h"

// The item the Record page hands for one of its recorded files: a whole file
// whose row the dialog builds anew; the track record at its defaults.
PublishItemData RecordedFileItem(const CString& path, double playSeconds);
// What both pages do on Publish: the dialog, without a parent, with these items,
// run modally.
void RunPublishDialog(const std::vector<PublishItemData>& items);

class CPublishDlg : public CDialog {
public:
    enum { IDD = 133 };
    enum {
        IDC_LIST = 1008, IDC_ADD = 1009, IDC_AUDIO_CD = 1031, IDC_MP3_CD = 1032, IDC_MP3_FILE = 1033,
        IDC_WRITERS = 1035, IDC_EJECT = 1036, IDC_FOLDER = 1037, IDC_CHOOSE_FOLDER = 1038, IDC_ALBUM = 1039,
        IDC_REMOVE = 1041, IDC_SIZE_TEXT = 1043, IDC_START = 1044, IDC_STATUS = 1046, IDC_PERCENT = 1047,
        IDC_MP3_SETTING = 1049, IDC_TITLE = 1061, IDC_PROGRESS = 1062, IDC_SIZE_METER = 1063,
        IDC_MERGE = 9000, IDC_MERGE_LABEL = 9001,
    };
    enum : UINT_PTR { TIMER_CONVERT = 100, TIMER_DATA_BURN = 200, TIMER_AUDIO_BURN = 300, TIMER_MERGE = 400,
                      TIMER_STARTUP = 1100 };
    enum OutputType { OutputAudioCd = 0, OutputMp3Cd = 1, OutputMp3File = 2 };
    enum BusyState { BusyIdle = 0, BusyConverting = 1, BusyWriting = 2 };

    explicit CPublishDlg(CWnd* parent = nullptr);
    ~CPublishDlg() override;

    // What the pages fill before the dialog runs.
    CList<PublishItemData, PublishItemData> m_ItemList{10};

    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}   // Enter never closes the dialog
    void OnCancel() override;

    // The publish run.
    BOOL StartPublish();
    void ConvertNextTrack(int firstRow);
    BOOL ConvertTrack(PublishItemData* item);
    void StopPublish();
    void FinishPublish();
    BOOL PrepareAlbumFolder();
    void DeleteOutputs();
    BOOL CheckItems();

    // The disc side.
    void FillDriveList();
    void ChooseDrive(int index);
    void UpdateDiscSpace();
    BOOL CheckDisc();
    BOOL BurnDataDisc();
    BOOL BurnAudioDisc();
    void ShowBurnProgress(BurnKind kind);
    void ShowBurnFigures(const BurnProgress& progress);
    void OnBurnDone(int status, BurnKind kind);
    void ResetAfterBurn();

    // Merging.
    BOOL StartMerge();
    CString MakeMergeName();

    // Adding files: each goes through AddOneFile; Add, Remove and Start wait.
    void AddFiles(const std::vector<CString>& paths);
    BOOL AddOneFile(const CString& path);
    void ChooseOutputFolder();
    BOOL UseOutputFolder(const CString& chosen);
    void SetOutputType(int type);
    void UpdateSizes();
    void SetProgress(int percent);
    void SetStatus(const wchar_t* text);
    void SetBusyState(int state);

    // State, for the owners' tests.
    int GetBusyState() const { return m_nBusyState; }
    BOOL IsBusy() const { return m_bBusy; }
    CPublishListCtrl& List() { return m_list; }
    const std::vector<CString>& ProducedFiles() const { return m_produced; }
    double GetProjectedBytes() const { return m_dProjectedBytes; }
    double GetFreeDiscBytes() const { return m_dFreeDiscBytes; }
    const CString& GetAlbumFolderPath() const { return m_strAlbumPath; }
    CNVDataCDDVD& DataLibrary() { return m_data; }

protected:
    void OnTypeAudioCd() { SetOutputType(OutputAudioCd); }
    void OnTypeMp3Cd() { SetOutputType(OutputMp3Cd); }
    void OnTypeMp3File() { SetOutputType(OutputMp3File); }
    void OnMp3Setting();
    void OnWriterChosen();
    void OnEject();
    void OnAlbumChanged();
    void OnAdd();
    void OnRemove();
    void OnStart();
    void OnMergeClicked();
    void OnListItemChanged(NMHDR*, LRESULT* result);
    void OnTimer(UINT_PTR id);
    void OnClose() { OnCancel(); }
    void OnLButtonDown(UINT flags, CPoint point);
    void OnPaint();
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);

    LRESULT OnConvertEvent();
    LRESULT OnMergeDone(WPARAM merged);
    void OnDeviceChange(WPARAM event, LPARAM data);

    void LoadSkin();
    void LayoutControls();
    void CreateMergeCheck();
    void ApplyByteRate();
    void ApplyEnableRules();
    void SetStartCaption(UINT stringId);
    void KeepFocusOnAWorkingControl();
    void SetDefaultAlbumName();
    void ReadControls();
    BurnKind OutputBurnKind() const;
    std::vector<double> ProducedBytes() const;
    // A line "[ 02 ]  name" for every row whose conversion failed in this run;
    // the same after string 134, for the end messages.
    CString FailedRows() const;
    CString FailedRowsText() const;
    void Message(UINT stringId, UINT icon, const CString& extra = CString());
    void PumpMessagesFor(DWORD ms);
    DiscStepTexts DiscTexts() const;

    CPublishListCtrl m_list;
    CString m_strOutputFolder;   // control 1037
    CString m_strAlbumName;      // control 1039
    double m_dProjectedBytes = 0;
    double m_dFreeDiscBytes = 0;
    int m_nCurrentRow = 0;
    std::vector<CString> m_produced;    // this run's outputs, in order
    std::vector<CString> m_discNames;   // the names the disc gives them
    std::vector<int> m_failedRows;
    CString m_strAlbumPath;
    bool m_bMadeAlbumFolder = false;
    BOOL m_bWriterPresent = FALSE;
    BOOL m_bBusy = FALSE;
    int m_nBusyState = BusyIdle;
    bool m_bAdding = false;
    int m_nRun = 0;                     // counts runs: a pause resumes only its own
    int m_nShownProgress = -1;
    CButton* m_pMergeCheck = nullptr;
    CStatic* m_pMergeLabel = nullptr;
    CNVAudioCD m_audio;
    CNVDataCDDVD m_data;
    CDiscBurner m_burner{m_data, m_audio};
    bool m_bLibraryReady = false;
    CMergeMp3 m_merge;
    CConvertFile m_convert;
    CString m_strCurrentOutput;
    int m_nOverwrite = 0;

    // Skin.
    CBButton m_btnMp3Setting, m_btnEject, m_btnFolder, m_btnAdd, m_btnRemove, m_btnStart, m_btnClose;
    CCheckBox m_checkAudioCd, m_checkMp3Cd, m_checkMp3File;
    CBComboBox m_writers;
    CVolumeButton m_sizeMeter, m_progress;
    CToolTipCtrl m_ToolTip;
    CFont m_fontTitle, m_fontLabel, m_fontSmall;
    CBitmap m_background;
    HBRUSH m_hBackground = nullptr;

    DECLARE_MESSAGE_MAP()
};
