// CStep5Dlg (page 345): the burner step. The user picks the disc writer
// ("BurnDeviceName") and the output, Audio CD or MP3 CD ("WizOutputType"), and
// may eject the disc. No disc is checked here: the disc-writing step checks it
// when Burn is pressed.
#pragma once
#include "BButton.h"
#include "BComboBox.h"
#include "BStatic.h"
#include "CheckBox.h"
#include "NewWizPage.h"

class CStep5Dlg : public CNewWizPage {
public:
    enum {
        IDD = 345, IDC_DEVICE_LABEL = 1043, IDC_WRITERS = 1050, IDC_EJECT = 1051, IDC_HINT = 1044,
        IDC_FORMAT_LABEL = 1045, IDC_AUDIO_CD = 1046, IDC_MP3_CD = 1047, IDC_AUDIO_LABEL = 1048, IDC_MP3_LABEL = 1049
    };
    enum { kFillTimer = 100 };

    CStep5Dlg();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnSetActive() override;
    LRESULT OnWizardBack() override { return 344; }
    void OnOK() override {}

    // Fills the writer list (the saved writer selected, else the first) and
    // chooses the selected writer.
    void FillWriters();
    void ChooseWriter(int index);
    BOOL IsListFilled() const { return m_bListFilled; }

    CBStatic m_deviceLabel, m_hint, m_formatLabel, m_audioLabel, m_mp3Label;
    CBComboBox m_writers;
    CBButton m_btnEject;
    CCheckBox m_audioCheck, m_mp3Check;

protected:
    void OnTimer(UINT_PTR id);
    void OnWriterChanged();
    void OnAudioCd();
    void OnMp3Cd();
    void OnEject();
    void ShowOutputType();

    BOOL m_bListFilled = FALSE;

    DECLARE_MESSAGE_MAP()
};
