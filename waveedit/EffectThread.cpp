#include "EffectThread.h"

bool CEffectThread::Start(CAudioEffect* effect, HWND owner, const wchar_t* source, const wchar_t* output,
                          const wchar_t* peakFile)
{
    Stop();
    m_effect = effect;
    m_owner = owner;
    effect->ClearCancel();
    if (!effect->Prepare(source, output, peakFile))
        return false;
    m_thread = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
    return m_thread != nullptr;
}

DWORD WINAPI CEffectThread::ThreadProc(LPVOID param)
{
    CEffectThread* self = static_cast<CEffectThread*>(param);
    const bool ok = self->m_effect->Run();
    if (self->m_owner)
        PostMessageW(self->m_owner, WM_AUDIOEFFECT_DONE, ok ? 1 : 0, 0);
    return 0;
}

bool CEffectThread::IsRunning() const
{
    return m_thread && WaitForSingleObject(m_thread, 0) == WAIT_TIMEOUT;
}

void WaitPumpingMessages(HANDLE handle)
{
    // A WM_QUIT met here belongs to the thread's own loop: it is posted again
    // once the wait is over (posting it at once would end the pumping).
    bool quit = false;
    WPARAM quitCode = 0;
    for (;;) {
        DWORD r = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT);
        if (r != WAIT_OBJECT_0 + 1)
            break;  // the handle is signalled (or the wait failed)
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = msg.wParam;
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (quit)
        PostQuitMessage((int)quitCode);
}

void CEffectThread::Stop()
{
    if (!m_thread)
        return;
    if (m_effect)
        m_effect->Cancel();
    WaitPumpingMessages(m_thread);
    CloseHandle(m_thread);
    m_thread = nullptr;
}
