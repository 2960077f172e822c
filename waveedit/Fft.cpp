#include "Fft.h"

#include <cmath>
#include <mutex>
#include <vector>

namespace {

constexpr int kTableBits = 16;
const double kPi = 3.14159265358979323846;

struct BitReverseTables {
    std::vector<int> table[kTableBits + 1];
    BitReverseTables()
    {
        for (int k = 1; k <= kTableBits; ++k) {
            table[k].resize((size_t)1 << k);
            for (int i = 0; i < (1 << k); ++i)
                table[k][(size_t)i] = FftBitReverse(k, i);
        }
    }
};

const BitReverseTables& ReverseTables()
{
    static const BitReverseTables tables;  // built once; thread-safe initialisation
    return tables;
}

// cos and sin of 2 pi m / n for m < n / 2, one table per size, built once.
struct Twiddles {
    std::vector<float> c, s;
};

const Twiddles& TwiddlesFor(int bits)
{
    static std::once_flag once[32];
    static Twiddles tables[32];
    std::call_once(once[bits], [bits] {
        const size_t n = (size_t)1 << bits;
        Twiddles& t = tables[bits];
        t.c.resize(n / 2 + 1);
        t.s.resize(n / 2 + 1);
        for (size_t m = 0; m <= n / 2; ++m) {
            t.c[m] = (float)cos(2 * kPi * (double)m / (double)n);
            t.s[m] = (float)sin(2 * kPi * (double)m / (double)n);
        }
    });
    return tables[bits];
}

}  // namespace

bool FftIsPow2(int x)
{
    return x > 1 && (x & (x - 1)) == 0;
}

int FftLog2(int n)
{
    if (n < 2)
        return -1;
    int k = 0;
    while (!(n & (1 << k)))
        ++k;
    return k;
}

int FftBitReverse(int bits, int index)
{
    int r = 0;
    for (int i = 0; i < bits; ++i) {
        r = (r << 1) | (index & 1);
        index >>= 1;
    }
    return r;
}

int FftReverseIndex(int index, int bits)
{
    if (bits <= kTableBits)
        return ReverseTables().table[bits][(size_t)index];
    return FftBitReverse(bits, index);
}

bool FftTransform(int n, bool inverse, const float* realIn, const float* imagIn, float* re, float* im)
{
    if (!FftIsPow2(n) || n > (1 << 30))
        return false;
    const int bits = FftLog2(n);
    if (bits <= kTableBits) {
        const int* rev = ReverseTables().table[bits].data();
        for (int i = 0; i < n; ++i) {
            re[rev[i]] = realIn[i];
            im[rev[i]] = imagIn ? imagIn[i] : 0.0f;
        }
    } else {
        for (int i = 0; i < n; ++i) {
            int j = FftBitReverse(bits, i);
            re[j] = realIn[i];
            im[j] = imagIn ? imagIn[i] : 0.0f;
        }
    }
    const Twiddles& tw = TwiddlesFor(bits);
    const float* tc = tw.c.data();
    const float* ts = tw.s.data();
    const float sign = inverse ? 1.0f : -1.0f;

    // Block size 2: no multiplications.
    for (int i = 0; i < n; i += 2) {
        float tr = re[i + 1], ti = im[i + 1];
        re[i + 1] = re[i] - tr; im[i + 1] = im[i] - ti;
        re[i] += tr; im[i] += ti;
    }
    for (int half = 2, stride = n / 4; half < n; half *= 2, stride /= 2) {
        for (int i = 0; i < n; i += 2 * half) {
            float* r0 = re + i;
            float* i0 = im + i;
            float* r1 = r0 + half;
            float* i1 = i0 + half;
            for (int m = 0; m < half; ++m) {
                const float wr = tc[m * stride], wi = sign * ts[m * stride];
                const float tr = wr * r1[m] - wi * i1[m];
                const float ti = wr * i1[m] + wi * r1[m];
                r1[m] = r0[m] - tr; i1[m] = i0[m] - ti;
                r0[m] += tr; i0[m] += ti;
            }
        }
    }
    if (inverse) {
        const float scale = 1.0f / (float)n;
        for (int i = 0; i < n; ++i) {
            re[i] *= scale;
            im[i] *= scale;
        }
    }
    return true;
}

