// The level graph as a window: bar heights and peak marks read back against the
// test skin's flat background and bar pictures.
#include <gtest/gtest.h>
#include "AudioGraphStatic.h"
#include "TestHost.h"

using namespace testhost;

TEST(NV_AudioGraphStatic, BarsLightFromTheBottomByLevel)
{
    Host host;
    NV_AudioGraphStatic graph;
    ASSERT_TRUE(graph.SubclassWindow(MakeChild(host, L"STATIC", 0, 10, 10, 334, 110, 301)));
    graph.SetActive(0);
    graph.SetDecayInterval(100000);  // no decay step while the test looks
    ASSERT_TRUE(graph.LoadBackBitmap(Skin(), IDB_TEST_GRAPH_BACK));
    ::RedrawWindow(host.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(PixelOf(graph, 100, 50), kHostBackground) << "without both pictures nothing is painted";
    ASSERT_TRUE(graph.LoadBarBitmap(Skin(), IDB_TEST_GRAPH_BAR));

    BYTE levels[30] = {};
    levels[0] = 100;
    levels[1] = 50;
    levels[2] = 101;  // out of range: shown as 0
    levels[3] = 30;
    graph.SetLevels(levels);
    const COLORREF bar = Flat(IDB_TEST_GRAPH_BAR, 0), back = Flat(IDB_TEST_GRAPH_BACK, 0);
    auto x = [](int i) { return 2 + i * 11 + 5; };  // the middle of bar i (bars 10 wide, 1 apart)
    struct Probe {
        const char* name;
        int bar, y;
        COLORREF colour;
    } probes[] = {
        {"100: the top row", 0, 0, bar},
        {"100: the bottom row", 0, 99, bar},
        {"50: just below half", 1, 50, bar},
        {"50: just above half", 1, 49, back},
        {"101 shows nothing", 2, 99, back},
        {"30: lit part", 3, 75, bar},
        {"30: above it", 3, 60, back},
    };
    for (const Probe& p : probes) EXPECT_EQ(PixelOf(graph, x(p.bar), p.y), p.colour) << p.name;
    EXPECT_EQ(PixelOf(graph, 12, 50), back) << "the column between bars 0 and 1";

    // New lower levels: the peaks of the old ones stay as 2-row marks.
    BYTE lower[30] = {};
    lower[1] = 10;
    graph.SetLevels(lower);
    EXPECT_EQ(PixelOf(graph, x(1), 50), bar) << "peak mark of 50";
    EXPECT_EQ(PixelOf(graph, x(1), 51), bar);
    EXPECT_EQ(PixelOf(graph, x(1), 52), back);
    EXPECT_EQ(PixelOf(graph, x(1), 95), bar) << "the new level";
}
