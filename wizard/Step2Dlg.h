// CStep2Dlg (page 342): the level step. Two needle meters show the live left and
// right levels while the user sets the playback device's volume; Help opens the
// recording-gain help.
#pragma once
#include "BButton.h"
#include "BStatic.h"
#include "NewWizPage.h"
#include "VolumeGauge.h"

class CStep2Dlg : public CNewWizPage {
public:
    enum {
        IDD = 342, IDC_GAIN_HELP = 1008, IDC_LEFT_GAUGE = 1066, IDC_RIGHT_GAUGE = 1067, IDC_TEXT = 1010,
        IDC_NOTE_LABEL = 1069, IDC_NOTE_TEXT = 1011, IDC_HINT = 1012
    };
    static const UINT_PTR kLevelTimer = 103;
    CStep2Dlg() : CNewWizPage(IDD) {}

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnSetActive() override;
    BOOL OnQueryClose() override;
    LRESULT OnWizardBack() override;
    void OnOK() override {}

    // Takes a new analyzer record into the needles; FALSE when none was waiting.
    BOOL UpdateLevels();

    CBButton m_btnHelp;
    NV_VolumeGauge m_leftGauge, m_rightGauge;
    CBStatic m_text, m_noteLabel, m_noteText, m_hint;

protected:
    void OnTimer(UINT_PTR id);
    void OnHelp();

    UINT_PTR m_nLevelTimer = 0;

    DECLARE_MESSAGE_MAP()
};
