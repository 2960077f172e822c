#include "AutoSplitDetector.h"
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

struct Tables {
    int16_t twiddle[1024];
    int16_t sqrtTable[1024];
    Tables()
    {
        const double pi = 3.14159265358979323846;
        for (int k = 0; k < 512; k++) {
            twiddle[k] = int16_t(32767.0 * std::sin(2 * pi * k / 1024));          // truncated toward zero
            twiddle[512 + k] = int16_t(32767.0 * std::cos(2 * pi * k / 1024));
        }
        for (int e = 0; e < 1023; e++)
            sqrtTable[e] = int16_t(std::floor(1024.0 * std::sqrt(double(e + 1))));
        sqrtTable[1023] = 32767;   // 32768 does not fit
    }
};

const Tables& GetTables()
{
    static const Tables tables;
    return tables;
}

// The magnitude of (re, im): squares formed in 64 bits; very large parts are
// scaled down first so that the sum of squares cannot overflow.
int64_t Magnitude(int64_t re, int64_t im)
{
    int64_t a = std::llabs(re), b = std::llabs(im);
    int shift = 0;
    while ((a >> shift) > INT32_MAX || (b >> shift) > INT32_MAX)
        shift++;
    if (shift == 0)
        return CAutoSplitDetector::Sqrt(re * re + im * im);
    int64_t x = a >> shift, y = b >> shift;
    return CAutoSplitDetector::Sqrt(x * x + y * y) << shift;
}

}  // namespace

const int16_t* CAutoSplitDetector::TwiddleTable() { return GetTables().twiddle; }

const int16_t* CAutoSplitDetector::SqrtTable() { return GetTables().sqrtTable; }

CAutoSplitDetector::CAutoSplitDetector()
{
    GetTables();
    for (int64_t& h : m_history)
        h = INT_MAX;
    for (int32_t& s : m_samples)
        s = 0;
    for (int64_t& m : m_magnitudes)
        m = 0;
}

void CAutoSplitDetector::SetParams(int threshold, int holdBlocks)
{
    m_levelThreshold = int64_t(threshold) * 4096;
    m_riseThreshold = threshold >> 1;
    m_holdBlocks = holdBlocks;
}

void CAutoSplitDetector::Reset()
{
    m_soundStarted = false;
    m_silenceReached = false;
    m_quietCount = 0;
}

int64_t CAutoSplitDetector::Sqrt(int64_t x)
{
    if (x < 0)
        return 0;
    int d = 1;
    for (int64_t y = x >> 2; y > 0; y >>= 2)
        d++;
    int64_t e = 2 * d <= 10 ? (x << (10 - 2 * d)) : (x >> (2 * d - 10));
    e &= 1023;
    return (int64_t(SqrtTable()[e]) << d) >> 15;
}

// Decimation in frequency, 10 stages, twiddles from the table; the caller puts
// the result into bit-reversed order.
void CAutoSplitDetector::Transform(int64_t* re, int64_t* im) const
{
    const int16_t* twiddle = TwiddleTable();
    for (int span = kBlock; span >= 2; span /= 2) {
        int half = span / 2;
        int step = 512 / half;
        for (int j = 0; j < half; j++) {
            int64_t s = twiddle[step * j];
            int64_t c = twiddle[512 + step * j];
            for (int i = j; i < kBlock; i += span) {
                int p = i + half;
                int64_t tr = re[i] - re[p];
                int64_t ti = im[i] - im[p];
                re[i] += re[p];
                im[i] += im[p];
                re[p] = ((c * tr) >> 15) - ((s * ti) >> 15);
                im[p] = ((s * tr) >> 15) + ((c * ti) >> 15);
            }
        }
    }
    // Bit reversal, counted from 1.
    int n = 1;
    for (int m = 1; m < kBlock; m++) {
        if (m < n) {
            int64_t t = re[m - 1];
            re[m - 1] = re[n - 1];
            re[n - 1] = t;
            t = im[m - 1];
            im[m - 1] = im[n - 1];
            im[n - 1] = t;
        }
        int k = 512;
        while (k < n) {
            n -= k;
            k /= 2;
        }
        n += k;
    }
}

void CAutoSplitDetector::Process(const int16_t* block)
{
    int64_t re[kBlock];
    int64_t im[kBlock];
    for (int i = 0; i < kBlock; i++) {
        m_samples[i] = int32_t(block[i]) * 4096;
        re[i] = m_samples[i];
        im[i] = 0;
    }
    Transform(re, im);

    int64_t sum = 0;
    for (int k = 0; k < kBins; k++) {
        m_magnitudes[k] = Magnitude(re[k], im[k]);
        sum += m_magnitudes[k];
    }
    int64_t mean = sum >> 9;
    int64_t deviation = 0;
    for (int k = 0; k < kBins; k++)
        deviation += std::llabs(mean - m_magnitudes[k]);
    m_activity = deviation >> 9;

    for (int h = kHistory - 1; h > 0; h--)
        m_history[h] = m_history[h - 1];
    m_history[0] = m_activity;

    int64_t recent = (m_history[0] + m_history[1] + m_history[2] + m_history[3]) >> 2;
    int64_t old = 0;
    for (int h = 4; h < kHistory; h++)
        old += m_history[h];
    old >>= 3;

    if (!m_soundStarted) {
        if (recent > m_levelThreshold && recent >= old && recent - old > m_riseThreshold) {
            m_soundStarted = true;
            m_silenceReached = false;
            m_quietCount = 0;
        }
    } else {
        if (recent < m_levelThreshold)
            m_quietCount++;
        else
            m_quietCount = 0;
        if (m_quietCount >= m_holdBlocks) {
            m_silenceReached = true;
            m_soundStarted = false;
        }
    }
}
