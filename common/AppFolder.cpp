#include "AppFolder.h"
#include "LogFile.h"
#include "Registry.h"
#include <shellapi.h>
#include <vector>

CString ProgramFolder()
{
    // The path is taken whole, however long the installation folder is: a cut
    // path would name another folder.
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), (DWORD)path.size());
        if (length == 0) return CString();
        if (length < path.size()) break;
        if (path.size() >= 32768) return CString();
        path.resize(path.size() * 2);
    }
    CString own(path.data());
    int slash = own.ReverseFind(L'\\');
    return slash < 0 ? CString() : own.Left(slash + 1);
}

CString LoadAppPath(const wchar_t* regKey)
{
    CString def = ProgramFolder();
    CString stored;
    CString folder;
    if (def.IsEmpty()) {
        // Without the program's own path nothing is written: a wrong "AppPath"
        // in the machine key would outlive this run.
        folder = RegReadString(HKEY_LOCAL_MACHINE, regKey, L"AppPath", stored, L"") ? stored : CString();
    } else {
        folder = RegReadString(HKEY_LOCAL_MACHINE, regKey, L"AppPath", stored, def) ? stored : def;
    }
    if (folder.IsEmpty() || folder[folder.GetLength() - 1] != L'\\') {
        CString withSlash;
        withSlash.Format(L"%s\\", (const wchar_t*)folder);
        folder = withSlash;
    }
    return folder;
}

HMODULE LoadAppModule(const CString& appPath, const wchar_t* format)
{
    CString path;
    path.Format(format, (const wchar_t*)appPath);
    return LoadLibraryW(path);
}

namespace {
bool HasExtension(const wchar_t* name, const wchar_t* extension)
{
    const wchar_t* dot = wcsrchr(name, L'.');
    return dot && _wcsicmp(dot + 1, extension) == 0;
}
}  // namespace

void DeleteTempFiles(const wchar_t* extension)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    CString folder;
    folder.Format(L"%sTmpF\\", temp);
    CreateDirectoryW(folder, nullptr);

    CString base = folder.Left(folder.GetLength() - 1);
    CString pattern;
    pattern.Format(base.GetLength() && base[base.GetLength() - 1] == L'\\' ? L"%s*.%s" : L"%s\\*.%s",
                   (const wchar_t*)base, extension);
    std::vector<CString> found;
    found.reserve(10);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(pattern, &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!wcscmp(data.cFileName, L".") || !wcscmp(data.cFileName, L"..")) continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            // The pattern also matches through short names ("b.mp3x" is "B~1.MP3"):
            // only a long name with that very extension counts.
            if (!HasExtension(data.cFileName, extension)) continue;
            found.push_back(CString(folder) + data.cFileName);
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    for (const CString& path : found) DeleteFileW(path);
}

void StartStarter(const CString& appPath)
{
    CString path;
    path.Format(L"%s%s", (const wchar_t*)appPath, L"SonelleStarter.exe");
    DebugPrint(L"OnBackToStarter [%s]", (const wchar_t*)path);
    // The user is leaving anyway: nothing to show when the starter is missing.
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
        DebugPrint(L"OnBackToStarter: no starter at [%s]", (const wchar_t*)path);
        return;
    }
    ShellExecuteW(nullptr, L"open", path, L"/NOINTRO", nullptr, SW_SHOWNORMAL);
}
