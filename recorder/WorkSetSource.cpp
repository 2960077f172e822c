#include "WorkSetSource.h"
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>
#include "EditWorkSet.h"

namespace {

const char kMagic[4] = {'N', 'V', 'S', 'I'};
const uint32_t kVersion = 1;

struct Identity {
    uint64_t size = 0, writeTime = 0;
};

BOOL IdentityOf(const wchar_t* path, Identity& id)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return FALSE;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return FALSE;
    id.size = ((uint64_t)data.nFileSizeHigh << 32) | data.nFileSizeLow;
    id.writeTime = ((uint64_t)data.ftLastWriteTime.dwHighDateTime << 32) | data.ftLastWriteTime.dwLowDateTime;
    return TRUE;
}

// magic, version, source size, source time, work length, path length in
// characters, then the path (UTF-16, no terminator); little-endian.
std::vector<uint8_t> Encode(const wchar_t* source, const Identity& id, uint64_t workLength)
{
    const uint32_t chars = (uint32_t)wcslen(source);
    std::vector<uint8_t> out(4 + 4 + 8 + 8 + 8 + 4 + (size_t)chars * 2);
    uint8_t* p = out.data();
    auto put = [&p](const void* v, size_t n) {
        memcpy(p, v, n);
        p += n;
    };
    put(kMagic, 4);
    put(&kVersion, 4);
    put(&id.size, 8);
    put(&id.writeTime, 8);
    put(&workLength, 8);
    put(&chars, 4);
    put(source, (size_t)chars * 2);
    return out;
}

}  // namespace

CString WorkSetSourcePath(const wchar_t* workPath)
{
    return SiblingPath(workPath, L".nvs");
}

BOOL WriteWorkSetSource(const wchar_t* workPath, const wchar_t* source)
{
    Identity src, work;
    if (!workPath || !source || !IdentityOf(source, src) || !IdentityOf(workPath, work)) return FALSE;
    const std::vector<uint8_t> bytes = Encode(source, src, work.size);
    const CString path = WorkSetSourcePath(workPath);
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FALSE;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
    if (!ok) DeleteFileW(path);
    return ok;
}

BOOL WorkSetMadeFrom(const wchar_t* workPath, const wchar_t* source)
{
    Identity src, work;
    if (!workPath || !source || !IdentityOf(source, src) || !IdentityOf(workPath, work)) return FALSE;
    HANDLE file = CreateFileW(WorkSetSourcePath(workPath), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FALSE;
    // The record we would write now must be the one on disk, byte for byte
    // except the path's letter case.
    const std::vector<uint8_t> expected = Encode(source, src, work.size);
    std::vector<uint8_t> stored(expected.size() + 1);
    DWORD got = 0;
    BOOL read = ReadFile(file, stored.data(), (DWORD)stored.size(), &got, nullptr);
    CloseHandle(file);
    if (!read || got != expected.size()) return FALSE;
    const size_t head = expected.size() - wcslen(source) * 2;
    if (memcmp(stored.data(), expected.data(), head)) return FALSE;
    std::wstring storedPath((expected.size() - head) / 2, L'\0');
    memcpy(&storedPath[0], stored.data() + head, expected.size() - head);
    return _wcsicmp(storedPath.c_str(), source) == 0;
}
