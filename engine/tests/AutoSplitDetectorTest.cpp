// The split detector as pure tables: its lookup tables, the square root, the
// transform against a plain 32-bit rendering for quiet blocks, loud blocks
// without wrap-around, and the two-flag state machine.
#include "AutoSplitDetector.h"
#include <gtest/gtest.h>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

const double kPi = 3.14159265358979323846;

std::vector<int16_t> Tone(double amplitude, double cyclesPerBlock, double phase = 0)
{
    std::vector<int16_t> b(CAutoSplitDetector::kBlock);
    for (int i = 0; i < CAutoSplitDetector::kBlock; i++)
        b[i] = int16_t(std::lround(amplitude * std::sin(2 * kPi * cyclesPerBlock * i / 1024 + phase)));
    return b;
}

std::vector<int16_t> Noise(int amplitude, unsigned seed)
{
    std::vector<int16_t> b(CAutoSplitDetector::kBlock);
    for (auto& s : b) {
        seed = seed * 1103515245u + 12345u;
        s = int16_t(int((seed >> 16) % (2 * amplitude + 1)) - amplitude);
    }
    return b;
}

// The transform written plainly in wrapping 32-bit arithmetic, for blocks quiet
// enough that nothing wraps: the detector must agree with it exactly.
int64_t Activity32(const std::vector<int16_t>& block, std::vector<int64_t>* mags)
{
    const int16_t* tw = CAutoSplitDetector::TwiddleTable();
    int32_t re[1024], im[1024];
    for (int i = 0; i < 1024; i++) {
        re[i] = int32_t(block[i]) << 12;
        im[i] = 0;
    }
    for (int L = 1024; L >= 2; L /= 2) {
        int H = L / 2, step = 512 / H;
        for (int j = 0; j < H; j++) {
            int64_t s = tw[step * j], c = tw[512 + step * j];
            for (int i = j; i < 1024; i += L) {
                int p = i + H;
                int32_t tr = int32_t(uint32_t(re[i]) - uint32_t(re[p]));
                int32_t ti = int32_t(uint32_t(im[i]) - uint32_t(im[p]));
                re[i] = int32_t(uint32_t(re[i]) + uint32_t(re[p]));
                im[i] = int32_t(uint32_t(im[i]) + uint32_t(im[p]));
                re[p] = int32_t(uint32_t(int32_t((c * tr) >> 15)) - uint32_t(int32_t((s * ti) >> 15)));
                im[p] = int32_t(uint32_t(int32_t((s * tr) >> 15)) + uint32_t(int32_t((c * ti) >> 15)));
            }
        }
    }
    int n = 1;
    for (int m = 1; m < 1024; m++) {
        if (m < n) {
            std::swap(re[m - 1], re[n - 1]);
            std::swap(im[m - 1], im[n - 1]);
        }
        int k = 512;
        while (k < n) {
            n -= k;
            k /= 2;
        }
        n += k;
    }
    int64_t sum = 0;
    mags->assign(512, 0);
    for (int k = 0; k < 512; k++) {
        (*mags)[k] = int32_t(CAutoSplitDetector::Sqrt(int64_t(re[k]) * re[k] + int64_t(im[k]) * im[k]));
        sum += (*mags)[k];
    }
    int32_t mean = int32_t(sum >> 9);
    int64_t dev = 0;
    for (int k = 0; k < 512; k++)
        dev += std::llabs(int64_t(int32_t(uint32_t(mean) - uint32_t((*mags)[k]))));
    return int32_t(dev >> 9);
}

TEST(AutoSplitDetector, TablesHoldTheDocumentedEntries)
{
    const int16_t* tw = CAutoSplitDetector::TwiddleTable();
    EXPECT_EQ(0, tw[0]);
    EXPECT_EQ(32767, tw[256]);
    EXPECT_EQ(32767, tw[512]);
    EXPECT_EQ(0, tw[768]);
    EXPECT_EQ(-32766, tw[1023]);
    EXPECT_EQ(23169, tw[128]);   // 32767 * sin(pi/4) = 23169.77, truncated
    const int16_t* sq = CAutoSplitDetector::SqrtTable();
    EXPECT_EQ(1024, sq[0]);
    EXPECT_EQ(2048, sq[3]);
    EXPECT_EQ(32751, sq[1022]);
    EXPECT_EQ(32767, sq[1023]);
}

TEST(AutoSplitDetector, SquareRootByTable)
{
    struct { int64_t x, expected; } cases[] = {
        {0, 0}, {1, 1}, {2, 1}, {3, 1}, {4, 2}, {100, 10}, {65536, 256}, {1000000, 1000},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.expected, CAutoSplitDetector::Sqrt(c.x)) << c.x;
    // Large values keep their relative precision.
    for (int64_t x : {int64_t(1) << 40, int64_t(123456789012345), int64_t(INT64_MAX / 3)}) {
        double exact = std::sqrt(double(x));
        EXPECT_NEAR(exact, double(CAutoSplitDetector::Sqrt(x)), exact * 0.002) << x;
    }
}

