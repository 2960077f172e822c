#include "TunletAboutDlg.h"
#include "PlayerProtocol.h"
#include "TunletResources.h"

CTunletAboutDlg::CTunletAboutDlg(const CString& filePath, CWnd* parent)
    : CDialog(IDD_TUNLET_ABOUT, parent), m_filePath(filePath)
{
}

CString CTunletAboutDlg::VersionText()
{
    CString product, text;
    product.LoadString(IDS_TUNLET_PRODUCT);
    text.Format(L"%s : %s", (const wchar_t*)product, L"1.0.1");
    return text;
}

BOOL CTunletAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_ABOUT_PATH, m_filePath);
    SetDlgItemText(IDC_ABOUT_PRODUCT, kPlayerWndTitle);
    SetDlgItemText(IDC_ABOUT_VERSION, VersionText());
    return TRUE;
}
