// One MPEG Layer III bitstream made by LAME from interleaved PCM: plain CBR
// frames only (no Xing/Info frame, no ID3 tag). Portable C++ over libmp3lame.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct Mp3StreamSettings {
    int inRate = 44100;
    int inChannels = 2;       // 1 or 2
    int inBits = 16;          // 8 (unsigned) or 16 (signed)
    int outRate = 44100;
    int bitrateKbps = 128;
    bool mono = false;        // single-channel frames
    bool monoAsStereo = false;   // a mono input is encoded as two equal channels
    int quality = 7;          // LAME's algorithm quality, 0 best .. 9 fastest
};

class CLameStream {
public:
    CLameStream() = default;
    ~CLameStream();
    CLameStream(const CLameStream&) = delete;
    CLameStream& operator=(const CLameStream&) = delete;

    bool Open(const Mp3StreamSettings& settings);
    void Close();
    bool IsOpen() const { return m_lame != nullptr; }

    // Appends the frames that the input completes to `out` (often none).
    bool Encode(const uint8_t* pcm, size_t bytes, std::vector<uint8_t>& out);
    // Ends the bitstream so that the sound runs on without a gap into the next one,
    // which starts fresh: its first frame needs no earlier frame to decode.
    bool Cut(std::vector<uint8_t>& out);
    // Ends the bitstream for good (the last frame padded out with silence).
    bool Finish(std::vector<uint8_t>& out);

    // Frames of input that one Encode call takes at most (larger inputs are cut up).
    static const int kChunkFrames = 4096;
    // Room in bytes that the output of one chunk, or of a flush, may need.
    static const size_t kMaxChunkOutput = kChunkFrames * 5 / 4 + 7200;

private:
    bool EncodeChunk(const uint8_t* pcm, int frames, std::vector<uint8_t>& out);

    void* m_lame = nullptr;   // lame_global_flags*
    Mp3StreamSettings m_settings;
    std::vector<short> m_left, m_right;
};
