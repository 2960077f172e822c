// The skinned lists and their header as windows: dark rows, rows dragged with
// synthetic mouse messages, a busy list refusing every editing input, and the
// header's pixels read back against the test skin's flat colours.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "BListCtrl.h"
#include "DragDropListCtrl.h"
#include "SkinModule.h"
#include "TestHost.h"

using namespace testhost;

namespace {

// Makes the list of the test: eight rows "row0".."row7" with a second column
// "sub0".., their index as item data, and odd rows checked.
void FillRows(CListCtrl& list)
{
    list.InsertColumn(0, L"Name", LVCFMT_LEFT, 150);
    list.InsertColumn(1, L"Size", LVCFMT_LEFT, 100);
    for (int i = 0; i < 8; ++i) {
        wchar_t text[16];
        _snwprintf(text, 16, L"row%d", i);
        int at = list.InsertItem(i, text);
        _snwprintf(text, 16, L"sub%d", i);
        list.SetItemText(at, 1, text);
        list.SetItemData(at, (DWORD_PTR)i);
        list.SetCheck(at, i % 2);
    }
}

// The rows' original indices, read back from their item data, with a check that
// each row kept its second column and its check mark.
std::vector<int> Order(CListCtrl& list)
{
    std::vector<int> order;
    for (int i = 0; i < list.GetItemCount(); ++i) {
        int original = (int)list.GetItemData(i);
        wchar_t sub[16], want[16];
        list.GetItemText(i, 1, sub, 16);
        _snwprintf(want, 16, L"sub%d", original);
        EXPECT_STREQ(sub, want) << "row " << i;
        EXPECT_EQ(list.GetCheck(i) != 0, original % 2 == 1) << "row " << i;
        order.push_back(original);
    }
    return order;
}

CPoint RowPoint(CListCtrl& list, int row)
{
    CRect rc;
    list.GetItemRect(row, &rc, LVIR_BOUNDS);
    return CPoint(60, rc.top + rc.Height() / 2);
}

// Starts a drag of the selected rows as the list would on a press and move:
// the list's begin-drag notification, reflected to it through the parent.
void BeginDrag(Host& host, CListCtrl& list, CPoint at)
{
    NMLISTVIEW nm = {};
    nm.hdr.hwndFrom = list.m_hWnd;
    nm.hdr.idFrom = (UINT_PTR)list.GetDlgCtrlID();
    nm.hdr.code = LVN_BEGINDRAG;
    nm.iItem = list.GetNextItem(-1, LVNI_SELECTED);
    nm.ptAction = at;
    ::SendMessageW(host.m_hWnd, WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
}

std::vector<int> Selected(CListCtrl& list)
{
    std::vector<int> rows;
    for (int i = list.GetNextItem(-1, LVNI_SELECTED); i >= 0; i = list.GetNextItem(i, LVNI_SELECTED)) rows.push_back(i);
    return rows;
}

} // namespace

TEST(BListCtrl, DarkRowsSortedHeaderAndPaintingKeepsTheSelection)
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

    // The rows' check boxes in the skin's colours, unchecked and checked.
    HIMAGELIST states = (HIMAGELIST)list.SendMessage(LVM_GETIMAGELIST, LVSIL_STATE);
    ASSERT_NE(nullptr, states);
    ASSERT_EQ(2, ImageList_GetImageCount(states));
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP canvas = ::CreateCompatibleBitmap(screen, 32, 16);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, canvas);
    ImageList_Draw(states, 0, dc, 0, 0, ILD_NORMAL);
    ImageList_Draw(states, 1, dc, 16, 0, ILD_NORMAL);
    EXPECT_EQ((COLORREF)CBListCtrl::kCheckRim, ::GetPixel(dc, 2, 2));
    EXPECT_EQ((COLORREF)CBListCtrl::kCheckFace, ::GetPixel(dc, 8, 8)) << "unchecked: an empty box";
    EXPECT_EQ((COLORREF)CBListCtrl::kBackground, ::GetPixel(dc, 0, 0)) << "on the row's colour";
    int mark = 0;
    for (int y = 3; y < 13; ++y)
        for (int x = 19; x < 29; ++x) mark += ::GetPixel(dc, x, y) == (COLORREF)CBListCtrl::kCheckMark;
    EXPECT_GT(mark, 6) << "checked: the mark";
    ::SelectObject(dc, old);
    ::DeleteObject(canvas);
    ::DeleteDC(dc);
}

