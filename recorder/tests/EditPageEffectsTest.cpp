// The Edit page's effects, automatic split and MP3 opening with real files and
// windows: the parameter dialogs driven from a helper thread, the runner's output
// compared with the effect core's own result on the same input, Undo, cancels
// and failures; the split detector's tracks on tones made by sox; MP3 files made
// by lame with their tags.
#include "EditPageSupport.h"
#include <algorithm>
#include "EditProgressDlg.h"
#include "Driver.h"
#include <cstdlib>
#include <cstring>
#include "AmplifyDlg.h"
#include "Amplify.h"
#include "AutoSplitDlg.h"
#include "EditWorkSet.h"
#include "FileLoadingDlg.h"
#include "FadeInOut.h"
#include "Mp3FileCheck.h"
#include "NoiseReduction.h"
#include "Normalize.h"
#include "NosieReductionDlg.h"
#include "SonelleSettings.h"
#include "WaveEditMessages.h"

namespace {

// The effect core's result for the same source and records, as data bytes.
template <class Effect, class Param>
std::vector<uint8_t> CoreResult(const std::wstring& source, const Param& param, const std::wstring& scratch)
{
    Effect effect;
    effect.SetParam(&param);
    const std::wstring peak = scratch + L".peak";
    if (!effect.Prepare(source, scratch, peak) || !effect.Run()) return {};
    std::vector<uint8_t> data = WavData(scratch);
    DeleteFileW(scratch.c_str());
    DeleteFileW(peak.c_str());
    return data;
}

std::vector<CEffectTrack> ThreeTracks(int rate)
{
    return {{0, 3 * rate, 1}, {3 * rate, 6 * rate, 0}, {6 * rate, 9 * rate, 1}};
}

std::wstring DlgText(HWND dialog, int id)
{
    wchar_t text[100] = {};
    GetDlgItemTextW(dialog, id, text, 100);
    return text;
}

// Moves a dialog's track bar as the user would, ending with the release.
void MoveSlider(HWND dialog, int position)
{
    HWND slider = GetDlgItem(dialog, CPreviewEffectDlg::IDC_SLIDER);
    SendMessageW(slider, TBM_SETPOS, TRUE, position);
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), (LPARAM)slider);
}

class EditEffects : public EditPageFixture {
protected:
    void SetUp() override
    {
        EditPageFixture::SetUp();
        wav = Path(L"Three.wav");
        ASSERT_TRUE(WriteWav(wav, Tone(440, 9, 0.3)));
        ASSERT_TRUE(Open(wav).empty());
        NV_EditWaveFile& doc = page.Editor()->GetDocument();
        doc.AddSplitPoint(3 * 44100, 1);
        doc.AddSplitPoint(6 * 44100, 1);
        Pump(20);
        ASSERT_EQ(3, page.Tracks().GetItemCount());
        page.Tracks().SetCheck(1, FALSE);
        Pump(20);
        tmw = Path(L"Three.tmw");
    }
    // Runs a page command whose dialog `answer` handles from a helper thread;
    // the texts of message boxes that came up otherwise.
    void Run(void (CPageEdit::*command)(), std::function<void()> answer)
    {
        CHelperThread helper(std::move(answer));
        (page.*command)();
        Pump(50);
    }
    std::wstring wav, tmw;
};

}  // namespace

