// The skin scroll frame around a window: it wraps, keeps its bars in step,
// forwards scrolling, covers the window's own bars, and goes with the window,
// giving it back its parent and procedure.
#include <gtest/gtest.h>
#include "SkinScrollWnd.h"
#include "TestHost.h"

using namespace testhost;

namespace {

// A list box of 50 lines (and, with WS_HSCROLL, wider than itself) in a skin
// scroll frame with the test skin's cells of 8.
struct WrappedListBox {
    HWND box = nullptr;
    HBITMAP skin = ::LoadBitmapW(Skin(), MAKEINTRESOURCEW(IDB_TEST_SCROLL));
    CSkinScrollWnd* frame = nullptr;
    WrappedListBox(Host& host, DWORD scrollStyles)
    {
        box = MakeChild(host, L"LISTBOX", scrollStyles | LBS_NOINTEGRALHEIGHT, 20, 20, 200, 100, 92);
        for (int i = 0; i < 50; ++i) ::SendMessageW(box, LB_ADDSTRING, 0, (LPARAM)L"line");
        if (scrollStyles & WS_HSCROLL) {
            ::SendMessageW(box, LB_SETHORIZONTALEXTENT, 600, 0);
            ::ShowScrollBar(box, SB_BOTH, TRUE);
        }
        CWnd boxWnd;
        boxWnd.Attach(box);
        frame = SkinWndScroll(&boxWnd, skin);
        boxWnd.Detach();
        host.Pump();
    }
    ~WrappedListBox()
    {
        ::DestroyWindow(box);
        ::DeleteObject(skin);
    }
};

// What a wrapped window looked like when its destruction reached its own procedure.
struct AtDestroy {
    WNDPROC procedure = nullptr;
    HWND parent = nullptr;
    LONG_PTR userData = -1;
};
AtDestroy s_atDestroy;
WNDPROC s_boxProcedure = nullptr;

LRESULT CALLBACK NotingProcedure(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY)
        s_atDestroy = {(WNDPROC)::GetWindowLongPtrW(hWnd, GWLP_WNDPROC), ::GetParent(hWnd),
                       ::GetWindowLongPtrW(hWnd, GWLP_USERDATA)};
    return ::CallWindowProcW(s_boxProcedure, hWnd, message, wParam, lParam);
}

} // namespace

TEST(SkinScrollWnd, WrapsSyncsForwardsAndUnwraps)
{
    Host host;
    HWND box = MakeChild(host, L"LISTBOX", WS_VSCROLL | WS_BORDER | LBS_NOINTEGRALHEIGHT, 20, 20, 200, 100, 91);
    for (int i = 0; i < 50; ++i) ::SendMessageW(box, LB_ADDSTRING, 0, (LPARAM)L"line");
    HBITMAP skin = ::LoadBitmapW(Skin(), MAKEINTRESOURCEW(IDB_TEST_SCROLL));
    // The list box's own procedure, behind one of the test's that notes what the
    // window looks like while it is destroyed.
    s_boxProcedure = (WNDPROC)::SetWindowLongPtrW(box, GWLP_WNDPROC, (LONG_PTR)NotingProcedure);
    s_atDestroy = {};
    CWnd boxWnd;
    boxWnd.Attach(box);
    CSkinScrollWnd* frame = SkinWndScroll(&boxWnd, skin);
    boxWnd.Detach();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetDlgCtrlID(), 91) << "the frame takes the window's id";
    EXPECT_EQ(frame->GetWindowText(), L"SkinScrollBarFrame");
    EXPECT_EQ(::GetParent(::GetParent(box)), frame->m_hWnd);
    ::SetWindowPos(box, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    ::RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    host.Pump();
    CSkinScrollBar& bar = frame->VerticalBar();
    EXPECT_TRUE(bar.IsWindowVisible());
    EXPECT_EQ(bar.Info().max, 49);

    // A line step on the skin bar scrolls the list and comes back in step.
    ::SendMessageW(frame->m_hWnd, WM_VSCROLL, SB_LINEDOWN, (LPARAM)bar.m_hWnd);
    EXPECT_EQ(::SendMessageW(box, LB_GETTOPINDEX, 0, 0), 1);
    EXPECT_EQ(bar.Info().pos, 1);

    EXPECT_NE((WNDPROC)::GetWindowLongPtrW(box, GWLP_WNDPROC), NotingProcedure) << "wrapped, the hook is in front";

    // The frame goes when the window does; the window gets its own procedure and
    // its parent back before it goes.
    HWND frameWindow = frame->m_hWnd;
    ::DestroyWindow(box);
    EXPECT_FALSE(::IsWindow(frameWindow));
    EXPECT_EQ(s_atDestroy.procedure, NotingProcedure);
    EXPECT_EQ(s_atDestroy.parent, host.m_hWnd);
    EXPECT_EQ(s_atDestroy.userData, 0);
    ::DeleteObject(skin);
}

