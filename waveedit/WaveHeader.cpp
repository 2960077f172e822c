#include "WaveHeader.h"

#include "ByteFile.h"

#include <cstring>

namespace {

bool IdIs(const char id[4], const char* text) { return memcmp(id, text, 4) == 0; }

uint32_t U32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | ((uint32_t)p[3] << 24); }
uint16_t U16(const unsigned char* p) { return (uint16_t)(p[0] | (p[1] << 8)); }

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

    unsigned char riff[12] = {};
    if (file.Read(riff, 12) != 12)
        return kWaveNotRiff;
    memcpy(h.riffId, riff, 4);
    h.riffSize = U32(riff + 4);
    memcpy(h.waveId, riff + 8, 4);
    if (!IdIs(h.riffId, "RIFF") || !IdIs(h.waveId, "WAVE"))
        return kWaveNotRiff;

    uint64_t pos = 12;
    bool haveFmt = false;
    while (pos + 8 <= length) {
        unsigned char ch[8];
        if (!file.Seek(pos) || file.Read(ch, 8) != 8)
            break;
        const uint32_t size = U32(ch + 4);
        pos += 8;
        if (IdIs((const char*)ch, "fmt ")) {
            unsigned char fmt[16];
            if (size < 16 || pos + 16 > length || file.Read(fmt, 16) != 16)
                return kWaveBad;
            memcpy(h.fmtId, ch, 4);
            h.fmtSize = size;
            h.formatTag = U16(fmt);
            h.channels = U16(fmt + 2);
            h.sampleRate = U32(fmt + 4);
            h.byteRate = U32(fmt + 8);
            h.blockAlign = U16(fmt + 12);
            h.bitsPerSample = U16(fmt + 14);
            haveFmt = true;
        } else if (IdIs((const char*)ch, "data")) {
            if (!haveFmt)
                return kWaveBad;
            memcpy(h.chunkId, ch, 4);
            h.chunkSize = size;
            h.dataOffset = (uint32_t)pos;
            const uint64_t available = length - pos;
            info.dataSize = (uint32_t)(size < available ? size : available);
            if (!IsSupportedWave(h))
                return kWaveBad;
            // Only whole frames are sample data.
            info.dataSize -= info.dataSize % (uint32_t)WaveBlockAlign(h);
            return info.dataSize != 0 ? kWaveOk : kWaveBad;
        }
        pos += (uint64_t)size + (size & 1);
    }
    return kWaveBad;
}
