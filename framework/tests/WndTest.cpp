// Windows: handle map, subclassing under foreign chaining, message maps,
// reflection of notifications to their controls, timers and GDI wrappers.
#include <gtest/gtest.h>
#include "Controls.h"
#include <vector>

namespace {

// A plain top-level window of our own class, destroyed at the end of the test.
class TestFrame : public CWnd {
public:
    TestFrame() { EXPECT_TRUE(CreateEx(0, nullptr, L"frame", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr)); }
    ~TestFrame() override { DestroyWindow(); }

    std::vector<UINT> commands;
    int changeCount = 0;
    int notifyCount = 0;
    int timerTicks = 0;
    HBRUSH parentBrush = (HBRUSH)::GetStockObject(GRAY_BRUSH);

protected:
    void OnEditChange() { ++changeCount; }
    void OnClicked() { commands.push_back(BN_CLICKED); }
    void OnItemNotify(NMHDR*, LRESULT* result) { ++notifyCount; *result = 7; }
    void OnTimer(UINT_PTR id)
    {
        if (id == 5 && ++timerTicks == 2) KillTimer(5);
    }
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind)
    {
        HBRUSH reflected = CWnd::OnCtlColor(dc, wnd, kind);
        return kind == CTLCOLOR_STATIC ? parentBrush : reflected;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestFrame, CWnd)
    ON_EN_CHANGE(10, OnEditChange)
    ON_EN_CHANGE(11, OnEditChange)
    ON_BN_CLICKED(12, OnClicked)
    ON_NOTIFY(NM_CLICK, 13, OnItemNotify)
    ON_NOTIFY(NM_CLICK, 14, OnItemNotify)
    ON_WM_TIMER()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

// An edit that takes its own change notifications and colour messages.
class ReflectingEdit : public CEdit {
public:
    int changes = 0;
    HBRUSH brush = (HBRUSH)::GetStockObject(NULL_BRUSH);
    std::vector<UINT> seen;

protected:
    void OnChange() { ++changes; }
    HBRUSH CtlColor(CDC*, UINT kind)
    {
        seen.push_back(kind);
        return brush;
    }
    void OnSetTextSeen() {}
    LRESULT OnSetText(WPARAM, LPARAM)
    {
        seen.push_back(WM_SETTEXT);
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectingEdit, CEdit)
    ON_CONTROL_REFLECT(EN_CHANGE, OnChange)
    ON_WM_CTLCOLOR_REFLECT()
    ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

class OwnerDrawButton : public CButton {
public:
    int draws = 0;
    void DrawItem(LPDRAWITEMSTRUCT dis) override
    {
        if (dis->CtlType == ODT_BUTTON) ++draws;
    }
};

class NotifyTaker : public CWnd {
public:
    int taken = 0;

protected:
    void OnClick(NMHDR*, LRESULT* result)
    {
        ++taken;
        *result = 42;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(NotifyTaker, CWnd)
    ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
END_MESSAGE_MAP()

// Foreign code that chains itself in front of whatever procedure a window has.
WNDPROC g_foreignPrevious = nullptr;
int g_foreignSeen = 0;
LRESULT CALLBACK ForeignHook(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT) ++g_foreignSeen;
    return ::CallWindowProcW(g_foreignPrevious, hWnd, message, wParam, lParam);
}

CString TextOf(HWND hWnd) { return CWnd::FromHandle(hWnd)->GetWindowText(); }

} // namespace

TEST(Wnd, HandleMapGivesPermanentOrOneTemporaryWrapper)
{
    TestFrame frame;
    EXPECT_EQ(CWnd::FromHandlePermanent(frame.m_hWnd), &frame);
    EXPECT_EQ(CWnd::FromHandle(frame.m_hWnd), &frame);
    HWND edit = ::CreateWindowExW(0, L"EDIT", L"x", WS_CHILD, 0, 0, 50, 20, frame.m_hWnd, nullptr, nullptr, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);
    CWnd* temp = CWnd::FromHandle(edit);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(temp->m_hWnd, edit);
    EXPECT_EQ(CWnd::FromHandle(edit), temp);
    AfxDeleteTempMaps();
    EXPECT_TRUE(::IsWindow(edit)) << "freeing a temporary wrapper must not destroy its window";
}

TEST(Wnd, SubclassingSurvivesForeignChainingInFront)
{
    TestFrame frame;
    HWND hEdit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 80, 20, frame.m_hWnd, (HMENU)10, nullptr, nullptr);
    ReflectingEdit ours;
    ASSERT_TRUE(ours.SubclassWindow(hEdit));
    EXPECT_FALSE(ReflectingEdit().SubclassWindow(hEdit)) << "one CWnd per window";

