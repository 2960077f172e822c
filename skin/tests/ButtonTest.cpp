// The skinned push button as a window: its region from the mask frame, the frame
// per state, and hover tracking without the keyboard focus.
#include <gtest/gtest.h>
#include "BButton.h"
#include "TestHost.h"

using namespace testhost;

TEST(BButton, RegionFramesAndHoverWithoutFocus)
{
    Host host;
    HWND focus = MakeChild(host, L"EDIT", 0, 300, 10, 80, 20, 50);
    ::SetFocus(focus);
    CBButton button;
    ASSERT_TRUE(button.SubclassWindow(MakeChild(host, L"BUTTON", BS_PUSHBUTTON, 10, 10, 20, 10, 11, L"Go")));
    EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, (DWORD)BS_OWNERDRAW);
    ASSERT_TRUE(button.LoadBitmaps(Skin(), IDB_TEST_BUTTON, 20, 10, false));
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(button.m_hWnd, region), ERROR);
    EXPECT_FALSE(::PtInRegion(region, 2, 5)) << "the mask frame's red columns are cut out";
    EXPECT_TRUE(::PtInRegion(region, 10, 5));
    ::DeleteObject(region);
    EXPECT_FALSE(button.LoadBitmaps(Skin(), 4242, 20, 10, false));

    ASSERT_TRUE(button.LoadBitmaps(Skin(), IDB_TEST_BUTTON, 20, 10, false));
    button.SetShowText(FALSE);
    EXPECT_EQ(PixelOf(button, 10, 5), Flat(IDB_TEST_BUTTON, 0));
    // The cut-out columns show the parent: the button paints with its parent's
    // clipping (the button class asks for it) and must keep to its region itself.
    ::RedrawWindow(host.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(PixelOf(host, 10 + 2, 10 + 5), kHostBackground);
    EXPECT_EQ(PixelOf(host, 10 + 10, 10 + 5), Flat(IDB_TEST_BUTTON, 0));
    button.SendMessage(BM_SETSTATE, TRUE);  // the platform repaints a pushed button at once
    EXPECT_EQ(PixelOf(host, 10 + 2, 10 + 5), kHostBackground);
    button.SendMessage(BM_SETSTATE, FALSE);

    // A drag that enters with the button down does not light it.
    button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 5));
    EXPECT_FALSE(button.IsHover());
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 5));
    EXPECT_TRUE(button.IsHover());
    EXPECT_EQ(::GetFocus(), focus) << "hovering does not take the keyboard focus";
    button.Invalidate();
    EXPECT_EQ(PixelOf(button, 10, 5), Flat(IDB_TEST_BUTTON, 2)) << "hover frame";
    ::ReleaseCapture();

    button.SetDisabledFrame(4);
    button.EnableWindow(FALSE);
    EXPECT_EQ(PixelOf(button, 10, 5), RGB(0, 0, 0)) << "selector 4 shows the mask frame";
    EXPECT_FALSE(button.IsHover());
}
