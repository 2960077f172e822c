// Fade in and out: a linear ramp over the first and last seconds of a track.
#pragma once
#include "AudioEffect.h"

class CFadeInOut : public CAudioEffect {
public:
    void SetParam(const FadeInOutParam* param) { m_param = param; }

    // The fade lengths in bytes for a range of `rangeBytes` (both multiples of 128).
    static void FadeLengths(const FadeInOutParam& p, uint32_t byteRate, int blockAlign, uint64_t rangeBytes,
                            uint64_t& fadeIn, uint64_t& fadeOut);

protected:
    const std::vector<CEffectTrack>* Tracks() const override { return m_param ? &m_param->tracks : nullptr; }
    bool Applies(const CEffectTrack& t) const override
    {
        return m_param && (m_param->selectedTracksOnly != 1 || t.apply == 1);
    }
    bool ProcessRange(uint64_t bytes) override;

private:
    // Reads, ramps and writes `bytes` bytes, rising from silence or falling to it.
    bool Ramp(uint64_t bytes, bool rising);
    const FadeInOutParam* m_param = nullptr;
};
