// The Record page (template 129). For now only its skinned, empty page: the
// recording controls come with the page's own work.
#pragma once
#include "NewWizPage.h"

class CPageCapture : public CNewWizPage {
public:
    enum { IDD = 129 };
    CPageCapture() : CNewWizPage(IDD) {}
    ~CPageCapture() override;

    // The program's command line; names a USB device with "VID_".
    CString m_strCmdLine;

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;

protected:
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);

    DECLARE_MESSAGE_MAP()
};
