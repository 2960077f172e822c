// Starts the platform's system-information tool ("Check your computer spec").
#pragma once
#include <windows.h>
#include "String.h"

class COpenSystemInfoDlg {
public:
    virtual ~COpenSystemInfoDlg() = default;
    // TRUE when the registered tool's path names an existing file; "Path" of
    // "Shared Tools\MSInfo" first, else "MSInfo32.exe" in the folder "MSInfo" of
    // "Shared Tools Location". Environment references are expanded.
    BOOL GetSystemInfoPath(CString& path);
    // Starts the tool when it is found; nothing happens otherwise.
    void OpenSystemInfo();
};
