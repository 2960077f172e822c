// The record of what a work WAV was made from (".nvs" beside it): the source's
// path, size and last-write time, and the length the work WAV had when its
// conversion ended. A left-over work set is used again only for that very
// source and only while the work WAV is whole; two sources that share a work
// name ("Talk.wav" and "Talk.mp3"), a source replaced by another of the same
// length, or a work WAV cut short by a killed conversion are converted again.
#pragma once
#include <windows.h>
#include "String.h"

// The record's path beside the work WAV (or the file converted).
CString WorkSetSourcePath(const wchar_t* workPath);

// Writes the record of `source` for the finished work WAV `workPath`; FALSE
// when either cannot be read or the record cannot be written.
BOOL WriteWorkSetSource(const wchar_t* workPath, const wchar_t* source);

// TRUE when the record beside `workPath` names `source` as it is now (path
// without regard to case, size, last-write time) and the work WAV still has
// the length recorded.
BOOL WorkSetMadeFrom(const wchar_t* workPath, const wchar_t* source);