TEST_F(EditEffects, AmplifyRunsOnTheCheckedTracksAndUndoReturnsToTheLoadedFile)
{
    std::wstring shown;
    std::vector<std::wstring> statuses;
    Run(&CPageEdit::OnAmplify, [&] {
        HWND dialog = WaitForDialog(IDOK, L"Amplify", 10000);
        if (!dialog) return;
        MoveSlider(dialog, 15);
        shown = DlgText(dialog, CPreviewEffectDlg::IDC_VALUE);
        PressButton(dialog, IDOK);
        // The runner's status rises while it works.
        HWND runner = WaitForDialog(CEditProgressDlg::IDC_STATUS, nullptr, 10000);
        while (runner && IsWindow(runner)) {
            std::wstring s = DlgText(runner, CEditProgressDlg::IDC_STATUS);
            if (!s.empty() && (statuses.empty() || statuses.back() != s)) statuses.push_back(s);
            Sleep(20);
        }
    });
    EXPECT_EQ(L"200 %", shown);
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(0u, statuses.front().find(L"Amplify  -  ")) << statuses.front().c_str();
    EXPECT_EQ(Path(L"Three.tm1"), std::wstring(page.WorkPath()));
    EXPECT_TRUE(Exists(Path(L"Three.np1")));
    EXPECT_TRUE(page.IsUndoAvailable());
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(page.m_hWnd, CPageEdit::IDC_UNDO)));

    AmplifyParam param;
    param.gain = 2.0f;
    param.tracks = ThreeTracks(44100);
    const std::vector<uint8_t> out = WavData(Path(L"Three.tm1")), in = WavData(tmw);
    ASSERT_EQ(in.size(), out.size());
    EXPECT_EQ(CoreResult<CAmplify>(tmw, param, Path(L"core.wav")), out) << "the samples the amplify core makes";
    const size_t block = 4, a = 3 * 44100 * block, b = 6 * 44100 * block;
    EXPECT_TRUE(std::equal(in.begin() + a, in.begin() + b, out.begin() + a)) << "the unchecked track is untouched";
    EXPECT_FALSE(std::equal(in.begin(), in.begin() + a, out.begin()));

    // A second effect works on the first one's output and writes ".tm2".
    std::wstring question;
    Run(&CPageEdit::OnNormalize, [&] { question = AnswerMessageBox(IDYES, 10000); });
    EXPECT_EQ(L"Do you want to start ?", question);
    EXPECT_EQ(Path(L"Three.tm2"), std::wstring(page.WorkPath()));
    EXPECT_TRUE(Exists(Path(L"Three.np2")));
    EXPECT_TRUE(Exists(Path(L"Three.np1"))) << "the peak file of the first output stays with it";
    NormalizeParam normalize;
    normalize.targetLevel = 0.9f;
    normalize.tracks = ThreeTracks(44100);
    EXPECT_EQ(CoreResult<CNormalize>(Path(L"Three.tm1"), normalize, Path(L"core.wav")), WavData(Path(L"Three.tm2")));

    // Undo: back to the loaded work file, the last output and its peak file gone,
    // and the full-size output before it with its peak file as well.
    Click(page, CPageEdit::IDC_UNDO);
    Pump(100);
    EXPECT_EQ(tmw, std::wstring(page.WorkPath()));
    EXPECT_FALSE(Exists(Path(L"Three.tm2")));
    EXPECT_FALSE(Exists(Path(L"Three.np2")));
    EXPECT_FALSE(Exists(Path(L"Three.tm1"))) << "the intermediate output";
    EXPECT_FALSE(Exists(Path(L"Three.np1")));
    EXPECT_TRUE(Exists(tmw));
    EXPECT_TRUE(Exists(Path(L"Three.npk")));
    EXPECT_FALSE(page.IsUndoAvailable());
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(page.m_hWnd, CPageEdit::IDC_UNDO)));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(page.m_hWnd, CPageEdit::IDC_EFFECT)));
    EXPECT_EQ(in, WavData(tmw)) << "the loaded work file is never changed";
    EXPECT_EQ(3, page.Tracks().GetItemCount()) << "the view keeps its split points";
}

