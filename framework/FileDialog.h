// CFileDialog: the platform's open and save dialogs. The filter takes the
// framework's "Text|*.txt|All|*.*||" form.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <string>
#include "String.h"

class CWnd;

class CFileDialog {
public:
    CFileDialog(BOOL openDialog, const wchar_t* defaultExt = nullptr, const wchar_t* fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const wchar_t* filter = nullptr,
                CWnd* parent = nullptr);
    virtual ~CFileDialog() = default;
    virtual INT_PTR DoModal();

    CString GetPathName() const { return CString(m_file.c_str()); }
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    CString GetFolderPath() const;

    OPENFILENAMEW m_ofn = {};

private:
    BOOL m_open;
    std::wstring m_filter, m_defaultExt;
    std::wstring m_file;
    HWND m_parent;
};
