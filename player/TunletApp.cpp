#include "TunletApp.h"
#include "PlayerProtocol.h"
#include "Registry.h"
#include "TunletMainFrm.h"
#include <vector>

CTunletApp::CTunletApp() : CWinApp(L"Tunlet") {}

CString CTunletApp::FileFromCommandLine(const wchar_t* commandLine)
{
    CString file(commandLine ? commandLine : L"");
    file.Trim();
    file.TrimLeft(L"\"");
    file.TrimRight(L"\"");
    return file;
}

void CTunletApp::CloseOlderPlayers()
{
    std::vector<HWND> older;
    const DWORD self = ::GetCurrentProcessId();
    for (HWND wnd = ::FindWindowExW(nullptr, nullptr, kPlayerWndClass, kPlayerWndTitle); wnd;
         wnd = ::FindWindowExW(nullptr, wnd, kPlayerWndClass, kPlayerWndTitle)) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(wnd, &pid);
        if (pid != self) older.push_back(wnd);
    }
    for (HWND wnd : older) {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(wnd, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, kCloseWaitMs, &ignored);
    }
}

BOOL CTunletApp::InitInstance()
{
    AfxEnableControlContainer();
    CString file = FileFromCommandLine(m_lpCmdLine);
    CloseOlderPlayers();

    CTunletMainFrm* frame = new CTunletMainFrm(file);
    if (!frame->GetSafeHwnd()) {
        delete frame;
        return FALSE;
    }
    m_pMainWnd = frame;
    frame->ShowWindow(SW_HIDE);
    frame->UpdateWindow();

    DWORD notify = 0;
    if (RegReadDword(HKEY_CURRENT_USER, kPlayerRegKey, kPlayerNotifyValue, notify, 0xFFFFFFFF)) {
        HWND notifyWnd = (HWND)LongToHandle((LONG)notify);
        ::PostMessageW(notifyWnd, WM_PLAYER_STATUS, PLAYER_STATUS_STARTED, 0);
        frame->SetNotifyWnd(notifyWnd);
    }
    return TRUE;
}
