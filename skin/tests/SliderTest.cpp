// The bitmap slider as a window: keys, the mouse and the positions it posts, and
// the channel and thumb pictures it shows.
#include <gtest/gtest.h>
#include "BitmapSlider.h"
#include "TestHost.h"

using namespace testhost;

TEST(BitmapSlider, KeysMouseAndPostedPositions)
{
    Host host;
    CBitmapSlider slider;
    slider.m_bVertical = TRUE;
    ASSERT_TRUE(slider.SubclassWindow(MakeChild(host, L"STATIC", 0, 10, 10, 20, 100, 41)));
    EXPECT_TRUE(slider.GetStyle() & SS_NOTIFY) << "the slider receives clicks";
    EXPECT_EQ(slider.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(115, 150)), HTCLIENT);
    ASSERT_TRUE(slider.SetChannelBitmaps(Skin(), IDB_TEST_CHANNEL, IDB_TEST_ACTIVE, FALSE));
    ASSERT_TRUE(slider.SetThumbBitmaps(Skin(), IDB_TEST_THUMB, 0, TRUE));
    slider.SetMargins(2, 2, 2, 2);
    slider.SetRange(-50, -1);
    slider.SetPos(-200);
    EXPECT_EQ(slider.GetPos(), -50) << "out of range stores the nearest bound";

    slider.SendMessage(WM_KEYDOWN, VK_END);
    slider.SendMessage(WM_KEYDOWN, VK_HOME);
    host.Pump();
    ASSERT_EQ(host.posted.size(), 2u);
    EXPECT_EQ(host.posted[0], std::make_pair((UINT)WM_SLIDER_RELEASED, (LPARAM)-1));
    EXPECT_EQ(host.posted[1], std::make_pair((UINT)WM_SLIDER_RELEASED, (LPARAM)-50));

    // A press far from the thumb moves it at once, then the release reports.
    host.posted.clear();
    slider.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 90));
    slider.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, 90));
    host.Pump();
    ASSERT_EQ(host.posted.size(), 2u);
    EXPECT_EQ(host.posted[0].first, (UINT)WM_SLIDER_TRACKING);
    EXPECT_EQ(host.posted[1].first, (UINT)WM_SLIDER_RELEASED);
    EXPECT_GT(slider.GetPos(), -10);

    // Thumb pixels come from the thumb picture; its magenta corners are transparent.
    int c = slider.ThumbCentre();
    EXPECT_EQ(PixelOf(slider, 10, c), Flat(IDB_TEST_THUMB, 0));
    EXPECT_EQ(PixelOf(slider, 2, c - 5), Flat(IDB_TEST_ACTIVE, 0)) << "corner shows the active channel above";

    slider.Enable(FALSE);
    host.posted.clear();
    slider.SendMessage(WM_KEYDOWN, VK_HOME);
    host.Pump();
    EXPECT_TRUE(host.posted.empty()) << "a disabled slider ignores keys";
    EXPECT_EQ(PixelOf(slider, 10, c), Flat(IDB_TEST_CHANNEL, 0)) << "disabled: channel only";

    CBitmapSlider flat;
    flat.SetRange(5, 5);
    flat.SetPos(7);
    EXPECT_EQ(flat.ThumbCentre(), 0) << "zero range and travel: no division";
}
