#include "Amplify.h"
#include "ByteFile.h"
#include "FadeInOut.h"
#include "NoiseReduction.h"
#include "Normalize.h"
#include "SampleCodec.h"
#include "EffectTestPaths.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cwctype>
#include <cstring>
#include <random>

namespace {

const double kPi = 3.14159265358979323846;

std::vector<int16_t> Read16(const Bytes& file, size_t offset)
{
    std::vector<int16_t> v((file.size() - offset) / 2);
    memcpy(v.data(), file.data() + offset, v.size() * 2);
    return v;
}


// The peak values of an effect's peak file must be frames 0, 128, ... of the
// output data, in one grid across ranges and blocks.
void ExpectPeaksMatchOutput(const Paths& p, int channels, int bits, size_t dataOffset, size_t dataBytes)
{
    const Bytes out = ReadBytes(p.out), peak = ReadBytes(p.peak);
    ASSERT_GE(peak.size(), 1012u);
    const uint32_t n = GetU32At(peak, 1008);
    EXPECT_EQ(0, memcmp(peak.data(), "NVPK", 4));
    EXPECT_EQ(n + 1004, GetU32At(peak, 4));
    EXPECT_EQ(n + 1012u, peak.size());
    EXPECT_EQ(0u, GetU32At(peak, 16 + 212));  // no split points
    EXPECT_EQ(NarrowPath(p.out), std::string((const char*)peak.data() + 16 + 220));
    const size_t ba = (size_t)channels * (size_t)bits / 8, frames = dataBytes / ba;
    const size_t kept = (frames + 127) / 128, perKept = ba * (channels == 1 ? 2 : 1);
    ASSERT_EQ(kept * perKept, n);
    for (size_t k = 0; k < kept; ++k) {
        const uint8_t* src = out.data() + dataOffset + k * 128 * ba;
        ASSERT_EQ(0, memcmp(src, peak.data() + 1012 + k * perKept, ba)) << "kept frame " << k;
        if (channels == 1) {
            ASSERT_EQ(0, memcmp(src, peak.data() + 1012 + k * perKept + ba, ba)) << "repeated mono sample " << k;
        }
    }
}

class SelfCancellingAmplify : public CAmplify {
protected:
    bool ProcessRange(uint64_t bytes) override
    {
        Cancel();
        return CAmplify::ProcessRange(bytes);
    }
};

}  // namespace

TEST(Effects, AmplifyExactSamplesAndLimits)
{
    Paths p(L"amp16");
    WriteBytes(p.src, PlainWav(2, 44100, 16, Samples16({20000, -20000, 100, -3, 3, 0, 16000, -16384})));
    AmplifyParam param;
    param.gain = 2.0f;
    param.tracks = Whole(4);
    CAmplify amp;
    amp.SetParam(&param);
    ASSERT_TRUE(RunEffect(amp, p)) << amp.GetError();
    EXPECT_EQ((std::vector<int16_t>{32767, -32768, 200, -6, 6, 0, 32000, -32768}), Read16(ReadBytes(p.out), 44));
    EXPECT_EQ(100, amp.GetProgress());

    param.gain = 0.5f;
    amp.SetParam(&param);  // the gain is copied from the record
    ASSERT_TRUE(RunEffect(amp, p));
    EXPECT_EQ((std::vector<int16_t>{10000, -10000, 50, -1, 1, 0, 8000, -8192}), Read16(ReadBytes(p.out), 44))
        << "truncation toward zero";
}