TEST_F(EditEffects, FadeAndNoiseReductionWithTheirDialogDefaults)
{
    int fadeIn = -1, fadeOut = -1, seconds = -1;
    Run(&CPageEdit::OnFadeInOut, [&] {
        HWND dialog = WaitForDialog(IDOK, L"Fade In/Out", 10000);
        if (!dialog) return;
        fadeIn = (int)IsDlgButtonChecked(dialog, 1064);
        fadeOut = (int)IsDlgButtonChecked(dialog, 1065);
        seconds = (int)SendDlgItemMessageW(dialog, 1066, CB_GETCURSEL, 0, 0) + 1;
        PressButton(dialog, IDOK);
    });
    EXPECT_EQ(1, fadeIn);
    EXPECT_EQ(1, fadeOut);
    EXPECT_EQ(3, seconds);
    FadeInOutParam fade;
    fade.fadeIn = fade.fadeOut = 1;
    fade.duration = 3.0f;
    fade.tracks = ThreeTracks(44100);
    ASSERT_EQ(Path(L"Three.tm1"), std::wstring(page.WorkPath()));
    EXPECT_EQ(CoreResult<CFadeInOut>(tmw, fade, Path(L"core.wav")), WavData(Path(L"Three.tm1")));

    std::wstring shown;
    Run(&CPageEdit::OnNoiseReduction, [&] {
        HWND dialog = WaitForDialog(IDOK, L"Nosie Reduction", 10000);
        if (!dialog) return;
        shown = DlgText(dialog, CPreviewEffectDlg::IDC_VALUE);
        PressButton(dialog, IDOK);
    });
    EXPECT_EQ(L"0.0", shown);
    NoiseReductionParam noise;
    noise.level = 15.0f;
    noise.tracks = ThreeTracks(44100);
    ASSERT_EQ(Path(L"Three.tm2"), std::wstring(page.WorkPath()));
    EXPECT_EQ(CoreResult<CNoiseReduction>(Path(L"Three.tm1"), noise, Path(L"core.wav")), WavData(Path(L"Three.tm2")));
}

TEST_F(EditEffects, TheSliderTablesOfTheParameterDialogs)
{
    const struct { int position; const wchar_t* text; float gain; } amplify[] = {
        {0, L"00 %", 0.0f}, {10, L"100 %", 1.0f}, {11, L"120 %", 1.2f}, {20, L"300 %", 3.0f}};
    const struct { int position; const wchar_t* text; float level; } noise[] = {
        {150, L"0.0", 15.0f}, {0, L"-15.0", 0.0f}, {300, L"15.0", 30.0f}};
    CAmplifyDlg amp;
    amp.SetFile(tmw.c_str());
    std::vector<std::wstring> texts;
    std::vector<float> gains;
    {
        CHelperThread helper([&] {
            HWND dialog = WaitForDialog(IDOK, L"Amplify", 10000);
            if (!dialog) return;
            for (const auto& c : amplify) {
                MoveSlider(dialog, c.position);
                texts.push_back(DlgText(dialog, CPreviewEffectDlg::IDC_VALUE));
                gains.push_back(amp.m_fGain);
            }
            PressButton(dialog, IDCANCEL);
        });
        amp.DoModal();
    }
    ASSERT_EQ(4u, texts.size());
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(amplify[i].text, texts[i]);
        EXPECT_FLOAT_EQ(amplify[i].gain, gains[i]);
    }
    CNosieReductionDlg nr;
    nr.SetFile(tmw.c_str());
    texts.clear();
    std::vector<float> levels;
    std::vector<int> ticks;
    {
        CHelperThread helper([&] {
            HWND dialog = WaitForDialog(IDOK, L"Nosie Reduction", 10000);
            if (!dialog) return;
            HWND slider = GetDlgItem(dialog, 1061);
            ticks.push_back((int)SendMessageW(slider, TBM_GETNUMTICS, 0, 0));
            if (const char* dir = std::getenv("SONELLE_PICTURES_DIR")) {
                // A picture for a person to look at (under Xvfb): the slider with its marks.
                Sleep(1000);
                drv::SaveWindowPicture(dialog, std::wstring(dir, dir + strlen(dir)) + L"\\noise.bmp");
            }
            for (int i = 0; i < 5; ++i) ticks.push_back((int)SendMessageW(slider, TBM_GETTIC, i, 0));
            for (const auto& c : noise) {
                MoveSlider(dialog, c.position);
                texts.push_back(DlgText(dialog, CPreviewEffectDlg::IDC_VALUE));
                levels.push_back(nr.m_fLevel);
            }
            PressButton(dialog, IDCANCEL);
        });
        nr.DoModal();
    }
    // Seven tick marks, 0 to 300 in steps of 50 (the two ends included).
    EXPECT_EQ((std::vector<int>{7, 50, 100, 150, 200, 250}), ticks);
    ASSERT_EQ(3u, texts.size());
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(noise[i].text, texts[i]);
        EXPECT_FLOAT_EQ(noise[i].level, levels[i]);
    }
}