    // Foreign code chains in front of us, then we let go while it is still there.
    g_foreignSeen = 0;
    g_foreignPrevious = (WNDPROC)::SetWindowLongPtrW(hEdit, GWLP_WNDPROC, (LONG_PTR)ForeignHook);
    ::SetWindowTextW(hEdit, L"one");
    EXPECT_EQ(ours.seen.size(), 1u);
    EXPECT_EQ(ours.UnsubclassWindow(), hEdit);
    EXPECT_EQ((WNDPROC)::GetWindowLongPtrW(hEdit, GWLP_WNDPROC), ForeignHook) << "the foreign hook stays first";
    ::SetWindowTextW(hEdit, L"two");
    EXPECT_EQ(TextOf(hEdit), L"two") << "messages still reach the edit's own procedure";
    EXPECT_EQ(g_foreignSeen, 2);
    EXPECT_EQ(ours.seen.size(), 1u);

    // A new owner takes the window over while the foreign hook is still in front.
    ReflectingEdit again;
    ASSERT_TRUE(again.SubclassWindow(hEdit));
    ::SetWindowTextW(hEdit, L"three");
    EXPECT_EQ(again.seen.size(), 1u);
    EXPECT_EQ(TextOf(hEdit), L"three");

    // The foreign code unhooks; our procedure is first again and still correct.
    ::SetWindowLongPtrW(hEdit, GWLP_WNDPROC, (LONG_PTR)g_foreignPrevious);
    ::SetWindowTextW(hEdit, L"four");
    EXPECT_EQ(again.seen.size(), 2u);
    EXPECT_EQ(TextOf(hEdit), L"four");
    WNDPROC editClassProc = nullptr;
    WNDCLASSW wc;
    ASSERT_TRUE(::GetClassInfoW(nullptr, L"EDIT", &wc));
    editClassProc = wc.lpfnWndProc;
    again.UnsubclassWindow();
    EXPECT_EQ((WNDPROC)::GetWindowLongPtrW(hEdit, GWLP_WNDPROC), editClassProc)
        << "with nobody in front the original procedure comes back";
    EXPECT_EQ(::GetWindowLongPtrW(hEdit, GWLP_USERDATA), 0) << "the user-data slot is left alone";
}

TEST(Wnd, CommandAndColourNotificationsGoToTheSendingControlFirst)
{
    TestFrame frame;
    ReflectingEdit taker;
    ASSERT_TRUE(taker.CreateEx(0, L"EDIT", L"", WS_CHILD, CRect(0, 0, 80, 20), &frame, 10));
    CEdit plain;
    ASSERT_TRUE(plain.Create(WS_CHILD, CRect(0, 30, 80, 50), &frame, 11));

    taker.SetWindowText(L"changed");
    plain.SetWindowText(L"changed");
    EXPECT_EQ(taker.changes, 1);
    EXPECT_EQ(frame.changeCount, 1) << "only the edit without a reflected handler reaches the parent";

    HDC dc = ::GetDC(frame.m_hWnd);
    LRESULT brush = ::SendMessageW(frame.m_hWnd, WM_CTLCOLOREDIT, (WPARAM)dc, (LPARAM)taker.m_hWnd);
    EXPECT_EQ((HBRUSH)brush, taker.brush);
    ASSERT_FALSE(taker.seen.empty());
    EXPECT_EQ(taker.seen.back(), (UINT)CTLCOLOR_EDIT);
    taker.brush = nullptr;  // a control that declines leaves the colour to the parent's default
    brush = ::SendMessageW(frame.m_hWnd, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)taker.m_hWnd);
    EXPECT_EQ((HBRUSH)brush, frame.parentBrush);
    EXPECT_EQ(taker.seen.back(), (UINT)CTLCOLOR_STATIC);
    ::ReleaseDC(frame.m_hWnd, dc);
}

