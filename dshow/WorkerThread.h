// CWorkerThread: a thread that takes commands one at a time. Callers block in
// CallWorker until the thread has replied, so commands from several threads are
// queued in the order they take the caller lock.
#pragma once
#include "CritSec.h"

class CWorkerThread {
public:
    CWorkerThread();
    virtual ~CWorkerThread();
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    bool Create();            // false when a thread is already running or cannot start
    void Close();             // waits for the thread's end
    bool ThreadExists() const { return m_thread != nullptr; }

    // Caller side: sends a command and waits for the reply.
    DWORD CallWorker(DWORD command);

    // Worker side.
    DWORD GetRequest();                 // waits for the next command
    bool CheckRequest(DWORD* command);  // peeks without waiting; the command stays pending
    void Reply(DWORD result);

protected:
    virtual DWORD ThreadProc() = 0;

private:
    static DWORD WINAPI Entry(LPVOID self);
    HANDLE m_thread = nullptr;
    HANDLE m_commandSent;     // manual reset: set while a command waits for its reply
    HANDLE m_commandDone;     // auto reset
    DWORD m_command = 0;
    DWORD m_result = 0;
    CCritSec m_callerLock;
};