// Every vector path gives exactly the samples of the one-at-a-time formula, for
// every 16-bit value, at both offsets, with limits on both sides.
TEST(Effects, ScalingPathsGiveTheSameSamples)
{
    struct Case {
        float gain, offsetEven, offsetOdd;
    };
    const Case cases[] = {
        {0.5f, 0, 0}, {2.0f, 0, 0}, {1.37f, 0, 0}, {-1.0f, 0, 0}, {0.0f, 0, 0}, {1e9f, 0, 0},
        {0.8123f, -512.25f, 301.5f}, {3.0f, 40000.0f, -40000.0f}, {1.0f, 0.49f, -0.51f},
    };
    // Every value in both places of a pair, and a count that leaves a tail for each path.
    std::vector<int16_t> in;
    for (int v = -32768; v <= 32767; ++v) {
        in.push_back((int16_t)v);
        in.push_back((int16_t)(-1 - v));
    }
    in.resize(in.size() + 13, 12345);
    const SamplePath paths[] = {SamplePath::Sse2, SamplePath::Avx2, SamplePath::Avx512};
    for (const Case& c : cases) {
        std::vector<int16_t> want = in;
        ASSERT_TRUE(ScaleSamples16On(SamplePath::Portable, want.data(), want.size(), c.gain, c.offsetEven,
                                     c.offsetOdd));
        for (SamplePath path : paths) {
            std::vector<int16_t> got = in;
            if (!ScaleSamples16On(path, got.data(), got.size(), c.gain, c.offsetEven, c.offsetOdd))
                continue;  // not in this build or on this processor
            ASSERT_EQ(want, got) << "path " << (int)path << " gain " << c.gain;
        }
        std::vector<int16_t> got = in;
        ScaleSamples16(got.data(), got.size(), c.gain, c.offsetEven, c.offsetOdd);
        ASSERT_EQ(want, got) << "the chosen path, gain " << c.gain;
    }
}

TEST(Effects, AmplifyEightBit)
{
    Paths p(L"amp8");
    WriteBytes(p.src, PlainWav(1, 8000, 8, Bytes{128, 128, 200, 10, 129}));
    AmplifyParam param;
    param.gain = 3.0f;
    param.tracks = Whole(5);
    CAmplify amp;
    amp.SetParam(&param);
    ASSERT_TRUE(RunEffect(amp, p));
    const Bytes out = ReadBytes(p.out);
    EXPECT_EQ((Bytes{128, 128, 255, 0, 131, 0}), Bytes(out.begin() + 44, out.end())) << "with the pad byte";
    ExpectPeaksMatchOutput(p, 1, 8, 44, 5);
}

TEST(Effects, RangesCopyUnselectedAndTailAndKeepHeader)
{
    // fmt of 18 bytes and a LIST chunk before the data, a chunk behind it.
    Bytes chunks;
    PutChunk(chunks, "fmt ", FmtChunkData(1, 2, 44100, 16, 2));
    PutChunk(chunks, "LIST", Bytes(26, 'x'));
    std::vector<int16_t> s;
    for (int f = 0; f < 100000; ++f) {
        s.push_back((int16_t)(f % 1000));
        s.push_back((int16_t)-(f % 1000));
    }
    PutChunk(chunks, "data", Samples16(s));
    PutChunk(chunks, "cue ", Bytes(7, 'c'));
    Paths p(L"ranges");
    const Bytes src = RiffWave(chunks);
    WriteBytes(p.src, src);
    AmplifyParam param;
    param.gain = 2.0f;
    param.tracks = {{0, 44100, 0}, {44100, 88200, 1}};  // frames 88200 .. 100000 are a tail
    CAmplify amp;
    amp.SetParam(&param);
    ASSERT_TRUE(RunEffect(amp, p)) << amp.GetError();
    EXPECT_EQ(80u, amp.HeaderSize());
    const Bytes out = ReadBytes(p.out);
    ASSERT_EQ(src.size(), out.size());
    EXPECT_EQ(0, memcmp(src.data(), out.data(), 80)) << "header kept";
    EXPECT_EQ(0, memcmp(src.data() + 80, out.data() + 80, 176400)) << "unselected range copied";
    const std::vector<int16_t> o = Read16(Bytes(out.begin(), out.begin() + 80 + 400000), 80);
    for (size_t f = 44100; f < 88200; ++f)
        ASSERT_EQ((int16_t)(2 * (f % 1000)), o[2 * f]) << f;
    EXPECT_EQ(0, memcmp(src.data() + 80 + 352800, out.data() + 80 + 352800, src.size() - 80 - 352800))
        << "tail and trailing chunk copied";
    ExpectPeaksMatchOutput(p, 2, 16, 80, 400000);
}

