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
    const float gain = m_gain;
    while (bytes > 0) {
        uint8_t* const block = Block();
        const size_t want = NextBlockBytes(bytes);
        if (!ReadSource(block, want))
            return false;
        if (Bits() == 16)
            ScaleSamples16(reinterpret_cast<int16_t*>(block), want / 2, gain);
        else
            TransformSamples(block, want, Bits(), [gain](float v) { return v * gain; });
        if (!WriteOutput(block, want, want))
            return false;
        bytes -= want;
    }
    return true;
}
