// The Edit page with the real player program: opening a file starts Tunlet.exe on
// its work WAV, an effect closes it for the dialog's own preview player and starts
// it again on the result, and the amplify preview plays from the first checked
// track at the gain the slider sets while it plays, and the noise-reduction
// preview cuts more noise as its slider moves, heard in the sink's monitor.
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

// What the sink played between two ticks: its sound windows that reached the probe
// then, for the player tests' medians (a busy machine loses blocks in the probe).
playertest::Heard Between(const playertest::Heard& all, const playertest::CSinkProbe& probe, double from, double to)
{
    playertest::Heard part = all;
    part.windows.clear();
    for (size_t start : all.windows)
        if (probe.FrameTick(start) >= from && probe.FrameTick(start + all.windowSamples - 1) <= to)
            part.windows.push_back(start);
    return part;
}

// A tone with white noise of a tenth of full scale (a fixed sequence).
Pcm NoisyTone(double hz, double seconds, double amplitude)
{
    Pcm p = Tone(hz, seconds, amplitude);
    uint32_t state = 12345;
    for (size_t i = 0; i + 1 < p.bytes.size(); i += 2) {
        state = state * 1664525u + 1013904223u;
        const double noise = ((double)(state >> 8) / (double)(1u << 24) * 2.0 - 1.0) * 0.1 * 32767.0;
        int v = (int16_t)(p.bytes[i] | (p.bytes[i + 1] << 8)) + (int)std::lround(noise);
        v = std::max(-32768, std::min(32767, v));
        p.bytes[i] = (uint8_t)(v & 0xFF);
        p.bytes[i + 1] = (uint8_t)((v >> 8) & 0xFF);
    }
    return p;
}

void ClickPreview(HWND dialog)
{
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(CPreviewEffectDlg::IDC_PREVIEW, BN_CLICKED),
                 (LPARAM)GetDlgItem(dialog, CPreviewEffectDlg::IDC_PREVIEW));
}

// Sets a dialog's slider as a user leaves it; the tick of the release.
double LeaveSlider(HWND dialog, int position)
{
    HWND slider = GetDlgItem(dialog, CPreviewEffectDlg::IDC_SLIDER);
    SendMessageW(slider, TBM_SETPOS, TRUE, position);
    const double tick = (double)GetTickCount64();
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), (LPARAM)slider);
    return tick;
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
            ClickPreview(dialog);
            playingCaption = DlgText(dialog, CPreviewEffectDlg::IDC_PREVIEW);
            playingState = PlayerState(player);
            Sleep((DWORD)stageMs);
            const int positions[] = {5, 20};
            for (int stage = 1; stage <= 2; ++stage) {
                ticks[stage] = LeaveSlider(dialog, positions[stage - 1]);
                Sleep((DWORD)stageMs);
            }
            ticks[3] = (double)GetTickCount64();
            // Stop, then Preview again, and close the dialog while it plays.
            ClickPreview(dialog);
            stoppedCaption = DlgText(dialog, CPreviewEffectDlg::IDC_PREVIEW);
            stoppedState = PlayerState(player);
            ClickPreview(dialog);
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
    const playertest::Heard all = playertest::Analyze(heard, 0.02);
    playertest::Heard stages[3];
    for (int i = 0; i < 3; ++i) {
        stages[i] = Between(all, probe, ticks[i] + stageMs / 2, ticks[i + 1]);
        printf("amplify preview stage %d: %zu windows, %.0f Hz, RMS %.3f\n", i, stages[i].windows.size(),
               playertest::MedianHz(stages[i]), playertest::MedianRms(stages[i]));
        ASSERT_GE(stages[i].windows.size(), 5u) << "stage " << i << " was heard";
        // The second track's 660 Hz, not the first one's 440 Hz (powers, which a lost
        // block of the probe disturbs less than a count of zero crossings).
        const double over = 10 * std::log10(playertest::MedianTonePower(stages[i], 660) /
                                             playertest::MedianTonePower(stages[i], 440));
        EXPECT_GT(over, 20.0) << "from the first checked track, stage " << i;
    }
    const double rms = playertest::MedianRms(stages[0]);
    EXPECT_NEAR(amplitude / std::sqrt(2.0), rms, 0.2 * amplitude) << "100 %";
    EXPECT_NEAR(-6.02, playertest::Decibels(playertest::MedianRms(stages[1]) / rms), 1.5) << "50 %";
    EXPECT_NEAR(9.54, playertest::Decibels(playertest::MedianRms(stages[2]) / rms), 1.5) << "300 %";
}