TEST(Effects, PeakGridHoldsAcrossOddRanges)
{
    std::vector<int16_t> s;
    for (int f = 0; f < 5000; ++f)
        s.push_back((int16_t)(f * 3));
    Paths p(L"grid");
    WriteBytes(p.src, PlainWav(1, 22050, 16, Samples16(s)));
    AmplifyParam param;
    param.gain = 1.5f;
    param.tracks = {{0, 77, 1}, {77, 1001, 0}, {1001, 4999, 1}};
    CAmplify amp;
    amp.SetParam(&param);
    ASSERT_TRUE(RunEffect(amp, p));
    ExpectPeaksMatchOutput(p, 1, 16, 44, 10000);
}

TEST(Effects, InvalidTracksFailWithoutOutput)
{
    Paths p(L"invalid");
    WriteBytes(p.src, PlainWav(2, 44100, 16, Bytes(4000, 1)));
    const std::vector<std::vector<CEffectTrack>> bad = {
        {{0, 500, 1}, {600, 1000, 1}},  // gap
        {{10, 1000, 1}},                // does not start at 0
        {{0, 1001, 1}},                 // beyond the data
        {{0, 500, 1}, {500, 400, 1}},   // backwards
    };
    for (const auto& tracks : bad) {
        DeleteByteFile(p.out);
        AmplifyParam param;
        param.tracks = tracks;
        CAmplify amp;
        amp.SetParam(&param);
        EXPECT_FALSE(RunEffect(amp, p));
        EXPECT_FALSE(amp.GetError().empty());
        EXPECT_TRUE(ReadBytes(p.out).empty());
    }
    // A missing parameter record copies everything.
    CAmplify none;
    ASSERT_TRUE(RunEffect(none, p));
    EXPECT_EQ(ReadBytes(p.src), ReadBytes(p.out));
}

TEST(Effects, ShortReadAndMissingFilesFail)
{
    Paths p(L"short");
    WriteBytes(p.src, PlainWav(2, 44100, 16, Bytes(400000, 3)));
    AmplifyParam param;
    param.tracks = Whole(100000);
    CAmplify amp;
    amp.SetParam(&param);
    ASSERT_TRUE(amp.Prepare(p.src, p.out, p.peak));
    // The source shrinks after its header was read.
    WriteBytes(p.src, PlainWav(2, 44100, 16, Bytes(1000, 3)));
    EXPECT_FALSE(amp.Run());

    CAmplify bad;
    bad.SetParam(&param);
    EXPECT_FALSE(bad.Prepare(TempPath(L"nothing-here.tmw"), p.out, p.peak));
    WriteBytes(p.src, PlainWav(2, 44100, 16, Bytes(400000, 3)));
    ASSERT_TRUE(bad.Prepare(p.src, TempPath(L"no-such-folder/x.tm1"), p.peak));
    EXPECT_FALSE(bad.Run());
}

// A peak file whose two size fields (the file's and the peak data's) agree with its length.
void ExpectConsistentPeakFile(const Bytes& peak)
{
    ASSERT_GE(peak.size(), 1012u);
    EXPECT_EQ(peak.size() - 8, GetU32At(peak, 4));
    EXPECT_EQ(peak.size() - 1012, GetU32At(peak, 1008));
}

TEST(Effects, CancelFailsAndLeavesAConsistentPeakFile)
{
    Paths p(L"cancel");
    WriteBytes(p.src, PlainWav(2, 44100, 16, Bytes(400000, 3)));
    AmplifyParam param;
    param.tracks = {{0, 50000, 0}, {50000, 100000, 1}};
    SelfCancellingAmplify amp;
    amp.SetParam(&param);
    EXPECT_FALSE(RunEffect(amp, p));
    const Bytes peak = ReadBytes(p.peak);
    ExpectConsistentPeakFile(peak);
    EXPECT_EQ(GetU32At(peak, 1008), (50000u + 127) / 128 * 4);
}

