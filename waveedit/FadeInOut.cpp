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

bool CFadeInOut::Ramp(std::vector<uint8_t>& buffer, uint64_t bytes, bool rising)
{
    const size_t n = (size_t)bytes, ba = (size_t)BlockAlign();
    if (!ReadSource(buffer.data(), n))
        return false;
    const int bits = Bits();
    const size_t bytesPerSample = bits == 16 ? 2 : 1;
    for (size_t s = 0; s + ba <= n; s += ba) {
        const float f = (float)s / (float)n;
        const float factor = rising ? f : 1.0f - f;
        for (size_t b = 0; b < ba; b += bytesPerSample)
            StoreSample(buffer.data() + s + b, bits, LoadSample(buffer.data() + s + b, bits) * factor);
        // A cancel inside a long fade ends the run; the block written so far is kept.
        if ((s & 0xFFFF) == 0 && ShouldStop()) {
            WriteOutput(buffer.data(), n, n);
            return Fail("cancelled");
        }
    }
    return WriteOutput(buffer.data(), n, n);
}

bool CFadeInOut::ProcessRange(uint64_t r)
{
    uint64_t li, lo;
    FadeLengths(*m_param, ByteRate(), BlockAlign(), r, li, lo);
    std::vector<uint8_t> buffer((size_t)std::max<uint64_t>(kBlockBytes, std::max(li, lo)));
    if (li > 0) {
        if (!Ramp(buffer, li, true))
            return false;
        r -= li;
    }
    r -= lo;
    while (r > 0) {
        const size_t want = (size_t)std::min<uint64_t>(r, kBlockBytes);
        if (!ReadSource(buffer.data(), want) || !WriteOutput(buffer.data(), want, want))
            return false;
        r -= want;
    }
    return lo == 0 || Ramp(buffer, lo, false);
}