TEST_F(EditEffects, CancellingTheRunnerAndAFailingWorker)
{
    // A long file, so the run is still going when Cancel is pressed, even on an idle machine.
    const std::wstring longWav = Path(L"Long.wav");
    ASSERT_TRUE(WriteWav(longWav, Tone(440, 720, 0.3)));
    ASSERT_TRUE(Open(longWav).empty());
    const std::wstring work = Path(L"Long.tmw");
    std::wstring first, second;
    bool stillRunningAfterNo = false;
    Run(&CPageEdit::OnNoiseReduction, [&] {
        HWND dialog = WaitForDialog(IDOK, L"Nosie Reduction", 10000);
        if (!dialog) return;
        PressButton(dialog, IDOK);
        HWND runner = WaitForDialog(CEditProgressDlg::IDC_STATUS, nullptr, 10000);
        if (!runner) return;
        Sleep(400);
        PressButton(runner, IDCANCEL);
        first = AnswerMessageBox(IDNO, 10000);
        Sleep(300);
        stillRunningAfterNo = IsWindow(runner) != FALSE;
        PressButton(runner, IDCANCEL);
        second = AnswerMessageBox(IDYES, 10000);
    });
    EXPECT_EQ(L"Do you want to disable \"Noise Reduction\"?", first);
    EXPECT_TRUE(stillRunningAfterNo) << "No lets the run go on";
    EXPECT_EQ(first, second);
    EXPECT_EQ(work, std::wstring(page.WorkPath())) << "the view stays on the work file";
    EXPECT_FALSE(Exists(Path(L"Long.tm1")));
    EXPECT_FALSE(Exists(Path(L"Long.np1")));
    EXPECT_FALSE(page.IsUndoAvailable());

    // An output that cannot be made: the worker fails, the run ends with 0, no message.
    ASSERT_TRUE(CreateDirectoryW(Path(L"Long.tm1").c_str(), nullptr));
    std::vector<std::wstring> boxes;
    {
        CMessageBoxAnswerer answerer;
        Run(&CPageEdit::OnAmplify, [&] {
            HWND dialog = WaitForDialog(IDOK, L"Amplify", 10000);
            if (dialog) PressButton(dialog, IDOK);
        });
        boxes = answerer.Texts();
    }
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(work, std::wstring(page.WorkPath()));
    EXPECT_FALSE(page.IsUndoAvailable());
    RemoveDirectoryW(Path(L"Long.tm1").c_str());
}

// Files made by the peer tools: sox's tones (12 s of 440, 660 and 880 Hz with 2 s of
// silence between) for the automatic split, lame's tagged MP3 files for opening.
class EditFixtureFiles : public EditPageFixture {
protected:
    void SetUp() override
    {
        EditPageFixture::SetUp();
        fixtures = testsignal::FixtureFolder();
        if (fixtures.empty()) GTEST_SKIP() << "SONELLE_FIXTURES is not set";
    }
    // Opens a copy of a fixture and splits it; the interior split points.
    std::vector<int32_t> Split(const wchar_t* name, int minSeconds = 10)
    {
        std::wstring copy = Path(name);
        CopyFileW((fixtures + name).c_str(), copy.c_str(), FALSE);
        if (!Open(copy).empty()) return {};
        return SplitAgain(minSeconds);
    }
    std::vector<int32_t> SplitAgain(int minSeconds = 10)
    {
        g_Settings.nAutoSplitMinDuration = (DWORD)minSeconds;
        page.OnAutoSplit();
        g_Settings.nAutoSplitMinDuration = 10;
        Pump(50);
        std::vector<int32_t> points;
        CTrackList list = page.Editor()->GetDocument().GetSplitPoints();
        for (int i = 1; i + 1 < list.GetCount(); ++i) points.push_back(list.PositionOf(i));
        return points;
    }
    std::wstring fixtures;
};

