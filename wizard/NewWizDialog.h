// CNewWizDialog: the wizard's page host. It shows one page at a time over the
// placeholder control 1000, moves between the pages with Back and Next (each
// page names where they lead) and ends with Finish or Cancel; the step title and
// the step indicator are its own. The page list itself is shared with the
// recorder's main window (CWizardPageList).
#pragma once
#include "Dialog.h"
#include "Font.h"
#include "NVAudioCD.h"
#include "NVDataCDDVD.h"
#include "VolumeButton.h"
#include "WizardPageList.h"

class CNewWizPage;

class CNewWizDialog : public CDialog {
public:
    enum {
        ID_WIZBACK = 12323, ID_WIZNEXT = 12324, ID_WIZFINISH = 12325, IDC_STEP4_BURN = 1061,
        IDC_STEP4_BACK = 1062, IDC_CANCEL_BUTTON = 1055, IDC_PLACEHOLDER = 1000, IDC_STEP_TITLE = 1001,
        IDC_STEP_INDICATOR = 1013
    };

    explicit CNewWizDialog(UINT templateId, CWnd* parent = nullptr);

    // Called by every page's OnSetActive with its own id; the wizard dialog moves
    // its buttons for that page.
    virtual void LayoutButtons(UINT) {}
    virtual void RefreshNavigation() {}
    // 0 idle, 1 to 3 busy (the navigation is disabled).
    virtual void SetBusy(int) {}

    // The host does not own the page.
    void AddPage(CNewWizPage* page, UINT templateId);
    BOOL ActivatePage(CNewWizPage* page);
    BOOL SetFirstPage();
    CNewWizPage* FindPage(UINT templateId) const;
    CNewWizPage* GetFirstPage() const;
    CNewWizPage* GetLastPage() const;
    CNewWizPage* GetActivePage() const;
    UINT GetActivePageID() const { return m_pages.GetActiveID(); }
    int GetPageCount() const { return m_pages.GetCount(); }

    void EnableFinish(BOOL enable) { EnableCommand(ID_WIZFINISH, enable); }
    void EnableBack(BOOL enable) { EnableCommand(ID_WIZBACK, enable); }
    void EnableNext(BOOL enable) { EnableCommand(ID_WIZNEXT, enable); }
    // The disc libraries, used by the disc pages through their host: the data-disc
    // library is initialised on demand (its burn mode set only when that worked)
    // and released again; Release returns Uninitialize's result, 0 when it was
    // not initialised.
    void EnsureDiscLibrary();
    int ReleaseDiscLibrary();
    BOOL IsDiscLibraryReady() const { return m_bDiscReady; }
    CNVAudioCD& AudioCD() { return m_audioCD; }
    CNVDataCDDVD& DataDisc() { return m_dataDisc; }

    void SetStepTitle(const wchar_t* text);
    void SetStepIndicator(int value);

    BOOL OnInitDialog() override;

    // Command handlers, public for the pages and the tests.
    void OnWizardBack();
    void OnWizardNext();
    void OnWizardFinish();
    void OnWizardCancel();

    CVolumeButton m_stepIndicator;

protected:
    void CreateTitleFont();
    void OnDestroy();
    void EnableCommand(UINT id, BOOL enable);

    CFont m_titleFont;
    CNVAudioCD m_audioCD;
    CNVDataCDDVD m_dataDisc;
    BOOL m_bDiscReady = FALSE;
    CWizardPageList m_pages;
    UINT m_nPlaceholderID = IDC_PLACEHOLDER;

    DECLARE_MESSAGE_MAP()
};
