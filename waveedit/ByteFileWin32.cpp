#include "ByteFile.h"

#include <windows.h>

#include <algorithm>

namespace {

class CWin32ByteFile : public CByteFile {
public:
    explicit CWin32ByteFile(HANDLE h) : m_h(h) {}
    ~CWin32ByteFile() override { CloseHandle(m_h); }

    size_t Read(void* buffer, size_t bytes) override
    {
        size_t total = 0;
        while (total < bytes) {
            DWORD chunk = (DWORD)std::min<size_t>(bytes - total, 0x40000000u), got = 0;
            if (!ReadFile(m_h, (char*)buffer + total, chunk, &got, nullptr) || got == 0)
                break;
            total += got;
        }
        return total;
    }
    bool Write(const void* buffer, size_t bytes) override
    {
        size_t total = 0;
        while (total < bytes) {
            DWORD chunk = (DWORD)std::min<size_t>(bytes - total, 0x40000000u), put = 0;
            if (!WriteFile(m_h, (const char*)buffer + total, chunk, &put, nullptr) || put == 0)
                return false;
            total += put;
        }
        return true;
    }
    bool Seek(uint64_t offset) override
    {
        LARGE_INTEGER li;
        li.QuadPart = (LONGLONG)offset;
        return SetFilePointerEx(m_h, li, nullptr, FILE_BEGIN) != 0;
    }
    uint64_t Tell() const override
    {
        LARGE_INTEGER zero, pos;
        zero.QuadPart = 0;
        if (!SetFilePointerEx(m_h, zero, &pos, FILE_CURRENT))
            return 0;
        return (uint64_t)pos.QuadPart;
    }
    uint64_t Length() const override
    {
        LARGE_INTEGER size;
        return GetFileSizeEx(m_h, &size) ? (uint64_t)size.QuadPart : 0;
    }
    bool Truncate() override { return SetEndOfFile(m_h) != 0; }

private:
    HANDLE m_h;
};

}  // namespace

std::unique_ptr<CByteFile> OpenByteFile(const std::wstring& path, FileMode mode)
{
    DWORD access = GENERIC_READ, share = 0, disposition = OPEN_EXISTING;
    switch (mode) {
    case FileMode::ReadShared: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    case FileMode::ReadExclusive: break;
    case FileMode::CreateShared:
        access |= GENERIC_WRITE; share = FILE_SHARE_READ | FILE_SHARE_WRITE; disposition = CREATE_ALWAYS; break;
    case FileMode::CreateExclusive: access |= GENERIC_WRITE; disposition = CREATE_ALWAYS; break;
    case FileMode::UpdateExclusive: access |= GENERIC_WRITE; break;
    case FileMode::RewriteShared:
        access |= GENERIC_WRITE; share = FILE_SHARE_READ | FILE_SHARE_WRITE; disposition = OPEN_ALWAYS; break;
    case FileMode::RewriteExclusive: access |= GENERIC_WRITE; disposition = OPEN_ALWAYS; break;
    }
    HANDLE h = CreateFileW(path.c_str(), access, share, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::make_unique<CWin32ByteFile>(h);
}

bool DeleteByteFile(const std::wstring& path)
{
    return DeleteFileW(path.c_str()) != 0;
}

namespace {
// The volume and file index of an existing file; false when it cannot be opened.
bool ByteFileIdentity(const std::wstring& name, BY_HANDLE_FILE_INFORMATION& info)
{
    HANDLE h = CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    const BOOL ok = GetFileInformationByHandle(h, &info);
    CloseHandle(h);
    return ok != FALSE;
}
}  // namespace

bool AnyTwoSameByteFile(const std::vector<std::wstring>& names)
{
    std::vector<BY_HANDLE_FILE_INFORMATION> info(names.size());
    std::vector<bool> found(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        found[i] = ByteFileIdentity(names[i], info[i]);
        for (size_t k = 0; found[i] && k < i; ++k)
            if (found[k] && info[i].dwVolumeSerialNumber == info[k].dwVolumeSerialNumber &&
                info[i].nFileIndexHigh == info[k].nFileIndexHigh && info[i].nFileIndexLow == info[k].nFileIndexLow)
                return true;
    }
    return false;
}

bool IsSameByteFile(const std::wstring& a, const std::wstring& b)
{
    BY_HANDLE_FILE_INFORMATION info[2] = {};
    const std::wstring* names[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        HANDLE h = CreateFileW(names[i]->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        const BOOL ok = GetFileInformationByHandle(h, &info[i]);
        CloseHandle(h);
        if (!ok)
            return false;
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}

std::string NarrowPath(const std::wstring& path)
{
    int n = WideCharToMultiByte(CP_ACP, 0, path.c_str(), (int)path.size(), nullptr, 0, nullptr, nullptr);
    std::string out((size_t)(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, path.c_str(), (int)path.size(), &out[0], n, nullptr, nullptr);
    return out;
}
