#include "FilterCheckerClient.h"
#include <shellapi.h>
#include "LogFile.h"

FilterCheckerClient g_FilterChecker;

BOOL LoadFilterChecker()
{
    if (g_FilterChecker.library) FreeLibrary(g_FilterChecker.library);
    g_FilterChecker = FilterCheckerClient();

    wchar_t path[MAX_PATH + 32] = L"";
    DWORD chars = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (chars == 0 || chars >= MAX_PATH) return FALSE;
    wchar_t* slash = wcsrchr(path, L'\\');
    if (slash) *slash = L'\0';
    wcscat(path, L"\\NVFilterChecker.dll");

    HMODULE library = LoadLibraryW(path);
    if (!library) return FALSE;
    auto check = (CheckNVFilterFn)(void*)GetProcAddress(library, "CheckNVFilter");
    auto log = check ? (SetLogPrintFn)(void*)GetProcAddress(library, "SetLogPrint") : nullptr;
    auto setPath = log ? (SetPathFn)(void*)GetProcAddress(library, "SetPath") : nullptr;
    if (!setPath) {
        // No caller unloads after a failed load: do not keep the library.
        FreeLibrary(library);
        return FALSE;
    }
    g_FilterChecker.library = library;
    g_FilterChecker.checkNVFilter = check;
    g_FilterChecker.setLogPrint = log;
    g_FilterChecker.setPath = setPath;
    return TRUE;
}

BOOL UnloadFilterChecker()
{
    if (!g_FilterChecker.library) return FALSE;
    HMODULE library = g_FilterChecker.library;
    g_FilterChecker = FilterCheckerClient();
    return FreeLibrary(library);
}

int RunComponentCheck(const CString& appFolder, BOOL debugSwitch)
{
    if (!LoadFilterChecker()) return -1;
    CString list = appFolder + L"kelvrodata.bin";
    if (debugSwitch) g_FilterChecker.setLogPrint(1);
    int result = g_FilterChecker.checkNVFilter(list);
    DebugPrint(L"CheckNVFilter [%s] : %d", list.GetString(), result);
    if (result == 0) {
        CString repair = appFolder + L"kelvro.exe";
        ShellExecuteW(nullptr, L"open", repair, nullptr, nullptr, SW_SHOWNORMAL);
    }
    UnloadFilterChecker();
    return result;
}