TEST(AutoSplitDetector, SilentBlockHasNoActivityAndTheHistoryStartsFull)
{
    CAutoSplitDetector d;
    for (int h = 0; h < CAutoSplitDetector::kHistory; h++)
        EXPECT_EQ(INT_MAX, d.History()[h]);
    std::vector<int16_t> zero(1024, 0);
    d.Process(zero.data());
    EXPECT_EQ(0, d.Activity());
    for (int k = 0; k < CAutoSplitDetector::kBins; k++)
        ASSERT_EQ(0, d.Magnitudes()[k]);
    EXPECT_EQ(0, d.History()[0]);
    EXPECT_EQ(INT_MAX, d.History()[1]);
}

TEST(AutoSplitDetector, QuietBlocksMatchThePlain32BitTransform)
{
    std::vector<std::vector<int16_t>> blocks = {
        Tone(100, 8), Tone(100, 37.5, 0.3), Tone(60, 200), Noise(200, 1), Noise(150, 7),
        std::vector<int16_t>(1024, 50), std::vector<int16_t>(1024, -120),
    };
    for (size_t b = 0; b < blocks.size(); b++) {
        CAutoSplitDetector d;
        d.Process(blocks[b].data());
        std::vector<int64_t> mags;
        int64_t expected = Activity32(blocks[b], &mags);
        EXPECT_EQ(expected, d.Activity()) << "block " << b;
        for (int k = 0; k < 512; k++)
            ASSERT_EQ(mags[k], d.Magnitudes()[k]) << "block " << b << " bin " << k;
    }
}

TEST(AutoSplitDetector, LoudLowTonesNeverReadAsQuiet)
{
    // Strong low-frequency content overflows 32-bit sums; here activity keeps
    // growing with the level instead of wrapping to small or negative values.
    int64_t previous = 0;
    for (double amplitude : {2000.0, 8000.0, 16000.0, 32767.0}) {
        CAutoSplitDetector d;
        std::vector<int16_t> tone = Tone(amplitude, 1);   // about 43 Hz at 44100 Hz
        d.Process(tone.data());
        EXPECT_GT(d.Activity(), previous) << amplitude;
        previous = d.Activity();
    }
    EXPECT_GT(previous, int64_t(3000) * 4096 * 20);
    // Full-scale DC: bin 0 holds M = 32767 * 4096 * 1024 (beyond 32 bits), the
    // other bins nothing, so the activity is 2 M (511/512) / 512.
    CAutoSplitDetector dc;
    std::vector<int16_t> full(1024, 32767);
    dc.Process(full.data());
    double m = 32767.0 * 4096 * 1024;
    EXPECT_GT(double(dc.Magnitudes()[0]), double(INT_MAX));
    EXPECT_NEAR(m, double(dc.Magnitudes()[0]), m * 0.002);
    double expected = 2 * m * 511 / 512 / 512;
    EXPECT_NEAR(expected, double(dc.Activity()), expected * 0.01);
}

// Feeds n copies of a block and returns the flags after each.
struct Flags {
    bool started, silence;
};
std::vector<Flags> Feed(CAutoSplitDetector& d, const std::vector<int16_t>& block, int n)
{
    std::vector<Flags> out;
    for (int i = 0; i < n; i++) {
        d.Process(block.data());
        out.push_back({d.SoundStarted(), d.SilenceReached()});
    }
    return out;
}

TEST(AutoSplitDetector, SoundStartsAfterAPauseAndEndsAfterHoldQuietBlocks)
{
    std::vector<int16_t> silence(1024, 0), tone = Tone(8000, 20);
    CAutoSplitDetector d;
    d.Reset();
    d.SetParams(3000, 5);

    // Even loud material cannot start a sound before the history has filled.
    auto early = Feed(d, tone, 3);
    for (auto& f : early)
        EXPECT_FALSE(f.started);
    Feed(d, silence, 12);
    EXPECT_FALSE(d.SoundStarted());

    auto onset = Feed(d, tone, 1);
    EXPECT_TRUE(onset[0].started);
    Feed(d, tone, 10);
    EXPECT_TRUE(d.SoundStarted());

    // Three blocks of silence still average loud; from the fourth the quiet count runs.
    auto tail = Feed(d, silence, 8);
    for (int i = 0; i < 7; i++)
        EXPECT_FALSE(tail[i].silence) << i;
    EXPECT_TRUE(tail[7].silence);
    EXPECT_FALSE(tail[7].started);

    // Reset keeps the history: the next sound starts again at its first block.
    d.Reset();
    EXPECT_FALSE(d.SilenceReached());
    Feed(d, silence, 12);
    EXPECT_TRUE(Feed(d, tone, 1)[0].started);
}

TEST(AutoSplitDetector, HoldOfZeroEndsTheSoundAtTheNextBlock)
{
    std::vector<int16_t> silence(1024, 0), tone = Tone(8000, 20);
    CAutoSplitDetector d;
    d.Reset();
    d.SetParams(3000, 0);
    Feed(d, silence, 12);
    EXPECT_TRUE(Feed(d, tone, 1)[0].started);
    auto next = Feed(d, tone, 1);
    EXPECT_TRUE(next[0].silence);
    EXPECT_FALSE(next[0].started);
}

TEST(AutoSplitDetector, ModerateMaterialBelowTheThresholdNeverStarts)
{
    CAutoSplitDetector d;
    d.Reset();
    d.SetParams(3000, 5);
    std::vector<int16_t> silence(1024, 0), quiet = Tone(200, 20);
    Feed(d, silence, 12);
    for (auto& f : Feed(d, quiet, 20))
        EXPECT_FALSE(f.started);
}

}  // namespace
