#include "EditWorkSet.h"
#include <stdlib.h>
#include <shlwapi.h>
#include "MpegFrameRun.h"
#include "Registry.h"
#include "SharedReadFile.h"
#include "SonelleGlobals.h"

CString SiblingPath(const wchar_t* path, const wchar_t* extension)
{
    wchar_t drive[_MAX_DRIVE], folder[_MAX_DIR], name[_MAX_FNAME], ext[_MAX_EXT];
    _wsplitpath(path, drive, folder, name, ext);
    CString out;
    out.Format(L"%s%s%s%s", drive, folder, name, extension);
    return out;
}

BOOL IsWorkFilePath(const wchar_t* path)
{
    const wchar_t* dot = wcsrchr(path, L'.');
    if (!dot || wcschr(dot, L'\\')) return FALSE;
    for (const wchar_t* ext : {L".tmw", L".npk", L".tm1", L".tm2", L".np1", L".np2", L".nv0", L".nvs"})
        if (!_wcsicmp(dot, ext)) return TRUE;
    return FALSE;
}

void DeleteEffectOutputs(const wchar_t* workPath)
{
    if (!workPath || !*workPath) return;
    for (const wchar_t* ext : {L".tm1", L".tm2", L".np1", L".np2"}) DeleteFileW(SiblingPath(workPath, ext));
}

void DeleteWorkSet(const wchar_t* workPath, BOOL withNv0)
{
    if (!workPath || !*workPath) return;
    DeleteEffectOutputs(workPath);
    DeleteFileW(SiblingPath(workPath, L".npk"));
    DeleteFileW(SiblingPath(workPath, L".nvs"));
    if (withNv0) DeleteFileW(SiblingPath(workPath, L".nv0"));
    DeleteFileW(workPath);
}

namespace {
const wchar_t kWorkSetNote[] = L"EditWorkFile";
}

void NoteWorkSet(const wchar_t* workPath)
{
    RegWriteString(HKEY_CURRENT_USER, g_szRegKey, kWorkSetNote, workPath ? workPath : L"");
}

void DeleteLeftOverWorkSet()
{
    CString noted;
    if (!RegReadString(HKEY_CURRENT_USER, g_szRegKey, kWorkSetNote, noted, L"") || noted.IsEmpty()) return;
    const wchar_t* dot = wcsrchr(noted, L'.');
    // Only a work WAV of our own naming: the note is in a key other programs can write.
    if (dot && !_wcsicmp(dot, L".tmw")) DeleteWorkSet(noted, TRUE);
    NoteWorkSet(nullptr);
}

BOOL WaveWorkCopyBytes(const wchar_t* path, uint64_t& bytes, BOOL& usable)
{
    CSharedReadFile file(path);
    if (!file.IsOpen()) return FALSE;
    char head[12] = {};
    BOOL riffWave = file.ReadAt(0, head, 12) == 12 && !memcmp(head, "RIFF", 4) && !memcmp(head + 8, "WAVE", 4);
    if (!riffWave) return FALSE;
    // Without a "data" chunk there is no sound to convert: the platform's parser
    // would only search the whole file for it.
    WavHeaderInfo info;
    const bool walked = file.ParseWavHeader(info) == WavHeaderStatus::Ok;
    // A bits value of 0 is taken from the block size; without channels there is
    // nothing to take it from, and the file cannot be edited.
    int bits = info.bitsPerSample;
    if (!bits && info.channels) bits = info.blockAlign * 8 / info.channels;
    usable = walked && info.channels && bits && info.sampleRate && info.blockAlign;
    uint64_t need = file.Length();
    if (bits == 8) need *= 2;
    else if (bits == 4) need *= 4;
    bytes = need;
    return TRUE;
}

const wchar_t* RefusalText(UINT id)
{
    switch (id) {
    case kDiskFullMessage: return L"Hard disk is full.";
    case kPathTooLongMessage:
        return L"The file's path is too long: the Edit page opens paths of at most 259 characters. Please move the "
               L"file to a shorter path or give it a shorter name.";
    default: return L"Error opening file!";
    }
}

UINT CheckBeforeOpening(const wchar_t* path, uint64_t freeKB, double (*playSeconds)(const wchar_t*))
{
    // The work files beside the file and the conversion take the path whole or not at all.
    if (wcslen(path) >= MAX_PATH) return kPathTooLongMessage;
    uint64_t needBytes = 0;
    BOOL usable = FALSE;
    if (WaveWorkCopyBytes(path, needBytes, usable)) {
        if (!usable) return kOpenErrorMessage;
        if (freeKB < needBytes / 1024 + kEditReserveKB) return kDiskFullMessage;
        if (needBytes >= (uint64_t(1) << 31)) return kOpenErrorMessage;
        return 0;
    }
    // A file named MP3 must show MP3 frames before the platform is asked how long
    // it plays: its parser searches a crafted or random file for minutes.
    const wchar_t* ext = PathFindExtensionW(path);
    if (!_wcsicmp(ext, L".mp3") && !FileHasMpegFrameRun(path)) return kOpenErrorMessage;
    return CheckPlayTimeRoom(playSeconds ? playSeconds(path) : 0.0, freeKB);
}

UINT CheckPlayTimeRoom(double seconds, uint64_t freeKB)
{
    if (!(seconds > 0)) seconds = 0;
    uint64_t needKB = (uint64_t)(seconds * 48000.0 * 4.0 / 1024.0);
    if (freeKB < needKB + kEditReserveKB) return kDiskFullMessage;
    if (needKB > 2097152) return kOpenErrorMessage;
    return 0;
}
