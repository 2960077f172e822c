// The header of a PCM WAV file and the walk over its chunks to "data".
// Portable: used by the wave document and by the file effects alike.
#pragma once
#include <cstdint>

class CByteFile;

#pragma pack(push, 1)
struct WaveFileHeader {
    char riffId[4];
    uint32_t riffSize;
    char waveId[4];
    char fmtId[4];
    uint32_t fmtSize;
    uint16_t formatTag;
    uint16_t channels;
    uint32_t sampleRate;
    uint32_t byteRate;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
    char chunkId[4];     // "data" after a successful walk
    uint32_t chunkSize;  // the stored size of the data chunk
    uint32_t dataOffset; // offset of the first sample byte (44 for a plain header)
};
#pragma pack(pop)
static_assert(sizeof(WaveFileHeader) == 48, "WaveFileHeader is a 48-byte record");

enum WaveHeaderResult { kWaveBad = 0, kWaveOk = 1, kWaveTooLarge = 2, kWaveNotRiff = 255 };

// Sample bytes a document can hold: frame positions are 32-bit signed numbers.
constexpr uint32_t kMaxWaveDataBytes = 0x7FFFFFFF;

struct WaveHeaderInfo {
    WaveFileHeader header{};
    uint64_t fileLength = 0;
    // Bytes of sample data: the data chunk's own size, limited to the file.
    uint32_t dataSize = 0;
};

// Walks the chunks of an open file: "fmt " (at least 16 bytes) and "data" are
// found wherever they are, every other chunk is skipped by its size, and the
// pad byte after an odd-sized chunk is honoured. Never reads past the file.
// kWaveNotRiff: not a RIFF/WAVE file; kWaveBad: unusable (no fmt, not PCM,
// unsupported layout, no or empty data); kWaveTooLarge: more than
// kMaxWaveDataBytes of sound; kWaveOk otherwise.
int ReadWaveHeader(CByteFile& file, WaveHeaderInfo& info);

// PCM, 1 or 2 channels, 8 or 16 bits with a matching block alignment, a sample
// rate in range and a data chunk found: the same rule as every other reader's.
bool IsSupportedWave(const WaveFileHeader& h);

inline int WaveBlockAlign(const WaveFileHeader& h)
{
    return h.channels == 0 ? 1 : h.channels * (h.bitsPerSample / 8);
}
