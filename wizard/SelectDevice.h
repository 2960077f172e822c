// CSelectDevice (page 203): the user picks the input from the list of audio
// inputs (and video devices with sound) and can switch monitoring off for
// streamed sound. The page opens the chosen device and monitors it.
#pragma once
#include "BComboBox.h"
#include "BStatic.h"
#include "CheckBox.h"
#include "NewWizPage.h"

class CSelectDevice : public CNewWizPage {
public:
    enum {
        IDD = 203, IDC_TEXT = 1097, IDC_LIST_LABEL = 1096, IDC_DEVICE_LIST = 1089, IDC_STREAM_CHECK = 1098,
        IDC_STREAM_TEXT = 1099
    };
    CSelectDevice();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnSetActive() override;
    LRESULT OnWizardBack() override;

    void FillDeviceList();
    void OnSelectDevice();
    void OnStreamRender();
    // 0 by the name (kind 5), 1 heard through the PC, 2 not heard.
    int RenderMode() const;

    CBStatic m_text, m_listLabel, m_streamText;
    CBComboBox m_deviceList;
    CCheckBox m_streamCheck;
    BOOL m_bVideoDevice = FALSE;   // the saved device is a video device

private:
    // Opens the device by name as video or audio device; FALSE when it fails.
    BOOL OpenDevice(const wchar_t* name, BOOL video, int renderMode, BOOL reset);
    // After a refused change: the device that was open comes back, selected.
    void RestoreDevice(const CString& name, BOOL video);
    void SelectByName(const CString& name);

    DECLARE_MESSAGE_MAP()
};
