#include "FadeInOut.h"

#include "SampleCodec.h"

#include <algorithm>

void CFadeInOut::FadeLengths(const FadeInOutParam& p, uint32_t byteRate, int blockAlign, uint64_t r,
                             uint64_t& li, uint64_t& lo)
{
    const uint64_t ba = (uint64_t)blockAlign;
    const double seconds = p.duration > 0 ? p.duration : 0.0;
    const uint64_t frames = (uint64_t)((double)byteRate * seconds) / ba;
    uint64_t e = (ba * frames / 128) * 128;
    li = lo = 0;
    if (p.fadeIn && p.fadeOut) {
        if (r < 2 * e)
            e = ((ba * ((r / 2) / ba)) / 128) * 128;
        li = lo = e;
    } else if (p.fadeIn) {
        li = std::min(e, r);
    } else if (p.fadeOut) {
        lo = std::min(e, r);
    }
}

bool CFadeInOut::Ramp(uint64_t bytes, bool rising)
{
    // The factor of a frame is its byte offset in the whole ramp over the
    // ramp's length, whatever block it falls in.
    const size_t n = (size_t)bytes, ba = (size_t)BlockAlign();
    const int bits = Bits();
    const size_t bytesPerSample = bits == 16 ? 2 : 1;
    for (size_t done = 0; done < n;) {
        uint8_t* const block = Block();
        const size_t want = NextBlockBytes(n - done);
        if (!ReadSource(block, want))
            return false;
        for (size_t s = 0; s + ba <= want; s += ba) {
            const float f = (float)(done + s) / (float)n;
            const float factor = rising ? f : 1.0f - f;
            for (size_t b = 0; b < ba; b += bytesPerSample)
                StoreSample(block + s + b, bits, LoadSample(block + s + b, bits) * factor);
        }
        if (!WriteOutput(block, want, want))
            return false;
        done += want;
    }
    return true;
}

bool CFadeInOut::ProcessRange(uint64_t r)
{
    uint64_t li, lo;
    FadeLengths(*m_param, ByteRate(), BlockAlign(), r, li, lo);
    if (li > 0) {
        if (!Ramp(li, true))
            return false;
        r -= li;
    }
    r -= lo;
    while (r > 0) {
        uint8_t* const block = Block();
        const size_t want = NextBlockBytes(r);
        if (!ReadSource(block, want) || !WriteOutput(block, want, want))
            return false;
        r -= want;
    }
    return lo == 0 || Ramp(lo, false);
}
