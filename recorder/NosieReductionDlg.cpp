#include "NosieReductionDlg.h"

void CNosieReductionDlg::SetUpSlider()
{
    m_slider.SetRange(0, 300, TRUE);
    // The template asks for automatic ticks: every 50, not at each of the 301 positions.
    m_slider.SetTicFreq(50);
    m_slider.SetPos((int)(m_fLevel * 10.0f + 0.5f));
}

void CNosieReductionDlg::Update()
{
    m_fLevel = m_slider.GetPos() * 0.1f;
    CString text;
    text.Format(L"%3.1f", m_fLevel - 15.0f);
    SetDlgItemText(IDC_VALUE, text);
    m_player.SetNoiseReductionLevel(m_fLevel);
}
