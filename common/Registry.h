// Single registry values for every program: a number or a string under a root key
// and sub-key. In a 32-bit process on 64-bit Windows every key is opened in the
// 32-bit view, so all programs and the installer see the same values.
//
// A read of a value that does not exist writes the caller's default back, so a
// missing setting is created the first time it is read; the defaults 0xFFFFFFFF
// and "" write nothing. A value that exists but cannot be used (wrong type, too
// long, unterminated) is left alone, and keys that belong to the platform are
// never written by a read.
#pragma once
#include <windows.h>
#include "String.h"

BOOL IsWow64();
BOOL RegWriteDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD value);
BOOL RegWriteString(HKEY root, const wchar_t* subKey, const wchar_t* name, const wchar_t* text);
// TRUE when the value is gone afterwards (also when it was never there).
BOOL RegDeleteValueOf(HKEY root, const wchar_t* subKey, const wchar_t* name);
// TRUE only when the value was read into out; out is left alone otherwise.
BOOL RegReadDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD& out, DWORD def);
// Strings of up to 259 characters, REG_SZ or REG_EXPAND_SZ (returned unexpanded).
BOOL RegReadString(HKEY root, const wchar_t* subKey, const wchar_t* name, CString& out, const wchar_t* def);
