// Repairs the suite's registrations: every filter or control of "kelvrodata.bin"
// whose module lies in this folder is registered again from here (one silent
// regsvr32 at a time), then the filter checker checks the whole list again.
// One window tells each component's state and the result; the exit code is 0
// only when the check passes.
#include <windows.h>
#include <cstdio>
#include <string>
#include "FilterCheckerClient.h"
#include "GetInfoString.h"
#include "MngDLL.h"

namespace {

std::wstring OwnFolder()
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    wchar_t* slash = wcsrchr(path, L'\\');
    if (slash) slash[1] = L'\0';
    return path;
}

// Exit code of "regsvr32 /s <module>", or -1 when it could not be run.
long RegisterModule(const std::wstring& module)
{
    wchar_t system[MAX_PATH] = L"";
    GetSystemDirectoryW(system, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(system) + L"\\regsvr32.exe\" /s \"" + module + L"\"";
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = (DWORD)-1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return (long)code;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    std::wstring folder = OwnFolder();
    std::wstring list = folder + L"kelvrodata.bin";
    std::wstring report;

    FILE* file = _wfopen(list.c_str(), L"rb");
    if (file) {
        std::wstring text;
        while (ReadListLine(file, text)) {
            CharLowerBuffW(text.empty() ? nullptr : &text[0], (DWORD)text.size());
            std::wstring name = CGetInfoString::GetInfo(text, L"[name]");
            std::wstring type = CGetInfoString::GetInfo(text, L"[type]");
            if (name.empty() || (type != L"filter" && type != L"ocx")) continue;
            std::wstring module = folder + name;
            if (GetFileAttributesW(module.c_str()) == INVALID_FILE_ATTRIBUTES) {
                report += name + L": not in this folder\r\n";
                continue;
            }
            long code = RegisterModule(module);
            report += name + (code == 0 ? L": registered\r\n" : L": registration failed (" + std::to_wstring(code) + L")\r\n");
        }
        fclose(file);
    } else {
        report += L"No component list in this folder.\r\n";
    }

    int result = 0;
    if (LoadFilterChecker()) {
        g_FilterChecker.setPath(folder.c_str());
        result = g_FilterChecker.checkNVFilter(list.c_str());
        UnloadFilterChecker();
        report += result ? L"\r\nAll components are registered from this folder."
                         : L"\r\nSome components are still not registered from this folder.";
    } else {
        report += L"\r\nThe filter checker NVFilterChecker.dll is missing.";
    }
    MessageBoxW(nullptr, report.c_str(), L"Sonelle component repair",
                MB_OK | (result ? MB_ICONINFORMATION : MB_ICONWARNING) | MB_SETFOREGROUND);
    return result ? 0 : 1;
}
