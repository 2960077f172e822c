#include "Fft.h"
#include "NoiseGate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <thread>
#include <vector>

namespace {

const double kPi = 3.14159265358979323846;

void Dft(int n, const std::vector<float>& re, const std::vector<float>& im, bool inverse, std::vector<double>& outRe,
         std::vector<double>& outIm)
{
    outRe.assign((size_t)n, 0);
    outIm.assign((size_t)n, 0);
    const double sign = inverse ? 1 : -1;
    for (int k = 0; k < n; ++k) {
        for (int t = 0; t < n; ++t) {
            const double a = sign * 2 * kPi * (double)k * t / n;
            outRe[(size_t)k] += re[(size_t)t] * cos(a) - im[(size_t)t] * sin(a);
            outIm[(size_t)k] += re[(size_t)t] * sin(a) + im[(size_t)t] * cos(a);
        }
        if (inverse) {
            outRe[(size_t)k] /= n;
            outIm[(size_t)k] /= n;
        }
    }
}

std::vector<float> Random(int n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> d(-1, 1);
    std::vector<float> v((size_t)n);
    for (float& x : v)
        x = d(rng);
    return v;
}

}  // namespace

TEST(Fft, HelpersAndBadSizes)
{
    EXPECT_TRUE(FftIsPow2(2));
    EXPECT_FALSE(FftIsPow2(1));
    EXPECT_FALSE(FftIsPow2(12));
    EXPECT_EQ(11, FftLog2(2048));
    EXPECT_EQ(-1, FftLog2(1));  // an error, not the end of the process
    EXPECT_EQ(0b0011, FftBitReverse(4, 0b1100));
    EXPECT_EQ(FftBitReverse(10, 37), FftReverseIndex(37, 10));
    EXPECT_EQ(FftBitReverse(18, 37), FftReverseIndex(37, 18));
    float a[12] = {}, b[12], c[12];
    EXPECT_FALSE(FftTransform(12, false, a, nullptr, b, c));
    EXPECT_FALSE(FftPowerSpectrum(12, a, b));
}

TEST(Fft, MatchesPlainDft)
{
    for (int n : {2, 8, 64, 512}) {
        std::vector<float> re = Random(n, 1), im = Random(n, 2), outRe((size_t)n), outIm((size_t)n);
        for (bool inverse : {false, true}) {
            ASSERT_TRUE(FftTransform(n, inverse, re.data(), im.data(), outRe.data(), outIm.data()));
            std::vector<double> dr, di;
            Dft(n, re, im, inverse, dr, di);
            for (int k = 0; k < n; ++k) {
                ASSERT_NEAR(dr[(size_t)k], outRe[(size_t)k], 1e-3) << n << " bin " << k;
                ASSERT_NEAR(di[(size_t)k], outIm[(size_t)k], 1e-3) << n << " bin " << k;
            }
        }
    }
}

TEST(Fft, ImpulseAndRoundTrip)
{
    const int n = 2048;
    std::vector<float> x((size_t)n, 0), re((size_t)n), im((size_t)n), back((size_t)n), bi((size_t)n);
    x[0] = 1;
    ASSERT_TRUE(FftTransform(n, false, x.data(), nullptr, re.data(), im.data()));
    for (int k = 0; k < n; ++k) {
        ASSERT_NEAR(1.0f, re[(size_t)k], 1e-6);
        ASSERT_NEAR(0.0f, im[(size_t)k], 1e-6);
    }
    x = Random(n, 3);
    FftTransform(n, false, x.data(), nullptr, re.data(), im.data());
    FftTransform(n, true, re.data(), im.data(), back.data(), bi.data());
    for (int i = 0; i < n; ++i)
        ASSERT_NEAR(x[(size_t)i], back[(size_t)i], 1e-5);
}

