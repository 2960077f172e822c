#include "WaveView.h"

#include <gtest/gtest.h>

namespace {

CWaveView View(int32_t frames, int channels = 2, int bits = 16, uint32_t rate = 44100)
{
    CWaveView v;
    v.SetFormat(channels, bits, rate, frames * channels * (bits / 8));
    return v;
}

}  // namespace

TEST(WaveView, ZoomSequences)
{
    CWaveView small = View(1000);
    EXPECT_EQ(128, small.GetFitUnit(400));
    small.ZoomToFitUnit(400);
    small.ZoomOutUnit(400);
    EXPECT_EQ(128, small.GetUnit()) << "zoom out never goes beyond the fit unit";

    CWaveView v = View(1000000);
    EXPECT_EQ(1251, v.GetFitUnit(800));
    EXPECT_EQ(1251, v.GetMaxUnit(800));
    v.ZoomToFitUnit(800);
    std::vector<int32_t> in;
    for (int i = 0; i < 6; ++i) {
        v.ZoomInUnit();
        in.push_back(v.GetUnit());
    }
    EXPECT_EQ((std::vector<int32_t>{640, 384, 256, 128, 128, 128}), in);
    v.SetUnit(512);
    v.ZoomOutUnit(800);
    EXPECT_EQ(1024, v.GetUnit());
    v.ZoomOutUnit(800);
    EXPECT_EQ(1251, v.GetUnit());
    v.ZoomOutUnit(800);
    EXPECT_EQ(1251, v.GetUnit());
}

TEST(WaveView, Conversions)
{
    CWaveView v = View(441000);
    EXPECT_EQ(4, v.GetBlockAlign());
    EXPECT_EQ(441000, v.GetTotalFrames());
    EXPECT_DOUBLE_EQ(10.0, v.GetTotalSeconds());
    EXPECT_DOUBLE_EQ(0.0, v.FrameToSeconds(-5));
    EXPECT_DOUBLE_EQ(1.0, v.FrameToSeconds(44100));
    EXPECT_EQ(0, v.SecondsToFrame(-1));
    EXPECT_EQ(66150, v.SecondsToFrame(1.5));
    v.SetUnit(512);
    EXPECT_EQ(86, v.SecondsToColumn(1.0));  // 44100 / 512
    EXPECT_EQ(861, v.GetScrollRange());
    v.SetScroll(10);
    EXPECT_DOUBLE_EQ(512.0 * 15 / 44100, v.ColumnToSeconds(5));
    EXPECT_DOUBLE_EQ(512.0 * 861 / 44100, v.ColumnToSeconds(5000)) << "limited to the last whole unit";
    EXPECT_NEAR(99.0 * 512 / 44100, v.GetViewSeconds(0, 100), 1e-12);
    v.SetScroll(-3);
    EXPECT_EQ(0, v.GetScroll());

    v.SetCursorFromColumn(100);
    EXPECT_EQ(51200, v.GetCursor());
    v.SetCursorFromColumn(100000);
    EXPECT_EQ(441000, v.GetCursor()) << "held within the data";
    v.SetCursorFromSeconds(-2);
    EXPECT_EQ(0, v.GetCursor());

    int32_t x = -1;
    v.SetScroll(100);
    v.SetCursorFromColumn(0);  // exactly the first visible column
    EXPECT_FALSE(v.IsCursorVisible(800, x));
    v.SetCursorFromColumn(5);
    EXPECT_TRUE(v.IsCursorVisible(800, x));
    EXPECT_EQ(5, x);
    EXPECT_EQ(5, v.GetCursorColumn());

    CWaveView empty;
    EXPECT_EQ(1, empty.GetBlockAlign());
    EXPECT_EQ(1, empty.GetScrollRange());
    EXPECT_DOUBLE_EQ(0.0, empty.GetTotalSeconds());
}

TEST(WaveView, TimeTextsRoundBeforeSplitting)
{
    EXPECT_EQ(L"00:00:06.00 / 01:01:01.50", FormatTimeText(5.996, 3661.5));
    EXPECT_EQ(L"00:01:00.00 / 00:00:00.00", FormatTimeText(59.999, -1));
    EXPECT_EQ(L"00 : 01 : 03.46", FormatRulerLabel(63.456));
    EXPECT_EQ(L"00 : 00 : 00.00", FormatRulerLabel(0));
}

TEST(WaveView, ColumnPointsKeepStepWithTheRuler)
{
    // 16-bit stereo peak values: pair p = (p, -p).
    std::vector<int> values;
    for (int p = 0; p < 4000; ++p) {
        values.push_back(p);
        values.push_back(-p);
    }
    auto at = [&](size_t i) { return values[i]; };
    std::vector<WavePoint> a, b;
    ComputeColumnPoints(at, values.size(), true, 512, 0, 100, 100, 300, 1.0, a, b);
    ASSERT_EQ(2u * 228, a.size()) << "width + 128 columns";
    EXPECT_EQ(100 + 3, a[0].y);  // maximum of pairs 0..3 first
    EXPECT_EQ(100 + 0, a[1].y);
    EXPECT_EQ(300 - 0, b[0].y);
    EXPECT_EQ(300 - 3, b[1].y);

    // Unit 1251: 9 pairs a column, the 13th group is dropped.
    ComputeColumnPoints(at, values.size(), true, 1251, 0, 1000, 0, 0, 1.0, a, b);
    EXPECT_EQ(11, a[2 * 11 + 1].column);
    EXPECT_EQ(9 * 11, a[2 * 11 + 1].y) << "column 11 starts at pair 99";
    EXPECT_EQ(9 * 13, a[2 * 12 + 1].y) << "pairs 108..116 were dropped";

    // Mono 8-bit silence lies on the centre line; no second channel.
    std::vector<int> silent(64, 0);
    ComputeColumnPoints([&](size_t i) { return silent[i]; }, silent.size(), false, 128, 0, 10, 50, 0, 2.0, a, b);
    ASSERT_FALSE(a.empty());
    EXPECT_EQ(50, a[0].y);
    EXPECT_TRUE(b.empty());
}
