// The numbers and texts of the Record page's recording run: the longest recording
// the free disk space allows, the file name of a new recording, the status texts
// and the level bar value of a level in dB.
#pragma once
#include <windows.h>
#include <functional>
#include "RecordTime.h"
#include "String.h"

// Disk space a recording always leaves free, in KB.
constexpr DWORD kDiskReserveKB = 51200;
// The longest recording (24 hours).
constexpr unsigned kMaxRecordSeconds = 86400;

// Seconds of sound of the given format that fit into the free space less the
// reserve, at most a day. A format of less than 1 KB per second counts as 1 KB.
unsigned MaxRecordSeconds(ULONGLONG freeKB, int rate, int channels, int bits);

// "<folder><prefix>_HHMMSS.wav" ("<folder>HHMMSS.wav" without a prefix). A name
// that `exists` reports taken gets "-2", "-3"... before ".wav", so no recording
// ever replaces a file.
CString RecordFilePath(const wchar_t* folder, const wchar_t* prefix, int hour, int minute, int second,
                       const std::function<bool(const wchar_t*)>& exists);

// The same name, created new and empty (CREATE_NEW) so that nothing else can be
// at that path when the recording writes there: a name that is taken, also by a
// file made a moment before, gives way to the next. Empty when the folder takes no
// new file (the system's error code in `error`).
CString CreateRecordFile(const wchar_t* folder, const wchar_t* prefix, int hour, int minute, int second,
                         DWORD* error = nullptr);
// Deletes a file that CreateRecordFile made when no recording went into it (it is
// still empty); any other file stays.
void DeleteUnusedRecordFile(const wchar_t* path);

// "%3.2f MB" above 1 MB, else "%3.1f KB".
CString RecordedSizeText(LONGLONG bytes);
// "N %".
CString PercentText(int percent);

// Level bar value: 0 below -20 dB, else (dB + 30) x 2 cut toward zero.
int LevelBarValue(double decibels);
