// The record ring keeps at most five unread records, dropping the oldest.
#include "RecordRing.h"
#include <gtest/gtest.h>

namespace {

AnalyzerRecord Numbered(int n)
{
    AnalyzerRecord r = {};
    r.mediaTime = n;
    return r;
}

int64_t NextTime(CRecordRing& ring)
{
    AnalyzerRecord r;
    return ring.Get(reinterpret_cast<uint8_t*>(&r)) ? r.mediaTime : -1;
}

TEST(RecordRing, SevenWrittenWithoutAReadLeaveTheThirdToTheSeventh)
{
    CRecordRing ring;
    for (int i = 1; i <= 7; i++)
        ring.Put(Numbered(i));
    EXPECT_EQ(5, ring.Unread());
    for (int expected = 3; expected <= 7; expected++)
        EXPECT_EQ(expected, NextTime(ring));
    EXPECT_EQ(-1, NextTime(ring));
}

TEST(RecordRing, ReadsInOrderAndLeavesTheBufferAloneWhenEmpty)
{
    CRecordRing ring;
    AnalyzerRecord r = Numbered(99);
    EXPECT_FALSE(ring.Get(reinterpret_cast<uint8_t*>(&r)));
    EXPECT_EQ(99, r.mediaTime);

    // Interleaved puts and gets across the wrap of the six slots.
    int next = 1;
    for (int round = 0; round < 4; round++) {
        ring.Put(Numbered(2 * round + 1));
        ring.Put(Numbered(2 * round + 2));
        EXPECT_EQ(next++, NextTime(ring));
    }
    // 8 put, 4 read: 5 to 8 wait; two more drop the oldest (5).
    ring.Put(Numbered(9));
    ring.Put(Numbered(10));
    for (int expected = 6; expected <= 10; expected++)
        EXPECT_EQ(expected, NextTime(ring));
    EXPECT_EQ(-1, NextTime(ring));

    ring.Put(Numbered(1));
    ring.Clear();
    EXPECT_EQ(0, ring.Unread());
}

}  // namespace
