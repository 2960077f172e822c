// Media files of a folder: ScanFolder lists the files whose extension belongs to
// the wanted media classes.
#pragma once
#include <windows.h>
#include "List.h"

// Media classes, combinable into a mask.
enum {
    MEDIA_NONE = 0,
    MEDIA_VIDEO = 1,      // .AVI .MPEG .MPG .WMV
    MEDIA_AUDIO = 16,     // .WAV
    MEDIA_PICTURE = 256,  // .BMP .JPG .JPEG .GIF
};

// One file found by ScanFolder. The 8-bit fields are in the ANSI code page and
// cut to their size; the wide fields hold the names exactly, so files whose names
// the code page cannot represent can be opened again.
struct NV_PathInfo {
    char szTitle[260];        // name without extension
    char szExt[10];           // extension with its dot
    char szFolder[260];       // path up to and including the "\" before the name
    wchar_t wszTitle[MAX_PATH];
    wchar_t wszExt[MAX_PATH];
    wchar_t wszFolder[MAX_PATH];
};

// Caller-owned list of records, in the order found; release with FreePathInfoList.
typedef CList<NV_PathInfo*, NV_PathInfo*> CPathInfoList;

// Class of an extension such as ".wav" (any letter case); MEDIA_NONE when unknown.
int GetMediaClass(const wchar_t* ext);
// Appends a record for every file in folder (and, when recurse is 1, in its
// sub-folders) whose media class shares a bit with mediaMask. FALSE only when
// memory ran out.
BOOL ScanFolder(const wchar_t* folder, CPathInfoList& list, int recurse, int mediaMask);
// Frees every record and empties the list; returns 1.
int FreePathInfoList(CPathInfoList& list);
