// Cuts a byte stream into whole MPEG audio frames. Bytes that do not begin a
// frame (damage, a tag someone put in the stream) are skipped up to the next
// frame header; an unfinished frame waits for the bytes that complete it.
#pragma once
#include "MpegFrameHeader.h"
#include <cstddef>
#include <cstdint>
#include <vector>

class CMpegFrameAssembler {
public:
    void Append(const uint8_t* data, size_t bytes);
    // The next whole frame, or false when the bytes held so far end before one does.
    // The frame stays valid until the next call.
    bool Next(const uint8_t*& frame, size_t& length, MpegFrameHeader& header);
    void Reset();
    size_t Held() const { return m_bytes.size() - m_start; }

private:
    std::vector<uint8_t> m_bytes;
    size_t m_start = 0;
};
