// Waiting in a test that hosts windows on its own thread: the thread's messages
// are handled meanwhile, so the windows keep working.
#pragma once
#include <windows.h>
#include <functional>

namespace drv {

// Handles this thread's messages for `ms` milliseconds.
void Pump(DWORD ms);
// Pumps until `done` holds or the time is up; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, DWORD ms);

}  // namespace drv
