// CNoCDWriter (page 196): shown when Burn finds no disc writer. It says that a
// CD writer is needed; Next stays here, Back returns to the recording step.
#pragma once
#include "BStatic.h"
#include "NewWizPage.h"

class CNoCDWriter : public CNewWizPage {
public:
    enum { IDD = 196, IDC_TEXT = 1052 };
    CNoCDWriter() : CNewWizPage(IDD) {}

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override { return (LRESULT)-1; }
    void OnOK() override {}

    CBStatic m_text;

private:
    CString m_strTemplate;   // the template's text, filled afresh each time
};