TEST(SkinScrollWnd, SkinBarCoversTheWindowsOwnBar)
{
    Host host;
    WrappedListBox wrapped(host, WS_VSCROLL);
    CSkinScrollWnd* frame = wrapped.frame;
    ASSERT_NE(frame, nullptr);
    const int A = 8;  // the test skin's cells
    CRect client, limit, bar;
    frame->GetClientRect(&client);
    ::GetWindowRect(::GetDlgItem(frame->m_hWnd, CSkinScrollWnd::kLimitId), &limit);
    frame->ScreenToClient(&limit);
    frame->VerticalBar().GetWindowRect(&bar);
    frame->ScreenToClient(&bar);
    EXPECT_EQ(limit, CRect(0, 0, client.right - A, client.bottom)) << "LIMIT clips the window's own bar away";
    EXPECT_EQ(bar, CRect(client.right - A, 0, client.right, client.bottom)) << "the skin bar in its place";
    EXPECT_TRUE(frame->VerticalBar().IsWindowVisible());
    ::RedrawWindow(frame->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(PixelOf(*frame, client.right - A / 2, A / 2), Flat(IDB_TEST_SCROLL, 0)) << "up arrow cell";
    EXPECT_EQ(PixelOf(*frame, client.right - A / 2, client.bottom - A / 2), Flat(IDB_TEST_SCROLL, 1)) << "down arrow";
}

TEST(SkinScrollWnd, BothBarsLeaveTheCornerToTheCornerCell)
{
    Host host;
    WrappedListBox wrapped(host, WS_VSCROLL | WS_HSCROLL);
    CSkinScrollWnd* frame = wrapped.frame;
    ASSERT_NE(frame, nullptr);
    if (!(::GetWindowLongPtrW(wrapped.box, GWL_STYLE) & WS_HSCROLL)) GTEST_SKIP() << "the list box dropped its horizontal bar";
    const int A = 8;
    EXPECT_EQ(frame->CornerMode(), 2) << "bottom right";
    CRect client, limit, horz;
    frame->GetClientRect(&client);
    ::GetWindowRect(::GetDlgItem(frame->m_hWnd, CSkinScrollWnd::kLimitId), &limit);
    frame->ScreenToClient(&limit);
    frame->HorizontalBar().GetWindowRect(&horz);
    frame->ScreenToClient(&horz);
    EXPECT_EQ(limit, CRect(0, 0, client.right - A, client.bottom - A));
    EXPECT_EQ(horz, CRect(0, client.bottom - A, client.right - A, client.bottom));
    ::RedrawWindow(frame->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(PixelOf(*frame, client.right - A / 2, client.bottom - A / 2), Flat(IDB_TEST_SCROLL, 8)) << "corner cell";
    EXPECT_EQ(PixelOf(*frame, A / 2, client.bottom - A / 2), Flat(IDB_TEST_SCROLL, 4)) << "left arrow";
}