bool FftRealForward(int n, const float* in, float* re, float* im, float* scratch)
{
    if (!FftIsPow2(n) || n < 4)
        return false;
    const int h = n / 2;
    std::vector<float> own;
    if (!scratch) {
        own.resize((size_t)n * 2);
        scratch = own.data();
    }
    float *zr = scratch, *zi = scratch + h, *pr = scratch + 2 * h, *pi = scratch + 3 * h;
    for (int i = 0; i < h; ++i) {
        pr[i] = in[2 * i];
        pi[i] = in[2 * i + 1];
    }
    FftTransform(h, false, pr, pi, zr, zi);
    const Twiddles& tw = TwiddlesFor(FftLog2(n));
    re[0] = zr[0] + zi[0]; im[0] = 0;
    re[h] = zr[0] - zi[0]; im[h] = 0;
    for (int k = 1; k < h; ++k) {
        // even part E = (Z_k + conj Z_{h-k}) / 2, odd part O = (Z_k - conj Z_{h-k}) / 2i
        const float ar = zr[k], ai = zi[k], br = zr[h - k], bi = -zi[h - k];
        const float er = 0.5f * (ar + br), ei = 0.5f * (ai + bi);
        const float or_ = 0.5f * (ai - bi), oi = -0.5f * (ar - br);
        const float wr = tw.c[(size_t)k], wi = -tw.s[(size_t)k];
        re[k] = er + wr * or_ - wi * oi;
        im[k] = ei + wr * oi + wi * or_;
    }
    return true;
}

bool FftRealInverse(int n, const float* re, const float* im, float* out, float* scratch)
{
    if (!FftIsPow2(n) || n < 4)
        return false;
    const int h = n / 2;
    std::vector<float> own;
    if (!scratch) {
        own.resize((size_t)n * 2);
        scratch = own.data();
    }
    float *zr = scratch, *zi = scratch + h, *xr = scratch + 2 * h, *xi = scratch + 3 * h;
    const Twiddles& tw = TwiddlesFor(FftLog2(n));
    for (int k = 0; k < h; ++k) {
        const float ar = re[k], ai = k == 0 ? 0.0f : im[k];
        const float br = re[h - k], bi = (h - k == h) ? 0.0f : -im[h - k];  // conj X_{h-k}
        const float er = 0.5f * (ar + br), ei = 0.5f * (ai + bi);
        const float dr = 0.5f * (ar - br), di = 0.5f * (ai - bi);
        // O = D / W^k with W = e^-i2pi/n, so O = D * e^+i2pi k/n
        const float wr = tw.c[(size_t)k], wi = tw.s[(size_t)k];
        const float or_ = dr * wr - di * wi, oi = dr * wi + di * wr;
        zr[k] = er - oi;  // Z = E + i O
        zi[k] = ei + or_;
    }
    FftTransform(h, true, zr, zi, xr, xi);
    for (int i = 0; i < h; ++i) {
        out[2 * i] = xr[i];
        out[2 * i + 1] = xi[i];
    }
    return true;
}

bool FftPowerSpectrum(int n, const float* in, float* out)
{
    if (!FftIsPow2(n) || n < 4)
        return false;
    const int h = n / 2;
    std::vector<float> re((size_t)h + 1), im((size_t)h + 1);
    FftRealForward(n, in, re.data(), im.data());
    for (int k = 1; k < h; ++k)
        out[k] = re[(size_t)k] * re[(size_t)k] + im[(size_t)k] * im[(size_t)k];
    out[0] = re[0] * re[0] + re[(size_t)h] * re[(size_t)h];
    return true;
}

void FftApplyWindow(int type, int n, float* data)
{
    switch (type) {
    case kFftBartlett:
        for (int i = 0; i < n / 2; ++i) {
            data[i] *= (float)i / (float)(n / 2);
            data[n / 2 + i] *= 1.0f - (float)i / (float)(n / 2);
        }
        break;
    case kFftHamming:
        for (int i = 0; i < n; ++i)
            data[i] *= (float)(0.54 - 0.46 * cos(2 * kPi * i / (n - 1)));
        break;
    case kFftHann:
        for (int i = 0; i < n; ++i)
            data[i] *= (float)(0.5 - 0.5 * cos(2 * kPi * i / (n - 1)));
        break;
    default:
        break;
    }
}