TEST(Fft, RealTransformsAndPowerSpectrum)
{
    const int n = 256;
    std::vector<float> x = Random(n, 4), re((size_t)n), im((size_t)n), rr((size_t)n / 2 + 1), ri((size_t)n / 2 + 1);
    FftTransform(n, false, x.data(), nullptr, re.data(), im.data());
    ASSERT_TRUE(FftRealForward(n, x.data(), rr.data(), ri.data()));
    for (int k = 0; k <= n / 2; ++k) {
        ASSERT_NEAR(re[(size_t)k], rr[(size_t)k], 1e-4) << k;
        ASSERT_NEAR(im[(size_t)k], ri[(size_t)k], 1e-4) << k;
    }
    std::vector<float> back((size_t)n);
    ASSERT_TRUE(FftRealInverse(n, rr.data(), ri.data(), back.data()));
    for (int i = 0; i < n; ++i)
        ASSERT_NEAR(x[(size_t)i], back[(size_t)i], 1e-5);
    std::vector<float> p((size_t)n / 2);
    ASSERT_TRUE(FftPowerSpectrum(n, x.data(), p.data()));
    for (int k = 1; k < n / 2; ++k)
        ASSERT_NEAR(re[(size_t)k] * re[(size_t)k] + im[(size_t)k] * im[(size_t)k], p[(size_t)k], 1e-3) << k;
    EXPECT_NEAR(re[0] * re[0] + re[(size_t)n / 2] * re[(size_t)n / 2], p[0], 1e-3);
}

TEST(Fft, Windows)
{
    std::vector<float> w(8, 1.0f);
    FftApplyWindow(kFftHann, 8, w.data());
    EXPECT_NEAR(0.0f, w[0], 1e-6);
    EXPECT_NEAR(0.5 - 0.5 * cos(2 * kPi * 3 / 7), w[3], 1e-6);
    std::vector<float> b(8, 1.0f);
    FftApplyWindow(kFftBartlett, 8, b.data());
    EXPECT_FLOAT_EQ(0.5f, b[2]);
    EXPECT_FLOAT_EQ(1.0f, b[4]);
    EXPECT_FLOAT_EQ(0.25f, b[7]);
    std::vector<float> h(8, 1.0f);
    FftApplyWindow(kFftHamming, 8, h.data());
    EXPECT_NEAR(0.08f, h[0], 1e-6);
    std::vector<float> u(8, 2.0f);
    FftApplyWindow(7, 8, u.data());
    EXPECT_FLOAT_EQ(2.0f, u[5]);
}

TEST(Fft, TablesBuildSafelyFromManyThreads)
{
    std::vector<std::thread> threads;
    std::vector<int> ok(8, 0);
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t, &ok] {
            const int n = 1 << (4 + t);
            std::vector<float> x((size_t)n, 0), re((size_t)n), im((size_t)n);
            x[1] = 1;
            ok[(size_t)t] = FftTransform(n, false, x.data(), nullptr, re.data(), im.data()) &&
                            std::fabs(re[1] - (float)cos(2 * kPi / n)) < 1e-5;
        });
    }
    for (auto& th : threads)
        th.join();
    for (int v : ok)
        EXPECT_EQ(1, v);
}

// --- the noise gate ---

namespace {

std::vector<float> RunGate(CNoiseGate& gate, const std::vector<float>& in, size_t piece)
{
    std::vector<float> out, buf(piece + CNoiseGate::kWindow);
    for (size_t i = 0; i < in.size(); i += piece) {
        size_t n = std::min(piece, in.size() - i);
        size_t got = gate.Push(in.data() + i, n, buf.data());
        out.insert(out.end(), buf.begin(), buf.begin() + (long)got);
    }
    size_t got = gate.Flush(buf.data());
    out.insert(out.end(), buf.begin(), buf.begin() + (long)got);
    return out;
}

double Rms(const std::vector<float>& v, size_t from, size_t to)
{
    double s = 0;
    for (size_t i = from; i < to; ++i)
        s += (double)v[i] * v[i];
    return sqrt(s / (double)(to - from));
}

// Correlation with a sine of the given frequency: its amplitude in the signal.
double ToneAmplitude(const std::vector<float>& v, size_t from, size_t to, double freq, double rate)
{
    double c = 0, s = 0;
    for (size_t i = from; i < to; ++i) {
        c += v[i] * cos(2 * kPi * freq * (double)i / rate);
        s += v[i] * sin(2 * kPi * freq * (double)i / rate);
    }
    return 2 * sqrt(c * c + s * s) / (double)(to - from);
}

// Power of a 4096-sample stretch between two frequencies.
double BandPower(const std::vector<float>& v, size_t from, double lo, double hi)
{
    const int n = 4096;
    std::vector<float> x(v.begin() + (long)from, v.begin() + (long)from + n), re(n / 2 + 1), im(n / 2 + 1);
    FftApplyWindow(kFftHann, n, x.data());
    FftRealForward(n, x.data(), re.data(), im.data());
    double p = 0;
    for (int k = (int)(lo * n / 44100); k <= (int)(hi * n / 44100); ++k)
        p += (double)re[(size_t)k] * re[(size_t)k] + (double)im[(size_t)k] * im[(size_t)k];
    return p;
}

}  // namespace

