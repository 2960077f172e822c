// The files the Edit page works on for one opened file: the work WAV (".tmw")
// and its peak file (".npk") beside the file, the effect outputs (".tm1",
// ".tm2") with their peak files (".np1", ".np2"), and the tag-less copy of an
// MP3 (".nv0"), and the record of the source the work WAV was made from
// (".nvs", WorkSetSource.h). Also the checks made before a file is opened.
#pragma once
#include <windows.h>
#include <cstdint>
#include "String.h"

// "<drive><folder><name><extension>" of a path with its extension replaced
// (extension with its dot, e.g. L".tmw").
CString SiblingPath(const wchar_t* path, const wchar_t* extension);

// TRUE when the path ends in one of the work-set extensions: opening such a
// file would make the writer empty it and the next open delete it.
BOOL IsWorkFilePath(const wchar_t* path);

// Deletes the effect outputs beside the work WAV `workPath` (".tm1", ".tm2"
// and their peak files ".np1", ".np2"); the work WAV and its ".npk" stay.
void DeleteEffectOutputs(const wchar_t* workPath);

// Deletes the work set of the work WAV `workPath` (".tm1", ".tm2", ".np1",
// ".np2", ".npk", ".nvs", on request ".nv0", then the work WAV itself). Missing files
// are no error; nothing happens for an empty path.
void DeleteWorkSet(const wchar_t* workPath, BOOL withNv0);

// The work set in use is noted in the user's settings key while it exists, so
// that a run that was ended from outside (killed, crashed) does not leave it
// beside the user's file for good: the next start deletes what the note names.
// An empty path forgets the note.
void NoteWorkSet(const wchar_t* workPath);
// Deletes the work set a previous run left noted (only a ".tmw" path and its
// siblings of the work-set naming) and forgets the note.
void DeleteLeftOverWorkSet();

// Bytes the 16-bit work copy of a RIFF/WAVE file needs; FALSE when the file is
// no RIFF/WAVE file. `usable` is FALSE when its format names no channels,
// bits and block size to compute with.
BOOL WaveWorkCopyBytes(const wchar_t* path, uint64_t& bytes, BOOL& usable);

// The checks before opening: 0 when the file may be opened, else the id of the
// message to show (108 "Hard disk is full.", 131 "Error opening file!").
// `freeKB` is the free space of the volume that will hold the work files; the
// play time is asked only for files that are not RIFF/WAVE.
UINT CheckBeforeOpening(const wchar_t* path, uint64_t freeKB, double (*playSeconds)(const wchar_t*));

// The space the Edit page keeps free on the volume it writes to, in KB.
constexpr uint64_t kEditReserveKB = 51200;
