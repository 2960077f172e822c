#include "NoCDWriter.h"
#include "WizGlobals.h"

void CNoCDWriter::DoDataExchange(CDataExchange* dx)
{
    CNewWizPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_TEXT, m_text);
}

BOOL CNoCDWriter::OnInitDialog()
{
    CNewWizPage::OnInitDialog();
    SetBackground(g_hSkinModule, 198);
    PlaceText(m_text, 50, 35, 650, 80, m_largeFont, RGB(0, 0, 0));
    m_strTemplate = m_text.GetText();
    return TRUE;
}

BOOL CNoCDWriter::OnSetActive()
{
    ShowStep(WizString(183), 4);
    // A translated text may name the wizard with "%s".
    m_text.SetText(FillFormat(m_strTemplate, g_szWindowTitle));
    return TRUE;
}
