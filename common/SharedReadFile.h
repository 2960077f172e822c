// A file opened for reading while others may write, rename or delete it (the
// recordings and work files the pages look at), read at absolute offsets; its
// WAV header walked.
#pragma once
#include <windows.h>
#include <cstdint>
#include "WavHeader.h"

class CSharedReadFile {
public:
    explicit CSharedReadFile(const wchar_t* path)
        : m_handle(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~CSharedReadFile()
    {
        if (IsOpen()) CloseHandle(m_handle);
    }
    CSharedReadFile(const CSharedReadFile&) = delete;
    CSharedReadFile& operator=(const CSharedReadFile&) = delete;

    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    uint64_t Length() const
    {
        LARGE_INTEGER length = {};
        return GetFileSizeEx(m_handle, &length) ? (uint64_t)length.QuadPart : 0;
    }
    // Bytes read at `offset` (0 on failure).
    size_t ReadAt(uint64_t offset, void* buffer, size_t count) const
    {
        LARGE_INTEGER at;
        at.QuadPart = (LONGLONG)offset;
        DWORD got = 0;
        if (!SetFilePointerEx(m_handle, at, nullptr, FILE_BEGIN) || !ReadFile(m_handle, buffer, (DWORD)count, &got, nullptr))
            return 0;
        return got;
    }
    WavHeaderStatus ParseWavHeader(WavHeaderInfo& info) const
    {
        return ::ParseWavHeader([this](uint64_t offset, void* buffer, size_t count) { return ReadAt(offset, buffer, count); },
                                Length(), info);
    }

private:
    HANDLE m_handle;
};
