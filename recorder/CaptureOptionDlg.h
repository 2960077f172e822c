// CCaptureOptionDlg: the recording options (template 145): input device, recording
// format, file-name prefix, record folder, monitoring output and noise reduction.
// Every choice but the prefix takes effect at once, on the running capture device
// and in the settings; the prefix waits for OK.
#pragma once
#include <windows.h>
#include <dbt.h>
#include "ComboBox.h"
#include "Dialog.h"
#include "Edit.h"
#include "SliderCtrl.h"
#include "TooltipEdit.h"

class CCaptureOptionDlg : public CDialog {
public:
    enum { IDD = 145 };
    enum {
        IDC_PROPERTIES = 1030, IDC_CHOOSE_FOLDER = 1032, IDC_FOLDER = 1038, IDC_PREFIX = 1039,
        IDC_DEVICE = 1049, IDC_FORMAT = 1053, IDC_NOISE_LEVEL = 1061, IDC_NOISE = 1062, IDC_WEB_STREAM = 1063,
        IDC_NOISE_TEXT = 1079,
    };

    explicit CCaptureOptionDlg(CWnd* ownerPage);
    ~CCaptureOptionDlg() override;

    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // The steps behind the controls, for the page's tests as much as for the user.
    void OnDeviceChosen();
    void OnFormatChosen();
    void OnNoiseReduction();
    void ApplyNoiseLevel();
    void OnChooseFolder();
    // Takes a chosen folder when files and folders may be made there; FALSE after
    // the message that they may not.
    BOOL UseFolder(const CString& folder);

    struct FormatRecord {
        int rate, channels, bits;
    };

protected:
    void OnDeviceProperties();
    void OnClose() { OnCancel(); }
    void FillDevices();
    void FillFormats();
    void FreeFormats();
    void OnWebStreamChanged();

    CSliderCtrl m_noiseLevel;
    CButton m_noise;
    CEdit m_folder;
    CTooltipEdit1 m_prefix;
    CComboBox m_device;
    CComboBox m_format;
    CWnd* m_pOwnerPage;
    HDEVNOTIFY m_hDeviceNotify = nullptr;

    DECLARE_MESSAGE_MAP()
};