TEST(Wnd, DrawItemAndNotifyAreReflected)
{
    TestFrame frame;
    OwnerDrawButton button;
    ASSERT_TRUE(button.Create(L"b", WS_CHILD | BS_OWNERDRAW, CRect(0, 0, 40, 20), &frame, 12));
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = 12;
    dis.hwndItem = button.m_hWnd;
    dis.hDC = ::GetDC(button.m_hWnd);
    EXPECT_EQ(::SendMessageW(frame.m_hWnd, WM_DRAWITEM, 12, (LPARAM)&dis), TRUE);
    ::ReleaseDC(button.m_hWnd, dis.hDC);
    EXPECT_EQ(button.draws, 1);

    ::SendMessageW(frame.m_hWnd, WM_COMMAND, MAKEWPARAM(12, BN_CLICKED), (LPARAM)button.m_hWnd);
    ASSERT_EQ(frame.commands.size(), 1u) << "a control without a reflected handler leaves the command to the parent";

    NotifyTaker taker;
    ASSERT_TRUE(taker.CreateEx(0, nullptr, L"", WS_CHILD, CRect(0, 0, 10, 10), &frame, 13));
    NMHDR hdr = {taker.m_hWnd, 13, (UINT)NM_CLICK};
    EXPECT_EQ(::SendMessageW(frame.m_hWnd, WM_NOTIFY, 13, (LPARAM)&hdr), 42);
    EXPECT_EQ(taker.taken, 1);
    EXPECT_EQ(frame.notifyCount, 0);
    HWND other = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, frame.m_hWnd, (HMENU)14, nullptr, nullptr);
    NMHDR hdr2 = {other, 14, (UINT)NM_CLICK};
    EXPECT_EQ(::SendMessageW(frame.m_hWnd, WM_NOTIFY, 14, (LPARAM)&hdr2), 7);
    EXPECT_EQ(frame.notifyCount, 1);
}

TEST(Wnd, TimersBelongToTheirWindow)
{
    TestFrame frame;
    ASSERT_NE(frame.SetTimer(5, 10), 0u);
    DWORD start = ::GetTickCount();
    MSG msg;
    while (frame.timerTicks < 2 && ::GetTickCount() - start < 3000) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        ::Sleep(5);
    }
    EXPECT_EQ(frame.timerTicks, 2);
    EXPECT_FALSE(frame.KillTimer(5)) << "the handler already killed it";
}

TEST(Wnd, DestroyingTheWindowDetachesItsObject)
{
    CWnd* wnd = new CWnd;
    ASSERT_TRUE(wnd->CreateEx(0, nullptr, L"w", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    HWND hWnd = wnd->m_hWnd;
    ::DestroyWindow(hWnd);
    EXPECT_EQ(wnd->m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    delete wnd;
}

TEST(Gdi, MemoryDcDrawsAndReadsBack)
{
    CMemoryDC dc(nullptr, 20, 10);
    dc.FillSolidRect(0, 0, 20, 10, RGB(10, 20, 30));
    dc.FillSolidRect(CRect(5, 5, 10, 10), RGB(200, 100, 50));
    EXPECT_EQ(dc.GetPixel(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(dc.GetPixel(7, 7), RGB(200, 100, 50));
    EXPECT_EQ(CSize(dc.Bitmap().GetSize()), CSize(20, 10));

    CRgn a, b, both;
    a.CreateRectRgn(0, 0, 10, 10);
    b.CreateRectRgn(20, 0, 30, 10);
    both.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(both.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(both.PtInRegion(25, 5));
    EXPECT_FALSE(both.PtInRegion(15, 5));

    CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* old = dc.SelectObject(&pen);
    dc.MoveTo(0, 1);
    dc.LineTo(20, 1);
    dc.SelectObject(old);
    EXPECT_EQ(dc.GetPixel(3, 1), RGB(255, 0, 0));
}

TEST(Geometry, RectArithmetic)
{
    CRect rc(10, 20, 30, 60);
    EXPECT_EQ(rc.Width(), 20);
    EXPECT_EQ(rc.Height(), 40);
    rc.InflateRect(2, 3);
    EXPECT_EQ(rc, CRect(8, 17, 32, 63));
    rc.OffsetRect(-8, -17);
    EXPECT_EQ(rc.TopLeft(), CPoint(0, 0));
    EXPECT_TRUE(rc.PtInRect(CPoint(5, 5)));
    EXPECT_EQ(CPoint(MAKELPARAM(-3, 4)), CPoint(-3, 4));
}
