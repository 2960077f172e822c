// The playback graphs in this process: what each open builds, the calls without
// a graph, seeking, reopening a running graph, broken files and the end events.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "GraphFilterNames.h"
#include "PlayerProtocol.h"
#include "PlayerTestSupport.h"
#include "Tunlet.h"

using namespace playertest;

namespace {

bool Has(const std::vector<std::wstring>& names, const wchar_t* name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// A plain window to own the graph's notification.
struct OwnerWindow {
    OwnerWindow() { hWnd = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr); }
    ~OwnerWindow() { DestroyWindow(hWnd); }
    HWND hWnd;
};

class TunletGraph : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterPlayerFilters(); }
    OwnerWindow owner;
};

TEST_F(TunletGraph, WithoutGraphEverythingFailsHarmlessly)
{
    CTunlet player;
    EXPECT_FALSE(player.Play());
    EXPECT_FALSE(player.Pause());
    EXPECT_FALSE(player.Stop());
    EXPECT_EQ(0, player.GetState());
    double seconds = 7;
    EXPECT_FALSE(player.GetDuration(&seconds));
    EXPECT_FALSE(player.GetPosition(&seconds));
    EXPECT_FALSE(player.SetPosition(1.0));
    player.SetAnalyzerGain(0.5f);
    player.SetNoiseReductionLevel(30.0f);
    EXPECT_EQ(0, player.DrainEvents());
    player.Close();
    EXPECT_FALSE(player.HasGraph());
}

TEST_F(TunletGraph, EachOpenBuildsItsChainToTheRenderer)
{
    const std::wstring files[] = {Fixture(L"tone440.wav"), Fixture(L"tone660.mp3")};
    for (const std::wstring& file : files) {
        SCOPED_TRACE(testing::PrintToString(file));
        CTunlet player;
        ASSERT_TRUE(player.OpenPlain(file.c_str(), owner.hWnd));
        std::vector<std::wstring> names = FilterNames(player.GetGraph());
        EXPECT_TRUE(Has(names, file.c_str()));
        EXPECT_FALSE(Has(names, L"Audio Analyzer"));
        EXPECT_FALSE(Has(names, L"Noise Reduction"));
        EXPECT_GE(names.size(), 3u);   // source, decoder or splitter, renderer

        ASSERT_TRUE(player.OpenWithAnalyzer(file.c_str(), owner.hWnd));
        names = FilterNames(player.GetGraph());
        EXPECT_TRUE(Has(names, L"Audio Analyzer"));
        EXPECT_FALSE(Has(names, L"Noise Reduction"));

        ASSERT_TRUE(player.OpenWithNoiseReduction(file.c_str(), owner.hWnd));
        names = FilterNames(player.GetGraph());
        EXPECT_TRUE(Has(names, L"Noise Reduction"));
        EXPECT_FALSE(Has(names, L"Audio Analyzer"));

        double duration = 0;
        EXPECT_TRUE(player.GetDuration(&duration));
        EXPECT_NEAR(2.0, duration, 0.1);
    }
}

TEST_F(TunletGraph, SeeksInMediaTime)
{
    CTunlet player;
    ASSERT_TRUE(player.OpenPlain(Fixture(L"noisy440.wav").c_str(), owner.hWnd));
    EXPECT_TRUE(player.Pause());
    EXPECT_TRUE(player.SetPosition(2.5));
    double position = 0;
    EXPECT_TRUE(player.GetPosition(&position));
    EXPECT_NEAR(2.5, position, 0.001);
    EXPECT_EQ(1, player.GetState());
}

TEST_F(TunletGraph, OpenOverARunningGraphStopsItFirst)
{
    CTunlet player;
    ASSERT_TRUE(player.OpenWithAnalyzer(Fixture(L"tone440.wav").c_str(), owner.hWnd));
    ASSERT_TRUE(player.Play());
    EXPECT_EQ(2, player.GetState());
    ASSERT_TRUE(player.OpenPlain(Fixture(L"tone440.wav").c_str(), owner.hWnd));
    EXPECT_EQ(0, player.GetState());
    ASSERT_TRUE(player.Play());
    EXPECT_EQ(2, player.GetState());
    player.Close();
    EXPECT_FALSE(player.HasGraph());
    EXPECT_EQ(0, player.GetState());
}

TEST_F(TunletGraph, FilesThatCannotBePlayedLeaveNoGraph)
{
    const wchar_t* names[] = {L"missing.wav", L"text named.wav", L"cut header.wav"};
    for (const wchar_t* name : names) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        CTunlet player;
        ASSERT_TRUE(player.OpenPlain(Fixture(L"tone440.wav").c_str(), owner.hWnd));
        EXPECT_FALSE(player.OpenPlain(Fixture(name).c_str(), owner.hWnd));
        EXPECT_FALSE(player.HasGraph());
        EXPECT_FALSE(player.OpenWithNoiseReduction(Fixture(name).c_str(), owner.hWnd));
        EXPECT_FALSE(player.HasGraph());
        double duration = 7;
        EXPECT_FALSE(player.GetDuration(&duration));
        EXPECT_FALSE(player.Play());
    }
}

TEST_F(TunletGraph, DrainReportsTheEndAndTheGraphKeepsRunning)
{
    CTunlet player;
    ASSERT_TRUE(player.OpenPlain(Fixture(L"tone440.wav").c_str(), owner.hWnd));
    ASSERT_TRUE(player.SetPosition(1.5));
    ASSERT_TRUE(player.Play());
    long end = 0;
    PumpUntil(
        [&] {
            long code = player.DrainEvents();
            if (CTunlet::IsEndEvent(code)) end = code;
            return end != 0;
        },
        5000);
    EXPECT_EQ(EC_COMPLETE, end);
    EXPECT_EQ(2, player.GetState());
}

TEST(TunletEvents, EndEventsAreCompleteAndBothAborts)
{
    EXPECT_TRUE(CTunlet::IsEndEvent(EC_COMPLETE));
    EXPECT_TRUE(CTunlet::IsEndEvent(EC_ERRORABORT));
    EXPECT_TRUE(CTunlet::IsEndEvent(EC_USERABORT));
    EXPECT_FALSE(CTunlet::IsEndEvent(0));
    EXPECT_FALSE(CTunlet::IsEndEvent(EC_PAUSED));
    EXPECT_FALSE(CTunlet::IsEndEvent(EC_CLOCK_CHANGED));
}

} // namespace
