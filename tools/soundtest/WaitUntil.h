// Waiting in tests for what takes real time (sound arriving, a file growing):
// poll until it has happened, with a generous limit, instead of sleeping a fixed
// time and hoping it was enough on a busy machine.
#pragma once
#include <windows.h>

namespace testsignal {

// Polls `done` every `stepMs` until it holds or `timeoutMs` has passed; returns done().
template <class Condition>
bool WaitUntil(Condition done, DWORD timeoutMs, DWORD stepMs = 20)
{
    for (DWORD start = GetTickCount();;) {
        if (done()) return true;
        if (GetTickCount() - start >= timeoutMs) return done();
        Sleep(stepMs);
    }
}

}  // namespace testsignal