TEST_F(EditFixtureFiles, TheTonesBecomeThreeTracks)
{
    const std::vector<int32_t> expected = {616448, 1233920};
    EXPECT_EQ(expected, Split(L"tones.wav"));
    ASSERT_EQ(3, page.Tracks().GetItemCount());
    EXPECT_EQ(L"00 : 00 : 13.98", Cell(1, 1));
    EXPECT_EQ(L"tones_Track03", Cell(2, 3));
    EXPECT_EQ(expected, SplitAgain()) << "a second run gives the same points";
    EXPECT_EQ(std::vector<int32_t>{1233920}, SplitAgain(15)) << "minimum duration 15 s";
}

TEST_F(EditFixtureFiles, EightBitAndMonoCopiesSplitAlike)
{
    EXPECT_EQ((std::vector<int32_t>{616448, 1233920}), Split(L"tones8.wav"));
    EXPECT_EQ((std::vector<int32_t>{616448, 1233920}), Split(L"tones_mono.wav"));
}

namespace {

// The percentages the automatic split's dialog takes from its queue.
std::vector<int> g_progressTaken;
LRESULT CALLBACK TakeProgress(int code, WPARAM removed, LPARAM lParam)
{
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && removed == PM_REMOVE && msg->message == WM_WAVEEDIT_PEAKPROGRESS)
        g_progressTaken.push_back((int)msg->lParam);
    return CallNextHookEx(nullptr, code, removed, lParam);
}

}  // namespace

TEST_F(EditPageFixture, AutoSplitCancelEndsSoonAndKeepsThePointsFound)
{
    // A tone, 2 s of silence and five minutes of another tone: the split is still
    // reading long after its first point, even on an idle machine.
    Pcm pcm = Tone(440, 12, 0.5, 1);
    Append(pcm, Tone(440, 2, 0.0, 1));
    Append(pcm, Tone(660, 300, 0.5, 1));
    const std::wstring wav = Path(L"Long.wav");
    ASSERT_TRUE(WriteWav(wav, pcm));
    pcm.bytes.clear();
    ASSERT_TRUE(Open(wav).empty());
    DWORD answered = 0, gone = 0, ended = 0;
    std::wstring question, status;
    g_progressTaken.clear();
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, TakeProgress, nullptr, GetCurrentThreadId());
    {
        CHelperThread helper([&] {
            HWND dialog = WaitForDialog(CEditProgressDlg::IDC_STATUS, nullptr, 10000);
            if (!dialog) return;
            // After the first point (its row appears), cancel.
            for (int i = 0; i < 1000 && page.Tracks().GetItemCount() < 2; ++i) Sleep(5);
            PressButton(dialog, IDCANCEL);
            drv::MessageBoxInfo box = drv::WaitForMessageBox(GetCurrentProcessId(), 10000);
            question = box.text;
            status = DlgText(dialog, CEditProgressDlg::IDC_STATUS);
            answered = GetTickCount();
            if (box.window) drv::AnswerMessageBox(box, IDYES);
            while (IsWindow(dialog) && IsWindowVisible(dialog) && GetTickCount() - answered < 10000) Sleep(5);
            gone = GetTickCount();
        });
        page.OnAutoSplit();
        ended = GetTickCount();
    }
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(L"Do you want to disable \"Auto Split\"?", question);
    EXPECT_EQ(std::wstring::npos, status.find(L"100 %")) << "cancelled while it ran: " << status.c_str();
    // Each percentage is queued once: a message per block would queue thousands of
    // them ahead of the user's Yes, which then took seconds to arrive.
    ASSERT_FALSE(g_progressTaken.empty());
    EXPECT_TRUE(std::is_sorted(g_progressTaken.begin(), g_progressTaken.end()));
    EXPECT_TRUE(std::adjacent_find(g_progressTaken.begin(), g_progressTaken.end()) == g_progressTaken.end())
        << "a percentage queued twice; " << g_progressTaken.size() << " messages";
    printf("cancel answered Yes: dialog gone after %lu ms, the split returned after %lu ms\n",
           (unsigned long)(gone - answered), (unsigned long)(ended - answered));
    // Tens of milliseconds as a rule; a loaded machine can stall the thread for more.
    EXPECT_LT(gone - answered, 3000u);
    EXPECT_LT(ended - answered, 3000u);
    CTrackList list = page.Editor()->GetDocument().GetSplitPoints();
    ASSERT_EQ(3, list.GetCount());
    EXPECT_EQ(616448, list.PositionOf(1)) << "the point found before the cancel stays";
    EXPECT_EQ(2, page.Tracks().GetItemCount());
}

