// Streaming conversion between PCM layouts: channels (1 or 2), bits (8 or 16)
// and sample rate (linear interpolation). Identical layouts pass through
// byte for byte. Portable: no platform types.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>
#include "WavHeader.h"

struct PcmLayout {
    int channels = 2;
    int rate = 44100;
    int bits = 16;
    int BlockAlign() const { return channels * bits / 8; }
    bool operator==(const PcmLayout& o) const { return channels == o.channels && rate == o.rate && bits == o.bits; }
    bool IsSupported() const
    {
        return (channels == 1 || channels == 2) && (bits == 8 || bits == 16) && IsSampleRateInRange(rate);
    }
};

class CPcmConverter {
public:
    // False when either layout is not supported.
    bool Open(const PcmLayout& in, const PcmLayout& out);
    // Appends the converted bytes of `bytes` input bytes (any split, frames may
    // straddle calls) to `out`.
    void Convert(const uint8_t* data, size_t bytes, std::vector<uint8_t>& out);
    // Starts a new stream (drops a held partial frame and the interpolation state).
    void Reset();

    const PcmLayout& Input() const { return m_in; }
    const PcmLayout& Output() const { return m_out; }
    bool PassesThrough() const { return m_in == m_out; }

private:
    void TakeFrame(const uint8_t* frame, std::vector<uint8_t>& out);
    void PutFrame(const float* values, std::vector<uint8_t>& out);

    PcmLayout m_in, m_out;
    double m_step = 1.0;          // input frames per output frame
    double m_pos = 0.0;           // position of the next output between prev and current frame
    bool m_havePrev = false;
    float m_prev[2] = {};
    uint8_t m_partial[4] = {};
    size_t m_partialBytes = 0;
};
