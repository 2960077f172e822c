// What the disc-image writers read from and write to. Portable C++: the
// Windows glue opens the real files; tests can hand memory.
#pragma once
#include <cstddef>
#include <cstdint>

namespace discimage {

// Receives the image bytes in order.
class IImageSink {
public:
    virtual ~IImageSink() = default;
    virtual bool Write(const uint8_t* data, size_t count) = 0;
};

// Hands out the content of the layout's entries, one at a time.
class IContentSource {
public:
    virtual ~IContentSource() = default;
    // Opens entry `index` (in the order it was added) for reading from its start.
    virtual bool Open(size_t index) = 0;
    // Reads up to `count` bytes; 0 at the end or on an error.
    virtual size_t Read(uint8_t* buffer, size_t count) = 0;
    virtual void Close() = 0;
};

// Told after every block of sectors; returning false abandons the write.
class IWriteProgress {
public:
    virtual ~IWriteProgress() = default;
    virtual bool SectorsWritten(uint32_t total) = 0;
};

}  // namespace discimage