TEST_F(EditPlayer, NoiseReductionPreviewCutsTheNoiseAsTheSliderMoves)
{
    const std::wstring wav = Path(L"Noisy.wav");
    ASSERT_TRUE(WriteWav(wav, NoisyTone(440, 20, 0.3)));
    ASSERT_TRUE(Open(wav).empty());
    const DWORD pagePid = PlayerProcess(PagePlayer());
    ASSERT_NE(0u, pagePid);

    playertest::CSinkProbe probe;
    bool listening = false, stopped = false;
    std::wstring lessText, moreText;
    double ticks[3] = {};
    const double stageMs = 3000;
    {
        CHelperThread helper([&] {
            HWND dialog = WaitForDialog(IDOK, L"Nosie Reduction", 10000);
            if (!dialog) return;
            HWND player = WaitForOpenPlayer(pagePid, 15000);
            const DWORD pid = PlayerProcess(player);
            listening = player && probe.Start();
            if (!listening) {
                PressButton(dialog, IDCANCEL);
                return;
            }
            // "Less" end (level 0.0), then "More" end (30.0) while it plays.
            LeaveSlider(dialog, 0);
            lessText = DlgText(dialog, CPreviewEffectDlg::IDC_VALUE);
            Sleep(300);
            ticks[0] = (double)GetTickCount64();
            ClickPreview(dialog);
            Sleep((DWORD)stageMs);
            ticks[1] = LeaveSlider(dialog, 300);
            moreText = DlgText(dialog, CPreviewEffectDlg::IDC_VALUE);
            Sleep((DWORD)stageMs);
            ticks[2] = (double)GetTickCount64();
            ClickPreview(dialog);
            PressButton(dialog, IDCANCEL);
            stopped = playertest::WaitProcessEnd(pid, 10000);
        });
        page.OnNoiseReduction();
    }
    ASSERT_TRUE(listening) << "no preview player, or no sink monitor to listen to";
    const playertest::Heard all = playertest::Analyze(probe.Stop(), 0.02);
    EXPECT_EQ(L"-15.0", lessText);
    EXPECT_EQ(L"15.0", moreText);
    EXPECT_TRUE(stopped) << "Cancel ends the preview player";
    const playertest::Heard less = Between(all, probe, ticks[0] + stageMs / 2, ticks[1]);
    const playertest::Heard more = Between(all, probe, ticks[1] + stageMs / 2, ticks[2]);
    ASSERT_GE(less.windows.size(), 5u);
    ASSERT_GE(more.windows.size(), 5u);
    const double noiseCut = 10 * std::log10(playertest::MedianBandPower(less, 2000, 15000, 97) /
                                            playertest::MedianBandPower(more, 2000, 15000, 97));
    const double toneChange =
        10 * std::log10(playertest::MedianTonePower(more, 440) / playertest::MedianTonePower(less, 440));
    printf("noise-reduction preview: noise above 2 kHz %.1f dB down at the \"More\" end, tone %+.1f dB\n",
           noiseCut, toneChange);
    EXPECT_GE(noiseCut, 6.0);
    EXPECT_NEAR(0.0, toneChange, 3.0);
}

TEST_F(EditPlayer, OnePlayAfterThePlayerWasKilledStartsANewOneThatPlays)
{
    const std::wstring wav = Path(L"Gone.wav");
    ASSERT_TRUE(WriteWav(wav, Tone(440, 6, 0.3)));
    ASSERT_TRUE(Open(wav).empty());
    const DWORD killed = PlayerProcess(PagePlayer());
    ASSERT_NE(0u, killed);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, killed);
    ASSERT_NE(nullptr, process);
    ASSERT_TRUE(TerminateProcess(process, 1));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, 10000));
    CloseHandle(process);

    Click(page, CPageEdit::IDC_PLAY);
    // The display never falls back to an empty time while the new player comes.
    std::vector<std::wstring> shown;
    HWND player = nullptr;
    const bool playing = PumpUntil(
        [&] {
            const std::wstring t = TimeText();
            if (shown.empty() || shown.back() != t) shown.push_back(t);
            player = page.Editor()->GetPlayer().GetPlayerWnd();
            return player && PlayerProcess(player) != killed && PlayerState(player) == 2;
        },
        20000);
    EXPECT_TRUE(playing) << "one Play is enough";
    EXPECT_EQ(Path(L"Gone.tmw"), HandedFile()) << "on the work file";
    // While it plays, the display follows the new player against the file's length.
    PumpUntil([&] { return TimeText() != L"00:00:00.00 / 00:00:06.00"; }, 10000);
    shown.push_back(TimeText());
    for (const std::wstring& t : shown) {
        ASSERT_GE(t.size(), 11u);
        EXPECT_EQ(L"00:00:06.00", t.substr(t.size() - 11)) << t;
    }
    Click(page, CPageEdit::IDC_STOP);
    Pump(50);
    if (player) {
        EXPECT_EQ(0, PlayerState(player));
    }
}