TEST(BListCtrl, BusyListRefusesEveryEditingInput)
{
    struct Input {
        const char* name;
        UINT message;
        WPARAM wParam;
    } inputs[] = {
        {"down key", WM_KEYDOWN, VK_DOWN},
        {"space toggles the check", WM_KEYDOWN, VK_SPACE},
        {"typed character", WM_CHAR, L'r'},
        {"F2 edits the label", WM_KEYDOWN, VK_F2},
        {"click", WM_LBUTTONDOWN, MK_LBUTTON},
        {"double click", WM_LBUTTONDBLCLK, MK_LBUTTON},
        {"right double click", WM_RBUTTONDBLCLK, MK_RBUTTON},
    };
    for (const Input& in : inputs) {
        SCOPED_TRACE(in.name);
        Host host;
        CDragDropListCtrl list;
        ASSERT_TRUE(list.SubclassWindow(
            MakeChild(host, WC_LISTVIEWW, LVS_REPORT | LVS_EDITLABELS | LVS_SHOWSELALWAYS, 10, 10, 300, 200, 81)));
        FillRows(list);
        list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        list.SetFocus();
        list.EnableMouse(FALSE);
        host.notifications.clear();
        CPoint row3 = RowPoint(list, 3);
        list.SendMessage(in.message, in.wParam, in.message == WM_KEYDOWN || in.message == WM_CHAR ? 0 : MAKELPARAM(row3.x, row3.y));
        list.SendMessage(in.message == WM_KEYDOWN ? WM_KEYUP : WM_LBUTTONUP, in.wParam, MAKELPARAM(row3.x, row3.y));
        host.Pump();
        EXPECT_EQ(Selected(list), std::vector<int>{1});
        EXPECT_TRUE(list.GetCheck(1)) << "the check marks stay";
        EXPECT_FALSE(list.GetCheck(2));
        EXPECT_EQ(host.Count(NM_DBLCLK) + host.Count(NM_RDBLCLK) + host.Count(NM_CLICK), 0u);
        EXPECT_EQ(host.Count(LVN_BEGINLABELEDITW) + host.Count(LVN_BEGINLABELEDITA), 0u);
        EXPECT_EQ(list.GetEditControl(), nullptr);
        EXPECT_EQ(list.GetItemText(1, 0), L"row1");
    }

    // Busy, the list refuses label edits asked by the program too, and still
    // scrolls and shows its rows.
    Host host;
    CDragDropListCtrl list;
    ASSERT_TRUE(list.SubclassWindow(MakeChild(host, WC_LISTVIEWW, LVS_REPORT | LVS_EDITLABELS, 10, 10, 300, 60, 81)));
    FillRows(list);
    list.EnableMouse(FALSE);
    EXPECT_EQ(list.EditLabel(1), nullptr);
    list.SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(list.GetTopIndex(), 1);
    list.EnableMouse(TRUE);
    EXPECT_NE(list.EditLabel(1), nullptr) << "and takes them again when it is no longer busy";
}

TEST(DragDropListCtrl, DraggedRowsLandAfterTheDropTargetInTheirOrder)
{
    struct Case {
        const char* name;
        DWORD style;
        std::vector<int> dragged;
        std::vector<int> hovered;  // rows the pointer crosses; the last is the target
        std::vector<int> order;    // original indices after the drop
    } cases[] = {
        {"down", 0, {2, 3}, {3, 4, 5}, {0, 1, 4, 5, 2, 3, 6, 7}},
        {"up", 0, {5, 6}, {4, 1}, {0, 1, 5, 6, 2, 3, 4, 7}},
        {"onto the last row", 0, {0}, {7}, {1, 2, 3, 4, 5, 6, 7, 0}},
        {"single-selection list", LVS_SINGLESEL, {1}, {4, 6}, {0, 2, 3, 4, 5, 6, 1, 7}},
        {"never over a row", 0, {2}, {}, {0, 1, 2, 3, 4, 5, 6, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Host host;
        host.Topmost();  // the list finds its rows under screen points
        CDragDropListCtrl list;
        ASSERT_TRUE(list.SubclassWindow(MakeChild(host, WC_LISTVIEWW, LVS_REPORT | LVS_SHOWSELALWAYS, 10, 10, 300, 300, 81)));
        FillRows(list);
        if (c.style) list.ModifyStyle(0, c.style);
        for (int row : c.dragged) list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        host.notifications.clear();

        BeginDrag(host, list, RowPoint(list, c.dragged[0]));
        ASSERT_TRUE(list.IsDragging());
        EXPECT_EQ(::GetCapture(), list.m_hWnd);
        EXPECT_FALSE(list.GetStyle() & LVS_SINGLESEL) << "several rows may be selected while dragging";
        for (int row : c.hovered) {
            list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, RowPoint(list, row).y));
            EXPECT_EQ(list.DropTarget(), row);
            EXPECT_TRUE(list.GetItemState(row, LVIS_SELECTED)) << "the target shows selected";
            EXPECT_TRUE(list.GetItemState(c.dragged[0], LVIS_SELECTED)) << "beside the dragged rows";
        }
        CPoint drop = c.hovered.empty() ? CPoint(60, 290) : RowPoint(list, c.hovered.back());
        list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(drop.x, drop.y));

        EXPECT_FALSE(list.IsDragging());
        EXPECT_NE(::GetCapture(), list.m_hWnd);
        EXPECT_EQ(Order(list), c.order);
        EXPECT_EQ((list.GetStyle() & LVS_SINGLESEL), c.style) << "the style comes back after the drop";
        size_t moved = c.hovered.empty() ? 0 : c.dragged.size();
        EXPECT_EQ(host.Count(LVN_INSERTITEM), moved) << "the parent hears each row's move";
        EXPECT_EQ(host.Count(LVN_DELETEITEM), moved);
        if (moved) {
            // The moved rows stay selected where they landed; the target row gets its own state back.
            std::vector<int> landed;
            for (int i = 0; i < (int)c.order.size(); ++i)
                for (int d : c.dragged)
                    if (c.order[(size_t)i] == d) landed.push_back(i);
            EXPECT_EQ(Selected(list), landed);
        }
    }
}

