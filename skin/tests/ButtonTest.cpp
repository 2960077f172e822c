// The skinned push button as a window: its region from the mask frame, the frame
// per state, and hover tracking without the keyboard focus.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
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

// A caption wider than the button is drawn smaller, never cut at the edges; one
// that fits keeps the size it was given.
TEST(BButton, CaptionsKeepInsideTheButton)
{
    struct Case {
        const wchar_t* caption;
        int height;
        bool shrinks;
    };
    const Case cases[] = {{L"MP3 Setting", 13, true}, {L"Add Tracks Now", 12, true}, {L"Go", 12, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.caption, c.caption + wcslen(c.caption)));
        Host host;
        CBButton button;
        ASSERT_TRUE(button.SubclassWindow(MakeChild(host, L"BUTTON", BS_PUSHBUTTON, 10, 10, 60, 24, 11, c.caption)));
        ASSERT_TRUE(button.LoadBitmaps(Skin(), IDB_TEST_WIDE_BUTTON, 60, 24, false));
        button.SetShowText(TRUE);
        button.SetFont(L"Arial", c.height, 400);
        button.SetTextColor(RGB(255, 255, 255));
        button.Invalidate();
        const COLORREF face = Flat(IDB_TEST_WIDE_BUTTON, 0);
        int left = 60, right = -1;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 60; ++x)
                if (PixelOf(button, x, y) != face) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        ASSERT_LE(left, right) << "the caption is drawn";
        EXPECT_GE(left, 1) << "nothing is cut at the left edge";
        EXPECT_LE(right, 58) << "nothing is cut at the right edge";

        // The width the caption takes at the size it was given.
        HDC dc = ::GetDC(button.m_hWnd);
        HFONT font = ::CreateFontW(-c.height, 0, 0, 0, 400, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DRAFT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Arial");
        HGDIOBJ old = ::SelectObject(dc, font);
        SIZE full = {};
        ::GetTextExtentPoint32W(dc, c.caption, (int)wcslen(c.caption), &full);
        ::SelectObject(dc, old);
        ::DeleteObject(font);
        ::ReleaseDC(button.m_hWnd, dc);
        if (c.shrinks)
            EXPECT_LT(right - left + 1, full.cx) << "drawn smaller than its size";
        else
            EXPECT_GE(right - left + 3, full.cx) << "a caption that fits keeps its size";
    }
}
