// ID3v2 tags (versions 2.2, 2.3, 2.4) as bytes in memory: the header, the walk
// over the frames and their text. Portable C++: every read is checked against the
// bytes given, so a damaged tag can only end the walk early.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Id3v2Header {
    int major = 0;        // 2, 3 or 4
    int revision = 0;
    int flags = 0;
    uint32_t size = 0;    // after the header, without a footer
    bool HasFooter() const { return major == 4 && (flags & 0x10); }
    // Where the sound may begin: header, tag and footer.
    uint64_t TotalBytes() const { return 10ull + size + (HasFooter() ? 10 : 0); }
};

// False unless the 10 bytes are an ID3v2.2/2.3/2.4 header with a 7-bit size.
bool ParseId3v2Header(const uint8_t* p, size_t available, Id3v2Header& header);

// Calls visit(frame id, data, size) for each frame of the tag body (the bytes after
// the header, at most header.size of them). Extended headers are skipped,
// unsynchronisation is undone, compressed and encrypted frames are left out, and
// group and data-length bytes are removed from the data. The walk ends at the
// padding, at a frame of size 0, and at a frame that runs past the body.
void WalkId3v2Frames(const Id3v2Header& header, const uint8_t* body, size_t bodyBytes,
                     const std::function<void(const std::string& id, const uint8_t* data, size_t size)>& visit);

// Text of a frame in the ID3 encoding byte's meaning (0 Latin-1, 1 UTF-16 with a
// byte-order mark of either order, 2 UTF-16 big-endian, 3 UTF-8), up to its
// terminator. `used` gets the bytes read, terminator included.
std::wstring DecodeId3Text(int encoding, const uint8_t* p, size_t size, size_t* used = nullptr);

// Undoes unsynchronisation (0xFF 0x00 -> 0xFF).
std::vector<uint8_t> Id3Resynchronise(const uint8_t* p, size_t size);
