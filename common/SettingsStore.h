// Helpers for the programs' user settings under HKEY_CURRENT_USER\<regKey>:
// numbers and texts, and folder settings with their defaults in the user's music
// folder. A read that fails writes the default back (see Registry.h).
#pragma once
#include <windows.h>
#include "String.h"

DWORD ReadSettingNumber(const wchar_t* regKey, const wchar_t* name, DWORD def);
// The same for a setting that a control shows: a stored value outside
// minimum..maximum reads as the default (and stays stored until the next save).
DWORD ReadSettingNumberInRange(const wchar_t* regKey, const wchar_t* name, DWORD def, DWORD minimum, DWORD maximum);
// A level held as a fraction, stored as a whole number: cut toward zero and kept
// within minimum..maximum; a value that is not a number stores `def`.
DWORD WholeSettingNumber(double value, DWORD minimum, DWORD maximum, DWORD def);
void WriteSettingNumber(const wchar_t* regKey, const wchar_t* name, DWORD value);
void WriteSettingText(const wchar_t* regKey, const wchar_t* name, const wchar_t* text);

// "Exists" as the settings understand it: a search of folder + "*.*" finds an
// entry (the folder ends in "\").
bool SettingFolderFound(const wchar_t* folder);

// "<Music>\<product>\<sub>\", the product folder ("NV Sonelle\") made on the way;
// "<appPath><sub>\" when the music folder cannot be had.
CString DefaultSettingFolder(const wchar_t* product, const wchar_t* sub, const CString& appPath);

// A folder setting: the stored folder when it exists, else the default; made when
// missing (one level). The result is cut to the field's capacity.
void LoadSettingFolder(const wchar_t* regKey, const wchar_t* name, const CString& def, wchar_t* field,
                       size_t capacity);
