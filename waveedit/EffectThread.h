// Runs a file effect on a worker thread of its own and tells the owner window
// when it has ended.
#pragma once
#include "AudioEffect.h"

#include <windows.h>

// Posted to the owner window when a run ends: wParam 1 = the whole file was
// processed, 0 = it failed or was cancelled; lParam 0.
#define WM_AUDIOEFFECT_DONE (WM_USER + 52)

class CEffectThread {
public:
    ~CEffectThread() { Stop(); }

    // Reads the source header and starts the worker; false when the source is
    // unusable or no thread could be created. The effect must outlive the run.
    bool Start(CAudioEffect* effect, HWND owner, const wchar_t* source, const wchar_t* output,
               const wchar_t* peakFile);
    int GetProgress() const { return m_effect ? m_effect->GetProgress() : 0; }
    // Asks the worker to stop and waits for it, keeping this thread's messages flowing.
    void Stop();
    bool IsRunning() const;

private:
    static DWORD WINAPI ThreadProc(LPVOID self);

    CAudioEffect* m_effect = nullptr;
    HWND m_owner = nullptr;
    HANDLE m_thread = nullptr;
};

// Waits for a handle while dispatching this thread's window messages.
void WaitPumpingMessages(HANDLE handle);
