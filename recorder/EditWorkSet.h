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

// Messages of a refused open (string ids of the program's resources).
constexpr UINT kDiskFullMessage = 108;      // "Hard disk is full."
constexpr UINT kOpenErrorMessage = 131;     // "Error opening file!"
constexpr UINT kPathTooLongMessage = 220;   // the path has 260 characters or more
// The English text of such a message, for resources that lack it.
const wchar_t* RefusalText(UINT id);

// The checks before opening: 0 when the file may be opened, else the id of the
// message to show. A path of 260 characters or more is refused first; a RIFF/WAVE
// file must have a usable format and a "data" chunk; a file named ".mp3" must
// begin with MPEG frames. `freeKB` is the free space of the volume that will
// hold the work files; the play time is asked only for files that are not
// RIFF/WAVE and pass those checks (the page passes none: the loading dialog
// asks the platform off its window's thread).
UINT CheckBeforeOpening(const wchar_t* path, uint64_t freeKB, double (*playSeconds)(const wchar_t*));

// The room check of a file that is no RIFF/WAVE, from its play time (0 when
// unknown): its work copy takes 48 kHz 16-bit stereo. 0 or a message id as above.
UINT CheckPlayTimeRoom(double seconds, uint64_t freeKB);

// The space the Edit page keeps free on the volume it writes to, in KB.
constexpr uint64_t kEditReserveKB = 51200;
