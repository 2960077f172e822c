// The small file interface the sample and format code reads and writes through,
// so that code stays portable. Each platform supplies OpenByteFile and
// NarrowPath (ByteFileWin32.cpp here; a stdio version for native builds).
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CByteFile {
public:
    virtual ~CByteFile() = default;
    // Bytes actually read (0 at the end or on error).
    virtual size_t Read(void* buffer, size_t bytes) = 0;
    // True only when every byte was written.
    virtual bool Write(const void* buffer, size_t bytes) = 0;
    virtual bool Seek(uint64_t offset) = 0;
    virtual uint64_t Tell() const = 0;
    virtual uint64_t Length() const = 0;
    // Ends the file at the current position.
    virtual bool Truncate() = 0;

    // Reads exactly `bytes` or reports failure.
    bool ReadExact(void* buffer, size_t bytes) { return Read(buffer, bytes) == bytes; }
    bool Skip(uint64_t bytes) { return Seek(Tell() + bytes); }
};

enum class FileMode {
    ReadShared,       // read, others may read and write
    ReadExclusive,    // read, others may not open it
    CreateShared,     // create or truncate, read-write, others may read and write
    CreateExclusive,  // create or truncate, read-write, no sharing
    UpdateExclusive,  // open existing, read-write, no sharing
    RewriteShared,    // open or create, read-write, others may read and write; the old bytes stay
    RewriteExclusive, // open or create, read-write, no sharing; the old bytes stay
                      // until written over or cut off with Truncate
};

std::unique_ptr<CByteFile> OpenByteFile(const std::wstring& path, FileMode mode);
bool DeleteByteFile(const std::wstring& path);
// Both names reach one existing file (any spelling, case or link); false when
// either does not exist.
bool IsSameByteFile(const std::wstring& a, const std::wstring& b);
// True when two of the names reach one existing file; each name is looked up once.
bool AnyTwoSameByteFile(const std::vector<std::wstring>& names);
// The path in the system's 8-bit code page (peak files store it that way).
std::string NarrowPath(const std::wstring& path);
