#include "NoiseReduction.h"

#include "SampleCodec.h"

#include <algorithm>

void CNoiseReduction::SetParam(const NoiseReductionParam* param)
{
    m_param = param;
    if (param)
        m_level = param->level;
}

bool CNoiseReduction::WriteSamples(std::vector<std::vector<float>>& out, size_t frames, std::vector<uint8_t>& bytes,
                                   uint64_t progressBytes)
{
    const int bits = Bits(), channels = Channels();
    const size_t ba = (size_t)BlockAlign(), bps = bits == 16 ? 2 : 1;
    const float scale = bits == 16 ? 1.0f : 1.0f / 256.0f;
    for (size_t f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c)
            StoreSample(bytes.data() + f * ba + (size_t)c * bps, bits, out[(size_t)c][f] * scale);
    return WriteOutput(bytes.data(), frames * ba, progressBytes);
}

bool CNoiseReduction::ProcessRange(uint64_t bytes)
{
    const int bits = Bits(), channels = Channels();
    const size_t ba = (size_t)BlockAlign(), bps = bits == 16 ? 2 : 1;
    const size_t blockFrames = kReadBytes / ba;
    const float scale = bits == 16 ? 1.0f : 256.0f;

    std::vector<CNoiseGate> gates((size_t)channels, CNoiseGate(m_level));
    std::vector<std::vector<float>> in((size_t)channels, std::vector<float>(blockFrames));
    std::vector<std::vector<float>> out((size_t)channels, std::vector<float>(blockFrames + CNoiseGate::kWindow));
    std::vector<uint8_t> block(kReadBytes + CNoiseGate::kWindow * ba);
    std::vector<size_t> produced((size_t)channels);

    while (bytes > 0) {
        const size_t want = (size_t)std::min<uint64_t>(bytes, blockFrames * ba);
        if (!ReadSource(block.data(), want))
            return false;
        const size_t frames = want / ba;
        for (size_t f = 0; f < frames; ++f)
            for (int c = 0; c < channels; ++c)
                in[(size_t)c][f] = LoadSample(block.data() + f * ba + (size_t)c * bps, bits) * scale;
        for (int c = 0; c < channels; ++c)
            produced[(size_t)c] = gates[(size_t)c].Push(in[(size_t)c].data(), frames, out[(size_t)c].data());
        if (!WriteSamples(out, produced[0], block, want))
            return false;
        bytes -= want;
    }
    for (int c = 0; c < channels; ++c)
        produced[(size_t)c] = gates[(size_t)c].Flush(out[(size_t)c].data());
    std::vector<uint8_t> tail(produced[0] * ba);
    return produced[0] == 0 || WriteSamples(out, produced[0], tail, 0);
}
