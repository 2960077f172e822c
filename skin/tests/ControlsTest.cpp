// The controls as windows, driven by synthetic messages under the null driver,
// with the test skin (flat colours per frame) from this program's resources.
#include <gtest/gtest.h>
#include <vector>
#include "BButton.h"
#include "BComboBox.h"
#include "BListCtrl.h"
#include "BitmapSlider.h"
#include "CheckBox.h"
#include "FileNameFilter.h"
#include "SkinScrollWnd.h"
#include "Spin.h"
#include "TestHost.h"
#include "TestSkin.h"
#include "ToolTipWnd.h"
#include "TooltipEdit.h"
#include "VolumeButton.h"

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

TEST(CheckBox, ClicksToggleBeforeTheParentHears)
{
    Host host;
    CCheckBox check(Skin(), IDB_TEST_CHECK, 12);
    ASSERT_TRUE(check.SubclassWindow(MakeChild(host, L"BUTTON", BS_AUTOCHECKBOX, 10, 10, 120, 12, 21, L"Option")));
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), 0);
    EXPECT_EQ(PixelOf(check, 5, 5), Flat(IDB_TEST_CHECK, 1)) << "unchecked frame, inside the magenta border";
    EXPECT_NE(PixelOf(check, 0, 0), RGB(255, 0, 255)) << "magenta is transparent";

    check.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(check.CurrentFrame(), 3);
    check.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), 1);
    EXPECT_EQ(check.CurrentFrame(), 0);
    EXPECT_EQ(PixelOf(check, 5, 5), Flat(IDB_TEST_CHECK, 0));
    ASSERT_EQ(host.clicks.size(), 1u);

    // Press inside, leave, release outside: unchanged, unpushed.
    check.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    check.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 5));
    check.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(300, 5));
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), 1);
    EXPECT_EQ(check.CurrentFrame(), 0);

    check.SendMessage(BM_SETCHECK, BST_INDETERMINATE);
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), 0) << "indeterminate unchecks";
    check.EnableWindow(FALSE);
    EXPECT_EQ(check.CurrentFrame(), 5);
}

TEST(BComboBox, ArrowCellIsCentredForItsHeight)
{
    struct Case { int height; int arrowTop; } cases[] = {{27, 0}, {21, 0}, {33, 3}};
    for (const Case& c : cases) {
        Host host;
        CBComboBox combo(Skin(), IDB_TEST_COMBO);
        HWND hCombo = MakeChild(host, L"COMBOBOX", CBS_DROPDOWNLIST, 10, 10, 120, 200, 31);
        ::SendMessageW(hCombo, CB_SETITEMHEIGHT, (WPARAM)-1, c.height - 6);
        ASSERT_TRUE(combo.SubclassWindow(hCombo));
        CRect client;
        combo.GetClientRect(&client);
        if (client.Height() != c.height) continue;  // the platform chose another field height
        combo.Invalidate();
        int x = client.right - 8;
        EXPECT_EQ(PixelOf(combo, x, c.arrowTop + 1), Flat(IDB_TEST_COMBO, 0)) << c.height;
        if (c.arrowTop > 1) {
            EXPECT_NE(PixelOf(combo, x, c.arrowTop - 1), Flat(IDB_TEST_COMBO, 0)) << c.height;
        }
        combo.EnableWindow(FALSE);
        EXPECT_EQ(combo.CurrentCell(), 2);
        EXPECT_EQ(PixelOf(combo, x, c.arrowTop + 1), Flat(IDB_TEST_COMBO, 2));
    }
}

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