TEST_F(EditFixtureFiles, AnMp3WithAnId3v2TagOpensThroughItsCopy)
{
    const std::wstring copy = Path(L"tagged.mp3");
    CopyFileW((fixtures + L"tagged.mp3").c_str(), copy.c_str(), FALSE);
    ASSERT_TRUE(Open(copy).empty());
    ASSERT_TRUE(page.IsFileOpen());
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    EXPECT_EQ(std::wstring(temp) + L"TmpF\\tagged.tmw", std::wstring(page.LoadedWorkPath()));
    EXPECT_FALSE(Exists(std::wstring(temp) + L"TmpF\\tagged.nv0")) << "the copy goes with the dialog";
    EXPECT_EQ(L"Edit Title", std::wstring(page.Tags().title));
    EXPECT_EQ(L"Edit Artist", std::wstring(page.Tags().artist));
    EXPECT_EQ(L"Edit Album", std::wstring(page.Tags().album));
    EXPECT_EQ(2021, page.Tags().year);
    ASSERT_EQ(1, page.Tracks().GetItemCount());
    EXPECT_EQ(L"tagged_Track01", Cell(0, 3));
    int32_t start, end, flag;
    ASSERT_TRUE(page.Editor()->GetDocument().GetSplitPoints().GetTrack(0, start, end, flag));
    EXPECT_NEAR(5.0, (double)(end - start) / page.Tracks().Row(0)->sampleRate, 0.1);

    const std::wstring old = Path(L"v1only.mp3");
    CopyFileW((fixtures + L"v1only.mp3").c_str(), old.c_str(), FALSE);
    ASSERT_TRUE(Open(old).empty());
    EXPECT_EQ(Path(L"v1only.tmw"), std::wstring(page.LoadedWorkPath())) << "ID3v1 only: converted directly";
    EXPECT_EQ(L"Old Title", std::wstring(page.Tags().title));
    EXPECT_EQ(L"Old Album", std::wstring(page.Tags().album));
    EXPECT_EQ(1999, page.Tags().year);
    EXPECT_FALSE(Exists(std::wstring(temp) + L"TmpF\\tagged.tmw")) << "the previous work set went";
}

TEST_F(EditFixtureFiles, AnMp3IsNotShownThroughTheWorkSetOfAWavOfItsName)
{
    // What the MP3 sounds like in a work WAV, and how long that is.
    const std::wstring mp3 = Path(L"Same.mp3"), wav = Path(L"Same.wav"), tmw = Path(L"Same.tmw");
    ASSERT_TRUE(CopyFileW((fixtures + L"v1only.mp3").c_str(), mp3.c_str(), FALSE));
    ASSERT_TRUE(Open(mp3).empty());
    const std::vector<uint8_t> decoded = WavData(tmw);
    ASSERT_FALSE(decoded.empty());
    Open(Path(L"none.wav"));  // closes the MP3 and deletes its work set
    ASSERT_FALSE(Exists(tmw));

    // A WAV of the same name and the same length: its work set is left over as
    // after a crash ...
    Pcm same = Tone(880, (double)decoded.size() / 4 / 44100 + 1, 0.5);
    same.bytes.resize(decoded.size());
    ASSERT_TRUE(WriteWav(wav, same));
    {
        EditTagRecord tags;
        CFileLoadingDlg loading;
        loading.SetSource(wav.c_str(), &tags);
        loading.DoModal();
        ASSERT_EQ(1, loading.GetResult());
    }
    ASSERT_TRUE(WavData(tmw) == same.bytes);

    // ... and opening the MP3 shows the MP3.
    ASSERT_TRUE(Open(mp3).empty());
    EXPECT_TRUE(WavData(tmw) == decoded) << "converted again from the MP3";
}
