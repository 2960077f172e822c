#include "DriverProcess.h"
#include <cstdio>
#include <tlhelp32.h>
#include <vector>

namespace drv {

Process::~Process()
{
    if (m_process) CloseHandle(m_process);
}

bool Process::Start(const std::wstring& program, const std::wstring& arguments,
                    const std::wstring& folder)
{
    if (m_process) { CloseHandle(m_process); m_process = nullptr; }
    std::wstring line = L"\"" + program + L"\"";
    if (!arguments.empty()) line += L" " + arguments;
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    // Under a busy Wine server a start is now and then refused; the next one goes.
    for (int attempt = 1;; ++attempt) {
        if (CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           folder.empty() ? nullptr : folder.c_str(), &si, &pi))
            break;
        fwprintf(stderr, L"driver: cannot start %ls (error %lu, attempt %d)\n", program.c_str(), GetLastError(),
                 attempt);
        if (attempt == 3) return false;
        Sleep(250);
    }
    CloseHandle(pi.hThread);
    m_process = pi.hProcess;
    m_id = pi.dwProcessId;
    return true;
}

bool Process::Running() const
{
    return m_process && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(DWORD timeoutMs)
{
    return !m_process || WaitForSingleObject(m_process, timeoutMs) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (m_process) GetExitCodeProcess(m_process, &code);
    return code;
}

void Process::Kill()
{
    if (Running()) {
        TerminateProcess(m_process, 255);
        WaitForSingleObject(m_process, 5000);
    }
}

std::wstring OwnFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    size_t slash = folder.find_last_of(L'\\');
    return slash == std::wstring::npos ? L".\\" : folder.substr(0, slash + 1);
}

int EndProcessesStartedFrom(const std::wstring& folder)
{
    int ended = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                                     entry.th32ProcessID);
        if (!process) continue;
        wchar_t image[MAX_PATH * 2] = {};
        DWORD size = MAX_PATH * 2;
        if (QueryFullProcessImageNameW(process, 0, image, &size) && size > folder.size() &&
            CompareStringOrdinal(image, int(folder.size()), folder.c_str(), int(folder.size()), TRUE) == CSTR_EQUAL &&
            TerminateProcess(process, 1)) {
            WaitForSingleObject(process, 5000);
            ++ended;
        }
        CloseHandle(process);
    }
    CloseHandle(snapshot);
    return ended;
}

}  // namespace drv