TEST(TooltipEdit, RefusesForbiddenCharactersTypedOrPastedAndExplains)
{
    Host host;
    CTooltipEdit edit;
    ASSERT_TRUE(edit.SubclassWindow(MakeChild(host, L"EDIT", ES_AUTOHSCROLL, 10, 10, 150, 20, 61)));
    edit.SetTipParent(&host);
    edit.SendMessage(WM_CHAR, L'a');
    edit.SendMessage(WM_CHAR, L'=');
    edit.SendMessage(WM_CHAR, L'?');
    EXPECT_EQ(edit.GetWindowText(), L"a=");
    NV_ToolTipWnd* tip = NV_ToolTipWnd::FromTipParent(host.m_hWnd);
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(tip->IsWindowVisible());
    EXPECT_EQ(tip->Text(), FileNameTipText());

    MSG msg = {edit.m_hWnd, WM_CHAR, L'*', 0};
    edit.PreTranslateMessage(&msg);
    EXPECT_EQ(msg.wParam, 0u) << "the dialog loop's copy of the key becomes 0";

    ASSERT_TRUE(::OpenClipboard(host.m_hWnd));
    ::EmptyClipboard();
    const wchar_t pasted[] = L"x<y>z";
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(pasted));
    memcpy(::GlobalLock(block), pasted, sizeof(pasted));
    ::GlobalUnlock(block);
    ::SetClipboardData(CF_UNICODETEXT, block);
    ::CloseClipboard();
    edit.SendMessage(WM_PASTE);
    EXPECT_EQ(edit.GetWindowText(), L"a=xyz");
    EXPECT_EQ(NV_ToolTipWnd::FromTipParent(host.m_hWnd), tip) << "the same tip is reused";
}

TEST(ToolTipWnd, ReuseFadeHideAndParentDestruction)
{
    Host* host = new Host;
    CEdit owner;
    ASSERT_TRUE(owner.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 100, 30), host, 71));
    ASSERT_TRUE(NV_ToolTipWnd::ShowTip(&owner, host, L"first", nullptr, 2));
    NV_ToolTipWnd* tip = NV_ToolTipWnd::FromTipParent(host->m_hWnd);
    ASSERT_NE(tip, nullptr);
    HWND tipWindow = tip->m_hWnd;
    tip->SetAlpha(17);
    ASSERT_TRUE(NV_ToolTipWnd::ShowTip(&owner, host, L"second", nullptr, 2));
    EXPECT_EQ(NV_ToolTipWnd::FromTipParent(host->m_hWnd)->m_hWnd, tipWindow) << "no second window";
    EXPECT_EQ(tip->Alpha(), 255);
    EXPECT_EQ(tip->Text(), L"first") << "reuse keeps the first text";

    // The parent moves: the tip goes 20 pixels below the owner's top.
    host->SetWindowPos((HWND) nullptr, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    CRect ownerRect, tipRect;
    owner.GetWindowRect(&ownerRect);
    tip->GetWindowRect(&tipRect);
    EXPECT_EQ(tipRect.left, ownerRect.left + 20);
    EXPECT_EQ(tipRect.top, ownerRect.top + 20);

    // The fade ends hidden.
    tip->SendMessage(WM_TIMER, NV_ToolTipWnd::kDisplayTimer);
    for (int i = 0; i < 300 && tip->IsWindowVisible(); ++i) tip->SendMessage(WM_TIMER, NV_ToolTipWnd::kFadeTimer);
    EXPECT_FALSE(tip->IsWindowVisible());

    // Messages reach the parent even when its user data is overwritten.
    ::SetWindowLongPtrW(host->m_hWnd, GWLP_USERDATA, 12345);
    host->SetWindowText(L"still reached");
    EXPECT_EQ(host->GetWindowText(), L"still reached");
    ::SetWindowLongPtrW(host->m_hWnd, GWLP_USERDATA, (LONG_PTR)tip);

    EXPECT_TRUE(NV_ToolTipWnd::HideOwnerTip(host));
    delete host;  // destroys the parent: the tip goes with it
    EXPECT_FALSE(::IsWindow(tipWindow));
}

