// Test double of the starter: appends its arguments as one UTF-8 line to
// "<own path without extension>.args" and ends at once, showing no window.
#include <windows.h>
#include <cwchar>
#include <string>

namespace {
// The command line after the program's own (possibly quoted) path.
std::wstring Arguments(const wchar_t* line)
{
    if (*line == L'"') {
        const wchar_t* end = wcschr(line + 1, L'"');
        line = end ? end + 1 : line + wcslen(line);
    } else {
        while (*line && *line != L' ' && *line != L'\t') ++line;
    }
    while (*line == L' ' || *line == L'\t') ++line;
    return line;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring record(path);
    size_t dot = record.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > record.find_last_of(L'\\')) record.resize(dot);
    record += L".args";

    std::wstring arguments = Arguments(GetCommandLineW()) + L"\r\n";
    char utf8[4096] = {};
    int size = WideCharToMultiByte(CP_UTF8, 0, arguments.c_str(), (int)arguments.size(), utf8,
                                   sizeof(utf8), nullptr, nullptr);
    HANDLE file = CreateFileW(record.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, utf8, (DWORD)size, &written, nullptr);
    CloseHandle(file);
    return 0;
}
