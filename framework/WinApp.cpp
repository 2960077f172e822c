#include "WinApp.h"
#include "ResourceHandle.h"
#include <commctrl.h>

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp(const wchar_t* appName)
{
    g_app = this;
    m_hInstance = ::GetModuleHandleW(nullptr);
    if (appName) {
        m_strAppName = appName;
    } else {
        wchar_t path[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        CString name(path);
        int slash = name.ReverseFind(L'\\');
        if (slash >= 0) name = name.Mid(slash + 1);
        int dot = name.ReverseFind(L'.');
        if (dot >= 0) name = name.Left(dot);
        m_strAppName = name;
    }
}

CWinApp::~CWinApp()
{
    if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }
CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }

BOOL CWinApp::PreTranslateMessage(MSG* msg)
{
    return CWnd::WalkPreTranslateTree(m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr, msg);
}

int CWinApp::Run()
{
    MSG msg;
    for (;;) {
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            AfxDeleteTempMaps();
            ::WaitMessage();
            continue;
        }
        if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    m_nExitCode = (int)msg.wParam;
    return ExitInstance();
}

int AfxWinMain(HINSTANCE instance, wchar_t* cmdLine, int cmdShow)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = cmdLine;
    app->m_nCmdShow = cmdShow;
    if (!app->InitInstance()) return app->ExitInstance();
    return app->Run();
}

int AfxMessageBox(const wchar_t* text, UINT type)
{
    CWinApp* app = AfxGetApp();
    HWND owner = ::GetActiveWindow();
    if (!owner && app && app->m_pMainWnd) owner = app->m_pMainWnd->m_hWnd;
    return ::MessageBoxW(owner, text, app ? app->m_strAppName.GetString() : L"", type);
}

int AfxMessageBox(UINT textId, UINT type)
{
    CString text;
    text.LoadString(textId);
    return AfxMessageBox(text, type);
}

// The programs' entry point (programs link with -municode); it lives here so
// that every program with an application object gets it.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, wchar_t* cmdLine, int cmdShow)
{
    return AfxWinMain(instance, cmdLine, cmdShow);
}