TEST(Effects, FadeInExactFactors)
{
    const int frames = 441000;  // 10 s
    std::vector<int16_t> s((size_t)frames * 2, 10000);
    Paths p(L"fadein");
    WriteBytes(p.src, PlainWav(2, 44100, 16, Samples16(s)));
    FadeInOutParam param;
    param.fadeIn = 1;
    param.duration = 1.0f;
    param.tracks = Whole(frames);
    CFadeInOut fade;
    fade.SetParam(&param);
    ASSERT_TRUE(RunEffect(fade, p)) << fade.GetError();
    const std::vector<int16_t> o = Read16(ReadBytes(p.out), 44);
    const double e = 176384;  // 176400 bytes rounded down to a multiple of 128
    for (int f : {0, 1, 1000, 44095}) {
        const int16_t want = (int16_t)(int)(10000.0f * (float)(f * 4) / (float)e);
        EXPECT_EQ(want, o[(size_t)f * 2]) << f;
        EXPECT_EQ(want, o[(size_t)f * 2 + 1]) << f;
    }
    EXPECT_EQ(10000, o[44096 * 2]);
    EXPECT_EQ(10000, o.back());
    ExpectPeaksMatchOutput(p, 2, 16, 44, (size_t)frames * 4);
}

TEST(Effects, FadeInAndOutOnAShortRange)
{
    uint64_t li, lo;
    FadeInOutParam param;
    param.fadeIn = param.fadeOut = 1;
    param.duration = 1.0f;
    CFadeInOut::FadeLengths(param, 176400, 4, 66150 * 4, li, lo);
    EXPECT_EQ(132224u, li);
    EXPECT_EQ(132224u, lo);
    param.fadeOut = 0;
    CFadeInOut::FadeLengths(param, 176400, 4, 1000, li, lo);
    EXPECT_EQ(1000u, li);
    EXPECT_EQ(0u, lo);

    std::vector<int16_t> s((size_t)66150 * 2, -8000);
    Paths p(L"fadeboth");
    WriteBytes(p.src, PlainWav(2, 44100, 16, Samples16(s)));
    param.fadeOut = 1;
    param.selectedTracksOnly = 0;  // fades unselected tracks too
    param.tracks = Whole(66150, 0);
    CFadeInOut fade;
    fade.SetParam(&param);
    ASSERT_TRUE(RunEffect(fade, p));
    const std::vector<int16_t> o = Read16(ReadBytes(p.out), 44);
    EXPECT_EQ(0, o[0]);
    EXPECT_EQ(-8000, o[(132224 / 4) * 2 + 2]) << "the middle is untouched";
    const size_t outStart = (264600 - 132224) / 4;  // first frame of the fade out
    EXPECT_EQ(-8000, o[outStart * 2]);
    EXPECT_EQ((int16_t)(int)(-8000.0f * (1.0f - 132220.0f / 132224.0f)), o.back());
}

