// The Record page (template 129). For now only its skinned, empty page: the
// recording controls come with the page's own work.
#pragma once
#include "NewWizPage.h"
#include "PageBackground.h"

class CPageCapture : public CNewWizPage {
public:
    enum { IDD = 129 };
    CPageCapture() : CNewWizPage(IDD) {}

    // The program's command line; names a USB device with "VID_".
    CString m_strCmdLine;

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);

    CPageBackground m_background;

    DECLARE_MESSAGE_MAP()
};
