#include "Amplify.h"

#include "SampleCodec.h"

#include <algorithm>

void CAmplify::SetParam(const AmplifyParam* param)
{
    m_param = param;
    if (param)
        m_gain = param->gain;
}

bool CAmplify::ProcessRange(uint64_t bytes)
{
    std::vector<uint8_t> block(kBlockBytes);
    const float gain = m_gain;
    while (bytes > 0) {
        const size_t want = (size_t)std::min<uint64_t>(bytes, kBlockBytes);
        if (!ReadSource(block.data(), want))
            return false;
        if (Bits() == 16)
            ScaleSamples16(reinterpret_cast<int16_t*>(block.data()), want / 2, gain);
        else
            TransformSamples(block.data(), want, Bits(), [gain](float v) { return v * gain; });
        if (!WriteOutput(block.data(), want, want))
            return false;
        bytes -= want;
    }
    return true;
}
