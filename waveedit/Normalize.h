// Normalize: measures every sample of every channel of a selected track,
// removes each channel's own DC offset and scales the track so that its peak
// reaches the target level (at most full scale) without clipping.
#pragma once
#include "AudioEffect.h"

#include <limits>

class CNormalize : public CAudioEffect {
public:
    void SetParam(const NormalizeParam* param);

    struct ChannelScan {
        // Start beyond every sample: a channel whose samples never cross the
        // range -1 .. 1 (quiet audio with a DC level) still gets its own extremes.
        float minimum = std::numeric_limits<float>::max(), maximum = -std::numeric_limits<float>::max();
        double sum = 0;
        uint64_t count = 0;
    };
    // Offsets per channel and the common gain for the scanned channels.
    static void ComputeGain(const std::vector<ChannelScan>& scans, int bits, float target,
                            std::vector<float>& offsets, float& gain);

protected:
    const std::vector<CEffectTrack>* Tracks() const override { return m_param ? &m_param->tracks : nullptr; }
    bool ProcessRange(uint64_t bytes) override;

private:
    const NormalizeParam* m_param = nullptr;
    float m_target = 0.8f;
};
