// The small, borderless progress dialog of the Edit page (template 344): a status
// text "<name>  -  <n> %", a progress bar and a Cancel button on a skin picture.
// The effect runner, the automatic split and the file loading are built on it;
// each says what a confirmed cancel does.
#pragma once
#include "Dialog.h"
#include "Font.h"
#include "PageBackground.h"
#include "RecorderControls.h"
#include "VolumeButton.h"

class CEditProgressDlg : public CDialog {
public:
    enum { IDD = 344, IDC_PROGRESS = 1054, IDC_STATUS = 1055 };

    // nameId: the string that names the job in the status text.
    explicit CEditProgressDlg(UINT nameId);

    // Shows p (only when it differs from the last shown value).
    void ShowPercent(int p);
    int LastPercent() const { return m_nLastPercent; }
    const CString& Name() const { return m_strName; }

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}   // Enter does nothing
    // Cancel button and Escape: asks whether to stop; Yes calls OnCancelConfirmed.
    void OnCancel() override;

protected:
    virtual void OnCancelConfirmed() = 0;
    void OnLButtonDown(UINT flags, CPoint point);
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);

    CString m_strName;
    int m_nLastPercent = -1;
    CBButton m_btnCancel;
    CVolumeButton m_progress;
    CStatic m_status;
    CPageBackground m_background;
    CFont m_font;

    DECLARE_MESSAGE_MAP()
};
