// CWizardPage: what the page framework of the recorder and of the wizard knows of
// a page. A page is a child dialog made from its template the first time it is
// shown and kept until its host is destroyed; the host asks it before leaving it.
#pragma once
#include "Dialog.h"

class CWizardPage : public CDialog {
public:
    explicit CWizardPage(UINT templateId = 0, CWnd* parent = nullptr) : CDialog(templateId, parent), m_nDialogID(templateId) {}

    // Page notifications, with their defaults.
    virtual BOOL OnCreatePage() { return TRUE; }
    virtual BOOL OnKillActive() { return TRUE; }
    virtual BOOL OnQueryClose() { return TRUE; }   // TRUE: the page may be left
    virtual BOOL OnSetActive() { return TRUE; }
    virtual BOOL OnQueryCancel() { return TRUE; }
    // Where Back and Next go: 0 the neighbour in the page list, -1 nowhere (the
    // page keeps the wizard where it is), else the template id of the page to show.
    virtual LRESULT OnWizardBack() { return 0; }
    virtual LRESULT OnWizardNext() { return 0; }
    virtual BOOL OnWizardFinish() { return TRUE; }

    // The host that created the page, typed by each program's own page class.
    virtual void SetHost(CDialog* host) = 0;

    BOOL m_bCreated = FALSE;
    BOOL m_bActive = FALSE;
    UINT m_nDialogID;
};
