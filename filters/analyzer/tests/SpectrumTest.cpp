// Spectrum, level and sample scaling as pure tables.
#include "AnalyzerSpectrum.h"
#include <gtest/gtest.h>
#include <cmath>
#include <complex>
#include <cstring>
#include <vector>

namespace {

const double kPi = 3.14159265358979323846;

std::vector<uint8_t> Block16(int channels, const std::vector<int16_t>& left, const std::vector<int16_t>& right = {})
{
    std::vector<uint8_t> b(size_t(kAnalyzerBlockFrames) * channels * 2);
    for (int i = 0; i < kAnalyzerBlockFrames; i++) {
        int16_t l = left[i];
        memcpy(&b[size_t(i) * channels * 2], &l, 2);
        if (channels == 2) {
            int16_t r = right[i];
            memcpy(&b[size_t(i) * 4 + 2], &r, 2);
        }
    }
    return b;
}

std::vector<int16_t> Constant(int16_t v) { return std::vector<int16_t>(kAnalyzerBlockFrames, v); }

std::vector<int16_t> Tone(double amplitude, double bin)
{
    std::vector<int16_t> v(kAnalyzerBlockFrames);
    for (int i = 0; i < kAnalyzerBlockFrames; i++)
        v[i] = int16_t(std::lround(amplitude * std::sin(2 * kPi * bin * i / kAnalyzerBlockFrames)));
    return v;
}

int BandOfBin(int bin)
{
    int start = 0;
    for (int b = 0; b < kAnalyzerBands; b++) {
        if (bin < start + kAnalyzerBandWidths[b])
            return b;
        start += kAnalyzerBandWidths[b];
    }
    return -1;
}

TEST(Spectrum, BandWidthsCoverBinsZeroTo255)
{
    int sum = 0;
    for (int w : kAnalyzerBandWidths)
        sum += w;
    EXPECT_EQ(256, sum);
}

TEST(Spectrum, FftMatchesADirectTransformAndRefusesBadArguments)
{
    const int n = 16;
    double in[n], re[n], im[n];
    for (int i = 0; i < n; i++)
        in[i] = std::sin(i * 0.7) * 100 + i;
    ASSERT_TRUE(SpectrumFft(n, in, nullptr, re, im));
    for (int k = 0; k < n; k++) {
        std::complex<double> x = 0;
        for (int t = 0; t < n; t++)
            x += in[t] * std::polar(1.0, -2 * kPi * k * t / n);
        EXPECT_NEAR(x.real(), re[k], 1e-9) << k;
        EXPECT_NEAR(x.imag(), im[k], 1e-9) << k;
    }
    re[0] = 42;
    EXPECT_FALSE(SpectrumFft(12, in, nullptr, re, im));
    EXPECT_FALSE(SpectrumFft(1, in, nullptr, re, im));
    EXPECT_FALSE(SpectrumFft(n, nullptr, nullptr, re, im));
    EXPECT_FALSE(SpectrumFft(n, in, nullptr, re, nullptr));
    EXPECT_EQ(42, re[0]) << "a refused transform leaves the output alone";
}

TEST(Spectrum, SilentBlockGivesZeroBandsAndTheFloorLevel)
{
    AnalyzerRecord r = {};
    auto block = Block16(2, Constant(0), Constant(0));
    ASSERT_TRUE(AnalyzeBlock(block.data(), 2, 16, 44100, r));
    for (int b = 0; b < kAnalyzerBands; b++) {
        EXPECT_EQ(0, r.leftBands[b]);
        EXPECT_EQ(0, r.rightBands[b]);
    }
    EXPECT_EQ(-80.0, r.leftLevelDb);
    EXPECT_EQ(-80.0, r.rightLevelDb);
    EXPECT_EQ(2, r.channels);
    EXPECT_EQ(16, r.bitsPerSample);
    EXPECT_EQ(44100, r.sampleRate);
}

TEST(Spectrum, LoudBinsAreLimitedTo99NotWrapped)
{
    // All samples 1024: bin 0 holds 1024 * 2048, which shows as 99 (not 1024 mod 100);
    // band 0 (bins 0 and 1) averages 49.
    AnalyzerRecord r = {};
    auto block = Block16(1, Constant(1024));
    ASSERT_TRUE(AnalyzeBlock(block.data(), 1, 16, 44100, r));
    EXPECT_EQ(49, r.leftBands[0]);
    for (int b = 1; b < kAnalyzerBands; b++)
        EXPECT_EQ(0, r.leftBands[b]) << b;
    EXPECT_NEAR(-10.10, r.leftLevelDb, 0.005);
    // Mono: the right side is not touched.
    for (int b = 0; b < kAnalyzerBands; b++)
        EXPECT_EQ(0, r.rightBands[b]);
    EXPECT_EQ(0.0, r.rightLevelDb);
}

TEST(Spectrum, AToneShowsInItsOwnBand)
{
    struct { double bin, amplitude; } cases[] = {
        {1, 100}, {7, 150}, {20, 100}, {44, 180}, {100, 120}, {150, 60}, {240, 150},
        {20, 20000}, {100, 30000},
    };
    for (auto& c : cases) {
        AnalyzerRecord r = {};
        auto block = Block16(1, Tone(c.amplitude, c.bin));
        ASSERT_TRUE(AnalyzeBlock(block.data(), 1, 16, 44100, r));
        int expected = BandOfBin(int(c.bin));
        int peak = 0;
        for (int b = 1; b < kAnalyzerBands; b++)
            if (r.leftBands[b] > r.leftBands[peak])
                peak = b;
        EXPECT_EQ(expected, peak) << "bin " << c.bin << " amplitude " << c.amplitude;
        EXPECT_GT(r.leftBands[expected], 0);
    }
}

TEST(Spectrum, StereoChannelsAreMeasuredApart)
{
    AnalyzerRecord r = {};
    auto block = Block16(2, Constant(0), Tone(100, 44));
    ASSERT_TRUE(AnalyzeBlock(block.data(), 2, 16, 48000, r));
    EXPECT_EQ(-80.0, r.leftLevelDb);
    EXPECT_NEAR(20 * std::log10(100 / std::sqrt(2.0) * 10 / 32767), r.rightLevelDb, 0.01);
    EXPECT_GT(r.rightBands[BandOfBin(44)], 0);
    EXPECT_EQ(0, r.leftBands[BandOfBin(44)]);
}

TEST(Spectrum, LevelIsLimitedToPlus20)
{
    // A full-scale square wave.
    std::vector<int16_t> square(kAnalyzerBlockFrames);
    for (int i = 0; i < kAnalyzerBlockFrames; i++)
        square[i] = (i / 16) % 2 ? 32767 : -32767;
    AnalyzerRecord r = {};
    auto block = Block16(1, square);
    AnalyzeBlock(block.data(), 1, 16, 44100, r);
    EXPECT_DOUBLE_EQ(20.0, r.leftLevelDb);
}

TEST(Spectrum, EightBitSamplesAreCenteredAt128AndScaledBy256)
{
    AnalyzerRecord r = {};
    std::vector<uint8_t> silent(kAnalyzerBlockFrames, 128);
    ASSERT_TRUE(AnalyzeBlock(silent.data(), 1, 8, 8000, r));
    EXPECT_EQ(-80.0, r.leftLevelDb);
    EXPECT_EQ(0, r.leftBands[0]);
    EXPECT_EQ(8, r.bitsPerSample);

    // Bytes of 132 are 4 * 256 = 1024 on the 16-bit scale: the same as the 16-bit block of 1024.
    std::vector<uint8_t> dc(kAnalyzerBlockFrames, 132);
    ASSERT_TRUE(AnalyzeBlock(dc.data(), 1, 8, 8000, r));
    EXPECT_NEAR(-10.10, r.leftLevelDb, 0.005);
    EXPECT_EQ(49, r.leftBands[0]);

    // Stereo 8-bit: left full negative scale, right silent.
    std::vector<uint8_t> stereo(2 * kAnalyzerBlockFrames);
    for (int i = 0; i < kAnalyzerBlockFrames; i++) {
        stereo[2 * i] = 0;
        stereo[2 * i + 1] = 128;
    }
    ASSERT_TRUE(AnalyzeBlock(stereo.data(), 2, 8, 8000, r));
    EXPECT_DOUBLE_EQ(20.0, r.leftLevelDb);
    EXPECT_EQ(-80.0, r.rightLevelDb);
}

TEST(Spectrum, OtherLayoutsAreNotAnalysed)
{
    AnalyzerRecord r = {};
    r.channels = 7;
    std::vector<uint8_t> block(3 * 2 * kAnalyzerBlockFrames, 0);
    EXPECT_FALSE(AnalyzeBlock(block.data(), 3, 16, 44100, r));
    EXPECT_FALSE(AnalyzeBlock(block.data(), 2, 24, 44100, r));
    EXPECT_EQ(7, r.channels);
}

TEST(Spectrum, SampleRateKeepsItsLow16Bits)
{
    AnalyzerRecord r = {};
    auto block = Block16(1, Constant(0));
    AnalyzeBlock(block.data(), 1, 16, 96000, r);
    EXPECT_EQ(96000 & 0xFFFF, r.sampleRate);
}

TEST(ApplyFactor, SixteenBitSaturates)
{
    struct { int16_t in; float factor; int16_t out; } cases[] = {
        {20000, 2.0f, 32767}, {-32768, -1.0f, 32767}, {-20000, 2.0f, -32768}, {1000, 0.5f, 500},
        {-999, 0.5f, -499}, {1234, 1.0f, 1234}, {1234, 0.0f, 0}, {7, 0.25f, 1},
    };
    for (auto& c : cases) {
        uint8_t data[2];
        memcpy(data, &c.in, 2);
        ApplyFactor(data, 2, 16, c.factor);
        int16_t out;
        memcpy(&out, data, 2);
        EXPECT_EQ(c.out, out) << c.in << " * " << c.factor;
    }
}

TEST(ApplyFactor, EightBitSaturatesAround128)
{
    struct { uint8_t in; float factor; uint8_t out; } cases[] = {
        {200, 2.0f, 255}, {10, 2.0f, 0}, {128, 5.0f, 128}, {138, 0.5f, 133}, {118, 0.5f, 123},
        {0, -1.0f, 255}, {255, 0.0f, 128},
    };
    for (auto& c : cases) {
        uint8_t data = c.in;
        ApplyFactor(&data, 1, 8, c.factor);
        EXPECT_EQ(c.out, data) << int(c.in) << " * " << c.factor;
    }
}

TEST(ApplyFactor, OnlyWholeSamplesOfAStretchAreScaled)
{
    uint8_t data[5] = {0x10, 0x27, 0x10, 0x27, 0x99};   // 10000, 10000, and a stray byte
    ApplyFactor(data, 5, 16, 2.0f);
    int16_t a, b;
    memcpy(&a, data, 2);
    memcpy(&b, data + 2, 2);
    EXPECT_EQ(20000, a);
    EXPECT_EQ(20000, b);
    EXPECT_EQ(0x99, data[4]);
}

}  // namespace
