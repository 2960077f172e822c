// Process-wide values of the recorder, set once during start-up and read by every
// dialog and page.
#pragma once
#include <windows.h>
#include "String.h"

extern CString g_szAppPath;        // installation folder, always ending in "\"
extern CString g_szWindowTitle;    // the "AdvancedName" title: caption and message-box title
extern HINSTANCE g_hResourceModule;  // language module, or the program itself
extern HINSTANCE g_hSkinModule;      // skin bitmaps, or the program itself
extern HMODULE g_hExtraModule;       // "SonelleExtra.dll" or null
extern HMODULE g_hExtra2Module;      // "WavelornExtra.dll" or null
extern const wchar_t g_szRegKey[];   // "software\Norvane\NV Sonelle", machine and user key
extern UINT g_cfNorvaneFiles;        // clipboard formats of the drop dialogs
extern UINT g_cfNorvaneControl;

// Fixed product kind of the recorder.
constexpr int SONELLE_PRODUCT_KIND = 5;
