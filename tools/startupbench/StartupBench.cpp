// Times one start of a program: from CreateProcess until a visible top-level
// window of the new process answers a message, which is when a user sees it and
// can use it. Then ends the process (its exit is not what a user waits for).
// Prints "up <seconds> at <Unix time of the answer>" (the second figure lets a
// script time a start that includes this process's own, under a Wine that had to
// start first) or "FAILED <why>".
//   StartupBench [--log <file>] <program.exe> [arguments]
// With --log the program is ended only once it has logged the end of its start-up
// (the work that follows its window) in that file.
#include <windows.h>
#include <cstdio>
#include <string>

namespace {

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM lParam)
{
    Search* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->process || !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

double UnixNow()
{
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    ULONGLONG ticks = ((ULONGLONG)now.dwHighDateTime << 32) | now.dwLowDateTime;
    return double(ticks - 116444736000000000ULL) / 1e7;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency)
{
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

}  // namespace

// Waits (30 s at most) until the file holds the program's last start-up line.
void WaitForStartupLog(const wchar_t* path)
{
    bool logged = false;
    for (int i = 0; i < 600 && !logged; ++i) {
        Sleep(50);
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) continue;
        LONGLONG size = ((LONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow;
        HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            std::string text((size_t)size, '\0');
            DWORD got = 0;
            if (size > 0 && ReadFile(file, &text[0], (DWORD)size, &got, nullptr))
                logged = text.find("ms start-up done") != std::string::npos;
            CloseHandle(file);
        }
    }
}

int wmain(int argc, wchar_t** argv)
{
    const wchar_t* logPath = nullptr;
    if (argc >= 3 && lstrcmpW(argv[1], L"--log") == 0) {
        logPath = argv[2];
        argc -= 2;
        argv += 2;
    }
    if (argc < 2) {
        printf("FAILED usage: StartupBench <program.exe> [arguments]\n");
        return 2;
    }
    std::wstring command = L"\"" + std::wstring(argv[1]) + L"\"";
    for (int i = 2; i < argc; ++i) command += L" " + std::wstring(argv[i]);
    std::wstring folder = argv[1];
    size_t slash = folder.find_last_of(L"\\/");
    folder = slash == std::wstring::npos ? std::wstring(L".") : folder.substr(0, slash);

    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        printf("FAILED CreateProcess %lu\n", GetLastError());
        return 1;
    }
    // Polled: a hook or an event from inside the program would change what is timed.
    double up = -1, upAt = 0;
    for (;;) {
        Search search = {process.dwProcessId, nullptr};
        EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        DWORD_PTR result = 0;
        if (search.found && SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result)) {
            QueryPerformanceCounter(&now);
            up = Seconds(start, now, frequency);
            upAt = UnixNow();
            break;
        }
        QueryPerformanceCounter(&now);
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0 || Seconds(start, now, frequency) > 60) break;
        Sleep(1);
    }
    if (up >= 0 && logPath) WaitForStartupLog(logPath);
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (up < 0) {
        printf("FAILED no window answered\n");
        return 1;
    }
    printf("up %.3f at %.3f\n", up, upAt);
    return 0;
}
