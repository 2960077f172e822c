// The skinned edits as windows: the parent's background behind the text, text
// typed and deleted through key messages drawn once, re-creation with other
// styles, the file-name filter with its tip, and the list's label editor.
#include <gtest/gtest.h>
#include "BEdit.h"
#include "FileNameFilter.h"
#include "TestHost.h"
#include "ToolTipWnd.h"
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

namespace {

// A host whose plain edits draw on the host's own colour: the look of an edit
// that draws its text once on the background behind it.
class FlatEditHost : public Host {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CTLCOLOREDIT && ::GetDlgCtrlID((HWND)lParam) == kPlainId) {
            ::SetBkColor((HDC)wParam, kHostBackground);
            ::SetTextColor((HDC)wParam, RGB(0, 0, 0));
            return (LRESULT)m_background.m_hObject;
        }
        return Host::WindowProc(message, wParam, lParam);
    }

public:
    static const int kPlainId = 64;
};

// A key as the keyboard delivers it: down, the character, up.
void TypeKey(HWND edit, UINT key, wchar_t character)
{
    ::PostMessageW(edit, WM_KEYDOWN, key, 1);
    ::PostMessageW(edit, WM_CHAR, character, 1);
    ::PostMessageW(edit, WM_KEYUP, key, 0xC0000001);
}

// The number of client pixels in which two windows of one size differ.
int DifferingPixels(HWND a, HWND b)
{
    CRect rc;
    ::GetClientRect(a, &rc);
    HDC da = ::GetDC(a), db = ::GetDC(b);
    int differ = 0;
    for (int y = 0; y < rc.bottom; ++y)
        for (int x = 0; x < rc.right; ++x) differ += ::GetPixel(da, x, y) != ::GetPixel(db, x, y);
    ::ReleaseDC(a, da);
    ::ReleaseDC(b, db);
    return differ;
}

} // namespace

TEST(CBEdit, TypedAndDeletedTextIsDrawnOnceAsTheSameTextSetDirectly)
{
    const struct {
        const wchar_t* typed;  // '\b' is a Backspace
        const wchar_t* shown;
    } cases[] = {
        {L"yz", L"yz"},
        {L"abc\b", L"ab"},
        {L"Take 01\b\b\b\b\b\b\b", L""},
        {L"wW\bM", L"wM"},
    };
    CFont font;
    // Smoothed edges: text drawn twice at one place darkens them.
    font.CreateFont(-18, 0, 0, 0, 400, 0, 0, 0, DEFAULT_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0, L"Arial");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "typed " << std::wstring(c.typed).size() << " keys, shown \""
                                        << std::string(c.shown, c.shown + wcslen(c.shown)) << "\"");
        FlatEditHost host;
        CBEdit skinned;
        HWND typed = MakeChild(host, L"EDIT", ES_AUTOHSCROLL, 10, 10, 200, 26, 63);
        HWND plain = MakeChild(host, L"EDIT", ES_AUTOHSCROLL, 10, 50, 200, 26, FlatEditHost::kPlainId, c.shown);
        ::SendMessageW(typed, WM_SETFONT, (WPARAM)font.m_hObject, FALSE);
        ::SendMessageW(plain, WM_SETFONT, (WPARAM)font.m_hObject, FALSE);
        ASSERT_TRUE(skinned.SubclassWindow(typed));
        ::RedrawWindow(host.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        host.Pump();

        for (const wchar_t* k = c.typed; *k; ++k) {
            TypeKey(typed, *k == L'\b' ? VK_BACK : (UINT)(wchar_t)towupper(*k), *k);
            host.Pump();
            ::UpdateWindow(host.m_hWnd);
        }
        ASSERT_EQ(skinned.GetWindowText(), CString(c.shown));
        ::UpdateWindow(typed);
        ::UpdateWindow(plain);
        EXPECT_EQ(DifferingPixels(typed, plain), 0) << "typed, the text looks as when it is set at once";
    }
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
