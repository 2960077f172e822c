// CNoDevice (page 195): shown when no device was found; Back returns to the
// device step, Finish ends the wizard.
#pragma once
#include "BStatic.h"
#include "NewWizPage.h"

class CNoDevice : public CNewWizPage {
public:
    enum { IDD = 195, IDC_TEXT = 1052 };
    CNoDevice() : CNewWizPage(IDD) {}

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnSetActive() override;
    void OnOK() override {}

    CBStatic m_text;

private:
    CString m_strTemplate;   // the template's text, filled afresh each time
};
