#include "Normalize.h"

#include "SampleCodec.h"

#include <algorithm>
#include <cmath>

void CNormalize::SetParam(const NormalizeParam* param)
{
    m_param = param;
    if (param)
        m_target = param->targetLevel;
}

void CNormalize::ComputeGain(const std::vector<ChannelScan>& scans, int bits, float target,
                             std::vector<float>& offsets, float& gain)
{
    const float full = (float)(1 << (bits - 1)), p = full - 1.0f, n = -full;
    target = std::min(std::max(target, 0.0f), 1.0f);
    offsets.assign(scans.size(), 0.0f);
    float peak = 0.0f, positive = 0.0f, negative = 0.0f;
    for (size_t c = 0; c < scans.size(); ++c) {
        const ChannelScan& s = scans[c];
        if (s.count == 0)
            continue;
        float offset = (float)(-s.sum / (double)s.count);
        // A signal that reaches full scale on both sides keeps its DC level.
        if (s.maximum >= p && s.minimum <= n)
            offset = 0.0f;
        offsets[c] = offset;
        const float hi = s.maximum + offset, lo = s.minimum + offset;
        peak = std::max(peak, std::max(std::fabs(hi), std::fabs(lo)));
        positive = std::max(positive, hi);
        negative = std::max(negative, -lo);
    }
    gain = 1.0f;
    if (peak > 0.0f) {
        gain = full / peak * target;
        // Never beyond the sample range on either side.
        if (positive > 0.0f)
            gain = std::min(gain, p / positive);
        if (negative > 0.0f)
            gain = std::min(gain, -n / negative);
    }
}

bool CNormalize::ProcessRange(uint64_t bytes)
{
    const int bits = Bits(), channels = Channels();
    const uint64_t start = SourcePosition();
    std::vector<ChannelScan> scans((size_t)channels);
    std::vector<float> mins((size_t)channels, 1.0f), maxs((size_t)channels, -1.0f);

    for (uint64_t left = bytes; left > 0;) {
        uint8_t* const block = Block();
        const size_t want = NextBlockBytes(left);
        if (!ReadSource(block, want))
            return false;
        if (bits == 16) {
            const int16_t* s = reinterpret_cast<const int16_t*>(block);
            const size_t count = want / 2;
            for (int c = 0; c < channels; ++c) {
                int lo = 32767, hi = -32768;
                int64_t sum = 0;
                for (size_t i = (size_t)c; i < count; i += (size_t)channels) {
                    const int v = s[i];
                    lo = std::min(lo, v);
                    hi = std::max(hi, v);
                    sum += v;
                }
                ChannelScan& sc = scans[(size_t)c];
                if (count > (size_t)c) {
                    sc.minimum = std::min(sc.minimum, (float)lo);
                    sc.maximum = std::max(sc.maximum, (float)hi);
                    sc.sum += (double)sum;
                    sc.count += (count - (size_t)c + (size_t)channels - 1) / (size_t)channels;
                }
            }
        } else {
            for (size_t i = 0; i < want; ++i) {
                ChannelScan& sc = scans[i % (size_t)channels];
                const float v = LoadSample(block + i, 8);
                sc.minimum = std::min(sc.minimum, v);
                sc.maximum = std::max(sc.maximum, v);
                sc.sum += v;
                ++sc.count;
            }
        }
        AddProgress(want / 2);
        left -= want;
    }
    if (!SeekSource(start))
        return false;

    std::vector<float> offsets;
    float gain;
    ComputeGain(scans, bits, m_target, offsets, gain);
    const size_t bytesPerSample = bits == 16 ? 2 : 1;
    for (uint64_t left = bytes; left > 0;) {
        uint8_t* const block = Block();
        const size_t want = NextBlockBytes(left);
        if (!ReadSource(block, want))
            return false;
        if (bits == 16) {
            ScaleSamples16(reinterpret_cast<int16_t*>(block), want / 2, gain, offsets[0],
                           offsets[(size_t)channels - 1]);
        } else {
            size_t c = 0;
            for (size_t i = 0; i + bytesPerSample <= want; i += bytesPerSample) {
                StoreSample(block + i, bits, (LoadSample(block + i, bits) + offsets[c]) * gain);
                c = (c + 1) % (size_t)channels;
            }
        }
        if (!WriteOutput(block, want, want - want / 2))
            return false;
        left -= want;
    }
    return true;
}
