// The player's frame hosted in the test process: its window, its messages before
// and after an open, the popup menu, the About box and its close sequence.
#include <gtest/gtest.h>
#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include "PlayerProtocol.h"
#include "PlayerTestSupport.h"
#include "Registry.h"
#include "TunletAboutDlg.h"
#include "TunletApp.h"
#include "TunletMainFrm.h"
#include "TunletResources.h"

using namespace playertest;

namespace {

// A hosted frame deletes itself with its window; this closes whatever is left.
struct HostedFrame {
    HostedFrame()
    {
        frame = new CTunletMainFrm;
        hWnd = frame->GetSafeHwnd();
    }
    ~HostedFrame()
    {
        if (IsWindow(hWnd)) DestroyWindow(hWnd);
    }
    CTunletMainFrm* frame;
    HWND hWnd;
};

// Top-level windows of this process with that class, visible ones only.
HWND FindOwnWindow(const wchar_t* className, const wchar_t* title = nullptr)
{
    for (HWND wnd = FindWindowExW(nullptr, nullptr, className, title); wnd;
         wnd = FindWindowExW(nullptr, wnd, className, title)) {
        if (WindowProcess(wnd) == GetCurrentProcessId() && IsWindowVisible(wnd)) return wnd;
    }
    return nullptr;
}

// Waits on a helper thread for a window, hands it to `use` and returns whether it came.
class CWindowWatcher {
public:
    template <class Use>
    CWindowWatcher(const wchar_t* className, const wchar_t* title, Use use, DWORD timeoutMs = 5000)
    {
        m_thread = std::thread([=] {
            const ULONGLONG end = GetTickCount64() + timeoutMs;
            while (GetTickCount64() < end) {
                if (HWND wnd = FindOwnWindow(className, title)) {
                    m_seen = true;
                    use(wnd);
                    return;
                }
                Sleep(20);
            }
        });
    }
    bool Seen()
    {
        if (m_thread.joinable()) m_thread.join();
        return m_seen;
    }
    ~CWindowWatcher() { Seen(); }

private:
    std::thread m_thread;
    std::atomic<bool> m_seen{false};
};

// Ends a popup menu's loop from another thread: Escape to the menu, cancel mode
// to its owner, until the menu is gone.
void CloseMenu(HWND owner, HWND menu)
{
    for (int i = 0; i < 50 && IsWindowVisible(menu); ++i) {
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(owner, WM_CANCELMODE, 0, 0);
        Sleep(100);
    }
}

TEST(TunletFrame, IsAHiddenDisabledWindowOfThePlayersClass)
{
    HostedFrame host;
    ASSERT_NE(nullptr, host.hWnd);
    wchar_t className[64] = {}, title[64] = {};
    GetClassNameW(host.hWnd, className, 64);
    GetWindowTextW(host.hWnd, title, 64);
    EXPECT_STREQ(L"NVTunletFrame", className);
    EXPECT_STREQ(L"NVTunlet", title);
    EXPECT_FALSE(IsWindowVisible(host.hWnd));
    EXPECT_FALSE(IsWindowEnabled(host.hWnd));
    EXPECT_EQ(nullptr, GetParent(host.hWnd));
    EXPECT_EQ(nullptr, GetMenu(host.hWnd));
    EXPECT_EQ((ULONG_PTR)(CS_HREDRAW | CS_VREDRAW), GetClassLongPtrW(host.hWnd, GCL_STYLE));
    EXPECT_EQ(host.hWnd, FindWindowW(kPlayerWndClass, kPlayerWndTitle));
    // The program icon, asked of the window as the shell does (its own, else its class's).
    EXPECT_NE(0u, GetClassLongPtrW(host.hWnd, GCLP_HICON));
    EXPECT_NE(0u, GetClassLongPtrW(host.hWnd, GCLP_HICONSM));
}

TEST(TunletFrame, WithoutGraphMessagesGiveZeroAndMenuCommandsDoNothing)
{
    HostedFrame host;
    for (UINT message : {WM_PLAYER_PLAY, WM_PLAYER_PAUSE, WM_PLAYER_STOP, WM_PLAYER_GET_DURATION,
                         WM_PLAYER_GET_POSITION, WM_PLAYER_GET_STATE, WM_PLAYER_SET_GAIN,
                         WM_PLAYER_SET_NOISE_REDUCTION})
        EXPECT_EQ(0, SendMessageW(host.hWnd, message, 0, 150)) << std::hex << message;
    EXPECT_EQ(0, SendMessageW(host.hWnd, WM_PLAYER_SEEK, 0, 1234));
    for (UINT command : {ID_TUNLET_PLAY, ID_TUNLET_PAUSE, ID_TUNLET_STOP})
        SendMessageW(host.hWnd, WM_COMMAND, command, 0);
    EXPECT_TRUE(IsWindow(host.hWnd));
    EXPECT_EQ(0, SendMessageW(host.hWnd, WM_PLAYER_GET_STATE, 0, 0));
}

TEST(TunletFrame, OpensTheFileAndMapsTheMessagesOntoItsGraph)
{
    RegisterPlayerFilters();
    HostedFrame host;
    CNotifyWindow notify;
    host.frame->SetNotifyWnd(notify.Handle());
    host.frame->SetFilePath(Fixture(L"tone440.wav").c_str());
    EXPECT_EQ(0, SendMessageW(host.hWnd, WM_PLAYER_OPEN, 3, 0));
    for (WPARAM kind : {PLAYER_OPEN_ANALYZER, PLAYER_OPEN_NOISE_REDUCTION, PLAYER_OPEN_PLAIN}) {
        EXPECT_EQ(1, SendMessageW(host.hWnd, WM_PLAYER_OPEN, kind, 0)) << kind;
        EXPECT_EQ(200, SendMessageW(host.hWnd, WM_PLAYER_GET_DURATION, 0, 0));
    }
    EXPECT_EQ(1, SendMessageW(host.hWnd, WM_PLAYER_SEEK, 0, 150));
    EXPECT_EQ(150, SendMessageW(host.hWnd, WM_PLAYER_GET_POSITION, 0, 0));
    EXPECT_EQ(1, SendMessageW(host.hWnd, WM_PLAYER_PLAY, 0, 0));
    EXPECT_EQ(2, SendMessageW(host.hWnd, WM_PLAYER_GET_STATE, 0, 0));
    EXPECT_GE(notify.WaitFor(WM_PLAYER_ENDED, -1, 5000), 0);
    EXPECT_EQ(1, SendMessageW(host.hWnd, WM_PLAYER_STOP, 0, 0));
    EXPECT_EQ(0, SendMessageW(host.hWnd, WM_PLAYER_GET_STATE, 0, 0));
}

TEST(TunletFrame, VolumeMessageReachesTheMixerWithinItsBounds)
{
    HostedFrame host;
    CMixerControl& mixer = CTunletMainFrm::Mixer();
    int lo = -1, hi = -1, before = -1;
    ASSERT_TRUE(mixer.GetSpeakerVolume(&lo, &hi, &before));
    const struct {
        LPARAM sent;
        int read;
    } cases[] = {{40000, 40000}, {0, lo}, {hi, hi}, {hi + 5000, hi}, {-5, lo}, {12345, 12345}};
    for (const auto& c : cases) {
        EXPECT_EQ(0, SendMessageW(host.hWnd, WM_PLAYER_SET_VOLUME, 0, c.sent));
        int value = -1;
        EXPECT_TRUE(mixer.GetSpeakerVolume(nullptr, nullptr, &value));
        // The mixer keeps the volume as a fraction of its range: a value can come
        // back one unit lower (Wine's 32-bit mixer reads 40000 back as 39999).
        EXPECT_NEAR(c.read, value, 1) << c.sent;
    }
    SendMessageW(host.hWnd, WM_PLAYER_SET_VOLUME, 0, before);
    // Closing closes the mixer: the message then has no effect.
    SendMessageW(host.hWnd, WM_PLAYER_CLOSE, 0, 0);
    EXPECT_FALSE(mixer.GetSpeakerVolume(nullptr, nullptr, nullptr));
}

TEST(TunletFrame, RightButtonCallbackOpensThePopupMenuOtherValuesDoNot)
{
    HostedFrame host;
    for (LPARAM other : {(LPARAM)WM_LBUTTONDOWN, (LPARAM)WM_RBUTTONUP, (LPARAM)WM_MOUSEMOVE, (LPARAM)0}) {
        CWindowWatcher watcher(L"#32768", nullptr, [&](HWND menu) { CloseMenu(host.hWnd, menu); }, 500);
        EXPECT_EQ(0, SendMessageW(host.hWnd, WM_TUNLET_NOTIFYICON, 0, other));
        // The call came back without a menu loop; give a menu the watcher's time to show.
        EXPECT_FALSE(watcher.Seen()) << other;
    }
    std::atomic<int> items{-1};
    CWindowWatcher watcher(L"#32768", nullptr, [&](HWND menu) {
        HMENU handle = (HMENU)SendMessageW(menu, MN_GETHMENU, 0, 0);
        items = handle ? GetMenuItemCount(handle) : -1;
        CloseMenu(host.hWnd, menu);
    });
    SendMessageW(host.hWnd, WM_TUNLET_NOTIFYICON, 0, WM_RBUTTONDOWN);
    EXPECT_TRUE(watcher.Seen());
    EXPECT_EQ(8, items.load());
    EXPECT_TRUE(IsWindow(host.hWnd));
}

TEST(TunletFrame, AboutBoxShowsProductVersionAndFile)
{
    HostedFrame host;
    host.frame->SetFilePath(L"C:\\Takes\\take one.wav");
    std::wstring caption, product, version, path;
    // SONELLE_HOLD_ABOUT_MS keeps the box up for a screenshot.
    const char* hold = getenv("SONELLE_HOLD_ABOUT_MS");
    const DWORD holdMs = hold ? (DWORD)atoi(hold) : 0;
    CWindowWatcher watcher(L"#32770", L"Norvane Tunlet", [&](HWND dlg) {
        Sleep(100 + holdMs);
        wchar_t text[MAX_PATH] = {};
        GetWindowTextW(dlg, text, MAX_PATH);
        caption = text;
        GetDlgItemTextW(dlg, IDC_ABOUT_PRODUCT, text, MAX_PATH);
        product = text;
        GetDlgItemTextW(dlg, IDC_ABOUT_VERSION, text, MAX_PATH);
        version = text;
        GetDlgItemTextW(dlg, IDC_ABOUT_PATH, text, MAX_PATH);
        path = text;
        PostMessageW(dlg, WM_COMMAND, IDOK, 0);
    });
    SendMessageW(host.hWnd, WM_COMMAND, ID_TUNLET_ABOUT, 0);
    ASSERT_TRUE(watcher.Seen());
    EXPECT_EQ(L"Norvane Tunlet", caption);
    EXPECT_EQ(L"NVTunlet", product);
    EXPECT_EQ(L" : 1.0.1", version);
    EXPECT_EQ(L"C:\\Takes\\take one.wav", path);
}

TEST(TunletFrame, ClosingTellsTheNotifyWindowItStartedWith)
{
    CNotifyWindow starter, newer;
    HostedFrame host;
    host.frame->SetNotifyWnd(starter.Handle());
    // A newer launch has rewritten "hMSG" meanwhile.
    RegWriteDword(HKEY_CURRENT_USER, kPlayerRegKey, kPlayerNotifyValue, (DWORD)HandleToLong(newer.Handle()));
    EXPECT_EQ(0, SendMessageW(host.hWnd, WM_PLAYER_CLOSE, 0, 0));
    EXPECT_FALSE(IsWindow(host.hWnd));
    EXPECT_GE(starter.WaitFor(WM_PLAYER_STATUS, PLAYER_STATUS_CLOSING, 1000), 0);
    PumpFor(100);
    EXPECT_EQ(0, newer.Count(WM_PLAYER_STATUS));
}

TEST(TunletFrame, ExitAndWindowCloseRunTheCloseSequence)
{
    for (UINT message : {(UINT)WM_CLOSE, (UINT)WM_COMMAND}) {
        CNotifyWindow notify;
        HostedFrame host;
        host.frame->SetNotifyWnd(notify.Handle());
        SendMessageW(host.hWnd, message, message == WM_COMMAND ? ID_TUNLET_EXIT : 0, 0);
        EXPECT_FALSE(IsWindow(host.hWnd));
        EXPECT_GE(notify.WaitFor(WM_PLAYER_STATUS, PLAYER_STATUS_CLOSING, 1000), 0);
        EXPECT_EQ(1, notify.Count(WM_PLAYER_STATUS, PLAYER_STATUS_CLOSING));
    }
}

TEST(TunletFrame, ClosesItselfWhenTheNotifyWindowIsGone)
{
    CNotifyWindow notify;
    HostedFrame host;
    host.frame->SetNotifyWnd(notify.Handle());
    PumpFor(1200);
    EXPECT_TRUE(IsWindow(host.hWnd));
    notify.Destroy();
    HWND hWnd = host.hWnd;
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hWnd); }, 2500));
}

TEST(TunletFrame, CommandLineLosesItsQuotesButKeepsBlanks)
{
    struct {
        const wchar_t* commandLine;
        const wchar_t* file;
    } cases[] = {
        {L"\"C:\\My Music\\take one.wav\"", L"C:\\My Music\\take one.wav"},
        {L"C:\\plain.wav", L"C:\\plain.wav"},
        {L"", L""},
        {L" \"C:\\a b.mp3\" ", L"C:\\a b.mp3"},
    };
    for (auto& c : cases) EXPECT_STREQ(c.file, CTunletApp::FileFromCommandLine(c.commandLine));
}

} // namespace
