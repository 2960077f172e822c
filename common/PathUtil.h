// Small file-system questions: path tests, UTF-8 text, free disk space.
#pragma once
#include <windows.h>
#include "String.h"

// TRUE for an existing folder.
BOOL PathIsFolder(const wchar_t* path);
// TRUE for an existing file or folder.
BOOL PathExists(const wchar_t* path);
// Size of the file at path in bytes; 0 when it cannot be read.
ULONGLONG FileSizeBytes(const wchar_t* path);

// Converts exactly length bytes of UTF-8 (no terminator needed) into a new,
// zero-terminated wide array that the caller releases with delete[]; null when
// text is null, length is negative or memory is short.
wchar_t* Utf8ToWide(const char* text, int length);

// Free space, in KB, that the calling user may fill on the volume holding path;
// 0 when it cannot be determined, 0xFFFFFFFF when it does not fit 32 bits.
DWORD GetFreeDiskSpaceKB(const wchar_t* path);
// The volume root that GetFreeDiskSpaceKB measures: "\\server\share\" for a UNC
// path, otherwise up to and including the first "\" of the full path.
CString GetDiskRootOfPath(const wchar_t* path);
