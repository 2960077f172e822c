// The Edit page with the real player program: opening a file starts Tunlet.exe on
// its work WAV, an effect closes it for the dialog's own preview player and starts
// it again on the result, and the amplify preview plays from the first checked
// track at the gain the slider sets while it plays, heard in the sink's monitor.
#include "EditPageSupport.h"
#include <algorithm>
#include <cmath>
#include "AmplifyDlg.h"
#include "PlayerProtocol.h"
#include "PlayerTestSupport.h"
#include "Registry.h"

namespace {

DWORD PlayerProcess(HWND wnd)
{
    return wnd ? playertest::WindowProcess(wnd) : 0;
}

// The file the last launch handed to the player.
std::wstring HandedFile()
{
    CString file;
    RegReadString(HKEY_CURRENT_USER, kPlayerRegKey, kPlayerFileValue, file, L"");
    return (const wchar_t*)file;
}

// A player window of another process than `not` whose graph is open; null after the time.
HWND WaitForOpenPlayer(DWORD notPid, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20)) {
        for (HWND wnd : playertest::PlayerWindows()) {
            DWORD_PTR duration = 0;
            if (PlayerProcess(wnd) != notPid &&
                SendMessageTimeoutW(wnd, WM_PLAYER_GET_DURATION, 0, 0, SMTO_ABORTIFHUNG, 2000, &duration) &&
                duration > 0)
                return wnd;
        }
    }
    return nullptr;
}

