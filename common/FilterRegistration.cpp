#include "FilterRegistration.h"
#include "DeferredStartup.h"
#include "LogFile.h"
#include "SuiteFilterClasses.h"
#include <shellapi.h>

CFilterRegistration g_FilterRegistration;

namespace {

// The DirectShow filter category the filter mapper lists every filter module's filter in.
const wchar_t kLegacyFilterCategory[] = L"{083863F1-70DE-11d0-BD40-00A0C911CE86}";

CString ClassText(const CLSID& clsid)
{
    wchar_t text[64] = {};
    StringFromGUID2(clsid, text, 64);
    return text;
}

CString FullPath(const wchar_t* path)
{
    wchar_t full[MAX_PATH * 2] = {};
    DWORD chars = GetFullPathNameW(path, MAX_PATH * 2, full, nullptr);
    return chars > 0 && chars < MAX_PATH * 2 ? CString(full) : CString(path);
}

BOOL ServerIs(const CLSID& clsid, const CString& modulePath)
{
    CString key = L"CLSID\\" + ClassText(clsid) + L"\\InprocServer32";
    wchar_t server[MAX_PATH * 2] = {};
    DWORD bytes = sizeof(server) - sizeof(wchar_t);
    DWORD type = 0;
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key, 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return FALSE;
    LONG rc = RegQueryValueExW(handle, nullptr, nullptr, &type, (BYTE*)server, &bytes);
    RegCloseKey(handle);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return FALSE;
    return lstrcmpiW(FullPath(server), FullPath(modulePath)) == 0;
}

BOOL ListedAsFilter(const CLSID& clsid)
{
    CString key = CString(L"CLSID\\") + kLegacyFilterCategory + L"\\Instance\\" + ClassText(clsid);
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key, 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return FALSE;
    RegCloseKey(handle);
    return TRUE;
}

}  // namespace

BOOL IsFilterModuleRegisteredAt(const wchar_t* moduleName, const CString& modulePath)
{
    const SuiteFilterModuleClasses* entry = FindSuiteFilterModuleClasses(moduleName);
    if (!entry || !entry->classes[0]) return FALSE;
    // The first class is the module's filter; the others are its pages.
    if (!ListedAsFilter(*entry->classes[0])) return FALSE;
    for (const CLSID* clsid : entry->classes)
        if (clsid && !ServerIs(*clsid, modulePath)) return FALSE;
    return TRUE;
}

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
        // A registration that already names this file needs no process: that is
        // every start but the first after an installation or a move.
        if (IsFilterModuleRegisteredAt(modules[i], module)) continue;
        DebugPrint(L"Registering filter module: [%s]", (const wchar_t*)module);
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
    CDeferredStartup::RunAllNow();
    return g_FilterRegistration.WaitUntilDone(30000);
}
