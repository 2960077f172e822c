#include "PathUtil.h"
#include <shlwapi.h>
#include <new>
#include <string>

BOOL PathIsFolder(const wchar_t* path)
{
    if (!path || !*path) return FALSE;
    UINT r = (UINT)PathIsDirectoryW(path);
    return r == 1 || r == FILE_ATTRIBUTE_DIRECTORY;
}

BOOL PathExists(const wchar_t* path)
{
    return path && *path && PathFileExistsW(path);
}

ULONGLONG FileSizeBytes(const wchar_t* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!path || !GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return 0;
    return (ULONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

wchar_t* Utf8ToWide(const char* text, int length)
{
    if (!text || length < 0) return nullptr;
    wchar_t* out = new (std::nothrow) wchar_t[(size_t)length + 1];
    if (!out) return nullptr;
    // UTF-8 never needs more UTF-16 units than it has bytes.
    int n = length ? MultiByteToWideChar(CP_UTF8, 0, text, length, out, length) : 0;
    out[n > 0 ? n : 0] = L'\0';
    return out;
}

CString GetDiskRootOfPath(const wchar_t* path)
{
    // Sized to the path: a path of 260 characters or more has a volume too.
    const wchar_t* in = path ? path : L"";
    DWORD need = GetFullPathNameW(in, 0, nullptr, nullptr);
    if (need == 0) return CString();
    std::wstring full(need, L'\0');
    DWORD n = GetFullPathNameW(in, need, &full[0], nullptr);
    if (n == 0 || n >= need) return CString();
    full.resize(n);
    CString root(full.c_str());
    int end = -1;
    if (root.Left(2) == L"\\\\") {
        int server = root.Find(L'\\', 2);
        if (server > 2) end = root.Find(L'\\', server + 1);
    } else {
        end = root.Find(L'\\');
    }
    return end >= 0 ? root.Left(end + 1) : root;
}

DWORD GetFreeDiskSpaceKB(const wchar_t* path)
{
    CString root = GetDiskRootOfPath(path);
    if (root.IsEmpty()) return 0;
    ULARGE_INTEGER available, total, free;
    if (!GetDiskFreeSpaceExW(root, &available, &total, &free)) return 0;
    ULONGLONG kb = available.QuadPart / 1024;
    return kb > 0xFFFFFFFFULL ? 0xFFFFFFFF : (DWORD)kb;
}
