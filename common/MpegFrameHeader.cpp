#include "MpegFrameHeader.h"

namespace {

// Bitrates in kbps by [version group][layer - 1][index]; group 0 MPEG-1, 1 MPEG-2 and 2.5.
const short kBitrates[2][3][15] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}},
};
const int kRates[3] = {44100, 48000, 32000};

} // namespace

int MpegFrameHeader::SideInfoBytes() const
{
    if (version == 1) return channelMode == 3 ? 17 : 32;
    return channelMode == 3 ? 9 : 17;
}

bool ParseMpegFrameHeader(const uint8_t* p, size_t available, MpegFrameHeader& h)
{
    if (available < 4 || p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
    int versionBits = (p[1] >> 3) & 3;
    int layerBits = (p[1] >> 1) & 3;
    int bitrateIndex = p[2] >> 4;
    int rateIndex = (p[2] >> 2) & 3;
    if (versionBits == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) return false;
    h.version = versionBits == 3 ? 1 : versionBits == 2 ? 2 : 25;
    h.layer = 4 - layerBits;
    h.crc = (p[1] & 1) == 0;
    h.bitrateKbps = kBitrates[h.version == 1 ? 0 : 1][h.layer - 1][bitrateIndex];
    h.sampleRate = kRates[rateIndex] >> (h.version == 1 ? 0 : h.version == 2 ? 1 : 2);
    h.padding = (p[2] >> 1) & 1;
    h.channelMode = p[3] >> 6;
    int bitrate = h.bitrateKbps * 1000;
    if (h.layer == 1) {
        h.samplesPerFrame = 384;
        h.frameBytes = (12 * bitrate / h.sampleRate + (h.padding ? 1 : 0)) * 4;
    } else {
        h.samplesPerFrame = (h.layer == 3 && h.version != 1) ? 576 : 1152;
        h.frameBytes = h.samplesPerFrame / 8 * bitrate / h.sampleRate + (h.padding ? 1 : 0);
    }
    return h.frameBytes > 4;
}

int MpegMainDataBegin(const uint8_t* frame, size_t available, const MpegFrameHeader& h)
{
    size_t at = 4 + (h.crc ? 2 : 0);
    if (h.layer != 3 || available < at + 2) return -1;
    if (h.version == 1) return (frame[at] << 1) | (frame[at + 1] >> 7);   // 9 bits
    return frame[at];                                                   // 8 bits
}
