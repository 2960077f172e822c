#include "RecordClock.h"

double CRecordClock::ElapsedSecondsAt(DWORD nowMs) const
{
    // Unsigned difference: right across the tick count's wrap after 49.7 days.
    double seconds = (double)((DWORD)(nowMs - m_startMs) / 1000);
    return seconds <= 0.1 ? 0.1 : seconds;
}
