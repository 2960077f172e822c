#include "FilterRegistration.h"
#include "LogFile.h"
#include <shellapi.h>

CFilterRegistration g_FilterRegistration;

CFilterRegistration::~CFilterRegistration()
{
    for (HANDLE process : m_processes) CloseHandle(process);
}

void CFilterRegistration::Start(const CString& folder, const wchar_t* const* modules, int count)
{
    for (int i = 0; i < count; ++i) {
        CString module;
        module.Format(L"%s%s", (const wchar_t*)folder, modules[i]);
        // A module that is not installed would make regsvr32 fail without a word
        // at every start: it is noted once here and not registered.
        if (GetFileAttributesW(module) == INVALID_FILE_ATTRIBUTES) {
            DebugPrint(L"Filter module not found, not registered: [%s]", (const wchar_t*)module);
            continue;
        }
        CString parameters;
        parameters.Format(L" /s \"%s%s\"", (const wchar_t*)folder, modules[i]);
        SHELLEXECUTEINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        info.lpVerb = L"open";
        info.lpFile = L"regsvr32.exe";
        info.lpParameters = parameters;
        info.nShow = SW_SHOWNORMAL;
        if (ShellExecuteExW(&info) && info.hProcess) m_processes.push_back(info.hProcess);
    }
}

BOOL CFilterRegistration::WaitUntilDone(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!m_processes.empty()) {
        if (WaitForSingleObject(m_processes.back(), 0) == WAIT_OBJECT_0) {
            CloseHandle(m_processes.back());
            m_processes.pop_back();
            continue;
        }
        DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs) return FALSE;
        // Keep the window responsive while waiting.
        DWORD result = MsgWaitForMultipleObjects(1, &m_processes.back(), FALSE, timeoutMs - waited, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0 + 1) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    PostQuitMessage((int)msg.wParam);
                    return FALSE;
                }
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
    return TRUE;
}

BOOL WaitForFilterRegistration()
{
    return g_FilterRegistration.WaitUntilDone(30000);
}
