#include <gtest/gtest.h>
#include "PcmConverter.h"
#include "ModuleLoader.h"
#include "TestSignal.h"

using namespace testsignal;

namespace {

std::vector<uint8_t> ConvertInPieces(CPcmConverter& c, const std::vector<BYTE>& in, size_t piece)
{
    std::vector<uint8_t> out;
    for (size_t i = 0; i < in.size(); i += piece)
        c.Convert(in.data() + i, std::min(piece, in.size() - i), out);
    return out;
}

} // namespace

TEST(PcmConverter, SameLayoutPassesThroughByteForByte)
{
    std::vector<BYTE> in = SineBytes(2, 44100, 1000, 0.1, 0.5);
    in.push_back(0x12);   // a partial frame too
    CPcmConverter c;
    ASSERT_TRUE(c.Open({2, 44100, 16}, {2, 44100, 16}));
    EXPECT_EQ(in, ConvertInPieces(c, in, 333));
}

TEST(PcmConverter, ConvertsChannelsBitsAndRateKeepingPitchAndLevel)
{
    struct Case { PcmLayout out; } cases[] = {
        {{1, 22050, 8}}, {{1, 44100, 16}}, {{2, 48000, 16}}, {{2, 8000, 8}}, {{1, 11025, 16}},
    };
    std::vector<BYTE> in = SineBytes(2, 44100, 1000, 1.0, 0.5);
    for (const Case& k : cases) {
        CPcmConverter c;
        ASSERT_TRUE(c.Open({2, 44100, 16}, k.out));
        // Pieces that cut frames apart must not matter.
        std::vector<uint8_t> out = ConvertInPieces(c, in, 1001);
        std::vector<uint8_t> whole;
        CPcmConverter c2;
        c2.Open({2, 44100, 16}, k.out);
        c2.Convert(in.data(), in.size(), whole);
        EXPECT_EQ(whole, out);
        size_t frames = out.size() / k.out.BlockAlign();
        EXPECT_NEAR((double)k.out.rate, (double)frames, 2.0) << k.out.rate;
        Channel ch = Extract(out, k.out.channels, k.out.bits, k.out.rate, k.out.channels - 1);
        EXPECT_NEAR(1000.0, ZeroCrossingHz(ch, 0, ch.samples.size()), 5.0) << k.out.rate;
        std::vector<double> peaks = WindowPeaks(ch, 0.1);
        for (double p : peaks) EXPECT_NEAR(0.5, p, k.out.rate < 10000 ? 0.1 : 0.02) << k.out.rate;
    }
}

TEST(PcmConverter, UpmixesMonoAndWidensBits)
{
    std::vector<BYTE> in = {0, 64, 128, 255};   // 8-bit mono
    CPcmConverter c;
    ASSERT_TRUE(c.Open({1, 8000, 8}, {2, 8000, 16}));
    std::vector<uint8_t> out;
    c.Convert(in.data(), in.size(), out);
    ASSERT_EQ(16u, out.size());
    const int16_t* s = (const int16_t*)out.data();
    int16_t expected[] = {-32768, -32768, -16384, -16384, 0, 0, 32512, 32512};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(expected[i], s[i]);
}

TEST(PcmConverter, RefusesLayoutsItCannotConvert)
{
    CPcmConverter c;
    EXPECT_FALSE(c.Open({3, 44100, 16}, {2, 44100, 16}));
    EXPECT_FALSE(c.Open({2, 44100, 24}, {2, 44100, 16}));
    EXPECT_FALSE(c.Open({2, 44100, 16}, {2, 0, 16}));
}
