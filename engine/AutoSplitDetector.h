// CAutoSplitDetector: decides block by block when a sound begins after a pause
// and when a silence has lasted long enough to end it. Each block of 1024 mono
// 16-bit samples goes through an integer FFT; the mean absolute deviation of
// the magnitudes is the block's activity, and a history of activities drives
// two flags. Portable integer code, shared by the recorder and the analyzer.
//
// Sums are kept in 64 bits throughout, so loud and low-pitched blocks never
// wrap around to small values; for blocks that fit 32 bits the results are the
// same as those of a 32-bit transform.
#pragma once
#include <cstdint>

class CAutoSplitDetector {
public:
    static const int kBlock = 1024;
    static const int kBins = 512;
    static const int kHistory = 12;

    CAutoSplitDetector();

    void SetParams(int threshold, int holdBlocks);
    void Reset();   // clears the flags and the quiet count; the history runs on
    void Process(const int16_t* block);

    bool SoundStarted() const { return m_soundStarted; }
    bool SilenceReached() const { return m_silenceReached; }

    int64_t Activity() const { return m_activity; }
    const int64_t* Magnitudes() const { return m_magnitudes; }
    const int64_t* History() const { return m_history; }

    // Integer square root by table: the smallest d >= 1 with x < 4^d scales x into the table.
    static int64_t Sqrt(int64_t x);
    static const int16_t* TwiddleTable();   // 1024 entries: 512 sines, then 512 cosines
    static const int16_t* SqrtTable();      // 1024 entries

private:
    void Transform(int64_t* re, int64_t* im) const;

    int32_t m_samples[kBlock];
    int64_t m_magnitudes[kBins];
    int64_t m_history[kHistory];
    int64_t m_activity = 0;
    bool m_soundStarted = false;
    bool m_silenceReached = false;
    int64_t m_levelThreshold = 0;
    int64_t m_riseThreshold = 0;
    int m_holdBlocks = 0;
    int m_quietCount = 0;
};