TEST(Effects, NormalizeExactResults)
{
    struct Case {
        const char* name;
        std::vector<int16_t> in, want;
        float target;
    };
    const std::vector<Case> cases = {
        {"peaks at 8192 and -8192", {8192, -8192, -8192, 8192, 0, 0}, {26214, -26214, -26214, 26214, 0, 0}, 0.8f},
        {"a DC level alone becomes silence", {16384, 16384, 16384, 16384}, {0, 0, 0, 0}, 0.8f},
        {"full scale on both sides keeps the offset", {32767, 100, -32768, 100, 0, 100, 0, 100},
         {26213, 0, -26214, 0, 0, 0, 0, 0}, 0.8f},
        {"a target above full scale is limited and never clips", {8192, 0, -8192, 0}, {32767, 0, -32767, 0}, 2.0f},
        // Right channel: DC 1000 plus +-4000; the common gain comes from the left peak.
        {"each channel loses its own DC", {8192, 5000, -8192, -3000}, {26214, 12800, -26214, -12800}, 0.8f},
    };
    int i = 0;
    for (const Case& c : cases) {
        Paths p(L"norm" + std::to_wstring(i++));
        WriteBytes(p.src, PlainWav(2, 44100, 16, Samples16(c.in)));
        NormalizeParam param;
        param.targetLevel = c.target;
        param.tracks = Whole((int)c.in.size() / 2);
        CNormalize norm;
        norm.SetParam(&param);
        ASSERT_TRUE(RunEffect(norm, p)) << c.name;
        EXPECT_EQ(c.want, Read16(ReadBytes(p.out), 44)) << c.name;
    }
}

TEST(Effects, NormalizeSeesEverySampleOfEveryChannel)
{
    // Quiet audio with one loud sample in the right channel, off the 128-sample grid.
    std::vector<int16_t> s(20000, 0);
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = (int16_t)((i % 4 < 2) ? 100 : -100);
    s[2 * 301 + 1] = 10000;
    Paths p(L"normspike");
    WriteBytes(p.src, PlainWav(2, 44100, 16, Samples16(s)));
    NormalizeParam param;
    param.targetLevel = 1.0f;
    param.tracks = Whole(10000);
    CNormalize norm;
    norm.SetParam(&param);
    ASSERT_TRUE(RunEffect(norm, p));
    const std::vector<int16_t> o = Read16(ReadBytes(p.out), 44);
    int peak = 0;
    for (int16_t v : o)
        peak = std::max(peak, std::abs((int)v));
    EXPECT_GE(peak, 32000);
    EXPECT_LE(peak, 32767);
    ExpectPeaksMatchOutput(p, 2, 16, 44, 40000);
}

namespace {

double Amplitude(const std::vector<int16_t>& s, int channels, int c, size_t from, size_t to, double freq)
{
    double x = 0, y = 0;
    for (size_t f = from; f < to; ++f) {
        x += s[f * (size_t)channels + (size_t)c] * cos(2 * kPi * freq * (double)f / 44100);
        y += s[f * (size_t)channels + (size_t)c] * sin(2 * kPi * freq * (double)f / 44100);
    }
    return 2 * sqrt(x * x + y * y) / (double)(to - from);
}

double RmsOf(const std::vector<int16_t>& s, int channels, int c, size_t from, size_t to)
{
    double sum = 0;
    for (size_t f = from; f < to; ++f)
        sum += (double)s[f * (size_t)channels + (size_t)c] * s[f * (size_t)channels + (size_t)c];
    return sqrt(sum / (double)(to - from));
}

}  // namespace

TEST(Effects, NoiseReductionPerChannel)
{
    const size_t frames = 200000;
    std::mt19937 rng(5);
    std::normal_distribution<double> noise(0, 40);
    std::vector<int16_t> s(frames * 2);
    for (size_t f = 0; f < frames; ++f) {
        s[2 * f] = (int16_t)lround(8000 * sin(2 * kPi * 1000 * (double)f / 44100) + noise(rng));
        s[2 * f + 1] = (int16_t)lround(noise(rng));
    }
    Paths p(L"nr");
    WriteBytes(p.src, PlainWav(2, 44100, 16, Samples16(s)));
    NoiseReductionParam param;
    param.level = 19.0f;
    param.tracks = {{0, 100000, 1}, {100000, 200000, 1}};
    CNoiseReduction nr;
    nr.SetParam(&param);
    ASSERT_TRUE(RunEffect(nr, p)) << nr.GetError();
    const Bytes out = ReadBytes(p.out);
    ASSERT_EQ(44 + frames * 4, out.size());
    const std::vector<int16_t> o = Read16(out, 44);
    // The tone keeps its level at the range edges and in between.
    for (size_t from : {(size_t)0, (size_t)48000, (size_t)100000 - 2048, (size_t)100000, frames - 2048}) {
        const double a = Amplitude(o, 2, 0, from, from + 2048, 1000);
        EXPECT_NEAR(0.0, 20 * log10(a / 8000), 0.5) << "at frame " << from;
    }
    // The noise-only channel is gated on its own.
    EXPECT_LT(RmsOf(o, 2, 1, 0, frames), RmsOf(s, 2, 1, 0, frames) * 0.1);
    ExpectPeaksMatchOutput(p, 2, 16, 44, frames * 4);
}

