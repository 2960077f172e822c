// What the Edit page shows without any other repaint: the time display after an
// open and a cursor move, only the editor's own time (never a text at a pointer
// another program sent), and the editor's marker band after a track is unchecked.
#include "EditPageSupport.h"
#include <atomic>
#include "WaveEditMessages.h"

namespace {

// Every pixel of a window's client area as the screen shows it now.
std::vector<COLORREF> Pixels(HWND wnd)
{
    RECT rc;
    GetClientRect(wnd, &rc);
    HDC dc = GetDC(wnd);
    std::vector<COLORREF> pixels;
    pixels.reserve((size_t)rc.right * rc.bottom);
    for (int y = 0; y < rc.bottom; ++y)
        for (int x = 0; x < rc.right; ++x) pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(wnd, dc);
    return pixels;
}

// What the window shows after the page's own messages, and what a full repaint
// would show: equal when nothing stale stands on the screen.
struct Shown {
    std::vector<COLORREF> now, repainted;
};
Shown ShownAndRepainted(HWND wnd)
{
    Pump(50);
    UpdateWindow(wnd);
    Shown s;
    s.now = Pixels(wnd);
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    s.repainted = Pixels(wnd);
    return s;
}

}  // namespace

TEST_F(EditPageFixture, TheTimeDisplayShowsTheOpenedFileAndTheCursorAtOnce)
{
    const std::wstring wav = Path(L"Forty.wav");
    ASSERT_TRUE(WriteWav(wav, Tone(440, 40, 0.3)));
    HWND time = ::GetDlgItem(page.m_hWnd, CPageEdit::IDC_TIME);
    ASSERT_NE(nullptr, time);
    const std::vector<COLORREF> empty = ShownAndRepainted(time).now;

    ASSERT_TRUE(Open(wav).empty());
    EXPECT_EQ(L"00:00:00.00 / 00:00:40.00", TimeText());
    Shown opened = ShownAndRepainted(time);
    EXPECT_NE(empty, opened.repainted) << "the total time differs from the empty page's";
    EXPECT_TRUE(opened.now == opened.repainted) << "the display shows the opened file's time";

    Click(page, CPageEdit::IDC_TO_END);
    Pump(50);
    // The cursor stands on the last column of the view's grid.
    const std::wstring end = TimeText();
    EXPECT_EQ(0u, end.find(L"00:00:39.")) << end;
    EXPECT_EQ(L" / 00:00:40.00", end.substr(11)) << end;
    Shown atEnd = ShownAndRepainted(time);
    EXPECT_NE(opened.repainted, atEnd.repainted);
    EXPECT_TRUE(atEnd.now == atEnd.repainted) << "To End shows the end, not the old position";
}

TEST_F(EditPageFixture, TheTimeDisplayTakesNoTextFromAnotherSender)
{
    const std::wstring wav = Path(L"Six.wav");
    ASSERT_TRUE(WriteWav(wav, Tone(440, 6, 0.3)));
    ASSERT_TRUE(Open(wav).empty());
    const std::wstring own = TimeText();
    ASSERT_EQ(L"00:00:00.00 / 00:00:06.00", own);

    // Another thread sends the editor's message number with a pointer of its
    // own, as any program could (there the pointer would not even be valid).
    static const wchar_t foreign[] = L"12:34:56.78 / 99:99:99.99";
    std::atomic<bool> done{false};
    std::thread sender([&] {
        SendMessageW(page.m_hWnd, WM_WAVEEDIT_TIMETEXT, 0, (LPARAM)foreign);
        done = true;
    });
    PumpUntil([&] { return done.load(); }, 10000);
    sender.join();
    EXPECT_EQ(own, TimeText()) << "the page shows only its editor's time";
}

TEST_F(EditPageFixture, UncheckingATrackRepaintsItsFlagInTheMarkerBand)
{
    const std::wstring wav = Path(L"Ten.wav");
    ASSERT_TRUE(WriteWav(wav, Tone(440, 10, 0.3)));
    ASSERT_TRUE(Open(wav).empty());
    page.Editor()->GetDocument().AddSplitPoint(5 * 44100, 1);
    Pump(50);
    ASSERT_EQ(2, page.Tracks().GetItemCount());
    HWND editor = page.Editor()->GetHwnd();
    const Shown checked = ShownAndRepainted(editor);

    page.Tracks().SetCheck(1, FALSE);
    const Shown unchecked = ShownAndRepainted(editor);
    ASSERT_EQ(0, page.Editor()->GetDocument().GetSplitPoints().GetFlag(1));
    EXPECT_NE(checked.repainted, unchecked.repainted) << "the band draws the flag";
    EXPECT_TRUE(unchecked.now == unchecked.repainted) << "the flag is shown cleared at once";

    page.Tracks().SetCheck(1, TRUE);
    const Shown again = ShownAndRepainted(editor);
    EXPECT_TRUE(again.now == again.repainted);
    EXPECT_TRUE(again.now == checked.repainted) << "ticked again";
}
