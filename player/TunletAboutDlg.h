// The player's About box (template 100): product name, version and the file the
// player was started on.
#pragma once
#include "Dialog.h"

class CTunletAboutDlg : public CDialog {
public:
    CTunletAboutDlg(const CString& filePath, CWnd* parent);
    BOOL OnInitDialog() override;

    // "%s : %s" of string 103 and the version; the table holds no string 103.
    static CString VersionText();

private:
    CString m_filePath;
};
