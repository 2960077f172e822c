// The spin and the volume and progress bars as windows: the frame or bar part
// of the test skin that each value and pointer position shows.
#include <gtest/gtest.h>
#include "Spin.h"
#include "TestHost.h"
#include "VolumeButton.h"

using namespace testhost;

TEST(Spin, KeepsTheBuddyStylesAndLightsTheHalfUnderThePointer)
{
    Host host;
    CSpin spin(Skin(), IDB_TEST_SPIN);
    HWND hSpin = MakeChild(host, UPDOWN_CLASSW, 0, 10, 10, 10, 20, 101);
    ASSERT_TRUE(spin.SubclassWindow(hSpin));
    EXPECT_EQ(spin.GetStyle() & (UDS_WRAP | UDS_SETBUDDYINT | UDS_ALIGNLEFT), 0u);
    EXPECT_EQ(PixelOf(spin, 5, 3), Flat(IDB_TEST_SPIN, 0)) << "frame 0 upper half";
    spin.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 3));
    EXPECT_EQ(spin.HoverHalf(), (int)CSpin::kUpperHalf);
    EXPECT_EQ(PixelOf(spin, 5, 3), Flat(IDB_TEST_SPIN, 4)) << "hover frame on the upper half";
    EXPECT_EQ(PixelOf(spin, 5, 15), Flat(IDB_TEST_SPIN, 1)) << "frame 0 on the lower half";
    spin.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 15));
    EXPECT_EQ(spin.HoverHalf(), (int)CSpin::kLowerHalf);
    ::ReleaseCapture();
}

TEST(VolumeButton, StylesFillByValue)
{
    struct Case {
        const char* name;
        int style, bitmap, min, max, second, value;
        int x, y;
        int frame;  // flat colour index of the test picture expected at (x, y)
    } cases[] = {
        {"vertical 50: lower half lit", 1, IDB_TEST_VOLUME, 0, 100, 0, 50, 5, 75, 1},
        {"vertical 50: upper half empty", 1, IDB_TEST_VOLUME, 0, 100, 0, 50, 5, 25, 0},
        {"vertical 100: all lit", 1, IDB_TEST_VOLUME, 0, 100, 0, 100, 5, 1, 1},
        {"progress at max is full", 2, IDB_TEST_PROGRESS, 0, 100, 0, 100, 99, 5, 1},
        {"progress 1000 of 1..1000 is full", 2, IDB_TEST_PROGRESS, 1, 1000, 0, 1000, 99, 5, 1},
        {"progress half", 2, IDB_TEST_PROGRESS, 0, 100, 0, 50, 60, 5, 0},
        {"progress at 0 is empty", 2, IDB_TEST_PROGRESS, 0, 100, 0, 0, 0, 5, 0},
        {"zero range: no division, empty", 2, IDB_TEST_PROGRESS, 5, 5, 0, 3, 0, 5, 0},
        {"second mark: empty bar at 0", 3, IDB_TEST_PROGRESS3, 0, 100, 50, 0, 5, 5, 1},
        {"second mark: at 1 only the empty bar", 3, IDB_TEST_PROGRESS3, 0, 100, 50, 1, 0, 5, 1},
        {"second mark: first segment up to the mark", 3, IDB_TEST_PROGRESS3, 0, 100, 50, 80, 20, 5, 3},
        {"second mark: second segment beyond it", 3, IDB_TEST_PROGRESS3, 0, 100, 50, 80, 60, 5, 0},
        {"second mark: empty after the value", 3, IDB_TEST_PROGRESS3, 0, 100, 50, 80, 90, 5, 1},
    };
    for (const Case& c : cases) {
        Host host;
        CVolumeButton bar;
        ASSERT_TRUE(bar.SubclassWindow(MakeChild(host, L"BUTTON", 0, 10, 10, 100, 100, 113)));
        bar.LoadBitmap(Skin(), (UINT)c.bitmap);
        bar.SetStyle(c.style);
        bar.SetRangeEx(c.min, c.max, c.second);
        bar.SetValue(c.value);
        EXPECT_EQ(PixelOf(bar, c.x, c.y), Flat(c.bitmap, c.frame)) << c.name;
    }
}
