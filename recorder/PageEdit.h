// The Edit page (template 337). For now only its skinned, empty page: the wave
// editor and the track list come with the page's own work.
#pragma once
#include "BButton.h"
#include "NewWizPage.h"
#include "PageBackground.h"

class CPageEdit : public CNewWizPage {
public:
    enum { IDD = 337 };
    enum { IDC_PUBLISH = 1026 };
    CPageEdit() : CNewWizPage(IDD) {}

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    // Opens a file dropped on the main window or handed over by it.
    void OpenFile(const wchar_t* path);
    CString GetOpenedFile() const { return m_strOpened; }

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnPublish();

    CPageBackground m_background;
    CBButton m_btnPublish;
    CString m_strOpened;

    DECLARE_MESSAGE_MAP()
};