TEST(DragDropListCtrl, DraggingBelowTheRowsScrollsAndMovesTheTarget)
{
    Host host;
    host.Topmost();
    CDragDropListCtrl list;
    ASSERT_TRUE(list.SubclassWindow(MakeChild(host, WC_LISTVIEWW, LVS_REPORT, 10, 10, 300, 90, 81)));
    FillRows(list);
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    BeginDrag(host, list, RowPoint(list, 0));
    list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, RowPoint(list, 1).y));
    ASSERT_EQ(list.DropTarget(), 1);
    CRect client;
    list.GetClientRect(&client);
    list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, client.bottom + 5));  // below the list
    int top = list.GetTopIndex();
    list.SendMessage(WM_TIMER, 1);
    list.SendMessage(WM_TIMER, 1);
    EXPECT_EQ(list.DropTarget(), 3) << "each tick moves the target one row down";
    EXPECT_GT(list.GetTopIndex(), top) << "and scrolls the list";
    list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, RowPoint(list, 3).y));
    list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(60, RowPoint(list, 3).y));
    EXPECT_EQ(Order(list), (std::vector<int>{1, 2, 3, 0, 4, 5, 6, 7}));
}

TEST(FlatHeaderCtrl, PaintsItsColumnsFromTheSkinBottomAligned)
{
    HINSTANCE before = GetSkinModule();
    UINT id = CBListCtrl::s_headerBitmapId;
    SetSkinModule(Skin());
    CBListCtrl::s_headerBitmapId = IDB_TEST_HEADER;
    {
        Host host;
        CBListCtrl list;
        ASSERT_TRUE(list.SubclassWindow(MakeChild(host, WC_LISTVIEWW, LVS_REPORT, 10, 10, 300, 200, 81)));
        FillRows(list);
        CFlatHeaderCtrl& header = list.Header();
        header.Invalidate();
        CRect client;
        header.GetClientRect(&client);
        ASSERT_GE(client.Height(), 10);
        const int b = client.bottom - 2, part = IDB_TEST_HEADER;
        struct Probe {
            const char* name;
            int x, y;
            COLORREF colour;
        } probes[] = {
            {"left edge of column 0", 2, b, Flat(part, 0)},
            {"fill of column 0", 100, b, Flat(part, 1)},
            {"right edge of column 0", 147, b, Flat(part, 2)},
            {"separator at column 1", 150, client.top + 3, RGB(255, 255, 255)},
            {"left edge of column 1", 152, b, Flat(part, 0)},
            {"line after the last column", 250, client.top + 3, RGB(255, 255, 255)},
            {"fill after the columns", 270, b, Flat(part, 1)},
            {"descending arrow, top row", 134, client.top + 5, CFlatHeaderCtrl::kArrow},
            {"descending arrow, tip", 138, client.top + 9, CFlatHeaderCtrl::kArrow},
            {"beside the tip", 134, client.top + 9, Flat(part, 1)},
        };
        for (const Probe& p : probes) EXPECT_EQ(PixelOf(header, p.x, p.y), p.colour) << p.name;
        if (client.Height() > 20) {
            EXPECT_EQ(PixelOf(header, 100, client.bottom - 21), ::GetSysColor(COLOR_BTNFACE)) << "above the picture";
        }
        // Column text is white.
        bool white = false;
        for (int x = 6; x < 60 && !white; ++x)
            for (int y = client.top; y < client.bottom && !white; ++y) white = PixelOf(header, x, y) == RGB(255, 255, 255);
        EXPECT_TRUE(white);
    }
    CBListCtrl::s_headerBitmapId = id;
    SetSkinModule(before);
}
