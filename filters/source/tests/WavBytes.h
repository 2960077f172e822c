// Builds WAV files in memory for the tests: a RIFF/WAVE header from a list of
// chunks, with pad bytes after odd-sized chunks as writers store them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void PutLe(Bytes& b, uint64_t v, int n)
{
    for (int i = 0; i < n; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

inline Bytes Chunk(const char id[4], const Bytes& body, bool pad = true)
{
    Bytes c(id, id + 4);
    PutLe(c, body.size(), 4);
    c.insert(c.end(), body.begin(), body.end());
    if (pad && (body.size() & 1)) c.push_back(0);
    return c;
}

inline Bytes FmtBody(int channels, int rate, int bits, int extra = 0, int tag = 1,
                     int blockAlign = -1, int avgBytes = -1)
{
    if (blockAlign < 0) blockAlign = channels * bits / 8;
    if (avgBytes < 0) avgBytes = blockAlign * rate;
    Bytes b;
    PutLe(b, tag, 2); PutLe(b, channels, 2); PutLe(b, rate, 4);
    PutLe(b, avgBytes, 4); PutLe(b, blockAlign, 2); PutLe(b, bits, 2);
    if (extra) { PutLe(b, extra - 2, 2); b.resize(b.size() + extra - 2, 0); }
    return b;
}

// A deterministic byte pattern standing for sound data.
inline Bytes Pattern(size_t n, uint32_t seed = 1)
{
    Bytes b(n);
    uint32_t x = seed * 2654435761u + 12345;
    for (auto& v : b) { x = x * 1103515245u + 12345; v = uint8_t(x >> 16); }
    return b;
}

inline Bytes Riff(const std::vector<Bytes>& chunks)
{
    Bytes body{'W', 'A', 'V', 'E'};
    for (const auto& c : chunks) body.insert(body.end(), c.begin(), c.end());
    Bytes f{'R', 'I', 'F', 'F'};
    PutLe(f, body.size(), 4);
    f.insert(f.end(), body.begin(), body.end());
    return f;
}

inline Bytes PlainWav(int channels, int rate, int bits, const Bytes& data)
{
    return Riff({Chunk("fmt ", FmtBody(channels, rate, bits)), Chunk("data", data)});
}