TEST(Effects, NoiseReductionTreatsEightBitLikeSixteen)
{
    const size_t frames = 30000;
    Bytes s(frames);
    for (size_t f = 0; f < frames; ++f)
        s[f] = (uint8_t)(128 + lround(100 * sin(2 * kPi * 1000 * (double)f / 44100)));
    Paths p(L"nr8");
    WriteBytes(p.src, PlainWav(1, 44100, 8, s));
    NoiseReductionParam param;
    param.level = 19.0f;
    param.tracks = Whole((int)frames);
    CNoiseReduction nr;
    nr.SetParam(&param);
    ASSERT_TRUE(RunEffect(nr, p));
    const Bytes out = ReadBytes(p.out);
    std::vector<int16_t> o(frames);
    for (size_t f = 0; f < frames; ++f)
        o[f] = (int16_t)(out[44 + f] - 128);
    EXPECT_NEAR(0.0, 20 * log10(Amplitude(o, 1, 0, 2048, frames - 2048, 1000) / 100), 0.5);

    // Silence stays silent.
    Paths q(L"nr8silent");
    WriteBytes(q.src, PlainWav(1, 44100, 8, Bytes(5000, 128)));
    param.tracks = Whole(5000);
    ASSERT_TRUE(RunEffect(nr, q)) << nr.GetError();
    const Bytes silent = ReadBytes(q.out);
    EXPECT_EQ(ReadBytes(q.src), silent);
}

// The effects never destroy what they read: an output or peak file that is the
// source (by the same name or another spelling of it) is refused before anything
// is opened for writing, and the source keeps every byte.
TEST(Effects, AnOutputThatIsTheSourceIsRefused)
{
    Paths p(L"selfout");
    const Bytes source = PlainWav(2, 44100, 16, Samples16({1000, -1000, 2000, -2000}));
    WriteBytes(p.src, source);
    std::wstring upper = p.src;
    for (wchar_t& c : upper)
        c = (wchar_t)towupper(c);
    const struct { const char* name; std::wstring out, peak; } cases[] = {
        {"output is the source", p.src, p.peak},
#ifdef _WIN32
        {"output is the source in other letters", upper, p.peak},
#endif
        {"peak file is the source", p.out, p.src},
        {"peak file is the output", p.out, p.out},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AmplifyParam param;
        param.gain = 2.0f;
        param.tracks = Whole(2);
        CAmplify amp;
        amp.SetParam(&param);
        EXPECT_FALSE(amp.Prepare(p.src, c.out, c.peak));
        EXPECT_FALSE(amp.GetError().empty());
        EXPECT_FALSE(amp.Run()) << "a refused effect ran";
        EXPECT_EQ(source, ReadBytes(p.src)) << "the source was changed";
    }
}

