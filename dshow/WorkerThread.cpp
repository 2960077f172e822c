#include "WorkerThread.h"

CWorkerThread::CWorkerThread()
{
    m_commandSent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_commandDone = CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

CWorkerThread::~CWorkerThread()
{
    Close();
    CloseHandle(m_commandSent);
    CloseHandle(m_commandDone);
}

bool CWorkerThread::Create()
{
    CAutoLock lock(&m_callerLock);
    if (m_thread)
        return false;
    m_thread = CreateThread(nullptr, 0, &CWorkerThread::Entry, this, 0, nullptr);
    return m_thread != nullptr;
}

void CWorkerThread::Close()
{
    HANDLE thread = m_thread;
    if (!thread)
        return;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    m_thread = nullptr;
}

DWORD WINAPI CWorkerThread::Entry(LPVOID self)
{
    return static_cast<CWorkerThread*>(self)->ThreadProc();
}

DWORD CWorkerThread::CallWorker(DWORD command)
{
    CAutoLock lock(&m_callerLock);
    if (!m_thread)
        return (DWORD)E_FAIL;
    m_command = command;
    SetEvent(m_commandSent);
    HANDLE waits[2] = {m_commandDone, m_thread};
    // A thread that ended on its own can no longer reply.
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
        ResetEvent(m_commandSent);
        return (DWORD)E_FAIL;
    }
    return m_result;
}

DWORD CWorkerThread::GetRequest()
{
    WaitForSingleObject(m_commandSent, INFINITE);
    return m_command;
}

bool CWorkerThread::CheckRequest(DWORD* command)
{
    if (WaitForSingleObject(m_commandSent, 0) != WAIT_OBJECT_0)
        return false;
    if (command)
        *command = m_command;
    return true;
}

void CWorkerThread::Reply(DWORD result)
{
    m_result = result;
    ResetEvent(m_commandSent);
    SetEvent(m_commandDone);
}
