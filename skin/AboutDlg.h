// CAboutDlg: the programs' About box (template 100 of each program) with the
// product title, the version and the maker's web address as a link label. The
// programs differ only in the link's control id and the string of its address.
// Empty texts (link text id 0) leave the template's texts as they are.
#pragma once
#include "Dialog.h"
#include "Label.h"

class CAboutDlg : public CDialog {
public:
    enum { IDD = 100, IDC_TITLE = 1035, IDC_VERSION = 1036 };
    CAboutDlg(UINT linkId, UINT linkTextId, const CString& title, const CString& version, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    // The skin's colours: a dark face with light text, the link in a light blue
    // that stands out on it.
    static const COLORREF kFace = RGB(43, 37, 33);
    static const COLORREF kText = RGB(243, 233, 220);
    static const COLORREF kLink = RGB(128, 192, 255);

protected:
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);

    CBrush m_face;
    UINT m_nLinkID;
    CLabel m_link;
    CString m_strTitle;
    CString m_strVersion;
    CString m_strLink;

    DECLARE_MESSAGE_MAP()
};
