// PCM sample conversion shared by the effects: 16-bit samples are signed,
// 8-bit samples unsigned with 128 as silence. Stored results are limited to the
// sample range and truncated toward zero.
#pragma once
#include <cstdint>
#include <cstring>

#include <cstddef>

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
// stereo data), limited and truncated as StoreSample does. Takes the widest
// vector path the processor offers; every path gives the same samples.
void ScaleSamples16(int16_t* s, size_t count, float gain, float offsetEven = 0.0f, float offsetOdd = 0.0f);

// One path by itself (tests compare them): false when this build or processor
// lacks it.
enum class SamplePath { Portable, Sse2, Avx2, Avx512 };
bool ScaleSamples16On(SamplePath path, int16_t* s, size_t count, float gain, float offsetEven, float offsetOdd);
