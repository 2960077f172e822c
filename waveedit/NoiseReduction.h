// Noise reduction: each channel of a selected track goes through its own
// spectral noise gate (NoiseGate.h). Samples are taken in 16-bit units, so the
// level means the same for 8-bit and 16-bit audio.
#pragma once
#include "AudioEffect.h"
#include "NoiseGate.h"

class CNoiseReduction : public CAudioEffect {
public:
    static constexpr size_t kReadBytes = 262144;

    void SetParam(const NoiseReductionParam* param);

protected:
    const std::vector<CEffectTrack>* Tracks() const override { return m_param ? &m_param->tracks : nullptr; }
    bool ProcessRange(uint64_t bytes) override;

private:
    bool WriteSamples(std::vector<std::vector<float>>& out, size_t frames, std::vector<uint8_t>& bytes,
                      uint64_t progressBytes);

    const NoiseReductionParam* m_param = nullptr;
    float m_level = 15.0f;
};
