#include <gtest/gtest.h>
#include "DiscTestKit.h"
#include "AudioFileChooser.h"
#include "PublishListCtrl.h"
#include "PublishRowConversion.h"

using namespace disctest;

namespace {

class ListHost : public CWnd {
public:
    ListHost()
    {
        EXPECT_TRUE(CreateEx(0, nullptr, L"publish list host", WS_POPUP | WS_VISIBLE, 50, 50, 900, 300, nullptr, nullptr));
        HWND child = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS,
                                       10, 10, 860, 250, m_hWnd, (HMENU)1008, nullptr, nullptr);
        EXPECT_TRUE(list.SubclassWindow(child));
    }
    ~ListHost() override
    {
        list.DestroyWindow();
        DestroyWindow();
    }
    CPublishListCtrl list;
};

PublishItemData Track(int number, double seconds, const wchar_t* name)
{
    PublishItemData item;
    item.kind = PublishKindTrack;
    item.sourcePath = L"C:\\nowhere\\work.tmw";
    item.playTime = seconds;
    item.trackName = name;
    item.track.trackNumber = number;
    return item;
}

}  // namespace

TEST(PublishListCtrl, CellTexts)
{
    EXPECT_EQ(L"01 : 02 : 05.50", CPublishListCtrl::PlayTimeText(3725.5));
    EXPECT_EQ(L"00 : 00 : 04.00", CPublishListCtrl::PlayTimeText(4.0));
    // Rounded to the hundredths shown, not cut.
    EXPECT_EQ(L"00 : 00 : 06.00", CPublishListCtrl::PlayTimeText(5.999));
    EXPECT_EQ(L"00 : 01 : 00.00", CPublishListCtrl::PlayTimeText(59.996));
    EXPECT_EQ(L"  10.09 MB", CPublishListCtrl::SizeText(176400, 60));
    const std::wstring folder = FreshFolder(L"publist-title");
    ASSERT_TRUE(WriteBytes(folder + L"\\My take.one.wav", {1}));
    EXPECT_EQ(L"My take.one", CPublishListCtrl::FileTitleOf(CString(folder + L"\\My take.one.wav")));
    EXPECT_EQ(L"", CPublishListCtrl::FileTitleOf(CString(folder + L"\\gone.wav")));
    RemoveTree(folder);
}

TEST(PublishListCtrl, RowsOwnTheirRecordsAndRenumberAfterRemoval)
{
    ListHost host;
    CPublishListCtrl& list = host.list;
    for (int i = 0; i < 5; ++i) list.AddItem(i, Track(i, 60, L"name"));
    ASSERT_EQ(5, list.GetItemCount());
    EXPECT_EQ(CString(L"01"), list.GetItemText(0, 0));
    EXPECT_EQ(CString(L"00 : 01 : 00.00"), list.GetItemText(0, 2));
    EXPECT_EQ(CString(L"  10.09 MB"), list.GetItemText(4, 4));
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
    list.RemoveSelected();
    ASSERT_EQ(3, list.GetItemCount());
    const int numbers[] = {0, 2, 4};
    for (int row = 0; row < 3; ++row) {
        wchar_t want[8];
        _snwprintf(want, 8, L"%02d", row + 1);
        EXPECT_EQ(CString(want), list.GetItemText(row, 0));
        ASSERT_NE(nullptr, list.Record(row));
        EXPECT_EQ(row, list.Record(row)->rowIndex);
        EXPECT_EQ(numbers[row], list.Record(row)->track.trackNumber);
    }
    list.SetByteRate(24000);
    EXPECT_EQ(CString(L"   1.37 MB"), list.GetItemText(0, 4));
    list.SetCheck(1, FALSE);
    EXPECT_DOUBLE_EQ(2 * 60 * 24000.0, list.GetTotalSize());
    list.DeleteRow(7);   // out of range: nothing
    list.DeleteAllRows();
    EXPECT_EQ(0, list.GetItemCount());
}

TEST(PublishListCtrl, RenamingAfterTheAlbumSparesFixedNames)
{
    ListHost host;
    CPublishListCtrl& list = host.list;
    list.AddItem(0, Track(0, 10, L"first"));
    PublishItemData fixed = Track(1, 10, L"typed");
    fixed.nameFixed = 1;
    list.AddItem(1, fixed);
    list.RenameAfterAlbum(L"Live", L"Track");
    EXPECT_EQ(CString(L"Live_Track01"), list.GetItemText(0, 3));
    EXPECT_EQ(L"Live_Track01", list.Record(0)->trackName);
    EXPECT_EQ(CString(L"typed"), list.GetItemText(1, 3));
}

TEST(PublishListCtrl, OnlyTheTrackNameColumnStartsAnEditAndATypedNameIsFixed)
{
    ListHost host;
    CPublishListCtrl& list = host.list;
    list.AddItem(0, Track(0, 10, L"first"));
    auto clickColumn = [&](int column) {
        CRect cell;
        list.GetSubItemRect(0, column, LVIR_BOUNDS, &cell);
        list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell.left + 20, cell.top + 3));
        list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(cell.left + 20, cell.top + 3));
    };
    clickColumn(CPublishListCtrl::ColumnFile);
    EXPECT_EQ(nullptr, list.GetEditControl());
    clickColumn(CPublishListCtrl::ColumnSize);
    EXPECT_EQ(nullptr, list.GetEditControl());
    clickColumn(CPublishListCtrl::ColumnTrackName);
    CWnd* edit = list.GetEditControl();
    ASSERT_NE(nullptr, edit);
    wchar_t text[64] = L"";
    ::GetWindowTextW(edit->m_hWnd, text, 64);
    EXPECT_STREQ(L"first", text);
    EXPECT_EQ(30, (int)::SendMessageW(edit->m_hWnd, EM_GETLIMITTEXT, 0, 0));
    ::SetWindowTextW(edit->m_hWnd, L"My own name");
    list.SendMessage(LVM_CANCELEDITLABEL);   // ends the edit, keeping what was typed
    if (list.GetEditControl()) ::SendMessageW(edit->m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(CString(L"My own name"), list.GetItemText(0, 3));
    EXPECT_EQ(1, list.Record(0)->nameFixed);
    list.RenameAfterAlbum(L"Live", L"Track");
    EXPECT_EQ(CString(L"My own name"), list.GetItemText(0, 3));
}

