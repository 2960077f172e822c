// CAudioHelpDlg (template 199): the recording-gain help of the level step. Its
// slider sets the input level (1 to 50, analyzer gain = level / 10) of the
// running capture graph; a button opens the capture filter's property pages.
#pragma once
#include "Dialog.h"
#include "ScrollBar.h"
#include "SliderCtrl.h"

class CAudioHelpDlg : public CDialog {
public:
    enum {
        IDD = 199, IDC_LEVEL = 1076, IDC_GAIN_TEXT = 1079, IDC_PROPERTIES = 1075, IDC_TEXT1 = 1082,
        IDC_TEXT2 = 1083, IDC_BLUE1 = 1052, IDC_BLUE2 = 1148
    };
    explicit CAudioHelpDlg(CWnd* parent = nullptr) : CDialog(IDD, parent) {}

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    void UpdateGain();

    CSliderCtrl m_level;

protected:
    void OnHScroll(UINT code, UINT position, CScrollBar* bar);
    void OnProperties();
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);

    DECLARE_MESSAGE_MAP()
};
