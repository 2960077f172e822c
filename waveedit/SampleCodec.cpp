#include "SampleCodec.h"

#include <initializer_list>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define SONELLE_HAVE_AVX2_PATH 1
#endif

namespace {

// The samples from `i` on, one at a time.
void ScalePortable(int16_t* s, size_t i, size_t count, float gain, float offsetEven, float offsetOdd)
{
    for (; i < count; ++i) {
        float v = ((float)s[i] + ((i & 1) ? offsetOdd : offsetEven)) * gain;
        v = v < -32768.0f ? -32768.0f : (v > 32767.0f ? 32767.0f : v);
        s[i] = (int16_t)(int)v;
    }
}

// The vector paths limit only the top (min with the limit first, so a NaN
// stays NaN) and let the saturating pack limit the bottom: a result below
// -32768, -infinity and NaN all convert to a value that packs to -32768, as
// limiting first would give.
#if defined(__SSE2__)
size_t ScaleSse2(int16_t* s, size_t count, float gain, float offsetEven, float offsetOdd)
{
    const __m128 g = _mm_set1_ps(gain), off = _mm_set_ps(offsetOdd, offsetEven, offsetOdd, offsetEven);
    const __m128 hi = _mm_set1_ps(32767.0f);
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i a = _mm_srai_epi32(_mm_unpacklo_epi16(v, v), 16);
        const __m128i b = _mm_srai_epi32(_mm_unpackhi_epi16(v, v), 16);
        const __m128 fa = _mm_min_ps(hi, _mm_mul_ps(_mm_add_ps(_mm_cvtepi32_ps(a), off), g));
        const __m128 fb = _mm_min_ps(hi, _mm_mul_ps(_mm_add_ps(_mm_cvtepi32_ps(b), off), g));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(s + i), _mm_packs_epi32(_mm_cvttps_epi32(fa), _mm_cvttps_epi32(fb)));
    }
    return i;
}
#endif

#if defined(SONELLE_HAVE_AVX2_PATH)
__attribute__((target("avx2"))) size_t ScaleAvx2(int16_t* s, size_t count, float gain, float offsetEven,
                                                  float offsetOdd)
{
    const __m256 g = _mm256_set1_ps(gain), hi = _mm256_set1_ps(32767.0f);
    const __m256 off = _mm256_set_ps(offsetOdd, offsetEven, offsetOdd, offsetEven, offsetOdd, offsetEven, offsetOdd,
                                     offsetEven);
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m256i a = _mm256_cvtepi16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)));
        const __m256i b = _mm256_cvtepi16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 8)));
        const __m256 fa = _mm256_min_ps(hi, _mm256_mul_ps(_mm256_add_ps(_mm256_cvtepi32_ps(a), off), g));
        const __m256 fb = _mm256_min_ps(hi, _mm256_mul_ps(_mm256_add_ps(_mm256_cvtepi32_ps(b), off), g));
        // The pack works within 128-bit lanes: put the quarters back in order.
        const __m256i packed = _mm256_packs_epi32(_mm256_cvttps_epi32(fa), _mm256_cvttps_epi32(fb));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(s + i), _mm256_permute4x64_epi64(packed, 0xD8));
    }
    return i;
}

// 32 samples a step; the saturating narrowing keeps them in order.
__attribute__((target("avx512f"))) size_t ScaleAvx512(int16_t* s, size_t count, float gain, float offsetEven,
                                                      float offsetOdd)
{
    const __m512 g = _mm512_set1_ps(gain), hi = _mm512_set1_ps(32767.0f);
    const __m512 off = _mm512_set_ps(offsetOdd, offsetEven, offsetOdd, offsetEven, offsetOdd, offsetEven, offsetOdd,
                                     offsetEven, offsetOdd, offsetEven, offsetOdd, offsetEven, offsetOdd, offsetEven,
                                     offsetOdd, offsetEven);
    size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m512i a = _mm512_cvtepi16_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i)));
        const __m512i b = _mm512_cvtepi16_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i + 16)));
        const __m512 fa = _mm512_min_ps(hi, _mm512_mul_ps(_mm512_add_ps(_mm512_cvtepi32_ps(a), off), g));
        const __m512 fb = _mm512_min_ps(hi, _mm512_mul_ps(_mm512_add_ps(_mm512_cvtepi32_ps(b), off), g));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(s + i), _mm512_cvtsepi32_epi16(_mm512_cvttps_epi32(fa)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(s + i + 16), _mm512_cvtsepi32_epi16(_mm512_cvttps_epi32(fb)));
    }
    return i;
}

bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

bool HasAvx512()
{
    static const bool has = __builtin_cpu_supports("avx512f");
    return has;
}
#endif

}  // namespace

bool ScaleSamples16On(SamplePath path, int16_t* s, size_t count, float gain, float offsetEven, float offsetOdd)
{
    size_t done = 0;
    switch (path) {
    case SamplePath::Portable:
        break;
    case SamplePath::Sse2:
#if defined(__SSE2__)
        done = ScaleSse2(s, count, gain, offsetEven, offsetOdd);
        break;
#else
        return false;
#endif
    case SamplePath::Avx2:
#if defined(SONELLE_HAVE_AVX2_PATH)
        if (!HasAvx2())
            return false;
        done = ScaleAvx2(s, count, gain, offsetEven, offsetOdd);
        break;
#else
        return false;
#endif
    case SamplePath::Avx512:
#if defined(SONELLE_HAVE_AVX2_PATH)
        if (!HasAvx512())
            return false;
        done = ScaleAvx512(s, count, gain, offsetEven, offsetOdd);
        break;
#else
        return false;
#endif
    }
    ScalePortable(s, done, count, gain, offsetEven, offsetOdd);
    return true;
}

void ScaleSamples16(int16_t* s, size_t count, float gain, float offsetEven, float offsetOdd)
{
    // The widest path this build and processor have; the portable one always runs.
    for (SamplePath path : {SamplePath::Avx512, SamplePath::Avx2, SamplePath::Sse2, SamplePath::Portable})
        if (ScaleSamples16On(path, s, count, gain, offsetEven, offsetOdd))
            return;
}
