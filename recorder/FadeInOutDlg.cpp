#include "FadeInOutDlg.h"

BEGIN_MESSAGE_MAP(CFadeInOutDlg, CDialog)
    ON_BN_CLICKED(IDC_FADE_IN, OnCheck)
    ON_BN_CLICKED(IDC_FADE_OUT, OnCheck)
END_MESSAGE_MAP()

void CFadeInOutDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_DURATION, m_duration);
    DDX_Check(dx, IDC_FADE_IN, m_bFadeIn);
    DDX_Check(dx, IDC_FADE_OUT, m_bFadeOut);
}

BOOL CFadeInOutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int seconds = 1; seconds <= 10; ++seconds) {
        CString item;
        item.Format(L"%d", seconds);
        m_duration.AddString(item);
    }
    m_duration.SetCurSel(2);
    return TRUE;
}

void CFadeInOutDlg::OnOK()
{
    m_nDuration = m_duration.GetCurSel() + 1;
    CDialog::OnOK();
}