TEST(BListCtrl, BusyListRefusesEditingAndPaintingKeepsSelection)
{
    Host host;
    CBListCtrl list;
    HWND hList = MakeChild(host, WC_LISTVIEWW, LVS_REPORT | LVS_EDITLABELS, 10, 10, 300, 200, 81);
    ASSERT_TRUE(list.SubclassWindow(hList));
    list.InsertColumn(0, L"Name", LVCFMT_LEFT, 150);
    list.InsertColumn(1, L"Size", LVCFMT_LEFT, 100);
    for (int i = 0; i < 5; ++i) list.InsertItem(i, L"row");
    EXPECT_EQ(list.GetBkColor(), (COLORREF)CBListCtrl::kBackground);
    EXPECT_EQ(list.Header().SortColumn(), 0);
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    host.itemChanged = 0;
    list.Invalidate();
    list.UpdateWindow();
    EXPECT_EQ(host.itemChanged, 0) << "custom draw does not touch the rows' selection";
    EXPECT_TRUE(list.GetItemState(1, LVIS_SELECTED));

    list.EnableMouse(FALSE);
    list.SendMessage(WM_KEYDOWN, VK_DOWN);
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 60));
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1) << "keys and clicks change nothing while busy";
    EXPECT_EQ(list.EditLabel(1), nullptr) << "no label edits while busy";
    list.EnableMouse(TRUE);
}

TEST(SkinScrollWnd, WrapsSyncsForwardsAndUnwraps)
{
    Host host;
    HWND box = MakeChild(host, L"LISTBOX", WS_VSCROLL | WS_BORDER | LBS_NOINTEGRALHEIGHT, 20, 20, 200, 100, 91);
    for (int i = 0; i < 50; ++i) ::SendMessageW(box, LB_ADDSTRING, 0, (LPARAM)L"line");
    HBITMAP skin = ::LoadBitmapW(Skin(), MAKEINTRESOURCEW(IDB_TEST_SCROLL));
    WNDPROC before = (WNDPROC)::GetWindowLongPtrW(box, GWLP_WNDPROC);
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

    // The frame goes when the window does, and the window's procedure comes back.
    HWND frameWindow = frame->m_hWnd;
    ::DestroyWindow(box);
    EXPECT_FALSE(::IsWindow(frameWindow));
    ::DeleteObject(skin);
    (void)before;
}

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

TEST(VolumeButton, BarsShowTheirValue)
{
    Host host;
    CVolumeButton bar;
    ASSERT_TRUE(bar.SubclassWindow(MakeChild(host, L"BUTTON", 0, 10, 10, 100, 10, 111)));
    bar.LoadBitmap(Skin(), IDB_TEST_PROGRESS);
    bar.SetStyle(2);
    bar.SetRange(0, 100);
    bar.SetValue(100);
    EXPECT_EQ(PixelOf(bar, 99, 5), Flat(IDB_TEST_PROGRESS, 1)) << "value = max fills the width";
    bar.SetValue(0);
    EXPECT_EQ(PixelOf(bar, 0, 5), Flat(IDB_TEST_PROGRESS, 0));
    bar.SetRange(5, 5);
    bar.SetValue(3);  // zero range: no division
    EXPECT_EQ(PixelOf(bar, 0, 5), Flat(IDB_TEST_PROGRESS, 0));

    CVolumeButton meter;
    ASSERT_TRUE(meter.SubclassWindow(MakeChild(host, L"BUTTON", 0, 10, 30, 100, 10, 112)));
    meter.LoadBitmap(Skin(), IDB_TEST_PROGRESS3);
    meter.SetStyle(3);
    meter.SetRangeEx(0, 100, 50);
    meter.SetValue(80);
    EXPECT_EQ(PixelOf(meter, 20, 5), Flat(IDB_TEST_PROGRESS3, 3)) << "first segment up to the mark";
    EXPECT_EQ(PixelOf(meter, 60, 5), Flat(IDB_TEST_PROGRESS3, 0)) << "second segment beyond it";
    EXPECT_EQ(PixelOf(meter, 90, 5), Flat(IDB_TEST_PROGRESS3, 1)) << "empty after the value";
    meter.SetValue(1);
    EXPECT_EQ(PixelOf(meter, 0, 5), Flat(IDB_TEST_PROGRESS3, 1)) << "1 shows the empty bar only";
}

