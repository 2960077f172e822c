// The falling bars and peak marks of the level graph, apart from drawing and
// timers. Levels fall by 4 per decay step; a peak holds for one step after it
// last rose and then falls by 4 per step. Steps follow elapsed time, so peaks
// fall even when new levels arrive faster than the decay interval.
#pragma once
#include <cstdint>

class LevelDecay {
public:
    enum { kBars = 30, kStep = 4 };
    LevelDecay() { Reset(); }
    void Reset();
    void SetInterval(int milliseconds) { m_interval = milliseconds > 0 ? milliseconds : 1; }
    int Interval() const { return m_interval; }
    // New levels (bytes above 100 count as 0), at time `now` in milliseconds.
    void SetLevels(const uint8_t levels[kBars], uint32_t now);
    // One decay step (the timer); steps due by `now` are also applied by SetLevels.
    void Step();
    // Applies the steps due by `now`; returns how many.
    int CatchUp(uint32_t now);
    bool AllDown() const;

    int level[kBars];
    int peak[kBars];
    int hold[kBars];  // steps before a peak starts to fall
    int fresh;        // 1 from new levels until the next step

private:
    void StepBars();
    int m_interval = 100;
    uint32_t m_lastStep = 0;
    bool m_started = false;
};
