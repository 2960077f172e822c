#include "TrackList.h"

#include <gtest/gtest.h>

#include <random>

namespace {

CTrackList Make(std::initializer_list<std::pair<int, int>> points)
{
    CTrackList l;
    for (auto& p : points)
        l.InsertOrUpdate(p.first, p.second);
    return l;
}

std::vector<std::pair<int, int>> Dump(const CTrackList& l)
{
    std::vector<std::pair<int, int>> v;
    for (int i = 0; i < l.GetCount(); ++i)
        v.emplace_back(l.At(i).position, l.At(i).flag);
    return v;
}

using V = std::vector<std::pair<int, int>>;

}  // namespace

TEST(TrackList, InsertKeepsOrderAndUpdatesExisting)
{
    CTrackList l = Make({{0, 1}, {1000, 0}});
    EXPECT_EQ(1, l.InsertOrUpdate(500, 1));
    EXPECT_EQ((V{{0, 1}, {500, 1}, {1000, 0}}), Dump(l));
    EXPECT_EQ(-1, l.InsertOrUpdate(500, 0));
    EXPECT_EQ((V{{0, 1}, {500, 0}, {1000, 0}}), Dump(l));
    EXPECT_EQ(3, l.InsertOrUpdate(2000, 0));  // appended
}

TEST(TrackList, RemovePointMergesFlagIntoPredecessor)
{
    CTrackList l = Make({{0, 0}, {500, 1}, {1000, 0}});
    l.RemovePoint(1);
    EXPECT_EQ((V{{0, 1}, {1000, 0}}), Dump(l));
    l.RemovePoint(0);  // the first and the last point stay
    l.RemovePoint(1);
    EXPECT_EQ(2, l.GetCount());
    CTrackList z = Make({{0, 0}, {500, 0}, {1000, 0}});
    z.RemovePoint(1);
    EXPECT_EQ((V{{0, 0}, {1000, 0}}), Dump(z));
}

TEST(TrackList, ToggleAndFlagLookups)
{
    CTrackList l = Make({{0, 1}, {500, 0}, {1000, 0}});
    EXPECT_EQ(-1, l.ToggleAt(400, 600));  // a split point inside the range
    EXPECT_EQ((V{{0, 1}, {500, 0}, {1000, 0}}), Dump(l));
    EXPECT_EQ(1, l.ToggleAt(600, 700));
    EXPECT_EQ(1, l.GetFlag(1));
    EXPECT_EQ(-1, l.ToggleAt(1000, 1100));  // at or after the last point
    EXPECT_EQ(1, l.GetFlagAt(100, 200));
    EXPECT_EQ(1, l.GetFlagAt(450, 550));   // the point inside replaces low
    EXPECT_EQ(0, l.GetFlagAt(1000, 1200));
    EXPECT_EQ(0, l.GetFlag(CTrackList::kNoPoint));
    EXPECT_EQ(-1, l.SetFlag(5, 1));
    EXPECT_EQ(2, l.SetFlag(2, 1));
}

TEST(TrackList, TracksSpansAndNeighbours)
{
    CTrackList l = Make({{0, 1}, {300, 0}, {1000, 0}});
    int32_t s, e, f;
    ASSERT_TRUE(l.GetTrack(1, s, e, f));
    EXPECT_EQ(300, s); EXPECT_EQ(1000, e); EXPECT_EQ(0, f);
    ASSERT_TRUE(l.GetTrack(2, s, e, f));
    EXPECT_EQ(1000, s); EXPECT_EQ(1000, e);  // the last index: end = start
    EXPECT_FALSE(l.GetTrack(3, s, e, f));
    EXPECT_EQ(0, s + e + f);
    EXPECT_EQ(700, l.GetSpanLength(1));
    EXPECT_EQ(0, l.GetSpanLength(2));
    int32_t p;
    EXPECT_FALSE(l.GetPrevPosition(0, p));
    EXPECT_TRUE(l.GetNextPosition(0, p));
    EXPECT_EQ(300, p);
    EXPECT_TRUE(l.IsFirstOrLast(CTrackList::kNoPoint));
    EXPECT_FALSE(l.IsFirst(CTrackList::kNoPoint));
    EXPECT_EQ(1, l.FindInRange(300, 301));
    EXPECT_EQ(CTrackList::kNoPoint, l.FindInRange(301, 999));
    l.RemoveInterior();
    EXPECT_EQ((V{{0, 1}, {1000, 0}}), Dump(l));
}

TEST(TrackList, MoveRule)
{
    int kind;
    CTrackList start = Make({{0, 1}, {1000, 0}});
    EXPECT_EQ(1, start.MovePoint(0, 300, kind));
    EXPECT_EQ(CTrackList::kAdded, kind);
    EXPECT_EQ((V{{0, 0}, {300, 1}, {1000, 0}}), Dump(start));

    CTrackList end = Make({{0, 1}, {1000, 0}});
    EXPECT_EQ(-1, end.MovePoint(1, 1200, kind));  // beyond the end: refused
    EXPECT_EQ(CTrackList::kNothing, kind);
    EXPECT_EQ(1, end.MovePoint(1, 800, kind));
    EXPECT_EQ((V{{0, 1}, {800, 0}, {1000, 0}}), Dump(end));

    CTrackList mid = Make({{0, 1}, {500, 0}, {1000, 0}});
    EXPECT_EQ(1, mid.MovePoint(1, 600, kind));
    EXPECT_EQ(CTrackList::kMoved, kind);
    // A move across a neighbour is refused: split points never cross.
    EXPECT_EQ(-1, mid.MovePoint(1, 1000, kind));
    EXPECT_EQ(-1, mid.MovePoint(0, 0, kind));
    EXPECT_EQ(-1, mid.MovePoint(5, 10, kind));
    EXPECT_TRUE(mid.IsOrdered());
}

TEST(TrackList, RandomSequenceStaysOrdered)
{
    std::mt19937 rng(1234);
    CTrackList l = Make({{0, 1}, {100000, 0}});
    for (int step = 0; step < 3000; ++step) {
        const int op = (int)(rng() % 6);
        const int32_t pos = (int32_t)(rng() % 100001);
        const int point = l.GetCount() ? (int)(rng() % (unsigned)l.GetCount()) : 0;
        int kind;
        switch (op) {
        case 0: case 1: l.InsertOrUpdate(pos, (int32_t)(rng() & 1)); break;
        case 2: l.RemovePoint(point); break;
        case 3: l.MovePoint(point, pos, kind); break;
        case 4: l.ToggleAt(pos, pos + 64); break;
        case 5: if (rng() % 50 == 0) l.RemoveInterior(); break;
        }
        ASSERT_TRUE(l.IsOrdered()) << "after step " << step << " op " << op;
        ASSERT_GE(l.GetCount(), 2);
        ASSERT_EQ(0, l.GetFirstPosition());
    }
}
