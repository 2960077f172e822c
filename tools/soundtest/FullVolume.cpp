#include "FullVolume.h"
#include <vector>

namespace {

// A volume larger than this is a real disk, never filled by a test (the largest
// test volume, R:, holds 56 MB).
const uint64_t kLargestTestVolume = 64ull << 20;

} // namespace

CFullVolume::CFullVolume(wchar_t drive, uint64_t leaveFreeBytes)
{
    m_root = std::wstring(1, drive) + L":\\";
    ULARGE_INTEGER avail = {}, total = {}, free = {};
    if (GetDriveTypeW(m_root.c_str()) != DRIVE_FIXED || !GetDiskFreeSpaceExW(m_root.c_str(), &avail, &total, &free)) {
        m_why = "the sandbox has no small volume at " + std::string(1, (char)drive) +
                ": (scripts/sandbox.sh mounts one when it may mount file systems)";
        return;
    }
    if (total.QuadPart > kLargestTestVolume) {
        m_why = "drive " + std::string(1, (char)drive) + ": is not the sandbox's small volume";
        return;
    }
    Clear();
    HANDLE h = CreateFileW(Path(L"filler.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        m_why = "cannot write on the small volume";
        return;
    }
    std::vector<char> zeros(1 << 20);
    while (FreeBytes() > leaveFreeBytes) {
        uint64_t over = FreeBytes() - leaveFreeBytes;
        DWORD n = (DWORD)(over < zeros.size() ? over : zeros.size()), written = 0;
        if (!WriteFile(h, zeros.data(), n, &written, nullptr) || written == 0) break;
        FlushFileBuffers(h);
    }
    CloseHandle(h);
    m_ok = true;
}

CFullVolume::~CFullVolume()
{
    if (m_ok) Clear();
}

uint64_t CFullVolume::FreeBytes() const
{
    ULARGE_INTEGER avail = {}, total = {}, free = {};
    return GetDiskFreeSpaceExW(m_root.c_str(), &avail, &total, &free) ? avail.QuadPart : 0;
}

void CFullVolume::Clear()
{
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(Path(L"*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW(Path(fd.cFileName).c_str());
    } while (FindNextFileW(find, &fd));
    FindClose(find);
}
