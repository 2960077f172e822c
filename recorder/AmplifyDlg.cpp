#include "AmplifyDlg.h"

void CAmplifyDlg::SetUpSlider()
{
    m_slider.SetRange(0, 20, TRUE);
    m_slider.SetPos(10);
}

void CAmplifyDlg::Update()
{
    int value = PercentOfPosition(m_slider.GetPos());
    CString text;
    text.Format(L"%02d %%", value);
    SetDlgItemText(IDC_VALUE, text);
    m_fGain = value / 100.0f;
    m_player.SetAmplifyGain(m_fGain);
}
