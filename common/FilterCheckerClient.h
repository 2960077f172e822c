// The programs' bridge to NVFilterChecker.dll in their own folder: load it, bind
// its three exports by name, run the component check, unload it.
#pragma once
#include <windows.h>
#include "String.h"

typedef int(__cdecl* CheckNVFilterFn)(const wchar_t* listPath);
typedef int(__cdecl* SetLogPrintFn)(int enable);
typedef int(__cdecl* SetPathFn)(const wchar_t* folder);

struct FilterCheckerClient {
    HMODULE library = nullptr;
    CheckNVFilterFn checkNVFilter = nullptr;
    SetLogPrintFn setLogPrint = nullptr;
    SetPathFn setPath = nullptr;
};

// The process's one client; the pointers are set only after a successful load.
extern FilterCheckerClient g_FilterChecker;

// Releases any earlier copy, then loads "<own folder>\NVFilterChecker.dll".
// TRUE only when the library and all three exports were found; a library that
// lacks one is released at once.
BOOL LoadFilterChecker();
// FALSE when none was loaded; otherwise the result of releasing it.
BOOL UnloadFilterChecker();

// The component check of the recorder and the starter: when the checker loads,
// checks "<appFolder>kelvrodata.bin" (its own log when debugSwitch), and starts
// "<appFolder>kelvro.exe" without waiting when a component is not registered
// from the installation folder. appFolder ends in "\". Returns the check's
// result, or -1 when the checker could not be loaded and no check ran.
int RunComponentCheck(const CString& appFolder, BOOL debugSwitch);
