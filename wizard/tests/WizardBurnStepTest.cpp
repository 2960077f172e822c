// The disc-writing step (page 346) hosted with its wizard: a WAV burned as an
// MP3 CD is converted and its output deleted after writing (the source stays,
// closing is refused while writing); a file that cannot be opened is refused
// with its path and a short track says why; a write that fails shows the sense
// fields and, with the burn-text module, opens the burn-option tool; Stop
// deletes only what the page converted.
#include "WizardTestSupport.h"
#include "ConvertFile.h"
#include "DiscTestKit.h"
#include "Driver.h"
#include "FullVolume.h"
#include "ModuleLoader.h"
#include "TestSignal.h"
#include "WizGlobals.h"
#include "WizSettings.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <map>

using namespace wiztest;

namespace {

std::wstring Fresh(const wchar_t* name)
{
    std::wstring folder = testsignal::TempPath(name);
    disctest::RemoveTree(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class BurnStep : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (const wchar_t* m : {L"Vossel.ax", L"NVNoiseReduction.ax", L"NVAudioAnalyer.ax", L"NVMp3Enc.ax", L"Tarrow.ax"})
            ASSERT_TRUE(testsignal::RegisterModule(m)) << m;
    }
    void SetUp() override
    {
        ResetWizardGlobals();
        m_sources = Fresh(L"WizBurnSources");
        m_images = Fresh(L"WizBurnImages");
    }
    void TearDown() override
    {
        disctest::RemoveTree(m_sources.substr(0, m_sources.size() - 1));
        disctest::RemoveTree(m_images.substr(0, m_images.size() - 1));
    }

    std::wstring Wav(const wchar_t* name, double seconds, int seed = 1)
    {
        std::wstring path = m_sources + name;
        disctest::WriteBytes(path, disctest::MakeWav(seconds, 44100, 2, 16, seed));
        return path;
    }

    // An MP3 made from a WAV by the engine's converter.
    std::wstring Mp3(HostedWizard& wizard, const wchar_t* name, double seconds)
    {
        std::wstring wav = Wav(L"for-mp3.wav", seconds, 7);
        std::wstring mp3 = m_sources + name;
        CConvertFile converter;
        EXPECT_TRUE(converter.OpenFileToMp3(wizard.dialog.m_hWnd, wav.c_str(), mp3.c_str()));
        EXPECT_TRUE(converter.Run());
        long result = 0;
        for (int i = 0; i < 600 && result != 1 && result != 3; ++i) {
            Pump(50);
            result = converter.WaitForCompletion();
        }
        converter.Close();
        EXPECT_EQ(1, result);
        DeleteFileW(wav.c_str());
        return mp3;
    }

    // The wizard on the disc-writing step, come through the burner step (which
    // chooses the writer) as Burn leads there.
    CStep6Dlg& ShowBurnStep(HostedWizard& wizard, int outputType, const std::vector<std::wstring>& recorded)
    {
        g_WizSettings.nWizOutputType = outputType;
        for (const std::wstring& file : recorded) g_WizSettings.recordedFiles.push_back(file.c_str());
        wizard.dialog.EnsureDiscLibrary();
        EXPECT_TRUE(wizard.dialog.ActivatePage(&wizard.pages->step5));
        PumpUntil([&] { return wizard.pages->step5.IsListFilled() != FALSE; }, 10000);
        EXPECT_TRUE(wizard.dialog.ActivatePage(&wizard.pages->step6));
        return wizard.pages->step6;
    }

    void Burn(CStep6Dlg& page)
    {
        PostMessageW(page.m_hWnd, WM_COMMAND, MAKEWPARAM(CStep6Dlg::IDC_BURN, BN_CLICKED),
                     (LPARAM)GetDlgItem(page.m_hWnd, CStep6Dlg::IDC_BURN));
    }

    // Pumps until `done` or the time is up.
    template <class F> bool PumpUntil(F done, DWORD ms)
    {
        for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Pump(20))
            if (done()) return true;
        return done();
    }

    std::wstring m_sources, m_images;
};

}  // namespace

