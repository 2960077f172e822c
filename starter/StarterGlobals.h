// What the starter's application object finds at start and its dialog uses.
#pragma once
#include <windows.h>
#include "String.h"

extern const wchar_t g_szRegKey[];   // "software\Norvane\NV Sonelle" (machine key)
extern CString g_strTitleBase;       // "LanuchName", else string 101
extern CString g_szAppPath;          // installation folder, ending in "\"
extern HINSTANCE g_hResourceModule;  // language module, else the program
extern HINSTANCE g_hSkinModule;      // skin module, else the program
extern HMODULE g_hExtraModule;       // "SonelleExtra.dll" or "SonelleExtraS.dll", or none
