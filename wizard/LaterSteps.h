// The recording and disc pages of the wizard as plug points: each shows its
// template, its step title and its buttons, and leads Back and Next through the
// page list. Their own work (recording, burner choice, disc writing) builds on
// these classes.
#pragma once
#include "NewWizPage.h"

// A page that only announces its step: title string `titleId` with `step`
// filled in (none when titleId is 0), indicator value `indicator`.
class CAnnouncedStep : public CNewWizPage {
public:
    CAnnouncedStep(UINT templateId, UINT titleId, const wchar_t* step, int indicator)
        : CNewWizPage(templateId), m_nTitleID(titleId), m_pszStep(step), m_nIndicator(indicator) {}
    BOOL OnSetActive() override;
    void OnOK() override {}

private:
    UINT m_nTitleID;
    const wchar_t* m_pszStep;
    int m_nIndicator;
};

class CStep6Dlg : public CAnnouncedStep {   // disc-writing step
public:
    enum { IDD = 346 };
    CStep6Dlg() : CAnnouncedStep(IDD, 153, L"6", 6) {}
};
