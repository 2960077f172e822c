// CNewWizDialog: hosts the pages in a fixed area (over a placeholder control),
// creates each page on first use, asks the current page before leaving it, and
// carries the wizard-style Back, Next, Finish and Cancel commands.
#pragma once
#include "NvDropDialog.h"
#include "WizardPageList.h"

class CNewWizPage;

class CNewWizDialog : public NvDropDialog {
public:
    enum { ID_WIZBACK = 12323, ID_WIZNEXT = 12324, ID_WIZFINISH = 12325 };

    explicit CNewWizDialog(UINT templateId, CWnd* parent = nullptr);

    virtual void OpenFileInEditPage(const wchar_t*) {}
    virtual void Reserved1() {}
    virtual void Reserved2() {}
    virtual void Reserved3() {}
    virtual void Reserved4() {}
    virtual void EnableButtons(BOOL) {}

    void SetPlaceholder(UINT id) { m_nPlaceholderID = id; }
    // The host does not own the page.
    void AddPage(CNewWizPage* page, UINT templateId);
    BOOL SetActivePage(UINT templateId);
    BOOL ActivatePage(CNewWizPage* page);
    CNewWizPage* GetActivePage() const;
    UINT GetActivePageID() const;
    int GetPageCount() const { return m_pages.GetCount(); }
    // TRUE when the dialog ends; FALSE when a page refused.
    BOOL Finish();

    BOOL OnInitDialog() override;
    void OnCancel() override;

protected:
    void OnWizardBack();
    void OnWizardNext();
    void OnWizardFinish() { Finish(); }
    void OnDestroy();
    CNewWizPage* FindPage(UINT templateId) const;
    void EnableCommand(UINT id, BOOL enable);

    CWizardPageList m_pages;
    UINT m_nPlaceholderID = 0;

    DECLARE_MESSAGE_MAP()
};
