// Pure functions of the skinned controls, as tables.
#include <gtest/gtest.h>
#include "DropReorder.h"
#include "FileNameFilter.h"
#include "LevelDecay.h"
#include "LineBreaker.h"
#include "ScrollGeometry.h"
#include "SliderGeometry.h"
#include "VolumeGeometry.h"

TEST(SliderGeometry, PositionsAndCentresMapBothWays)
{
    struct Case { SliderAxis axis; int minPos, maxPos, pos, centre; } cases[] = {
        {{2, 2, 203, 13}, -50, -1, -50, 8},    // first position: start + thumb / 2
        {{2, 2, 203, 13}, -50, -1, -1, 194},   // last: start + travel + thumb / 2
        {{0, 0, 110, 10}, 0, 100, 50, 55},
        {{0, 0, 110, 10}, 0, 100, 100, 105},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SliderCentreOfPos(c.axis, c.pos, c.minPos, c.maxPos), c.centre) << c.pos;
        EXPECT_EQ(SliderPosOfCentre(c.axis, c.centre, c.minPos, c.maxPos), c.pos) << c.centre;
    }
}

TEST(SliderGeometry, ZeroRangeOrTravelDoesNotDivide)
{
    SliderAxis noTravel{0, 0, 10, 10};
    EXPECT_EQ(SliderCentreOfPos(noTravel, 5, 0, 10), 5);
    EXPECT_EQ(SliderPosOfCentre(noTravel, 7, 0, 10), 0);
    SliderAxis axis{0, 0, 110, 10};
    EXPECT_EQ(SliderCentreOfPos(axis, 3, 3, 3), 5);
    EXPECT_EQ(SliderPosOfCentre(axis, 60, 3, 3), 3);
}

TEST(ScrollGeometry, LayoutOfThumbAndArrows)
{
    struct Case { int length, a; SkinScrollInfo info; int arrow, thumbStart, thumbLength; } cases[] = {
        {116, 8, {0, 99, 10, 0, -1}, 8, 8, 10},      // track 100, thumb = 10 x 100 / 100
        {116, 8, {0, 99, 10, 90, -1}, 8, 98, 10},    // at the end
        {116, 8, {0, 99, 10, 0, 45}, 8, 53, 10},     // track position wins while dragging
        {116, 8, {0, 9, 10, 0, -1}, 8, 58, 0},       // range 0: no thumb, in the middle
        {116, 8, {0, 999, 1, 0, -1}, 8, 8, 6},       // at least 6 pixels
        {20, 8, {0, 99, 10, 50, -1}, 8, 10, 0},      // track shorter than 6: no thumb
        {12, 8, {0, 99, 10, 0, -1}, 6, 6, 0},        // shorter than two arrows: they share it
        {116, 8, {10, 109, 10, 10, -1}, 8, 8, 10},   // a minimum other than 0
        {116, 8, {10, 109, 10, 100, -1}, 8, 98, 10},
    };
    for (const Case& c : cases) {
        SkinScrollLayout l = LayoutSkinScroll(c.length, c.a, c.info);
        EXPECT_EQ(l.arrow, c.arrow) << c.length << " pos " << c.info.pos;
        EXPECT_EQ(l.thumbStart, c.thumbStart) << c.length << " pos " << c.info.pos;
        EXPECT_EQ(l.thumbLength, c.thumbLength) << c.length << " pos " << c.info.pos;
    }
}

TEST(ScrollGeometry, HitTestAndDragBounds)
{
    SkinScrollInfo info{0, 99, 10, 40, -1};  // thumb at 8 + 40 = 48 .. 58
    struct Hit { int c; SkinScrollPart part; } hits[] = {
        {-1, kPartNone}, {0, kPartLineUp}, {7, kPartLineUp}, {8, kPartPageUp}, {47, kPartPageUp},
        {48, kPartThumb}, {57, kPartThumb}, {58, kPartPageDown}, {107, kPartPageDown}, {108, kPartLineDown},
        {115, kPartLineDown}, {116, kPartNone},
    };
    for (const Hit& h : hits) EXPECT_EQ(HitTestSkinScroll(116, 8, info, h.c), h.part) << h.c;

    // Dragging: 90 pixels of travel for 90 positions; bounds min .. max - page + 1.
    EXPECT_EQ(DragSkinScroll(116, 8, info, 40, 10), 50);
    EXPECT_EQ(DragSkinScroll(116, 8, info, 40, 500), 90);
    EXPECT_EQ(DragSkinScroll(116, 8, info, 40, -500), 0);
    SkinScrollInfo shifted{10, 109, 10, 50, -1};
    EXPECT_EQ(DragSkinScroll(116, 8, shifted, 50, 500), 100) << "upper bound is max - page + 1 whatever min is";
    EXPECT_EQ(DragSkinScroll(116, 8, shifted, 50, -500), 10);
    SkinScrollInfo noRange{0, 9, 10, 0, -1};
    EXPECT_EQ(DragSkinScroll(116, 8, noRange, 0, 30), 0);
}

