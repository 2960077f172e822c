// A skin scroll bar on its own under a recording parent: what it sends while its
// thumb is dragged and while an arrow is held (timers driven by hand).
#include <gtest/gtest.h>
#include "SkinScrollBar.h"
#include "TestHost.h"

using namespace testhost;

namespace {

// A vertical bar 8 x 200 with the test skin (cells of 8): arrows 8 long, track 184;
// range 0..99 with a page of 10 makes the thumb 18 long, at 8 for position 0.
struct BarFixture {
    Host host;
    CSkinScrollBar bar;
    HBITMAP skin = ::LoadBitmapW(Skin(), MAKEINTRESOURCEW(IDB_TEST_SCROLL));
    BarFixture()
    {
        EXPECT_TRUE(bar.CreateEx(0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_VERT, CRect(10, 10, 18, 210),
                                 &host, 101));
        bar.SetBitmap(skin);
        SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 99, 10, 0, 0};
        bar.SendMessage(SBM_SETSCROLLINFO, TRUE, (LPARAM)&si);
    }
    ~BarFixture()
    {
        bar.DestroyWindow();
        ::DeleteObject(skin);
    }
};

} // namespace

TEST(CSkinScrollBar, ThumbDragTellsThePositionBeforeEachTrackAndEndsWithThePosition)
{
    BarFixture f;
    CRect rc;
    f.bar.GetClientRect(&rc);
    ASSERT_EQ(rc.Height(), 200);
    ASSERT_EQ(rc.Width(), 8) << "the bar is as thick as a skin cell";
    f.bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 15));
    ASSERT_TRUE(f.bar.IsDragging());
    EXPECT_TRUE(f.host.scrolls.empty()) << "a press on the thumb sends nothing";
    f.bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(4, 15 + 46));   // 46 * 90 / 166 = 24
    f.bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(4, 15 + 46));   // no change: nothing sent
    f.bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(4, 1000));      // beyond the end: 90
    f.bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(4, 1000));
    struct Expected {
        UINT message;
        UINT code;
        int pos;
    } expected[] = {
        {WM_SKINSCROLL_POSITION, 0, 24}, {WM_VSCROLL, SB_THUMBTRACK, 24},
        {WM_SKINSCROLL_POSITION, 0, 90}, {WM_VSCROLL, SB_THUMBTRACK, 90},
        {WM_VSCROLL, SB_THUMBPOSITION, 90},
    };
    ASSERT_EQ(f.host.scrolls.size(), sizeof(expected) / sizeof(expected[0]));
    for (size_t i = 0; i < f.host.scrolls.size(); ++i) {
        const Host::Scroll& s = f.host.scrolls[i];
        EXPECT_EQ(s.message, expected[i].message) << i;
        if (s.message == WM_SKINSCROLL_POSITION) {
            EXPECT_EQ(s.wParam, (WPARAM)WM_VSCROLL) << i;
            EXPECT_EQ(s.lParam, (LPARAM)expected[i].pos) << i;
        } else {
            EXPECT_EQ(LOWORD(s.wParam), expected[i].code) << i;
            EXPECT_EQ((int)HIWORD(s.wParam), expected[i].pos) << i;
            EXPECT_EQ((HWND)s.lParam, f.bar.m_hWnd) << i;
        }
    }
    EXPECT_FALSE(f.bar.IsDragging());
    EXPECT_EQ(f.bar.Info().trackPos, -1);
}

TEST(CSkinScrollBar, HeldArrowStepsAtThePressAfterTheDelayAndThenRepeats)
{
    BarFixture f;
    f.bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 196));  // the down arrow
    ASSERT_EQ(f.host.scrolls.size(), 1u);
    EXPECT_EQ(f.host.scrolls[0].wParam, MAKEWPARAM(SB_LINEDOWN, 1)) << "one step at once, with the new position";
    f.bar.SendMessage(WM_TIMER, CSkinScrollBar::kDelayTimer);  // 500 ms later
    f.bar.SendMessage(WM_TIMER, CSkinScrollBar::kRepeatTimer);  // then every 100 ms
    f.bar.SendMessage(WM_TIMER, CSkinScrollBar::kRepeatTimer);
    ASSERT_EQ(f.host.scrolls.size(), 4u);
    for (size_t i = 1; i < 4; ++i) EXPECT_EQ(f.host.scrolls[i].wParam, (WPARAM)SB_LINEDOWN) << i;

    // Pointer off the arrow: the steps pause.
    f.bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(4, 100));
    f.bar.SendMessage(WM_TIMER, CSkinScrollBar::kRepeatTimer);
    EXPECT_EQ(f.host.scrolls.size(), 4u);
    f.bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(4, 196));

    // At the end of the range the repeat stops.
    SCROLLINFO si = {sizeof(si), SIF_POS, 0, 0, 0, 99, 0};
    f.bar.SendMessage(SBM_SETSCROLLINFO, FALSE, (LPARAM)&si);
    f.bar.SendMessage(WM_TIMER, CSkinScrollBar::kRepeatTimer);
    EXPECT_EQ(f.host.scrolls.size(), 4u);
    f.bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(4, 196));
    EXPECT_EQ(f.host.scrolls.size(), 4u) << "the release sends nothing after arrow steps";
    f.bar.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
    EXPECT_EQ(f.host.scrolls.size(), 4u) << "double clicks are swallowed";
}
