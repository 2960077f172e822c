// Start-up times: each program notes its start-up steps as they end, as
// "Start-up: <ms> ms <step>" lines of its log, counted from the creation of its
// process. The log shows where a slow start goes; the start-up benchmark prints
// the same lines.
#pragma once
#include <windows.h>

// Notes in the log that a step has just ended.
void NoteStartupStep(const wchar_t* step);
// Milliseconds since this process was created.
DWORD StartupMilliseconds();