TEST(VolumeGeometry, FilledParts)
{
    struct Case { int size, value, range, filled; } vertical[] = {
        {100, 50, 100, 50}, {219, 100, 100, 219}, {100, 0, 100, 0}, {100, 50, 0, 0},
    };
    for (const Case& c : vertical) EXPECT_EQ(VolumeFilledHeight(c.size, c.value, c.range), c.filled);
    Case horizontal[] = {
        {459, 100, 100, 459}, {459, 0, 100, 0}, {100, 1000, 999, 100}, {300, 50, 0, 0}, {100, 25, 100, 25},
    };
    for (const Case& c : horizontal) EXPECT_EQ(ProgressFilledWidth(c.size, c.value, c.range), c.filled);
}

TEST(LevelDecay, BarsFallAndPeaksHoldOneStep)
{
    LevelDecay d;
    uint8_t levels[30] = {};
    levels[0] = 80;
    levels[1] = 101;  // out of range: shown as 0, no peak
    d.SetLevels(levels, 1000);
    EXPECT_EQ(d.level[0], 80);
    EXPECT_EQ(d.level[1], 0);
    EXPECT_EQ(d.peak[1], 0);
    EXPECT_EQ(d.fresh, 1);
    d.CatchUp(1100);
    EXPECT_EQ(d.level[0], 76);
    EXPECT_EQ(d.peak[0], 80) << "the peak holds for one step";
    EXPECT_EQ(d.fresh, 0);
    d.CatchUp(1200);
    EXPECT_EQ(d.level[0], 72);
    EXPECT_EQ(d.peak[0], 76);
}

TEST(LevelDecay, PeaksFallWhenLevelsArriveFasterThanTheInterval)
{
    LevelDecay d;
    uint8_t loud[30] = {}, quiet[30] = {};
    loud[3] = 90;
    quiet[3] = 10;
    d.SetLevels(loud, 0);
    for (uint32_t t = 50; t <= 1000; t += 50) d.SetLevels(quiet, t);
    // 10 steps in a second: one held, nine falling by 4.
    EXPECT_EQ(d.peak[3], 90 - 9 * 4);
    EXPECT_EQ(d.level[3], 10);
}

TEST(DropReorder, RowsEndDirectlyAfterTheTarget)
{
    struct Case { std::vector<int> dragged; int target; std::vector<int> order; } cases[] = {
        {{2, 3}, 5, {0, 1, 4, 5, 2, 3, 6, 7}},
        {{5, 6}, 1, {0, 1, 5, 6, 2, 3, 4, 7}},
        {{1}, 7, {0, 2, 3, 4, 5, 6, 7, 1}},        // onto the last row: appended
        {{6}, -1, {6, 0, 1, 2, 3, 4, 5, 7}},       // target -1: the top
        {{3, 1}, 5, {0, 2, 4, 5, 3, 1, 6, 7}},     // collected order is kept
        {{2, 9}, 4, {0, 1, 3, 4, 2, 5, 6, 7}},     // rows outside the list are skipped
        {{2, 3}, 2, {0, 1, 2, 3, 4, 5, 6, 7}},     // onto itself: nothing moves
    };
    for (const Case& c : cases) {
        std::vector<int> rows = {0, 1, 2, 3, 4, 5, 6, 7};
        MoveDraggedItems(rows, c.dragged, c.target);
        EXPECT_EQ(rows, c.order) << "target " << c.target;
    }
}

TEST(LineBreaker, WrapsAtBlanksAndAtLineEndPairs)
{
    auto tenEach = [](const wchar_t*, int n) { return n * 10; };
    struct Case { const wchar_t* text; int width; std::vector<CString> lines; } cases[] = {
        {L"hello world", 200, {L"hello world"}},
        {L"hello world", 80, {L"hello", L"world"}},
        {L"abcdefghij", 40, {L"abcd", L"efgh", L"ij"}},          // one long word is cut
        {L"ab\ncd", 200, {L"ab\ncd"}},                            // a lone line feed does not break
        {L"ab\r\ncd", 200, {L"ab", L"cd"}},
        {L"ab\n\rcd", 200, {L"ab", L"cd"}},                       // either order
        {L"xyz", 5, {L"x", L"y", L"z"}},                          // narrower than one character
        {L"one two three", 90, {L"one two", L"three"}},
    };
    for (const Case& c : cases) EXPECT_EQ(BreakLines(c.text, c.width, tenEach), c.lines) << CStringA(c.text).GetString();
}

TEST(FileNameFilter, RefusesWhatAFileNameCannotHold)
{
    for (wchar_t ch : std::wstring(L"\"%*/:<>?\\|")) EXPECT_TRUE(IsForbiddenFileNameChar(ch)) << (int)ch;
    for (wchar_t ch : std::wstring(L"=;a. _-()[]")) EXPECT_FALSE(IsForbiddenFileNameChar(ch)) << (int)ch;
    EXPECT_EQ(RemoveForbiddenFileNameChars(L"a?b<c>d|e:f\"g%h"), L"abcdefgh");
    EXPECT_EQ(MakeFileNameTipText(L"Bad:\r\t\\ /"), L"Bad:  \\ / %");
    CString tip = FileNameTipText();
    EXPECT_EQ(tip.Right(2), L" %");
    EXPECT_GE(tip.Find(L"?"), 0) << "the tip names the refused characters";
}
