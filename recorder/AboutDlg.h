// CAboutDlg: the About box (template 100) with the product title, version and the
// maker's web address as a link.
#pragma once
#include "Dialog.h"
#include "RecorderControls.h"

class CAboutDlg : public CDialog {
public:
    enum { IDD = 100, IDC_TITLE = 1035, IDC_VERSION = 1036, IDC_LINK = 1114 };
    CAboutDlg(const CString& title, const CString& version, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

protected:
    CLabel m_link;
    CString m_strTitle;
    CString m_strVersion;
    CString m_strLink;
};
