#include "NoiseGate.h"

#include "Fft.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const std::vector<float>& HannWindow()
{
    static const std::vector<float> window = [] {
        std::vector<float> w(CNoiseGate::kWindow, 1.0f);
        FftApplyWindow(kFftHann, CNoiseGate::kWindow, w.data());
        return w;
    }();
    return window;
}

}  // namespace

CNoiseGate::CNoiseGate(float level)
    : m_gate(kWindow / 2 + 1), m_in(kWindow), m_tail(kHop), m_work(kWindow), m_frame(kWindow), m_wre(kWindow / 2 + 1), m_wim(kWindow / 2 + 1), m_scratch(2 * kWindow)
{
    SetLevel(level);
    Reset();
}

void CNoiseGate::SetLevel(float level)
{
    m_level = level;
    m_threshold = std::exp(level);
}

void CNoiseGate::Reset()
{
    std::fill(m_gate.begin(), m_gate.end(), 0.0f);
    std::fill(m_in.begin(), m_in.end(), 0.0f);
    std::fill(m_tail.begin(), m_tail.end(), 0.0f);
    m_fill = kHop;  // half a frame of silence ahead of the first sample
    m_discard = kHop;
    m_pushed = m_delivered = 0;
    m_fresh = true;
}

void CNoiseGate::ProcessFrame(float* x)
{
    const int n = kWindow, h = kWindow / 2;
    const float* hann = HannWindow().data();
    for (int i = 0; i < n; ++i)
        m_frame[(size_t)i] = x[i] * hann[i];
    FftRealForward(n, m_frame.data(), m_wre.data(), m_wim.data(), m_scratch.data());

    float* gate = m_gate.data();
    for (int k = 0; k <= h; ++k) {
        float p = m_wre[(size_t)k] * m_wre[(size_t)k] + m_wim[(size_t)k] * m_wim[(size_t)k];
        if (k == 0)
            p += m_wre[(size_t)h] * m_wre[(size_t)h];  // as the power spectrum reports bin 0
        const float d = (p > 0.0f && p >= m_threshold) ? 1.0f : 0.0f;
        // The first frame of a stream opens the gate at once, so the stream's
        // start is not faded in while the smoothing settles.
        float g = m_fresh ? d : 0.5f * gate[k] + 0.5f * d;
        // A closed gate reaches 0 instead of creeping through the slow denormal range.
        gate[k] = g < 1e-6f ? 0.0f : g;
    }
    m_fresh = false;
    for (int k = 2; k <= h - 2; ++k) {
        if (gate[k] >= 0.5f && gate[k] <= 0.55f && gate[k - 1] < 0.1f && gate[k - 2] < 0.1f &&
            gate[k + 1] < 0.1f && gate[k + 2] < 0.1f)
            gate[k] = 0.0f;
    }
    for (int k = 0; k <= h; ++k) {
        m_wre[(size_t)k] *= gate[k];
        m_wim[(size_t)k] *= gate[k];
    }
    FftRealInverse(n, m_wre.data(), m_wim.data(), x, m_scratch.data());
}

size_t CNoiseGate::Push(const float* in, size_t count, float* out)
{
    size_t written = 0;
    m_pushed += count;
    while (count > 0) {
        const size_t take = std::min(count, (size_t)kWindow - m_fill);
        memcpy(m_in.data() + m_fill, in, take * sizeof(float));
        m_fill += take;
        in += take;
        count -= take;
        if (m_fill < (size_t)kWindow)
            break;
        float* x = m_work.data();
        memcpy(x, m_in.data(), kWindow * sizeof(float));
        // The next frame starts half a frame later.
        memmove(m_in.data(), m_in.data() + kHop, kHop * sizeof(float));
        m_fill = kHop;
        ProcessFrame(x);
        for (int i = 0; i < kHop; ++i) {
            const float v = m_tail[(size_t)i] + x[i];
            m_tail[(size_t)i] = x[kHop + i];
            if (m_discard > 0) {
                --m_discard;
                continue;
            }
            out[written++] = v;
        }
    }
    m_delivered += written;
    return written;
}

size_t CNoiseGate::Flush(float* out)
{
    size_t written = 0;
    const float silence[kHop] = {};
    std::vector<float> part(kHop + kWindow);
    while (m_delivered < m_pushed) {
        const size_t owed = m_pushed - m_delivered;
        const size_t before = m_pushed;
        size_t got = Push(silence, kHop, part.data());
        m_pushed = before;  // the silence is not part of the stream
        m_delivered -= got;
        got = std::min(got, owed);
        memcpy(out + written, part.data(), got * sizeof(float));
        written += got;
        m_delivered += got;
    }
    Reset();
    return written;
}
