// The WAV header walk: finds the "fmt " and "data" chunks of a RIFF/WAVE file,
// passing over any other chunk (JUNK, LIST, bext, ...) with its pad byte.
// Portable C++: no Windows types, reads through a caller-supplied function.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>

struct WavHeaderInfo {
    uint32_t riffSize = 0;    // as stored (streaming writers leave it 0 or too large)
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint32_t fmtSize = 0;     // size of the "fmt " chunk as stored
    uint64_t dataOffset = 0;  // file offset of the first sound byte
    uint32_t storedDataSize = 0; // the data chunk's size as stored
    uint64_t dataSize = 0;    // the data chunk's size, cut to what the file holds
};

enum class WavHeaderStatus {
    Ok,
    NotRiffWave,    // no "RIFF" ... "WAVE" at the start
    BadFormatChunk, // "fmt " missing, shorter than 16 bytes or after "data"
    NoDataChunk,    // the walk reached the end without a "data" chunk
};

// Reads up to `count` bytes at absolute `offset` into `buffer`; returns the bytes read.
using WavReadAt = std::function<size_t(uint64_t offset, void* buffer, size_t count)>;

// Chunks the walk looks at before it gives up finding "data": writers put a
// handful (JUNK, LIST, bext, fact, cue ...) before the sound.
constexpr int kMaxWavHeaderChunks = 4096;

// Walks the header of a file of `fileSize` bytes.
WavHeaderStatus ParseWavHeader(const WavReadAt& readAt, uint64_t fileSize, WavHeaderInfo& info);

// Sample rates the suite takes from a file or a stream: anything outside is a
// crafted or broken header (it would size buffers or divide by nonsense).
constexpr uint32_t kMinSampleRate = 1;
constexpr uint32_t kMaxSampleRate = 384000;
inline bool IsSampleRateInRange(int64_t rate) { return rate >= kMinSampleRate && rate <= kMaxSampleRate; }

// True for integer PCM that a simple stream can carry: tag 1, one or two channels,
// 8 or 16 bits, a block alignment matching them, a sample rate in range and a
// non-zero byte rate (nothing that is later used as a divisor can be zero).
bool IsPlainPcm(const WavHeaderInfo& info);