// Only 8 and 16 bits are sample sizes the effects know: 9 to 15 bits would be
// processed as bytes and come out as noise.
TEST(Effects, SourcesOfOtherBitDepthsAreRefused)
{
    for (uint16_t bits : {9, 12, 15, 24}) {
        SCOPED_TRACE(bits);
        Paths p(L"bits" + std::to_wstring(bits));
        Bytes chunks;
        Bytes fmt = FmtChunkData(1, 2, 44100, bits);
        // A container of whole bytes per sample, as such files store them.
        const uint16_t align = (uint16_t)(2 * ((bits + 7) / 8));
        fmt[12] = (uint8_t)align;
        fmt[13] = 0;
        const uint32_t byteRate = 44100u * align;
        memcpy(&fmt[8], &byteRate, 4);
        PutChunk(chunks, "fmt ", fmt);
        PutChunk(chunks, "data", Bytes(align * 100, 7));
        WriteBytes(p.src, RiffWave(chunks));
        AmplifyParam param;
        param.tracks = Whole(100);
        CAmplify amp;
        amp.SetParam(&param);
        EXPECT_FALSE(amp.Prepare(p.src, p.out, p.peak));
        EXPECT_EQ("the source is not a supported PCM WAV", amp.GetError());
    }
}

TEST(Effects, NormalizeEightBitMonoAndStereo)
{
    // Mono: DC 40 with +-20 around it; the DC goes and 20 becomes 128 x 0.8.
    // Stereo: left +-32 around 0, right +-10 around -30; one gain from the left.
    const struct { const char* name; uint16_t channels; Bytes in, want; } cases[] = {
        {"mono", 1, {188, 148, 188, 148}, {230, 26, 230, 26}},
        {"stereo", 2, {160, 108, 96, 88}, {230, 160, 26, 96}},
    };
    int i = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Paths p(L"norm8_" + std::to_wstring(i++));
        WriteBytes(p.src, PlainWav(c.channels, 8000, 8, c.in));
        NormalizeParam param;
        param.targetLevel = 0.8f;
        param.tracks = Whole((int)(c.in.size() / c.channels));
        CNormalize norm;
        norm.SetParam(&param);
        ASSERT_TRUE(RunEffect(norm, p)) << norm.GetError();
        const Bytes out = ReadBytes(p.out);
        EXPECT_EQ(c.want, Bytes(out.begin() + 44, out.begin() + 44 + (ptrdiff_t)c.in.size()));
        ExpectPeaksMatchOutput(p, c.channels, 8, 44, c.in.size());
    }
}


// An effect writes over an older output and peak file in place: whatever their
// length, the results are the bytes of a run where neither existed, and a
// cancelled run over them leaves a peak file that tells its true size.
TEST(Effects, OlderOutputsAreWrittenOverToTheExactBytes)
{
    Paths p(L"older");
    std::vector<int16_t> s(2 * 90000);
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = (int16_t)(i * 31);
    WriteBytes(p.src, PlainWav(2, 44100, 16, Samples16(s)));
    AmplifyParam param;
    param.gain = 0.7f;
    param.tracks = Whole(90000);
    DeleteByteFile(p.out);
    DeleteByteFile(p.peak);
    CAmplify first;
    first.SetParam(&param);
    ASSERT_TRUE(RunEffect(first, p)) << first.GetError();
    const Bytes out = ReadBytes(p.out), peak = ReadBytes(p.peak);
    const struct {
        const char* what;
        size_t outSize, peakSize;
    } older[] = {{"longer", out.size() + 300000, peak.size() + 7000}, {"as long", out.size(), peak.size()},
                 {"shorter", 1000, 20}, {"empty", 0, 0}};
    for (const auto& o : older) {
        WriteBytes(p.out, Bytes(o.outSize, 0x5A));
        WriteBytes(p.peak, Bytes(o.peakSize, 0x5A));
        CAmplify amp;
        amp.SetParam(&param);
        ASSERT_TRUE(RunEffect(amp, p)) << o.what << ": " << amp.GetError();
        EXPECT_EQ(out, ReadBytes(p.out)) << o.what;
        EXPECT_EQ(peak, ReadBytes(p.peak)) << o.what;
    }
    WriteBytes(p.peak, Bytes(peak.size() + 7000, 0x5A));
    SelfCancellingAmplify cancelled;
    cancelled.SetParam(&param);
    EXPECT_FALSE(RunEffect(cancelled, p));
    ExpectConsistentPeakFile(ReadBytes(p.peak));
}
