#include "AnalyzerSpectrum.h"
#include <algorithm>
#include <cmath>
#include <cstring>

const int kAnalyzerBandWidths[kAnalyzerBands] = {
    2, 2, 2, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 7, 8, 9, 10, 11, 12, 13, 15, 17, 19, 21, 25, 29,
};

namespace {

const double kPi = 3.14159265358979323846;

int ReverseBits(int index, int bits)
{
    int r = 0;
    for (int b = 0; b < bits; b++, index >>= 1)
        r = (r << 1) | (index & 1);
    return r;
}

// One channel of the block as doubles on the 16-bit scale.
void ExtractChannel(const uint8_t* block, int channels, int bitsPerSample, int channel, double* out)
{
    for (int i = 0; i < kAnalyzerBlockFrames; i++) {
        int index = i * channels + channel;
        if (bitsPerSample == 16) {
            int16_t s;
            memcpy(&s, block + 2 * index, 2);
            out[i] = s;
        } else {
            // 8-bit samples are unsigned around 128; scaled by 256 they span the 16-bit range.
            out[i] = (int(block[index]) - 128) * 256.0;
        }
    }
}

// The bit-reversed positions of a block, worked out once: reversing each index
// bit by bit cost about as much as the butterflies of the transform.
struct BlockReversal {
    int index[kAnalyzerBlockFrames];
    BlockReversal()
    {
        int bits = 0;
        while ((1 << bits) < kAnalyzerBlockFrames)
            bits++;
        for (int i = 0; i < kAnalyzerBlockFrames; i++)
            index[i] = ReverseBits(i, bits);
    }
};

const int* BlockReversedIndices()
{
    static const BlockReversal reversal;
    return reversal.index;
}

}  // namespace

bool SpectrumFft(int n, const double* realIn, const double* imagIn, double* realOut, double* imagOut)
{
    if (n < 2 || (n & (n - 1)) || !realIn || !realOut || !imagOut)
        return false;
    int bits = 0;
    while ((1 << bits) < n)
        bits++;
    const int* reversed = n == kAnalyzerBlockFrames ? BlockReversedIndices() : nullptr;
    for (int i = 0; i < n; i++) {
        int j = reversed ? reversed[i] : ReverseBits(i, bits);
        realOut[j] = realIn[i];
        imagOut[j] = imagIn ? imagIn[i] : 0.0;
    }
    for (int size = 2; size <= n; size *= 2) {
        double delta = -2 * kPi / size;
        // Twiddles by the second-order recurrence w[k] = 2 cos(delta) w[k-1] - w[k-2].
        double sm2 = std::sin(-2 * delta), sm1 = std::sin(-delta);
        double cm2 = std::cos(-2 * delta), cm1 = std::cos(-delta);
        double w = 2 * cm1;
        int half = size / 2;
        for (int k = 0; k < half; k++) {
            double ar0 = w * cm1 - cm2;
            cm2 = cm1;
            cm1 = ar0;
            double ai0 = w * sm1 - sm2;
            sm2 = sm1;
            sm1 = ai0;
            // ar0 + i*ai0 = exp(i * delta * k)
            for (int start = k; start < n; start += size) {
                int j = start + half;
                double tr = ar0 * realOut[j] - ai0 * imagOut[j];
                double ti = ar0 * imagOut[j] + ai0 * realOut[j];
                realOut[j] = realOut[start] - tr;
                imagOut[j] = imagOut[start] - ti;
                realOut[start] += tr;
                imagOut[start] += ti;
            }
        }
    }
    return true;
}

void ChannelBands(const double* values, uint8_t* bands)
{
    double re[kAnalyzerBlockFrames];
    double im[kAnalyzerBlockFrames];
    SpectrumFft(kAnalyzerBlockFrames, values, nullptr, re, im);
    int bin = 0;
    for (int b = 0; b < kAnalyzerBands; b++) {
        int sum = 0;
        for (int w = 0; w < kAnalyzerBandWidths[b]; w++, bin++) {
            float r = float(re[bin]), i = float(im[bin]);
            float magnitude = std::sqrt(r * r + i * i) / kAnalyzerBlockFrames;
            // Limited, not wrapped: a loud bin shows full scale, never a small remainder.
            int value = magnitude >= 99.0f ? 99 : int(magnitude);
            sum += value;
        }
        bands[b] = uint8_t(sum / kAnalyzerBandWidths[b]);
    }
}

double ChannelLevelDb(const double* values)
{
    double sum = 0;
    for (int i = 0; i < kAnalyzerBlockFrames; i++)
        sum += values[i] * values[i];
    double rms = std::sqrt(sum / kAnalyzerBlockFrames);
    if (rms <= 0)
        return -80.0;
    double level = 20.0 * std::log10(rms * 10.0 / 32767.0);
    return std::min(20.0, std::max(-80.0, level));
}

bool AnalyzeBlock(const uint8_t* block, int channels, int bitsPerSample, int sampleRate, AnalyzerRecord& record)
{
    if ((channels != 1 && channels != 2) || (bitsPerSample != 8 && bitsPerSample != 16))
        return false;
    record.channels = uint8_t(channels);
    record.bitsPerSample = uint8_t(bitsPerSample);
    record.sampleRate = uint16_t(sampleRate & 0xFFFF);
    double values[kAnalyzerBlockFrames];
    for (int c = 0; c < channels; c++) {
        ExtractChannel(block, channels, bitsPerSample, c, values);
        ChannelBands(values, c == 0 ? record.leftBands : record.rightBands);
        (c == 0 ? record.leftLevelDb : record.rightLevelDb) = ChannelLevelDb(values);
    }
    return true;
}

void ApplyFactor(uint8_t* data, size_t byteLength, int bitsPerSample, float factor)
{
    if (bitsPerSample == 16) {
        for (size_t i = 0; i + 1 < byteLength; i += 2) {
            int16_t s;
            memcpy(&s, data + i, 2);
            float v = float(s) * factor;
            v = std::min(32767.0f, std::max(-32768.0f, v));
            s = int16_t(v);
            memcpy(data + i, &s, 2);
        }
        return;
    }
    for (size_t i = 0; i < byteLength; i++) {
        float v = float(int(data[i]) - 128) * factor;
        v = std::min(127.0f, std::max(-128.0f, v));
        data[i] = uint8_t(int(v + 128.0f));
    }
}
