// Registration of the suite's filter modules at start: one silent regsvr32 per
// module of the installation folder whose registration does not already name that
// file (a process costs a tenth of a second or more, reading the registry next to
// nothing); modules of other names are registered every time. The processes are
// kept so that a page can wait for them before it builds its first graph (a first
// run would otherwise fail to create filters that are still being registered).
#pragma once
#include <windows.h>
#include <vector>
#include "String.h"

class CFilterRegistration {
public:
    ~CFilterRegistration();
    // Starts "regsvr32.exe /s "<folder><module>"" for each module that is there
    // and not registered from there yet; does not wait.
    void Start(const CString& folder, const wchar_t* const* modules, int count);
    // Waits (pumping messages) until every registration has ended or timeoutMs
    // has passed; TRUE when all have ended.
    BOOL WaitUntilDone(DWORD timeoutMs);
    // Registrations started and not yet seen to end.
    int GetPendingCount() const { return (int)m_processes.size(); }

private:
    std::vector<HANDLE> m_processes;
};

// The program's registrations, started by its main dialog.
extern CFilterRegistration g_FilterRegistration;
// What pages call before they build a graph: runs the program's deferred start-up
// first when the window has not run it yet, then waits for the registrations.
BOOL WaitForFilterRegistration();
// TRUE when the module (a suite filter module known by name) has its filter listed
// and every class of it served by the file at modulePath.
BOOL IsFilterModuleRegisteredAt(const wchar_t* moduleName, const CString& modulePath);
