// CStep6Dlg (page 346): the disc-writing step. It lists the recordings of the
// recording step (and files the user adds), converts what the chosen disc needs
// (WAV for an Audio CD; MP3 for an MP3 CD, where MP3 files are written as they
// are), tags the MP3 files and writes the disc through the wizard's disc
// libraries. Converted files are deleted after writing; the recordings stay.
#pragma once
#include "BButton.h"
#include "BStatic.h"
#include "DiscBurner.h"
#include "NewWizPage.h"
#include "PublishListCtrl.h"
#include "TooltipEdit.h"
#include "VolumeButton.h"
#include <memory>
#include <vector>

class CConvertFile;   // kept out of this header: DirectShow's headers define window macros

// One file of the disc: written by this page's conversion (converted 1, deleted
// after writing) or a source written unchanged (0).
struct CConvertFilelist {
    int converted = 0;
    CString path;
};

class CStep6Dlg : public CNewWizPage {
public:
    enum {
        IDD = 346, IDC_ALBUM_LABEL = 1052, IDC_ALBUM = 1073, IDC_ADD = 1056, IDC_REMOVE = 1055, IDC_LIST = 1057,
        IDC_SIZE_METER = 1060, IDC_SIZE_TEXT = 1054, IDC_STATUS = 1053, IDC_PROGRESS = 1059, IDC_PERCENT = 1074,
        IDC_BURN = 1058
    };
    enum { kConvertTimer = 100, kDataTimer = 200, kAudioTimer = 300, kUnchangedTimer = 400 };
    enum { BusyIdle = 0, BusyConverting = 2, BusyWriting = 3 };

    CStep6Dlg();
    ~CStep6Dlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnSetActive() override;
    BOOL OnQueryClose() override;
    LRESULT OnWizardBack() override;
    LRESULT OnWizardNext() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}
    void OnCancel() override {}

    // The folder on the fixed drive with the most free space: its root, or the
    // temporary folder when that drive holds it; always ending in "\".
    static CString RoomiestOutputFolder();

    BOOL AddOneFile(const CString& path);
    void AddFiles(const std::vector<CString>& paths);
    void RemoveSelected();
    BOOL StartBurn();
    void StopBurn();
    void UpdateSizes();
    int GetBusyState() const { return m_nBusyState; }
    BOOL IsBusy() const { return m_bBusy; }
    const CString& GetOutputFolder() const { return m_strOutputFolder; }
    const CString& GetAlbumPath() const { return m_strAlbumPath; }
    const std::vector<CConvertFilelist>& ConvertList() const { return m_convertList; }

    CBStatic m_albumLabel, m_sizeText, m_status, m_percent;
    CTooltipEdit m_album;
    CBButton m_btnAdd, m_btnRemove, m_btnBurn;
    CPublishListCtrl m_list;
    CVolumeButton m_sizeMeter, m_progress;

protected:
    void OnAdd();
    void OnRemove();
    void OnBurnClicked();
    void OnListItemChanged(NMHDR* hdr, LRESULT* result);
    void OnTimer(UINT_PTR id);
    void OnPaint();

    bool IsMp3Cd() const;
    BurnKind Kind() const { return IsMp3Cd() ? BurnKindData : BurnKindAudio; }
    CString AlbumText();
    void ConvertFrom(int firstRow);
    // Whether `path` is one of the MP3 files the wizard recorded.
    bool IsOwnRecording(const CString& path) const;
    BOOL ConvertRow(int row);
    void OnConvertEvent();
    void FinishConversion();
    void OnBurnDone(int status, BurnKind kind);
    void AfterWriting();
    void DeleteConverted();
    void SetBusyState(int state);
    void SetProgress(int percent);
    void SetStatus(const CString& text);
    void ShowBurnProgress(BurnKind kind);
    void ShowBurnFigures(const BurnProgress& progress);
    void OpenBurnOptions();
    std::vector<double> OutputBytes() const;
    CDiscBurner& Burner();

    std::unique_ptr<CConvertFile> m_converter;
    std::unique_ptr<CDiscBurner> m_burner;
    std::vector<CConvertFilelist> m_convertList;
    std::vector<CString> m_ownRecordings;   // the recording step's files handed to this page
    CString m_strAlbumFolder;    // where "+" starts ("AlbumFolder")
    CString m_strAlbumName;
    CString m_strOutputFolder;   // roomiest drive
    CString m_strAlbumPath;      // output folder, album name, "\"
    bool m_bMadeAlbumPath = false;
    CString m_strCurrentOutput;
    int m_nCurrentRow = 0;
    BOOL m_bWriterPresent = FALSE;
    BOOL m_bBusy = FALSE;
    BOOL m_bConversionDone = FALSE;
    int m_nBusyState = BusyIdle;
    int m_nShownPercent = -1;
    double m_fFreeDisc = 0;

    DECLARE_MESSAGE_MAP()
};