int PlayerState(HWND wnd)
{
    DWORD_PTR state = 0;
    SendMessageTimeoutW(wnd, WM_PLAYER_GET_STATE, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
    return (int)state;
}

std::wstring DlgText(HWND dialog, int id)
{
    wchar_t text[100] = {};
    GetDlgItemTextW(dialog, id, text, 100);
    return text;
}

// What the sink played between two ticks: the median RMS and frequency of its
// 50 ms windows that hold sound (a busy machine loses blocks in the probe, so
// medians, and the count of windows they came from).
struct Stretch {
    double rms = 0, hz = 0;
    size_t windows = 0;
};
Stretch Between(const testsignal::Channel& c, const playertest::CSinkProbe& probe, double from, double to)
{
    const size_t w = (size_t)(c.rate * 0.05);
    std::vector<double> rms, hz;
    for (size_t i = 0; w && i + w <= c.samples.size(); i += w) {
        const double tick = probe.FrameTick(i);
        if (tick < from || probe.FrameTick(i + w - 1) > to) continue;
        double sum = 0;
        for (size_t j = i; j < i + w; ++j) sum += c.samples[j] * c.samples[j];
        const double r = std::sqrt(sum / (double)w);
        if (r < 0.02) continue;
        rms.push_back(r);
        hz.push_back(testsignal::ZeroCrossingHz(c, i, w));
    }
    auto median = [](std::vector<double> v) {
        if (v.empty()) return 0.0;
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    return {median(rms), median(hz), rms.size()};
}

class EditPlayer : public EditPageFixture {
protected:
    void SetUp() override
    {
        playertest::EndAllPlayers();
        EditPageFixture::SetUp();
    }
    void TearDown() override
    {
        // Players that still hold the folder's files go first.
        playertest::EndAllPlayers();
        EditPageFixture::TearDown();
    }
    // The page's player once its graph is open on the work file.
    HWND PagePlayer()
    {
        CRemoteTunlet& player = page.Editor()->GetPlayer();
        double duration = 0;
        PumpUntil([&] { return player.GetPlayerWnd() && player.GetDuration(&duration) && duration > 0; }, 15000);
        return player.GetPlayerWnd();
    }
};

}  // namespace

TEST_F(EditPlayer, OpeningStartsThePlayerOnTheWorkFileAndAnEffectStartsItAgainOnTheResult)
{
    const std::wstring wav = Path(L"Talk.wav");
    ASSERT_TRUE(WriteWav(wav, Tone(440, 6, 0.3)));
    ASSERT_TRUE(Open(wav).empty());
    HWND first = PagePlayer();
    ASSERT_NE(nullptr, first) << "opening starts the player";
    const DWORD firstPid = PlayerProcess(first);
    EXPECT_EQ(Path(L"Talk.tmw"), HandedFile()) << "it plays the work copy, not the file";
    double duration = 0;
    EXPECT_TRUE(page.Editor()->GetPlayer().GetDuration(&duration));
    EXPECT_NEAR(6.0, duration, 0.05);

    // Amplify: the page's player goes while the dialog previews with its own one;
    // after the run the page plays the result.
    DWORD previewPid = 0;
    bool firstEnded = false;
    std::wstring previewFile;
    {
        CHelperThread helper([&] {
            HWND dialog = WaitForDialog(IDOK, L"Amplify", 10000);
            if (!dialog) return;
            firstEnded = playertest::WaitProcessEnd(firstPid, 10000);
            previewPid = PlayerProcess(WaitForOpenPlayer(firstPid, 15000));
            previewFile = HandedFile();
            PressButton(dialog, IDOK);
        });
        page.OnAmplify();
    }
    EXPECT_TRUE(firstEnded) << "the page's player is closed for the effect";
    ASSERT_NE(0u, previewPid) << "the dialog starts a player of its own";
    EXPECT_EQ(Path(L"Talk.tmw"), previewFile);
    ASSERT_EQ(Path(L"Talk.tm1"), std::wstring(page.WorkPath()));
    EXPECT_TRUE(playertest::WaitProcessEnd(previewPid, 10000)) << "OK closes the preview player";
    HWND again = PagePlayer();
    ASSERT_NE(nullptr, again) << "the page starts its player again";
    EXPECT_NE(firstPid, PlayerProcess(again));
    EXPECT_NE(previewPid, PlayerProcess(again));
    EXPECT_EQ(Path(L"Talk.tm1"), HandedFile()) << "on the effect's result";
    EXPECT_TRUE(page.Editor()->GetPlayer().GetDuration(&duration));
    EXPECT_NEAR(6.0, duration, 0.05);

    // A cancelled dialog: the page's player comes back on the unchanged work file.
    const DWORD resultPid = PlayerProcess(again);
    {
        CHelperThread helper([&] {
            HWND dialog = WaitForDialog(IDOK, L"Nosie Reduction", 10000);
            if (!dialog) return;
            WaitForOpenPlayer(resultPid, 15000);
            PressButton(dialog, IDCANCEL);
        });
        page.OnNoiseReduction();
    }
    EXPECT_TRUE(playertest::WaitProcessEnd(resultPid, 10000));
    HWND back = PagePlayer();
    ASSERT_NE(nullptr, back);
    EXPECT_NE(resultPid, PlayerProcess(back));
    EXPECT_EQ(Path(L"Talk.tm1"), HandedFile());
    EXPECT_EQ(Path(L"Talk.tm1"), std::wstring(page.WorkPath()));
}

TEST_F(EditPlayer, AmplifyPreviewPlaysFromTheFirstCheckedTrackAtTheSlidersGain)
{
    // 3 s of 440 Hz, then 20 s of 660 Hz: the first track is left unchecked, so the
    // preview starts at 3 s and plays 660 Hz.
    const double amplitude = 0.2;
    Pcm pcm = Tone(440, 3, amplitude);
    Append(pcm, Tone(660, 20, amplitude));
    const std::wstring wav = Path(L"Preview.wav");
    ASSERT_TRUE(WriteWav(wav, pcm));
    ASSERT_TRUE(Open(wav).empty());
    page.Editor()->GetDocument().AddSplitPoint(3 * 44100, 1);
    Pump(20);
    ASSERT_EQ(2, page.Tracks().GetItemCount());
    page.Tracks().SetCheck(0, FALSE);
    Pump(20);
    const DWORD pagePid = PlayerProcess(PagePlayer());
    ASSERT_NE(0u, pagePid);

    playertest::CSinkProbe probe;
    bool listening = false, stopped = false;
    std::wstring playingCaption, stoppedCaption;
    int playingState = -1, stoppedState = -1;
    DWORD previewPid = 0;
    double ticks[4] = {};
    const double stageMs = 3000;
    {
        CHelperThread helper([&] {
            HWND dialog = WaitForDialog(IDOK, L"Amplify", 10000);
            if (!dialog) return;
            HWND player = WaitForOpenPlayer(pagePid, 15000);
            previewPid = PlayerProcess(player);
            listening = player && probe.Start();
            if (!listening) {
                PressButton(dialog, IDCANCEL);
                return;
            }
            Sleep(300);
            // Preview at the start position 10 (100 %), then 5 (50 %), then 20 (300 %).
            ticks[0] = (double)GetTickCount64();
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(CPreviewEffectDlg::IDC_PREVIEW, BN_CLICKED),
                         (LPARAM)GetDlgItem(dialog, CPreviewEffectDlg::IDC_PREVIEW));
            playingCaption = DlgText(dialog, CPreviewEffectDlg::IDC_PREVIEW);
            playingState = PlayerState(player);
            Sleep((DWORD)stageMs);
            HWND slider = GetDlgItem(dialog, CPreviewEffectDlg::IDC_SLIDER);
            const int positions[] = {5, 20};
            for (int stage = 1; stage <= 2; ++stage) {
                SendMessageW(slider, TBM_SETPOS, TRUE, positions[stage - 1]);
                ticks[stage] = (double)GetTickCount64();
                SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), (LPARAM)slider);
                Sleep((DWORD)stageMs);
            }
            ticks[3] = (double)GetTickCount64();
            // Stop, then Preview again, and close the dialog while it plays.
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(CPreviewEffectDlg::IDC_PREVIEW, BN_CLICKED),
                         (LPARAM)GetDlgItem(dialog, CPreviewEffectDlg::IDC_PREVIEW));
            stoppedCaption = DlgText(dialog, CPreviewEffectDlg::IDC_PREVIEW);
            stoppedState = PlayerState(player);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(CPreviewEffectDlg::IDC_PREVIEW, BN_CLICKED),
                         (LPARAM)GetDlgItem(dialog, CPreviewEffectDlg::IDC_PREVIEW));
            Sleep(300);
            PressButton(dialog, IDCANCEL);
            stopped = playertest::WaitProcessEnd(previewPid, 10000);
        });
        page.OnAmplify();
    }
    ASSERT_TRUE(listening) << "no preview player, or no sink monitor to listen to";
    const testsignal::Channel heard = probe.Stop();
    EXPECT_EQ(L"Stop", playingCaption);
    EXPECT_EQ(2, playingState) << "Preview plays";
    EXPECT_EQ(L"Preview", stoppedCaption);
    EXPECT_EQ(0, stoppedState) << "Stop stops";
    EXPECT_TRUE(stopped) << "closing the dialog during a preview ends its player";
    EXPECT_EQ(Path(L"Preview.tmw"), std::wstring(page.WorkPath())) << "Cancel runs no effect";

    // The renderer holds some sound: each stage is measured over its second half.
    Stretch stages[3];
    for (int i = 0; i < 3; ++i) {
        stages[i] = Between(heard, probe, ticks[i] + stageMs / 2, ticks[i + 1]);
        printf("preview stage %d: %zu windows, %.0f Hz, RMS %.3f\n", i, stages[i].windows, stages[i].hz,
               stages[i].rms);
        ASSERT_GE(stages[i].windows, 5u) << "stage " << i << " was heard";
        EXPECT_NEAR(660, stages[i].hz, 15) << "from the first checked track, stage " << i;
    }
    EXPECT_NEAR(amplitude / std::sqrt(2.0), stages[0].rms, 0.2 * amplitude) << "100 %";
    EXPECT_NEAR(-6.02, playertest::Decibels(stages[1].rms / stages[0].rms), 1.5) << "50 %";
    EXPECT_NEAR(9.54, playertest::Decibels(stages[2].rms / stages[0].rms), 1.5) << "300 %";
}
