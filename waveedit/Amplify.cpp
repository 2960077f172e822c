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
        if (Bits() == 16) {
            int16_t* s = reinterpret_cast<int16_t*>(block.data());
            for (size_t i = 0; i < want / 2; ++i) {
                float v = (float)s[i] * gain;
                v = v < -32768.0f ? -32768.0f : (v > 32767.0f ? 32767.0f : v);
                s[i] = (int16_t)(int)v;
            }
        } else {
            TransformSamples(block.data(), want, Bits(), [gain](float v) { return v * gain; });
        }
        if (!WriteOutput(block.data(), want, want))
            return false;
        bytes -= want;
    }
    return true;
}