TEST_F(BurnStep, AWavForAnMp3CdIsConvertedWrittenAndItsOutputDeletedClosingWaitsForTheWrite)
{
    disctest::CWriterIni ini;
    ini.AddWriter({L"Name=Slow Writer", L"Medium=cdr", L"Speed=1", L"ImageFolder=" + m_images.substr(0, m_images.size() - 1)});
    const std::wstring wav = Wav(L"Take One.wav", 6.0);
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    CStep6Dlg& page = ShowBurnStep(wizard, 1, {wav});
    ASSERT_EQ(1, page.m_list.GetItemCount());
    EXPECT_TRUE(g_WizSettings.recordedFiles.empty()) << "the recorded-file list is taken over";
    SetWindowTextW(page.m_album.m_hWnd, L"Converted Album");

    BoxAnswerer answer(IDOK, 120000);
    Burn(page);
    ASSERT_TRUE(PumpUntil([&] { return page.GetBusyState() == CStep6Dlg::BusyWriting; }, 60000)) << "writing starts";
    ASSERT_EQ(1u, page.ConvertList().size());
    const std::wstring converted = page.ConvertList()[0].path.str();
    EXPECT_EQ(1, page.ConvertList()[0].converted);
    EXPECT_EQ(page.GetAlbumPath().str() + L"[01] Take One.mp3", converted);
    EXPECT_TRUE(Exists(converted));
    EXPECT_EQ(3, wizard.dialog.GetBusy());
    SendMessageW(wizard.dialog.m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(wizard.dialog.m_hWnd)) << "closing is refused while the disc is written";
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page.m_hWnd, CStep6Dlg::IDC_BURN)));

    ASSERT_TRUE(PumpUntil([&] { return !page.IsBusy(); }, 120000));
    EXPECT_EQ(L"Successfully burned.", answer.Wait());
    EXPECT_FALSE(Exists(converted)) << "the converted file goes after writing";
    EXPECT_FALSE(Exists(page.GetAlbumPath().str())) << "with the page's own album folder";
    EXPECT_TRUE(Exists(wav)) << "the source stays";
    EXPECT_EQ(0, wizard.dialog.GetBusy());
    EXPECT_FALSE(ini.Value(1, L"LastImage").empty()) << "an image was written";
}

TEST_F(BurnStep, AFileThatCannotBeOpenedIsRefusedWithItsPathAndAShortTrackSaysWhy)
{
    disctest::CWriterIni ini;
    ini.AddWriter({L"Name=Image Writer", L"Medium=cdr", L"ImageFolder=" + m_images.substr(0, m_images.size() - 1)});
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    const std::wstring mp3 = Mp3(wizard, L"whole.mp3", 3.0);
    // An MP3 cut after its first bytes: no frame is left to play.
    std::vector<unsigned char> bytes = disctest::ReadBytes(mp3);
    bytes.resize(300);
    const std::wstring truncated = m_sources + L"truncated.mp3";
    disctest::WriteBytes(truncated, bytes);
    const std::wstring shortWav = Wav(L"short.wav", 3.0);
    std::wstring text;
    {
        BoxAnswerer answer(IDOK, 60000);
        CStep6Dlg& page = ShowBurnStep(wizard, 0, {truncated, shortWav});
        text = answer.Wait();
        EXPECT_EQ(1, page.m_list.GetItemCount()) << "only the WAV is listed";
    }
    EXPECT_EQ(L"Error opening file!\n" + truncated, text);

    CStep6Dlg& page = wizard.pages->step6;
    {
        BoxAnswerer answer(IDOK, 30000);
        EXPECT_FALSE(page.StartBurn());
        text = answer.Wait();
    }
    EXPECT_NE(std::wstring::npos, text.find(L"at least 4.0 seconds")) << std::string(text.begin(), text.end());
    EXPECT_FALSE(page.IsBusy());

    // With the burn-text module the short track can be unchecked (Retry): nothing is left to burn.
    g_hBurnTextModule = LoadLibraryW((drv::OwnFolder() + L"testmodules\\SonelleExtra3.dll").c_str());
    ASSERT_NE(nullptr, g_hBurnTextModule);
    {
        BoxAnswerer answer(IDRETRY, 30000);
        EXPECT_FALSE(page.StartBurn());
        text = answer.Wait();
    }
    EXPECT_EQ(L"A track shorter than 4.0 seconds cannot go on an Audio CD (4.0 seconds at least).", text);
    EXPECT_FALSE(page.m_list.GetCheck(0)) << "Retry unchecks the short track";
    FreeLibrary(g_hBurnTextModule);
    g_hBurnTextModule = nullptr;
}

