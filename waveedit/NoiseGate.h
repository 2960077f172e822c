// A spectral noise gate for one channel: Hann-windowed 2048-sample frames with
// half overlap; every frequency bin whose log power (in 16-bit sample units)
// lies below the level is faded out, the decision smoothed over time and
// isolated bins removed; the gated frames are transformed back and added up
// (Hann frames at half overlap add up to the signal). Gating the windowed
// spectrum keeps the error of a removed bin tapered to the frame.
// The first frame of a stream sets the gate directly; later frames move it
// half way towards their decision.
// Streaming: feed samples in pieces of any size; the output lags the input by
// half a frame and Flush delivers the rest, so the output has exactly as many
// samples as the input. The stream is primed with silence, so its first and
// last samples pass through two frames like every other sample.
// Portable; one object per channel.
#pragma once
#include <cstddef>
#include <vector>

class CNoiseGate {
public:
    static constexpr int kWindow = 2048;
    static constexpr int kHop = kWindow / 2;

    explicit CNoiseGate(float level = 15.0f);

    // Natural logarithm of the bin power below which a bin is removed.
    void SetLevel(float level);
    float GetLevel() const { return m_level; }
    // Starts a new stream: gate closed, overlap primed with silence.
    void Reset();

    // Samples in 16-bit units (8-bit audio scaled by 256 first). Writes the
    // finished output samples to out (room for count + kWindow) and returns
    // how many were written.
    size_t Push(const float* in, size_t count, float* out);
    // Ends the stream: writes the samples still held back (room for kWindow).
    size_t Flush(float* out);

    // One frame of kWindow samples in place (the frame processing alone).
    void ProcessFrame(float* frame);
    const float* GetGate() const { return m_gate.data(); }

private:
    float m_level;
    float m_threshold;  // e^level
    std::vector<float> m_gate;     // bins 0 .. kWindow / 2
    std::vector<float> m_in;       // the frame being filled
    size_t m_fill = 0;
    std::vector<float> m_tail;     // second half of the last processed frame
    std::vector<float> m_work, m_frame, m_wre, m_wim, m_scratch;
    size_t m_discard = 0;          // outputs that belong to the priming silence
    size_t m_pushed = 0, m_delivered = 0;
    bool m_fresh = true;           // no frame processed since Reset
};
