// The installation folder ("AppPath") and what the programs do there at the end:
// clearing their temporary files and handing the user back to the starter.
#pragma once
#include <windows.h>
#include "String.h"

// The folder of the running program, ending in "\"; empty when it cannot be had
// whole.
CString ProgramFolder();

// The machine key's "AppPath", always ending in "\". A missing value means the
// program's own folder, written back when the key may be written: the current
// directory is wherever the user happened to start the program.
CString LoadAppPath(const wchar_t* regKey);

// LoadLibraryW of the module named by `format` ("%sSonelleWiz.dll") with the
// installation folder filled in; null when it is not there.
HMODULE LoadAppModule(const CString& appPath, const wchar_t* format);

// Deletes the files whose names end in ".<extension>" in "TmpF\" of the temporary
// folder (made when missing); folders and other files stay.
void DeleteTempFiles(const wchar_t* extension);

// Starts "<appPath>SonelleStarter.exe /NOINTRO" without waiting; a missing starter
// is noted in the log, never shown.
void StartStarter(const CString& appPath);
