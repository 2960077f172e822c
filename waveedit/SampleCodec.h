// PCM sample conversion shared by the effects: 16-bit samples are signed,
// 8-bit samples unsigned with 128 as silence. Stored results are limited to the
// sample range and truncated toward zero.
#pragma once
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

inline float LoadSample(const uint8_t* p, int bits)
{
    if (bits == 16) {
        int16_t v;
        memcpy(&v, p, 2);
        return (float)v;
    }
    return (float)((int)*p - 128);
}

inline void StoreSample(uint8_t* p, int bits, float v)
{
    if (bits == 16) {
        v = v < -32768.0f ? -32768.0f : (v > 32767.0f ? 32767.0f : v);
        int16_t s = (int16_t)(int)v;
        memcpy(p, &s, 2);
    } else {
        v = v < -128.0f ? -128.0f : (v > 127.0f ? 127.0f : v);
        *p = (uint8_t)((int)v + 128);
    }
}

// Applies f (value -> value) to every sample of a block in place.
template <class F>
inline void TransformSamples(uint8_t* data, size_t bytes, int bits, F f)
{
    const size_t step = bits == 16 ? 2 : 1;
    for (size_t i = 0; i + step <= bytes; i += step)
        StoreSample(data + i, bits, f(LoadSample(data + i, bits)));
}

// 16-bit samples in place: (value + offset) x gain, with offsetEven for the
// samples at even indexes and offsetOdd for the others (the two channels of
// stereo data), limited and truncated as StoreSample does.
inline void ScaleSamples16(int16_t* s, size_t count, float gain, float offsetEven = 0.0f, float offsetOdd = 0.0f)
{
    size_t i = 0;
#if defined(__SSE2__)
    const __m128 g = _mm_set1_ps(gain), off = _mm_set_ps(offsetOdd, offsetEven, offsetOdd, offsetEven);
    const __m128 lo = _mm_set1_ps(-32768.0f), hi = _mm_set1_ps(32767.0f);
    for (; i + 8 <= count; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i a = _mm_srai_epi32(_mm_unpacklo_epi16(v, v), 16);
        const __m128i b = _mm_srai_epi32(_mm_unpackhi_epi16(v, v), 16);
        __m128 fa = _mm_mul_ps(_mm_add_ps(_mm_cvtepi32_ps(a), off), g);
        __m128 fb = _mm_mul_ps(_mm_add_ps(_mm_cvtepi32_ps(b), off), g);
        fa = _mm_min_ps(_mm_max_ps(fa, lo), hi);
        fb = _mm_min_ps(_mm_max_ps(fb, lo), hi);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(s + i), _mm_packs_epi32(_mm_cvttps_epi32(fa), _mm_cvttps_epi32(fb)));
    }
#endif
    for (; i < count; ++i) {
        float v = ((float)s[i] + ((i & 1) ? offsetOdd : offsetEven)) * gain;
        v = v < -32768.0f ? -32768.0f : (v > 32767.0f ? 32767.0f : v);
        s[i] = (int16_t)(int)v;
    }
}
