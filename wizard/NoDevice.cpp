#include "NoDevice.h"
#include "WizGlobals.h"

void CNoDevice::DoDataExchange(CDataExchange* dx)
{
    CNewWizPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_TEXT, m_text);
}

BOOL CNoDevice::OnInitDialog()
{
    CNewWizPage::OnInitDialog();
    if (!(g_hExtraModule && SetBackground(g_hExtraModule, 1004))) SetBackground(g_hSkinModule, 194);
    PlaceText(m_text, 50, 35, 650, 80, m_largeFont, RGB(0, 0, 0));
    m_strTemplate = m_text.GetText();
    m_text.SetText(WithDeviceName(m_strTemplate));
    return TRUE;
}

BOOL CNoDevice::OnSetActive()
{
    ShowStep(WizString(183), 1);
    // The text names the wizard by its title; filled from the template each time
    // so that nothing is filled twice and a "%" in a name stays as it is.
    m_text.SetText(FillFormat(WithDeviceName(m_strTemplate), g_szWindowTitle));
    return TRUE;
}
