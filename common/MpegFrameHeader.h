// MPEG audio frame headers (Layer I, II, III of MPEG-1, MPEG-2 and MPEG-2.5):
// what the four header bytes say and how long the frame is. Portable C++; used
// by the MP3 writer to keep to whole frames and by the MP3 tag code to find
// where the sound begins.
#pragma once
#include <cstddef>
#include <cstdint>

struct MpegFrameHeader {
    int version = 0;          // 1 (MPEG-1), 2 (MPEG-2), 25 (MPEG-2.5)
    int layer = 0;            // 1, 2, 3
    int bitrateKbps = 0;
    int sampleRate = 0;
    bool padding = false;
    bool crc = false;         // a 16-bit CRC follows the header
    int channelMode = 0;      // 0 stereo, 1 joint stereo, 2 dual channel, 3 single channel
    int frameBytes = 0;       // header included
    int samplesPerFrame = 0;

    int Channels() const { return channelMode == 3 ? 1 : 2; }
    // Bytes of Layer III side information after the header (and CRC).
    int SideInfoBytes() const;
};

// False unless the four bytes are a frame header with a known bitrate (free
// format is refused: its length cannot be told from the header) and rate.
bool ParseMpegFrameHeader(const uint8_t* p, size_t available, MpegFrameHeader& header);

// Layer III: how far back into earlier frames this frame's main data begins
// (0 = the frame decodes without its predecessors); -1 when the frame is too short.
int MpegMainDataBegin(const uint8_t* frame, size_t available, const MpegFrameHeader& header);
