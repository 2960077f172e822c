// Amplify: every sample of a selected track times the gain.
#pragma once
#include "AudioEffect.h"

class CAmplify : public CAudioEffect {
public:
    void SetParam(const AmplifyParam* param);

protected:
    const std::vector<CEffectTrack>* Tracks() const override { return m_param ? &m_param->tracks : nullptr; }
    bool ProcessRange(uint64_t bytes) override;

private:
    const AmplifyParam* m_param = nullptr;
    float m_gain = 1.0f;
};
