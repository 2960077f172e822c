#include "WaveHeader.h"

#include "ByteFile.h"
#include "WavHeader.h"

#include <cstdint>
#include <cstring>

namespace {

bool IdIs(const char id[4], const char* text) { return memcmp(id, text, 4) == 0; }

}  // namespace

bool IsSupportedWave(const WaveFileHeader& h)
{
    WavHeaderInfo format;
    format.formatTag = h.formatTag;
    format.channels = h.channels;
    format.sampleRate = h.sampleRate;
    format.avgBytesPerSec = h.byteRate;
    format.blockAlign = h.blockAlign;
    format.bitsPerSample = h.bitsPerSample;
    return IdIs(h.riffId, "RIFF") && IdIs(h.waveId, "WAVE") && IdIs(h.chunkId, "data") && IsPlainPcm(format);
}

int ReadWaveHeader(CByteFile& file, WaveHeaderInfo& info)
{
    info = WaveHeaderInfo();
    WaveFileHeader& h = info.header;
    const uint64_t length = file.Length();
    info.fileLength = length;
    if (!file.Seek(0))
        return kWaveBad;

    const WavReadAt readAt = [&file](uint64_t offset, void* buffer, size_t count) -> size_t {
        return file.Seek(offset) ? file.Read(buffer, count) : 0;
    };
    WavHeaderInfo walk;
    const WavHeaderStatus status = ParseWavHeader(readAt, length, walk);
    if (status == WavHeaderStatus::NotRiffWave)
        return kWaveNotRiff;

    memcpy(h.riffId, "RIFF", 4);
    memcpy(h.waveId, "WAVE", 4);
    h.riffSize = walk.riffSize;
    if (status != WavHeaderStatus::Ok)
        return kWaveBad;

    memcpy(h.fmtId, "fmt ", 4);
    h.fmtSize = walk.fmtSize;
    h.formatTag = walk.formatTag;
    h.channels = walk.channels;
    h.sampleRate = walk.sampleRate;
    h.byteRate = walk.avgBytesPerSec;
    h.blockAlign = walk.blockAlign;
    h.bitsPerSample = walk.bitsPerSample;
    memcpy(h.chunkId, "data", 4);
    h.chunkSize = walk.storedDataSize;
    if (walk.dataOffset > UINT32_MAX)
        return kWaveBad;
    h.dataOffset = (uint32_t)walk.dataOffset;
    if (!IsSupportedWave(h))
        return kWaveBad;
    // Only whole frames are sample data.
    const uint64_t data = walk.dataSize - walk.dataSize % (uint64_t)WaveBlockAlign(h);
    if (data > kMaxWaveDataBytes)
        return kWaveTooLarge;
    info.dataSize = (uint32_t)data;
    return info.dataSize != 0 ? kWaveOk : kWaveBad;
}
