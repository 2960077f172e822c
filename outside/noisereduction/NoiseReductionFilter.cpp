#include "NoiseReductionFilter.h"
#include <cmath>

const float CNoiseReductionFilter::DefaultLevel = 15.0f;

CNoiseReductionFilter::CNoiseReductionFilter()
    : CTransInPlaceFilter(L"Noise Reduction", CLSID_NoiseReduction, true), m_level(DefaultLevel)
{
}

CUnknown* CNoiseReductionFilter::CreateInstance(HRESULT* result)
{
    CNoiseReductionFilter* f = new (std::nothrow) CNoiseReductionFilter;
    if (!f && result) *result = E_OUTOFMEMORY;
    return f;
}

HRESULT CNoiseReductionFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_INoiseReduction) return GetInterface(static_cast<INoiseReduction*>(this), ppv);
    return CTransInPlaceFilter::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CNoiseReductionFilter::CheckInputType(const CMediaType* in)
{
    const WAVEFORMATEX* f = in->WaveFormat();
    if (in->majortype != MEDIATYPE_Audio || !f || f->wFormatTag != WAVE_FORMAT_PCM) return VFW_E_TYPE_NOT_ACCEPTED;
    if ((f->nChannels != 1 && f->nChannels != 2) || (f->wBitsPerSample != 8 && f->wBitsPerSample != 16))
        return VFW_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

// Only the type the input pin actually takes sets the layout: a query
// (QueryAccept, a connection attempt that is refused further on) changes nothing.
HRESULT CNoiseReductionFilter::SetMediaType(PIN_DIRECTION dir, const CMediaType* mt)
{
    if (dir != PINDIR_INPUT) return S_OK;
    const WAVEFORMATEX* f = mt->WaveFormat();
    if (!f) return VFW_E_TYPE_NOT_ACCEPTED;
    CAutoLock lock(&m_csParams);
    m_channels = f->nChannels;
    m_bits = f->wBitsPerSample;
    m_running = false;
    return S_OK;
}

HRESULT CNoiseReductionFilter::StartStreaming()
{
    CAutoLock lock(&m_csParams);
    m_running = false;
    return S_OK;
}

void CNoiseReductionFilter::Restart(int channels)
{
    m_gates.clear();
    m_pending.assign((size_t)channels, std::deque<float>());
    for (int c = 0; c < channels; ++c) {
        m_gates.emplace_back(new CNoiseGate(m_level));
        // The gate's look-ahead, so that every sample gets its gated value back.
        m_pending[(size_t)c].assign((size_t)CNoiseGate::kHop, 0.0f);
    }
    m_running = true;
}

HRESULT CNoiseReductionFilter::Transform(IMediaSample* sample)
{
    CAutoLock lock(&m_csParams);
    if (!m_enabled) {
        m_running = false;   // switched on again later, the gate starts afresh
        return S_OK;
    }
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)) || !data || m_channels < 1) return S_OK;
    long bytes = sample->GetActualDataLength();
    int sampleBytes = m_bits / 8;
    size_t frames = (size_t)bytes / (size_t)(sampleBytes * m_channels);
    if (!m_running) Restart(m_channels);
    for (int c = 0; c < m_channels; ++c) {
        // 16-bit units for both sample sizes, as the file effect works.
        m_in.resize(frames);
        for (size_t i = 0; i < frames; ++i) {
            const BYTE* p = data + (i * m_channels + c) * sampleBytes;
            m_in[i] = m_bits == 8 ? ((int)p[0] - 128) * 256.0f : (float)(int16_t)(p[0] | (p[1] << 8));
        }
        m_out.resize(frames + CNoiseGate::kWindow);
        size_t got = m_gates[(size_t)c]->Push(m_in.data(), frames, m_out.data());
        std::deque<float>& q = m_pending[(size_t)c];
        q.insert(q.end(), m_out.begin(), m_out.begin() + (ptrdiff_t)got);
        for (size_t i = 0; i < frames && !q.empty(); ++i) {
            float v = std::round(q.front());
            q.pop_front();
            if (v > 32767.0f) v = 32767.0f;
            if (v < -32768.0f) v = -32768.0f;
            BYTE* p = data + (i * m_channels + c) * sampleBytes;
            if (m_bits == 8) {
                int u = (int)std::lround(v / 256.0f) + 128;
                p[0] = (BYTE)(u < 0 ? 0 : u > 255 ? 255 : u);
            } else {
                int s = (int)v;
                p[0] = (BYTE)(s & 0xFF);
                p[1] = (BYTE)((s >> 8) & 0xFF);
            }
        }
    }
    return S_OK;
}

STDMETHODIMP CNoiseReductionFilter::SetLevel(float level)
{
    if (!std::isfinite(level)) return E_INVALIDARG;
    CAutoLock lock(&m_csParams);
    m_level = level;
    for (auto& g : m_gates) g->SetLevel(level);
    return S_OK;
}

STDMETHODIMP CNoiseReductionFilter::SetEnabled(BOOL enabled)
{
    CAutoLock lock(&m_csParams);
    m_enabled = enabled != FALSE;
    return S_OK;
}
