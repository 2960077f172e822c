// CFadeInOutDlg (template 217): fade in, fade out and the fade's length, 1 to 10 seconds.
#pragma once
#include "ComboBox.h"
#include "Dialog.h"

class CFadeInOutDlg : public CDialog {
public:
    enum { IDD = 217, IDC_FADE_IN = 1064, IDC_FADE_OUT = 1065, IDC_DURATION = 1066 };
    CFadeInOutDlg() : CDialog(IDD) {}

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    int m_bFadeIn = 1;
    int m_bFadeOut = 1;
    int32_t m_nDuration = 3;

protected:
    void OnCheck() { UpdateData(TRUE); }
    CComboBox m_duration;

    DECLARE_MESSAGE_MAP()
};