TEST(PublishRowConversion, StartsTheNextCheckedRowAndPassesOverRowsThatDoNotStart)
{
    ListHost host;
    CPublishListCtrl& list = host.list;
    const wchar_t* titles[] = {L"one", L"two", L"three", L"four", L"five"};
    for (int i = 0; i < 5; ++i) {
        list.AddItem(i, Track(i, 60, L""));
        list.Record(i)->fileTitle = titles[i];
    }
    list.SetCheck(1, FALSE);
    std::vector<int> started, failed;
    std::vector<std::wstring> status;
    RowConversion steps;
    steps.converting = L"Convert :";
    steps.failedText = L"File conversion error.";
    steps.start = [&](int row, PublishItemData& item) {
        EXPECT_EQ(list.Record(row), &item);
        started.push_back(row);
        return row != 2 && row != 4;   // rows 2 and 4 do not start
    };
    steps.status = [&](const CString& text) { status.push_back(text.str()); };
    steps.failed = [&](int row) { failed.push_back(row); };

    EXPECT_EQ(0, StartNextRowConversion(list, 0, steps));
    EXPECT_EQ(3, StartNextRowConversion(list, 1, steps)) << "row 1 is unchecked, row 2 fails";
    EXPECT_EQ(-1, StartNextRowConversion(list, 4, steps));
    EXPECT_EQ(-1, StartNextRowConversion(list, 5, steps));
    EXPECT_EQ((std::vector<int>{0, 2, 3, 4}), started);
    EXPECT_EQ((std::vector<int>{2, 4}), failed);
    EXPECT_EQ((std::vector<std::wstring>{L"Convert : [ 01 ]  one", L"File conversion error. three",
                                         L"Convert : [ 04 ]  four", L"File conversion error. five"}),
              status);

    steps.failed = nullptr;   // a caller that keeps no list of failures
    EXPECT_EQ(-1, StartNextRowConversion(list, 4, steps));
}

TEST(AudioFileChooser, OneChosenFileIsItsPathSeveralAreTheFolderAndEachName)
{
    EXPECT_EQ((std::vector<CString>{L"C:\\Takes\\one.wav"}), SelectedPaths(L"C:\\Takes\\one.wav\0"));
    EXPECT_EQ((std::vector<CString>{L"C:\\Takes\\one.wav", L"C:\\Takes\\two.mp3"}),
              SelectedPaths(L"C:\\Takes\0one.wav\0two.mp3\0"));
    EXPECT_EQ((std::vector<CString>{L"C:\\a.wav", L"C:\\b.wav"}), SelectedPaths(L"C:\\\0a.wav\0b.wav\0"))
        << "a root folder keeps its one backslash";
    EXPECT_TRUE(SelectedPaths(L"").empty());
}

namespace {

void PumpFor(DWORD ms)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(10)) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

// The pixels of a column of the list's client area, top to bottom.
std::vector<COLORREF> PixelColumn(HWND list, int x)
{
    RECT client = {};
    GetClientRect(list, &client);
    std::vector<COLORREF> column;
    HDC dc = GetDC(list);
    for (int y = 0; y < client.bottom; ++y) column.push_back(GetPixel(dc, x, y));
    ReleaseDC(list, dc);
    return column;
}

}  // namespace

// Rows removed until the scroll bar goes: where the bar stood, the list shows
// what a full repaint shows (its grid lines whole), not the bar's leftovers.
TEST(PublishListCtrl, RemovingRowsThatTakeTheScrollBarAwayLeavesNoBrokenLines)
{
    ListHost host;
    CPublishListCtrl& list = host.list;
    for (int i = 0; i < 30; ++i) list.AddItem(i, Track(i, 60, L"name"));
    PumpFor(200);
    ASSERT_TRUE(GetWindowLongW(list.m_hWnd, GWL_STYLE) & WS_VSCROLL) << "30 rows need the scroll bar";
    RECT withBar = {};
    GetClientRect(list.m_hWnd, &withBar);
    // Scrolled down as a user would, by the bar's arrow and its thumb.
    for (int i = 0; i < 5; ++i) list.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    list.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 12), 0);
    PumpFor(200);
    for (int i = 2; i < 30; ++i) list.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
    list.RemoveSelected();
    PumpFor(300);
    ASSERT_FALSE(GetWindowLongW(list.m_hWnd, GWL_STYLE) & WS_VSCROLL);
    RECT without = {};
    GetClientRect(list.m_hWnd, &without);
    ASSERT_GT(without.right, withBar.right);
    const int x = (withBar.right + without.right) / 2;
    const std::vector<COLORREF> shown = PixelColumn(list.m_hWnd, x);
    RedrawWindow(list.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpFor(200);
    EXPECT_EQ(PixelColumn(list.m_hWnd, x), shown) << "where the scroll bar stood, at x " << x;
}
