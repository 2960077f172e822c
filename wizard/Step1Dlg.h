// CStep1Dlg (page 129): asks the user to connect the sound source and, on Next,
// chooses the capture device (DetectDevice).
#pragma once
#include "BStatic.h"
#include "NewWizPage.h"

class CStep1Dlg : public CNewWizPage {
public:
    enum { IDD = 129, IDC_MAIN_TEXT = 1014, IDC_NOTE_LABEL = 1070, IDC_NOTE_TEXT = 1015 };
    CStep1Dlg() : CNewWizPage(IDD) {}

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    LRESULT OnWizardBack() override;
    LRESULT OnWizardNext() override;
    void OnOK() override {}

    // Chooses the device and stores its name; in the USB kinds also opens it and
    // starts monitoring. FALSE when there is nothing to choose or it cannot open.
    BOOL DetectDevice();
    // The first line of "<AppPath>Device.txt", or empty.
    static CString ReadDeviceFile();

    CBStatic m_mainText, m_noteLabel, m_noteText;
};
