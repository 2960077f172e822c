#include "LevelDecay.h"

void LevelDecay::Reset()
{
    for (int i = 0; i < kBars; ++i) {
        level[i] = 0;
        peak[i] = 0;
        hold[i] = 1;
    }
    fresh = 1;
    m_started = false;
}

void LevelDecay::StepBars()
{
    for (int i = 0; i < kBars; ++i) {
        level[i] -= kStep;
        if (hold[i] <= 0) peak[i] -= kStep;
        --hold[i];
    }
    fresh = 0;
}

void LevelDecay::Step()
{
    StepBars();
    m_lastStep += (uint32_t)m_interval;
}

int LevelDecay::CatchUp(uint32_t now)
{
    if (!m_started) {
        m_started = true;
        m_lastStep = now;
        return 0;
    }
    int steps = 0;
    while ((int32_t)(now - m_lastStep) >= m_interval) {
        StepBars();
        m_lastStep += (uint32_t)m_interval;
        ++steps;
    }
    return steps;
}

void LevelDecay::SetLevels(const uint8_t levels[kBars], uint32_t now)
{
    CatchUp(now);
    for (int i = 0; i < kBars; ++i) {
        level[i] = levels[i] <= 100 ? levels[i] : 0;
        if (level[i] >= peak[i]) {
            peak[i] = level[i];
            hold[i] = 1;
        }
    }
    fresh = 1;
}

bool LevelDecay::AllDown() const
{
    for (int i = 0; i < kBars; ++i)
        if (level[i] > 0) return false;
    return true;
}
