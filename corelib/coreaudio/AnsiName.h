// Wide names as the library hands them out: ANSI code page, zero-filled rows,
// cut at a character boundary and always terminated.
#pragma once
#include <windows.h>

void ToAnsiName(const wchar_t* text, char* row, int rowBytes);
