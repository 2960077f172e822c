#include "DriverProcess.h"
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
    if (!CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &pi))
        return false;
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

}  // namespace drv