TEST(NoiseGate, SilenceStaysSilentAndLengthIsKept)
{
    CNoiseGate gate(15.0f);
    std::vector<float> in(10000, 0.0f);
    std::vector<float> out = RunGate(gate, in, 777);
    ASSERT_EQ(in.size(), out.size());
    for (float v : out)
        ASSERT_EQ(0.0f, v);
}

TEST(NoiseGate, ToneKeptNoiseRemovedNoEdgeDips)
{
    const double rate = 44100, freq = 1000;
    const size_t n = 44100;
    std::mt19937 rng(7);
    std::normal_distribution<float> noise(0, 30);
    std::vector<float> tone(n), mixed(n), noiseOnly(n);
    for (size_t i = 0; i < n; ++i) {
        tone[i] = (float)(8000 * sin(2 * kPi * freq * (double)i / rate));
        noiseOnly[i] = noise(rng);
        mixed[i] = tone[i] + noiseOnly[i];
    }
    CNoiseGate gate(19.0f);
    std::vector<float> out = RunGate(gate, mixed, 4096);
    ASSERT_EQ(n, out.size());
    // The tone keeps its level within 0.5 dB, also in the first and last 2048 samples.
    const double whole = ToneAmplitude(out, 4096, n - 4096, freq, rate);
    EXPECT_NEAR(0.0, 20 * log10(whole / 8000), 0.5);
    const double head = ToneAmplitude(out, 0, 2048, freq, rate), tail = ToneAmplitude(out, n - 2048, n, freq, rate);
    EXPECT_NEAR(0.0, 20 * log10(head / 8000), 0.5) << "start of the stream";
    EXPECT_NEAR(0.0, 20 * log10(tail / 8000), 0.5) << "end of the stream";
    // What is left besides the tone is much less than the noise was.
    std::vector<float> residual(n);
    for (size_t i = 0; i < n; ++i)
        residual[i] = out[i] - tone[i];
    EXPECT_LT(Rms(residual, 4096, n - 4096), Rms(noiseOnly, 4096, n - 4096) * 0.5);
    // Far from the tone (5 to 15 kHz) the noise is gone.
    EXPECT_LT(BandPower(out, 20000, 5000, 15000), BandPower(mixed, 20000, 5000, 15000) * 0.01);

    // Noise alone is removed almost entirely.
    CNoiseGate quiet(19.0f);
    std::vector<float> gated = RunGate(quiet, noiseOnly, 1000);
    EXPECT_LT(Rms(gated, 4096, n - 4096), Rms(noiseOnly, 4096, n - 4096) * 0.1);
}

TEST(NoiseGate, GateSmoothingAndIsolatedBins)
{
    // Energy that appears after silence opens its bins to 0.5, 0.75, 0.875.
    CNoiseGate gate(0.0f);
    std::vector<float> frame(CNoiseGate::kWindow, 0.0f);
    gate.ProcessFrame(frame.data());
    EXPECT_EQ(0.0f, gate.GetGate()[100]);
    for (int f = 0; f < 3; ++f) {
        for (int i = 0; i < CNoiseGate::kWindow; ++i)
            frame[(size_t)i] = (float)(1000 * sin(2 * kPi * 100.0 * i / CNoiseGate::kWindow));
        gate.ProcessFrame(frame.data());
        const float want[3] = {0.5f, 0.75f, 0.875f};
        EXPECT_FLOAT_EQ(want[f], gate.GetGate()[100]) << "frame " << f;
    }
    // A single bin among silent neighbours is cleared in its first frame.
    CNoiseGate single(32.5f);
    std::fill(frame.begin(), frame.end(), 0.0f);
    single.ProcessFrame(frame.data());
    for (int i = 0; i < CNoiseGate::kWindow; ++i)
        frame[(size_t)i] = (float)(30000 * sin(2 * kPi * 300.0 * i / CNoiseGate::kWindow));
    single.ProcessFrame(frame.data());
    EXPECT_EQ(0.0f, single.GetGate()[300]);
}
