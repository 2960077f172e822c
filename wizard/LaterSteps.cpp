#include "LaterSteps.h"
#include "WizGlobals.h"

BOOL CAnnouncedStep::OnSetActive()
{
    CString title = WizString(m_nTitleID);
    ShowStep(m_pszStep ? FillFormat(title, m_pszStep) : title, m_nIndicator);
    return TRUE;
}
