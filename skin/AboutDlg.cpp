#include "AboutDlg.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg(UINT linkId, UINT linkTextId, const CString& title, const CString& version, CWnd* parent)
    : CDialog(IDD, parent), m_nLinkID(linkId), m_strTitle(title), m_strVersion(version)
{
    if (linkTextId) m_strLink.LoadString(linkTextId);
    m_face.CreateSolidBrush(kFace);
}

HBRUSH CAboutDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
{
    if (wnd && wnd->m_hWnd == m_link.m_hWnd) return CDialog::OnCtlColor(dc, wnd, kind);  // the label's own
    if (kind != CTLCOLOR_DLG && kind != CTLCOLOR_STATIC) return CDialog::OnCtlColor(dc, wnd, kind);
    dc->SetTextColor(kText);
    dc->SetBkColor(kFace);
    return (HBRUSH)m_face.m_hObject;
}

void CAboutDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, m_nLinkID, m_link);
    // An empty text leaves the template's own (the system menu's About box).
    if (!m_strTitle.IsEmpty()) DDX_Text(dx, IDC_TITLE, m_strTitle);
    if (!m_strVersion.IsEmpty()) DDX_Text(dx, IDC_VERSION, m_strVersion);
    if (!m_strLink.IsEmpty()) DDX_Text(dx, m_nLinkID, m_strLink);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The label opens its own text, the maker's web address, when clicked.
    m_link.SetLink(TRUE);
    m_link.SetTextColor(kLink);
    m_link.SetFontSize(12);
    m_link.SetFontUnderline(TRUE);
    m_link.SetLinkCursor(LoadCursorW(nullptr, IDC_HAND));
    if (!m_strTitle.IsEmpty()) SetWindowText(m_strTitle);
    // The icon static of the template gets bitmap 235, the product's picture,
    // from the program that carries it.
    HBITMAP image = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(235));
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(child) == 0xFFFF || ::GetDlgCtrlID(child) == -1) {
            ::SendMessageW(child, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)image);
            break;
        }
    }
    return TRUE;
}
