// CWizardPageList: the ordered pages of a page host (the recorder's main window,
// the wizard dialog), each tagged with its template id. It makes a page on first
// use, asks the shown page before hiding it, finds where Back and Next lead and
// runs the finish, cancel and destruction questions; the host keeps its buttons.
#pragma once
#include "WizardPage.h"
#include <vector>

class CWizardPageList {
public:
    // The list does not own the page.
    void Add(CWizardPage* page, UINT templateId);
    int GetCount() const { return (int)m_pages.size(); }
    CWizardPage* GetAt(int index) const;
    // The first page with that id, or none.
    CWizardPage* Find(UINT templateId) const;
    int IndexOf(const CWizardPage* page) const;
    CWizardPage* GetActive() const;
    UINT GetActiveID() const;

    // Shows page in host over the placeholder control: created on first use, the
    // active page asked and hidden first. FALSE (the old page stays) when the new
    // page cannot be made or the active page refuses to close.
    BOOL Activate(CDialog* host, UINT placeholderId, CWizardPage* page);
    // Hides the active page when it agrees; TRUE when none is shown afterwards.
    BOOL Deactivate();
    // The page a Back (-1) or Next (+1) goes to: the one the active page named
    // (target), else its neighbour; none when the page refused (-1), named an
    // unknown id, or at either end.
    CWizardPage* StepTarget(CWizardPage* active, LRESULT target, int step) const;
    // The finish question: the active page may close and every made page agrees.
    BOOL QueryFinish() const;
    // The cancel question of every made page, in list order.
    BOOL QueryCancel() const;
    // Destroys every made page that agrees to close (the host is going away).
    void DestroyPages();

private:
    std::vector<CWizardPage*> m_pages;
};