TEST(CheckBox, SpaceHeldThroughAClickTogglesTwice)
{
    Host host;
    CCheckBox check(Skin(), IDB_TEST_CHECK, 12);
    ASSERT_TRUE(check.SubclassWindow(MakeChild(host, L"BUTTON", BS_AUTOCHECKBOX, 10, 10, 120, 40, 22, L"Option")));
    check.SetWindowText(L"Changed later");  // the caption was read at subclassing
    EXPECT_EQ(PixelOf(check, 5, 20), Flat(IDB_TEST_CHECK, 1)) << "the row is centred in a taller control";
    check.SendMessage(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(check.CurrentFrame(), 3) << "unchecked, pushed";
    check.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 20));
    check.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 20));
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), 1) << "the release inside toggles";
    EXPECT_EQ(check.CurrentFrame(), 2) << "and keeps the pushed frame while space is down";
    check.SendMessage(WM_KEYUP, VK_SPACE);
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), 0) << "space coming up toggles again";
    EXPECT_EQ(check.CurrentFrame(), 1);
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
        {"second mark: empty bar at 0", 3, IDB_TEST_PROGRESS3, 0, 100, 50, 0, 5, 5, 1},
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

TEST(CColumEdit, KeepsTheHorizontalPlaceItsListGivesIt)
{
    Host host;
    CColumEdit edit;
    edit.m_nLeft = 30;
    edit.m_nWidth = 50;
    ASSERT_TRUE(edit.SubclassWindow(MakeChild(host, L"EDIT", WS_BORDER, 0, 0, 10, 20, 71)));
    edit.MoveWindow(0, 40, 200, 22);
    CRect rc;
    edit.GetWindowRect(&rc);
    host.ScreenToClient(&rc);
    EXPECT_EQ(rc, CRect(30, 40, 80, 62));
}

TEST(ToolTipWnd, LightYellowBalloonWithDarkText)
{
    Host host;
    CEdit owner;
    ASSERT_TRUE(owner.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 100, 30), &host, 72));
    ASSERT_TRUE(NV_ToolTipWnd::ShowTip(&owner, &host, L"No ? here", nullptr, 2));
    NV_ToolTipWnd* tip = NV_ToolTipWnd::FromTipParent(host.m_hWnd);
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(tip->GetExStyle() & WS_EX_TOPMOST);
    CRect ownerRect, tipRect, client;
    owner.GetWindowRect(&ownerRect);
    tip->GetWindowRect(&tipRect);
    EXPECT_EQ(tipRect.TopLeft(), CPoint(ownerRect.left + 20, ownerRect.bottom + 10)) << "first placement";
    // The layered tip cannot be read back from the screen here; its text control
    // paints into a memory picture the same way.
    CWnd* text = tip->GetDlgItem(NV_ToolTipWnd::kTextId);
    ASSERT_NE(text, nullptr);
    text->GetClientRect(&client);
    EXPECT_EQ(client.Size(), CSize(tipRect.Width() - 2, tipRect.Height() - 2)) << "the text fills the tip";
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP picture = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(mem, picture);
    text->SendMessage(WM_PRINTCLIENT, (WPARAM)mem, PRF_CLIENT | PRF_ERASEBKGND);
    EXPECT_EQ(::GetPixel(mem, 1, 1), RGB(0xFF, 0xFF, 0xDC)) << "the balloon's brush, never the keyed-out white";
    bool ink = false;
    for (int x = 0; x < client.right && !ink; ++x)
        for (int y = 0; y < client.bottom && !ink; ++y) ink = ::GetPixel(mem, x, y) == RGB(0x0A, 0x0A, 0x0A);
    ::SelectObject(mem, old);
    ::DeleteObject(picture);
    ::DeleteDC(mem);
    EXPECT_TRUE(ink) << "the text in its own near-black";
}
