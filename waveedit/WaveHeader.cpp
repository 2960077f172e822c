#include "WaveHeader.h"

#include "ByteFile.h"
#include "WavHeader.h"

#include <cstring>

namespace {

bool IdIs(const char id[4], const char* text) { return memcmp(id, text, 4) == 0; }

}  // namespace

bool IsSupportedWave(const WaveFileHeader& h)
{
    return IdIs(h.riffId, "RIFF") && IdIs(h.waveId, "WAVE") && h.channels >= 1 && h.channels <= 2 &&
           h.bitsPerSample <= 16 && h.bitsPerSample >= 8 && h.formatTag == 1 && IdIs(h.chunkId, "data");
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
    h.dataOffset = (uint32_t)walk.dataOffset;
    info.dataSize = (uint32_t)walk.dataSize;
    if (!IsSupportedWave(h))
        return kWaveBad;
    // Only whole frames are sample data.
    info.dataSize -= info.dataSize % (uint32_t)WaveBlockAlign(h);
    return info.dataSize != 0 ? kWaveOk : kWaveBad;
}
