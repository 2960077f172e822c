// The requested recording time of the Record page and the wizard's recording
// step: spin steps, typed values cut to the longest recording, and fitting a
// set time to a smaller longest recording.
#include <gtest/gtest.h>
#include "RecordTime.h"

namespace {

RecordTimeFields Time(int h, int m, int s)
{
    RecordTimeFields t;
    t.hours = h;
    t.minutes = m;
    t.seconds = s;
    return t;
}

void ExpectTime(const RecordTimeFields& t, int h, int m, int s, const char* what)
{
    EXPECT_EQ(h, t.hours) << what;
    EXPECT_EQ(m, t.minutes) << what;
    EXPECT_EQ(s, t.seconds) << what;
}

}  // namespace

TEST(RecordTime, TypedHoursAreCutToTheLongestRecording)
{
    const unsigned fiveHours = 5 * 3600;
    const struct { RecordTimeFields typed; unsigned longest; int hours; } cases[] = {
        {Time(30, 0, 0), fiveHours, 5},             // 30 hours with 5 h longest: 5
        {Time(30, 10, 0), fiveHours, 4},            // ... or 4 when 5 h and the minutes are too long
        {Time(5, 0, 1), fiveHours, 4},
        {Time(3, 59, 59), fiveHours, 3},            // within the limit: kept
        {Time(30, 0, 0), 86399, 23},
        {Time(2, 0, 0), 1800, 0},                   // under an hour: 0, never -1
        {Time(-3, 0, 0), fiveHours, 0},
    };
    for (const auto& c : cases) {
        RecordTimeFields t = c.typed;
        t.LimitHours(c.longest);
        EXPECT_EQ(c.hours, t.hours) << c.typed.hours << ":" << c.typed.minutes << " of " << c.longest;
    }
}

TEST(RecordTime, TypedMinutesAndSecondsAreCutAgainstWhatTheLongerFieldsLeave)
{
    const unsigned longest = 2 * 3600 + 15 * 60 + 30;   // 02:15:30
    RecordTimeFields t = Time(2, 40, 0);
    t.LimitMinutes(longest);
    ExpectTime(t, 2, 15, 0, "at the longest hour the minutes stop at 15");
    t = Time(1, 75, 0);
    t.LimitMinutes(longest);
    ExpectTime(t, 1, 59, 0, "below it at 59");
    t = Time(2, 15, 45);
    t.LimitSeconds(longest);
    ExpectTime(t, 2, 15, 30, "at the longest minute the seconds stop at 30");
    t = Time(2, 14, 70);
    t.LimitSeconds(longest);
    ExpectTime(t, 2, 14, 59, "below it at 59");
    t = Time(0, -4, -2);
    t.LimitMinutes(longest);
    t.LimitSeconds(longest);
    ExpectTime(t, 0, 0, 0, "negative values become 0");
}

TEST(RecordTime, SpinStepsStayWithinTheirFieldsAndTheLongestRecording)
{
    const struct { RecordTimeFields start; int field, delta; unsigned longest; RecordTimeFields end; } cases[] = {
        {Time(0, 0, 0), 0, 1, 7200, Time(1, 0, 0)},
        {Time(1, 30, 0), 0, 1, 7200, Time(1, 30, 0)},    // 2:30 would be too long
        {Time(23, 0, 0), 0, 1, 86399, Time(23, 0, 0)},   // hours stop at 23
        {Time(0, 59, 0), 1, 1, 86399, Time(0, 59, 0)},   // minutes stop at 59
        {Time(0, 0, 58), 2, 1, 86399, Time(0, 0, 59)},
        {Time(0, 0, 59), 2, 1, 59, Time(0, 0, 59)},      // exactly the longest: no further
        {Time(0, 0, 0), 1, -1, 86399, Time(0, 0, 0)},    // never below 0
        {Time(3, 2, 1), 1, -1, 86399, Time(3, 1, 1)},
        {Time(0, 0, 0), 2, 1, 0, Time(0, 0, 0)},         // nothing fits a full disk
    };
    for (const auto& c : cases) {
        RecordTimeFields t = c.start;
        t.Step(c.field, c.delta, c.longest);
        ExpectTime(t, c.end.hours, c.end.minutes, c.end.seconds, "step");
    }
}

TEST(RecordTime, ASetTimeLongerThanTheLongestRecordingBecomesIt)
{
    RecordTimeFields t = Time(10, 0, 0);
    EXPECT_TRUE(t.FitTo(3 * 3600 + 25 * 60 + 7));
    ExpectTime(t, 3, 25, 7, "fitted");
    EXPECT_FALSE(t.FitTo(86399)) << "a time that fits stays";
    RecordTimeFields none;
    EXPECT_FALSE(none.FitTo(0)) << "no set time stays 0";
    EXPECT_EQ(0, none.Total());
    EXPECT_STREQ(L"01 : 31 : 56", ElapsedText(5516).GetString());
}
