// CWinApp: the program's application object. The program defines one global
// instance; the framework's entry point (wWinMain, in WinApp.cpp; link with -municode) runs
// InitInstance, then the message loop when InitInstance returns TRUE, then
// ExitInstance, whose result is the process's exit code.
#pragma once
#include "Wnd.h"

class CWinApp {
public:
    explicit CWinApp(const wchar_t* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return m_nExitCode; }
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* msg);

    HINSTANCE m_hInstance = nullptr;
    wchar_t* m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;
    CString m_strAppName;
    int m_nExitCode = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// Runs the application object; the body of the framework's entry point.
int AfxWinMain(HINSTANCE instance, wchar_t* cmdLine, int cmdShow);
int AfxMessageBox(const wchar_t* text, UINT type = MB_OK);
int AfxMessageBox(UINT textId, UINT type = MB_OK);
// Control containers need nothing more here (no hosted ActiveX controls).
inline void AfxEnableControlContainer() {}
