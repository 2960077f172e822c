// "Noise Reduction": streaming spectral noise reduction of PCM, in place. Each
// channel runs through the same noise gate as the file effect, so a level means
// the same here as there. Off, the samples pass untouched; it may be switched
// and its level changed while the graph runs. On, the sound is delayed by half
// a gate frame (1024 samples), the gate's look-ahead.
#pragma once
#include "TransInPlaceFilter.h"
#include "OutsideFilters.h"
#include "NoiseGate.h"
#include <deque>
#include <memory>
#include <vector>

class CNoiseReductionFilter : public CTransInPlaceFilter, public INoiseReduction {
public:
    static CUnknown* CreateInstance(HRESULT* result);

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT CheckInputType(const CMediaType* in) override;
    HRESULT SetMediaType(PIN_DIRECTION dir, const CMediaType* mt) override;
    HRESULT Transform(IMediaSample* sample) override;
    HRESULT StartStreaming() override;

    // INoiseReduction
    STDMETHODIMP Placeholder3() override { return E_NOTIMPL; }
    STDMETHODIMP Placeholder4() override { return E_NOTIMPL; }
    STDMETHODIMP SetLevel(float level) override;
    STDMETHODIMP Placeholder6() override { return E_NOTIMPL; }
    STDMETHODIMP SetEnabled(BOOL enabled) override;

    static const float DefaultLevel;

private:
    CNoiseReductionFilter();
    void Restart(int channels);

    CCritSec m_csParams;
    bool m_enabled = false;
    float m_level;
    bool m_running = false;      // the gates hold a stream (reduction was on for the last sample)
    int m_channels = 0, m_bits = 16;
    std::vector<std::unique_ptr<CNoiseGate>> m_gates;
    std::vector<std::deque<float>> m_pending;   // gated samples waiting for their place
    std::vector<float> m_in, m_out;
};
