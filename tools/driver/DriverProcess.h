// A program started by the driver: its process, its exit and its code.
#pragma once
#include <windows.h>
#include <string>

namespace drv {

class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Starts `program` with `arguments` (appended after the quoted program path);
    // `folder` is the working directory (empty = the driver's own).
    bool Start(const std::wstring& program, const std::wstring& arguments = L"",
               const std::wstring& folder = L"");
    bool Running() const;
    // Waits up to timeoutMs for the end; true when the process has ended.
    bool WaitForExit(DWORD timeoutMs);
    DWORD ExitCode() const;
    DWORD Id() const { return m_id; }
    HANDLE Handle() const { return m_process; }
    // Ends a program that did not end by itself (test clean-up only).
    void Kill();

private:
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
};

// Ends every process whose program lies in `folder` (ending in "\"): a test
// installation's clean-up, for programs started by the programs it drove.
// Returns how many it ended.
int EndProcessesStartedFrom(const std::wstring& folder);

// Folder of the running program, ending in "\".
std::wstring OwnFolder();

}  // namespace drv
