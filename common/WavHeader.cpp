#include "WavHeader.h"

#include <cstring>

namespace {

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

bool ReadExact(const WavReadAt& readAt, uint64_t offset, void* buffer, size_t count)
{
    return readAt(offset, buffer, count) == count;
}

}  // namespace

WavHeaderStatus ParseWavHeader(const WavReadAt& readAt, uint64_t fileSize, WavHeaderInfo& info)
{
    info = WavHeaderInfo{};
    uint8_t riff[12];
    if (!ReadExact(readAt, 0, riff, sizeof riff) || memcmp(riff, "RIFF", 4) != 0 ||
        memcmp(riff + 8, "WAVE", 4) != 0)
        return WavHeaderStatus::NotRiffWave;
    info.riffSize = Le32(riff + 4);

    // The RIFF size is not trusted: writers that stream leave it 0 or too large.
    bool haveFormat = false;
    uint64_t offset = 12;
    for (int chunks = 0;; ++chunks) {
        uint8_t chunk[8];
        // Past kMaxWavHeaderChunks the file is no WAV a writer made: a crafted run
        // of empty chunks would otherwise cost one read per 8 bytes of the file.
        if (chunks >= kMaxWavHeaderChunks || offset + 8 > fileSize ||
            !ReadExact(readAt, offset, chunk, sizeof chunk))
            return haveFormat ? WavHeaderStatus::NoDataChunk : WavHeaderStatus::BadFormatChunk;
        const uint32_t size = Le32(chunk + 4);
        const uint64_t body = offset + 8;

        if (memcmp(chunk, "fmt ", 4) == 0) {
            uint8_t fmt[16];
            if (size < 16 || !ReadExact(readAt, body, fmt, sizeof fmt))
                return WavHeaderStatus::BadFormatChunk;
            info.formatTag = Le16(fmt);
            info.channels = Le16(fmt + 2);
            info.sampleRate = Le32(fmt + 4);
            info.avgBytesPerSec = Le32(fmt + 8);
            info.blockAlign = Le16(fmt + 12);
            info.bitsPerSample = Le16(fmt + 14);
            info.fmtSize = size;
            haveFormat = true;
        } else if (memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat)
                return WavHeaderStatus::BadFormatChunk;
            info.dataOffset = body;
            info.storedDataSize = size;
            const uint64_t available = fileSize > body ? fileSize - body : 0;
            info.dataSize = size < available ? size : available;
            return WavHeaderStatus::Ok;
        }
        // Chunks are word aligned: an odd size is followed by one pad byte.
        offset = body + size + (size & 1);
    }
}

bool IsPlainPcm(const WavHeaderInfo& info)
{
    if (info.formatTag != 1 || info.channels < 1 || info.channels > 2)
        return false;
    if (info.bitsPerSample != 8 && info.bitsPerSample != 16)
        return false;
    return IsSampleRateInRange(info.sampleRate) && info.avgBytesPerSec != 0 &&
           info.blockAlign == info.channels * info.bitsPerSample / 8;
}
