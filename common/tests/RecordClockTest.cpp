// The running time of a recording: whole seconds from the start, never 0 while
// it runs, right across the wrap of the tick count.
#include <gtest/gtest.h>
#include "RecordClock.h"

TEST(RecordClock, WholeSecondsFromTheStartAndNeverZero)
{
    const struct { DWORD start, now; double seconds; } cases[] = {
        {5000, 5000, 0.1},          // at the start
        {5000, 5999, 0.1},          // the first second
        {5000, 6000, 1.0},
        {5000, 7999, 2.0},          // whole seconds, not rounded up
        {5000, 8000, 3.0},
        {0xFFFFFC18u, 2000, 3.0},   // started 1 s before the wrap
        {0, 86399000, 86399.0},
    };
    for (const auto& c : cases) {
        CRecordClock clock;
        clock.StartAt(c.start);
        EXPECT_DOUBLE_EQ(c.seconds, clock.ElapsedSecondsAt(c.now)) << c.start << " " << c.now;
    }
}
