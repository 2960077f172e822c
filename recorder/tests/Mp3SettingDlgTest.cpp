// The MP3 settings dialog in a real modal loop: a helper thread finds it,
// reads and moves its controls, and ends it with OK, Cancel or Escape.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <thread>
#include "Mp3SettingDlg.h"

namespace {

// A lambda has no stdcall conversion on i686: the callback is a plain function.
BOOL CALLBACK MatchSettingsDialog(HWND hwnd, LPARAM out)
{
    wchar_t title[64] = L"";
    GetWindowTextW(hwnd, title, 64);
    if (wcscmp(title, L"MP3 Settings") == 0 && IsWindowVisible(hwnd)) {
        *(HWND*)out = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindDialog(DWORD thread)
{
    for (int i = 0; i < 200; ++i) {
        HWND found = nullptr;
        EnumThreadWindows(thread, MatchSettingsDialog, (LPARAM)&found);
        if (found) return found;
        Sleep(25);
    }
    return nullptr;
}

std::wstring Text(HWND dialog, int id)
{
    wchar_t text[64] = L"";
    GetDlgItemTextW(dialog, id, text, 64);
    return text;
}

bool Checked(HWND dialog, int id) { return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Click(HWND dialog, int id)
{
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

struct Seen {
    std::wstring bitrateText;
    int sliderPos = -1;
    bool stereo = false, rate48000 = false;
};

// Runs the dialog; `act` sees it from another thread and must end it.
INT_PTR RunWith(CMp3SettingDlg& dlg, Seen& seen, std::function<void(HWND)> act)
{
    const DWORD self = GetCurrentThreadId();
    std::thread helper([&] {
        HWND dialog = FindDialog(self);
        if (!dialog) return;
        seen.bitrateText = Text(dialog, 1056);
        seen.sliderPos = (int)SendDlgItemMessageW(dialog, 1055, TBM_GETPOS, 0, 0);
        seen.stereo = Checked(dialog, 1054);
        seen.rate48000 = Checked(dialog, 1051);
        // A screenshot run (Xvfb) keeps the dialog up for a moment.
        if (const char* hold = getenv("SONELLE_SCREENSHOT_HOLD_MS")) Sleep(DWORD(atoi(hold)));
        act(dialog);
    });
    const INT_PTR result = dlg.DoModal();
    helper.join();
    return result;
}

}  // namespace

TEST(Mp3SettingDlg, ABitrateOutsideTheTableShows192AndOnlyOkStoresIt)
{
    for (bool ok : {false, true}) {
        CMp3SettingDlg dlg;
        dlg.m_nBitrate = 256;
        Seen seen;
        const INT_PTR result = RunWith(dlg, seen, [ok](HWND d) { PostMessageW(d, WM_COMMAND, ok ? IDOK : IDCANCEL, 0); });
        EXPECT_EQ(L"192 Kbps", seen.bitrateText);
        EXPECT_EQ(4, seen.sliderPos);
        EXPECT_EQ(ok ? IDOK : IDCANCEL, result);
        EXPECT_EQ(ok ? 192 : 256, dlg.m_nBitrate);
    }
}

TEST(Mp3SettingDlg, AnOddSampleRateShows48000ButStaysUnlessARateIsClicked)
{
    CMp3SettingDlg dlg;
    dlg.m_nSampleRate = 22050;
    dlg.m_nChannel = 0;
    dlg.m_nBitrate = 96;
    Seen seen;
    EXPECT_EQ(IDOK, RunWith(dlg, seen, [](HWND d) { PostMessageW(d, WM_COMMAND, IDOK, 0); }));
    EXPECT_TRUE(seen.rate48000);
    EXPECT_FALSE(seen.stereo);
    EXPECT_EQ(L"96 Kbps", seen.bitrateText);
    EXPECT_EQ(22050, dlg.m_nSampleRate);
    EXPECT_EQ(0, dlg.m_nChannel);
    EXPECT_EQ(96, dlg.m_nBitrate);

    CMp3SettingDlg again;
    again.m_nSampleRate = 22050;
    EXPECT_EQ(IDOK, RunWith(again, seen, [](HWND d) {
                  Click(d, 1050);
                  PostMessageW(d, WM_COMMAND, IDOK, 0);
              }));
    EXPECT_EQ(44100, again.m_nSampleRate);
}

TEST(Mp3SettingDlg, SliderChoicesAndDefaultAndEscape)
{
    CMp3SettingDlg dlg;
    dlg.m_nChannel = 0;
    dlg.m_nSampleRate = 44100;
    dlg.m_nBitrate = 64;
    Seen seen;
    std::wstring afterMove;
    EXPECT_EQ(IDOK, RunWith(dlg, seen, [&](HWND d) {
                  SendDlgItemMessageW(d, 1055, TBM_SETPOS, TRUE, 5);
                  SendMessageW(d, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), (LPARAM)GetDlgItem(d, 1055));
                  afterMove = Text(d, 1056);
                  PostMessageW(d, WM_COMMAND, IDOK, 0);
              }));
    EXPECT_EQ(L"64 Kbps", seen.bitrateText);
    EXPECT_EQ(L"224 Kbps", afterMove);
    EXPECT_EQ(224, dlg.m_nBitrate);
    EXPECT_EQ(44100, dlg.m_nSampleRate);

    CMp3SettingDlg reset;
    reset.m_nChannel = 0;
    reset.m_nSampleRate = 44100;
    reset.m_nBitrate = 64;
    bool stereoAfter = false, rateAfter = false;
    EXPECT_EQ(IDOK, RunWith(reset, seen, [&](HWND d) {
                  Click(d, 1031);
                  stereoAfter = Checked(d, 1054);
                  rateAfter = Checked(d, 1051);
                  afterMove = Text(d, 1056);
                  PostMessageW(d, WM_COMMAND, IDOK, 0);
              }));
    EXPECT_TRUE(stereoAfter);
    EXPECT_TRUE(rateAfter);
    EXPECT_EQ(L"192 Kbps", afterMove);
    EXPECT_EQ(1, reset.m_nChannel);
    EXPECT_EQ(48000, reset.m_nSampleRate);
    EXPECT_EQ(192, reset.m_nBitrate);

    CMp3SettingDlg escaped;
    escaped.m_nBitrate = 160;
    EXPECT_EQ(IDCANCEL, RunWith(escaped, seen, [](HWND d) {
                  HWND slider = GetDlgItem(d, 1055);
                  SendMessageW(slider, TBM_SETPOS, TRUE, 0);
                  PostMessageW(slider, WM_KEYDOWN, VK_ESCAPE, 0);
                  PostMessageW(slider, WM_KEYUP, VK_ESCAPE, 0);
              }));
    EXPECT_EQ(160, escaped.m_nBitrate);
}
