// The skinned edits as windows: the parent's background behind the text, the
// alignment taken from the edit's style alone, and re-creation with other styles.
#include <gtest/gtest.h>
#include "BEdit.h"
#include "TestHost.h"
#include "TooltipEdit.h"

using namespace testhost;

namespace {

// The leftmost and rightmost columns of a window that hold black text pixels.
std::pair<int, int> InkColumns(CWnd& wnd)
{
    CRect rc;
    wnd.GetClientRect(&rc);
    ::UpdateWindow(wnd.m_hWnd);
    HDC dc = ::GetDC(wnd.m_hWnd);
    int first = -1, last = -1;
    for (int x = 0; x < rc.right; ++x)
        for (int y = 0; y < rc.bottom; ++y)
            if (::GetPixel(dc, x, y) == RGB(0, 0, 0)) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    ::ReleaseDC(wnd.m_hWnd, dc);
    return {first, last};
}

} // namespace

TEST(CBEdit, TextFormatTakesOnlyTheAlignmentOfTheStyle)
{
    const DWORD common = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
    struct Case {
        DWORD style;
        UINT format;
    } cases[] = {
        {common | ES_LEFT, DT_SINGLELINE},
        {common | ES_CENTER, DT_SINGLELINE | DT_CENTER},
        {common | ES_RIGHT, DT_SINGLELINE | DT_RIGHT},
        {common | ES_NUMBER | ES_PASSWORD | ES_MULTILINE | ES_UPPERCASE, DT_SINGLELINE},
        {common | ES_CENTER | ES_READONLY | ES_NOHIDESEL, DT_SINGLELINE | DT_CENTER},
    };
    for (const Case& c : cases) EXPECT_EQ(CBEdit::TextFormat(c.style), c.format) << std::hex << c.style;
}

TEST(CBEdit, ShowsTheParentBehindItsTextWhereItsStylePutsIt)
{
    struct Case {
        DWORD style;
        int minLeft, maxLeft;  // where the first ink column may be
    } cases[] = {
        {ES_LEFT, 0, 10},
        {ES_CENTER, 70, 100},
        {ES_RIGHT, 140, 200},
    };
    for (const Case& c : cases) {
        Host host;
        CBEdit edit;
        ASSERT_TRUE(edit.SubclassWindow(MakeChild(host, L"EDIT", c.style, 10, 10, 200, 20, 61, L"abc")));
        ::RedrawWindow(host.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        EXPECT_EQ(PixelOf(edit, c.style == ES_RIGHT ? 2 : 197, 10), kHostBackground) << "no box behind the text";
        std::pair<int, int> ink = InkColumns(edit);
        EXPECT_GE(ink.first, c.minLeft) << c.style;
        EXPECT_LE(ink.first, c.maxLeft) << c.style;
        EXPECT_LT(ink.second - ink.first, 40) << "one text, not two at different places";
    }
}

TEST(CBEdit, RecreatedWithOtherStylesKeepsItsTextLimitFontAndId)
{
    Host host;
    CFont font;
    font.CreateFont(-15, 0, 0, 0, 700, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    CTooltipEdit edit;
    HWND first = MakeChild(host, L"EDIT", WS_HSCROLL | ES_AUTOHSCROLL, 10, 10, 200, 24, 62, L"take one");
    ::SendMessageW(first, WM_SETFONT, (WPARAM)font.m_hObject, FALSE);
    ASSERT_TRUE(edit.SubclassWindow(first));
    edit.SetTipParent(&host);
    edit.SetLimitText(30);
    edit.SetFocus();
    host.commands.clear();

    ASSERT_TRUE(edit.RecreateWithStyle(WS_HSCROLL | ES_AUTOHSCROLL, 0));
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_NE(edit.m_hWnd, first);
    EXPECT_EQ(edit.GetStyle() & (WS_HSCROLL | ES_AUTOHSCROLL), 0u);
    EXPECT_EQ(edit.GetDlgCtrlID(), 62);
    EXPECT_EQ(edit.GetWindowText(), L"take one");
    EXPECT_EQ(edit.GetLimitText(), 30u);
    EXPECT_EQ((HFONT)edit.SendMessage(WM_GETFONT), (HFONT)font.m_hObject);
    EXPECT_EQ(::GetFocus(), edit.m_hWnd) << "the focus moves to the new window";
    CRect rc;
    edit.GetWindowRect(&rc);
    host.ScreenToClient(&rc);
    EXPECT_EQ(rc, CRect(10, 10, 210, 34));
    for (const auto& command : host.commands) EXPECT_NE(command.first, 63u) << "the old window's new id stays silent";

    // The object works on the new window: the filter, and the background pass.
    edit.SendMessage(EM_SETSEL, 8, 8);
    edit.SendMessage(WM_CHAR, L'?');
    edit.SendMessage(WM_CHAR, L'!');
    EXPECT_EQ(edit.GetWindowText(), L"take one!");
    ::RedrawWindow(host.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(PixelOf(edit, 195, 12), kHostBackground);
}