TEST_F(BurnStep, AFailedAudioWriteShowsTheSenseFieldsAndOpensTheBurnOptionTool)
{
    CFullVolume volume(L'V', 64 * 1024);
    if (!volume.Ok()) GTEST_SKIP() << volume.Why();
    disctest::CWriterIni ini;
    ini.AddWriter({L"Name=Image Writer", L"Medium=cdr", L"ImageFolder=V:\\"});
    const std::wstring wav = Wav(L"long.wav", 6.0);
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    CStep6Dlg& page = ShowBurnStep(wizard, 0, {wav});

    // Without the burn-text module: the library's failure with its sense fields.
    std::wstring text, title;
    {
        BoxAnswerer answer(IDOK, 120000);
        Burn(page);
        PumpUntil([&] { return page.GetBusyState() == CStep6Dlg::BusyWriting; }, 60000);
        PumpUntil([&] { return !page.IsBusy(); }, 120000);
        text = answer.Wait();
        title = answer.title;
    }
    EXPECT_EQ(0u, text.find(L"Burning failed.\nSenseKey : ")) << std::string(text.begin(), text.end());
    EXPECT_EQ(std::wstring((const wchar_t*)g_szWindowTitle), title);
    EXPECT_TRUE(Exists(wav));

    // With it: the module's text, titled with the installation folder, then Tessamo.exe.
    // The failed disc was ejected: a new one goes in.
    disctest::CWriterIni again;
    again.AddWriter({L"Name=Image Writer", L"Medium=cdr", L"ImageFolder=V:\\"});
    drv::RegWriteDword(HKEY_CURRENT_USER, kKey, L"BurnMode", 2);
    g_hBurnTextModule = LoadLibraryW((drv::OwnFolder() + L"testmodules\\SonelleExtra3.dll").c_str());
    ASSERT_NE(nullptr, g_hBurnTextModule);
    {
        BoxAnswerer answer(IDOK, 120000);
        Burn(page);
        PumpUntil([&] { return page.GetBusyState() == CStep6Dlg::BusyWriting; }, 60000);
        PumpUntil([&] { return !page.IsBusy(); }, 120000);
        text = answer.Wait();
        title = answer.title;
    }
    FreeLibrary(g_hBurnTextModule);
    g_hBurnTextModule = nullptr;
    EXPECT_EQ(0u, text.find(L"The disc could not be written with these burn options.\nSenseKey : "))
        << std::string(text.begin(), text.end());
    EXPECT_EQ(std::wstring((const wchar_t*)g_szAppPath), title);
    HWND tool = drv::WaitForWindow(L"#32770", L"Burn Options", 0, 20000);
    ASSERT_NE(nullptr, tool) << "Tessamo.exe is opened";
    PostMessageW(tool, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(drv::WaitForWindowGone(tool, 10000));
    DWORD mode = 0;
    EXPECT_TRUE(drv::RegReadDword(HKEY_CURRENT_USER, kKey, L"BurnMode", &mode));
    EXPECT_EQ(2u, mode) << "Cancel stores nothing; the wizard only reads the mode";
}

TEST_F(BurnStep, StopDeletesOnlyWhatThePageConverted)
{
    disctest::CWriterIni ini;
    ini.AddWriter({L"Name=Image Writer", L"Medium=cdr", L"ImageFolder=" + m_images.substr(0, m_images.size() - 1)});
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    const std::wstring mp3 = Mp3(wizard, L"kept.mp3", 5.0);
    const std::wstring wav = Wav(L"long.wav", 200.0);
    CStep6Dlg& page = ShowBurnStep(wizard, 1, {mp3, wav});
    ASSERT_EQ(2, page.m_list.GetItemCount());
    Burn(page);
    ASSERT_TRUE(PumpUntil([&] { return page.ConvertList().size() == 2; }, 60000)) << "the WAV's conversion runs";
    EXPECT_EQ(0, page.ConvertList()[0].converted) << "the MP3 goes to the disc as it is";
    const std::wstring converted = page.ConvertList()[1].path.str();
    EXPECT_EQ(2, wizard.dialog.GetBusy()) << "converting";
    Burn(page);   // Stop
    ASSERT_TRUE(PumpUntil([&] { return !page.IsBusy(); }, 20000));
    EXPECT_FALSE(Exists(converted)) << "the converted file is deleted";
    EXPECT_TRUE(Exists(mp3)) << "the source written unchanged stays";
    EXPECT_TRUE(Exists(wav));
    EXPECT_EQ(0, wizard.dialog.GetBusy());
    EXPECT_TRUE(ini.Value(1, L"LastImage").empty()) << "no disc was written";
}

// An MP3 the user added goes to an MP3 CD as it is: nothing is written into it,
// its own tag stays (the wizard's own recordings take the album's tag).
TEST_F(BurnStep, AnMp3TheUserAddedGoesToTheDiscAsItIsAndKeepsItsOwnTag)
{
    disctest::CWriterIni ini;
    ini.AddWriter({L"Name=Image Writer", L"Medium=cdr", L"ImageFolder=" + m_images.substr(0, m_images.size() - 1)});
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    const std::wstring mp3 = Mp3(wizard, L"users.mp3", 4.5);
    std::vector<unsigned char> bytes = disctest::ReadBytes(mp3);
    std::vector<unsigned char> tag(128, 0);
    memcpy(tag.data(), "TAGThe user's own title", 23);
    tag[127] = 12;
    bytes.insert(bytes.end(), tag.begin(), tag.end());
    ASSERT_TRUE(disctest::WriteBytes(mp3, bytes));
    const std::wstring recording = m_sources + L"recorded.mp3";
    ASSERT_TRUE(CopyFileW(Mp3(wizard, L"for-recording.mp3", 4.5).c_str(), recording.c_str(), FALSE));
    CStep6Dlg& page = ShowBurnStep(wizard, 1, {recording});
    ASSERT_TRUE(page.AddOneFile(mp3.c_str()));
    SetWindowTextW(page.m_album.m_hWnd, L"Another Album");

    BoxAnswerer answer(IDOK, 120000);
    Burn(page);
    ASSERT_TRUE(PumpUntil([&] { return page.IsBusy() != FALSE; }, 10000));
    ASSERT_TRUE(PumpUntil([&] { return !page.IsBusy(); }, 120000));
    EXPECT_EQ(L"Successfully burned.", answer.Wait());
    EXPECT_FALSE(ini.Value(1, L"LastImage").empty()) << "an image was written";
    EXPECT_EQ(bytes, disctest::ReadBytes(mp3)) << "the user's file is as it was";
    const std::vector<unsigned char> recorded = disctest::ReadBytes(recording);
    ASSERT_GT(recorded.size(), 128u);
    EXPECT_EQ(0, memcmp(recorded.data() + recorded.size() - 128, "TAG", 3)) << "the recording takes the album's tag";
    EXPECT_EQ(0, memcmp(recorded.data() + recorded.size() - 128 + 63, "Another Album", 13));
}

namespace {

double Luminance(COLORREF c)
{
    auto linear = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(GetRValue(c)) + 0.7152 * linear(GetGValue(c)) + 0.0722 * linear(GetBValue(c));
}

double Contrast(COLORREF a, COLORREF b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

// Under the mouse the Burn face turns orange: its caption must stay readable there
// (the contrast a reader needs, 4.5 : 1), as on the other steps' buttons.
TEST_F(BurnStep, TheBurnCaptionStaysReadableOnTheHoverFace)
{
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    CStep6Dlg& page = ShowBurnStep(wizard, 1, {});
    wizard.dialog.ShowWindow(SW_SHOWNOACTIVATE);
    CBButton& burn = page.m_btnBurn;
    burn.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    ASSERT_TRUE(burn.IsHover());
    RedrawWindow(burn.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump(100);
    // The face: the commonest colour of the button's pixels.
    RECT client = {};
    GetClientRect(burn.m_hWnd, &client);
    std::map<COLORREF, int> counts;
    HDC dc = GetDC(burn.m_hWnd);
    for (int y = 2; y < client.bottom - 2; y += 2)
        for (int x = 2; x < client.right - 2; x += 2) ++counts[GetPixel(dc, x, y)];
    ReleaseDC(burn.m_hWnd, dc);
    ReleaseCapture();
    COLORREF face = 0;
    int most = 0;
    for (const auto& c : counts)
        if (c.second > most) most = c.second, face = c.first;
    ASSERT_GT(most, 0);
    EXPECT_GE(Contrast(face, burn.GetHoverTextColor()), 4.5)
        << std::hex << "face 0x" << face << ", caption 0x" << burn.GetHoverTextColor();
}
