// CStep3Dlg (page 343): the settings step. Noise reduction on or off and its
// strength, applied at once to the running monitoring graph, and the output
// folder, accepted only where files and sub-folders can be made.
#pragma once
#include "BButton.h"
#include "BEdit.h"
#include "BStatic.h"
#include "BitmapSlider.h"
#include "CheckBox.h"
#include "NewWizPage.h"

class CStep3Dlg : public CNewWizPage {
public:
    enum {
        IDD = 343, IDC_NOISE_CHECK = 1022, IDC_NOISE_LABEL = 1017, IDC_LESS = 1021, IDC_SLIDER = 1024,
        IDC_MORE = 1020, IDC_LEVEL_TEXT = 1078, IDC_FOLDER_LABEL = 1018, IDC_FOLDER = 1023, IDC_BROWSE = 1019
    };
    CStep3Dlg();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnSetActive() override;
    BOOL OnQueryClose() override;
    void OnOK() override {}

    void UpdateNoiseLevel();
    void OnBrowseFolder();
    // Takes a chosen folder as the record folder when files and sub-folders can
    // be made in it; otherwise says so and keeps the old one. TRUE when taken.
    BOOL AcceptFolder(const CString& folder);

    CCheckBox m_noiseCheck;
    CBitmapSlider m_slider;
    CBEdit m_folder;
    CBButton m_btnBrowse;
    CBStatic m_noiseLabel, m_less, m_more, m_levelText, m_folderLabel;

protected:
    void OnNoiseSwitch();
    LRESULT OnSliderMessage(WPARAM wParam, LPARAM lParam);
    void OnPaint();

    DECLARE_MESSAGE_MAP()
};
