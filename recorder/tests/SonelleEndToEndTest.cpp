// Sonelle.exe as a user meets it: started from a test installation folder, found
// by its window, closed with its exit button; checked through the registry, the
// files it leaves and the starter it starts again.
#include "Driver.h"
#include "DropRecord.h"
#include "EndToEndSupport.h"
#include <gtest/gtest.h>
#include <shlobj.h>
#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace {

const wchar_t* const kKey = kSonelleKey;

class SonelleEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        // One installation per test: a starter started by the last test may still
        // hold its file for a moment.
        static int count = 0;
        m_install = std::wstring(temp) + L"SonelleInstall" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                    std::to_wstring(++count) + L"\\";
        drv::RemoveTree(m_install.substr(0, m_install.size() - 1));
        ASSERT_TRUE(CreateDirectoryW(m_install.c_str(), nullptr));
        const std::wstring bin = drv::OwnFolder();
        // The program and the disc libraries it links at load time.
        for (const wchar_t* file : {L"Sonelle.exe", L"NVDataCDDVD.dll", L"NVAudioCD.dll"})
            ASSERT_TRUE(CopyFileW((bin + file).c_str(), (m_install + file).c_str(), FALSE)) << file;
        ASSERT_TRUE(CopyFileW((bin + L"StarterDouble.exe").c_str(), (m_install + L"SonelleStarter.exe").c_str(), FALSE));
        // The program links the core-audio library, which is installed beside it.
        ASSERT_TRUE(CopyFileW((bin + L"NVCoreAudio.dll").c_str(), (m_install + L"NVCoreAudio.dll").c_str(), FALSE));

        m_title = L"Sonelle Test " + std::to_wstring(GetCurrentProcessId());
        m_wizardTitle = L"Sonelle Wizard Test " + std::to_wstring(GetCurrentProcessId());
        m_launchTitle = L"Sonelle Launch Test " + std::to_wstring(GetCurrentProcessId());
        m_installation.Set(m_install, m_title, m_wizardTitle, m_launchTitle);
        drv::RegDeleteTree(HKEY_CURRENT_USER, kKey);
    }

    void TearDown() override
    {
        const std::wstring folder = m_install.substr(0, m_install.size() - 1);
        for (int i = 0; i < 40 && FolderExists(folder); ++i) {
            drv::RemoveTree(folder);
            if (FolderExists(folder)) Sleep(50);
        }
    }

    // Starts the recorder; returns its main window, or null when none appeared.
    HWND Start(drv::Process& process, const std::wstring& arguments = L"", DWORD timeoutMs = 15000)
    {
        EXPECT_TRUE(process.Start(m_install + L"Sonelle.exe", arguments, m_install));
        return WaitShown(drv::WaitForWindow(L"#32770", m_title, process.Id(), timeoutMs));
    }

    // The window has its caption before its initialisation (which opens the mixer
    // and walks the sound devices) is over; it is shown after that.
    static HWND WaitShown(HWND window) { return drv::WaitUntilShown(window, 15000); }

    // Closes it with the exit button, as a user does.
    void Exit(drv::Process& process, HWND window)
    {
        ASSERT_TRUE(drv::ClickControl(WaitShown(window), 1005));
        ASSERT_TRUE(process.WaitForExit(15000)) << "the recorder did not end";
    }

    // Runs one start and a normal exit.
    void RunOnce(const std::wstring& arguments = L"")
    {
        drv::Process process;
        HWND window = Start(process, arguments);
        ASSERT_NE(nullptr, window);
        Exit(process, window);
    }

    std::wstring StarterRecord() const { return m_install + L"SonelleStarter.args"; }

    CSavedInstallation m_installation;
    std::wstring m_install, m_title, m_wizardTitle, m_launchTitle;
};

}  // namespace

TEST_F(SonelleEndToEnd, MainWindowHasTheTitleAndBothPagesAreReachable)
{
    drv::Process process;
    HWND window = Start(process);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(m_title, drv::WindowText(window));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, 1000))) << "the Record page is shown first";
    ASSERT_TRUE(drv::ClickControl(window, 1001));
    for (int i = 0; i < 100 && !IsWindowEnabled(GetDlgItem(window, 1000)); ++i) Sleep(20);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, 1000)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, 1001))) << "the Edit page is shown";
    ASSERT_TRUE(drv::ClickControl(window, 1000));
    for (int i = 0; i < 100 && IsWindowEnabled(GetDlgItem(window, 1000)); ++i) Sleep(20);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, 1000)));

    // Enter and Escape do not close it.
    PostMessageW(window, WM_COMMAND, IDOK, 0);
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(process.WaitForExit(500));
    Exit(process, window);
    EXPECT_EQ(0u, process.ExitCode());
}

namespace {

// The page dialogs inside the main window.
std::vector<HWND> Pages(HWND window)
{
    std::vector<HWND> pages;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (drv::WindowClass(child) == L"#32770") pages.push_back(child);
    return pages;
}
}  // namespace

TEST_F(SonelleEndToEnd, MainWindowIsSkinnedFromItsOwnPicturesOrTheSkinModule)
{
    for (bool skinModule : {false, true}) {
        SCOPED_TRACE(skinModule ? "skin module" : "own pictures");
        if (skinModule) {
            ASSERT_TRUE(CopyFileW((drv::OwnFolder() + L"sSonelleADVSkin.dll").c_str(),
                                  (m_install + L"sSonelleADVSkin.dll").c_str(), FALSE));
        }
        drv::Process process;
        HWND window = Start(process);
        ASSERT_NE(nullptr, window);
        RECT frame = {};
        GetWindowRect(window, &frame);
        EXPECT_EQ(1000, frame.right - frame.left) << "sized to the background picture";
        EXPECT_EQ(680, frame.bottom - frame.top);
        EXPECT_TRUE(drv::HasWindowShape(window)) << "rounded window";
        for (int id : {1000, 1001, 1003, 1004, 1005}) {
            EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, id))) << id;
            EXPECT_TRUE(drv::HasWindowShape(GetDlgItem(window, id))) << id << ": its picture strip was loaded";
        }

        std::vector<HWND> pages = Pages(window);
        ASSERT_EQ(1u, pages.size()) << "the Record page only";
        const HWND recordPage = pages[0];
        RECT place = {};
        GetWindowRect(recordPage, &place);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
        EXPECT_EQ(17, place.left);
        EXPECT_EQ(79, place.top);
        EXPECT_EQ(966, place.right - place.left);
        EXPECT_EQ(582, place.bottom - place.top);

        ASSERT_TRUE(drv::ClickControl(window, 1001));
        for (int i = 0; i < 100 && Pages(window).size() < 2; ++i) Sleep(20);
        pages = Pages(window);
        ASSERT_EQ(2u, pages.size()) << "the Edit page is made on first use";
        const HWND editPage = pages[0] == recordPage ? pages[1] : pages[0];
        for (int i = 0; i < 100 && !IsWindowEnabled(GetDlgItem(window, 1000)); ++i) Sleep(20);
        EXPECT_FALSE(IsWindowVisible(recordPage));
        EXPECT_TRUE(IsWindowVisible(editPage));
        ASSERT_TRUE(drv::ClickControl(window, 1000));
        for (int i = 0; i < 100 && !IsWindowVisible(recordPage); ++i) Sleep(20);
        EXPECT_TRUE(IsWindowVisible(recordPage));
        EXPECT_FALSE(IsWindowVisible(editPage));
        Exit(process, window);
    }
}

TEST_F(SonelleEndToEnd, SingleInstanceTestLooksOnlyForWizardAndRecorderDialogs)
{
    struct Case {
        const wchar_t* cls;
        std::wstring title;
        bool blocks;
    } cases[] = {
        {L"#32770", m_wizardTitle, true},
        {L"#32770", m_title, true},
        {L"#32770", m_launchTitle + L" Starter", false},
        {L"#32770", m_launchTitle, false},
        {L"STATIC", m_title, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.title.begin(), c.title.end()));
        drv::RegDeleteTree(HKEY_CURRENT_USER, kKey);
        DeleteFileW(StarterRecord().c_str());
        drv::FakeWindow other(c.cls, c.title);
        drv::Process process;
        ASSERT_TRUE(process.Start(m_install + L"Sonelle.exe", L"", m_install));
        if (c.blocks) {
            ASSERT_TRUE(process.WaitForExit(15000));
            EXPECT_FALSE(drv::RegValueExists(HKEY_CURRENT_USER, kKey, L"WaveSample")) << "no settings touched";
            EXPECT_FALSE(FileExists(StarterRecord())) << "the starter is not started";
        } else {
            HWND window = drv::WaitForWindow(L"#32770", m_title, process.Id(), 15000);
            ASSERT_NE(nullptr, window);
            Exit(process, window);
        }
    }
}

TEST_F(SonelleEndToEnd, LogSwitchInAnyCaseWithOrWithoutSlash)
{
    const std::wstring log = SpecialFolder(CSIDL_PERSONAL) + L"\\VODar.log";
    struct Case {
        const wchar_t* arguments;
        bool logs;
    } cases[] = {
        {L"/NV_Log", true}, {L"/nv_log", true}, {L"NV_LOG", true}, {L"/NV_Log2", false}, {L"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.arguments, c.arguments + wcslen(c.arguments)));
        DeleteFileW(log.c_str());
        RunOnce(c.arguments);
        EXPECT_EQ(c.logs, FileExists(log));
        if (c.logs) {
            std::string text = ReadAll(log);
            EXPECT_NE(std::string::npos, text.find("NV_Log param setting...")) << text;
            EXPECT_NE(std::string::npos, text.find("OnBackToStarter [")) << text;
            EXPECT_NE(std::string::npos, text.find("szRecordFolder :[")) << text;
        }
    }
    DeleteFileW(log.c_str());
}

TEST_F(SonelleEndToEnd, CleanProfileGetsEveryValueWithItsDefault)
{
    const std::wstring product = SpecialFolder(CSIDL_MYMUSIC) + L"\\NV Sonelle";
    RunOnce();
    const struct {
        const wchar_t* name;
        DWORD value;
    } numbers[] = {
        {L"WaveSample", 44100}, {L"WaveChannel", 2}, {L"WaveBitsPerSample", 16}, {L"AudioLevel", 10},
        {L"bNoiseReduction", 0}, {L"NoiseReductionValue", 150}, {L"bAudioStreamRender", 1},
        {L"AutoSplitThresold", 3000}, {L"AutoSplitSilentTime ", 50}, {L"AutoSplitMinDuration", 10},
        {L"NormalizeVaule", 800}, {L"OutputType", 0}, {L"Mp3Bitrate", 192}, {L"Mp3SampleRate", 48000},
        {L"Mp3Channel", 2}, {L"MergeTrack", 0}, {L"EnableMergeTrack", 0}, {L"BurnMode", 3},
    };
    for (const auto& n : numbers) {
        DWORD value = 0xDEAD;
        EXPECT_TRUE(drv::RegReadDword(HKEY_CURRENT_USER, kKey, n.name, &value)) << "[" << n.name[0] << "...]";
        EXPECT_EQ(n.value, value);
    }
    std::wstring text;
    EXPECT_TRUE(drv::RegReadString(HKEY_CURRENT_USER, kKey, L"RecordOutFolder", &text));
    EXPECT_EQ(product + L"\\Record\\", text);
    EXPECT_TRUE(drv::RegReadString(HKEY_CURRENT_USER, kKey, L"AlbumFolder", &text));
    EXPECT_EQ(product + L"\\Album\\", text);
    EXPECT_TRUE(drv::RegReadString(HKEY_CURRENT_USER, kKey, L"PrefixName", &text));
    EXPECT_EQ(L"Sonelle", text);
    EXPECT_TRUE(drv::RegReadString(HKEY_CURRENT_USER, kKey, L"AudioDevice", &text));
    EXPECT_EQ(L"", text);
    EXPECT_TRUE(drv::RegReadString(HKEY_CURRENT_USER, kKey, L"BurnDeviceName", &text));
    EXPECT_EQ(L"", text);
    EXPECT_FALSE(drv::RegValueExists(HKEY_CURRENT_USER, kKey, L"AutoSplitSilentTime")) << "the name ends in a blank";
    EXPECT_TRUE(FolderExists(product + L"\\Record"));
    EXPECT_TRUE(FolderExists(product + L"\\Album"));
}

TEST_F(SonelleEndToEnd, StoredValuesAreKeptAndMergeNeedsItsMode)
{
    drv::RegWriteDword(HKEY_CURRENT_USER, kKey, L"MergeTrack", 1);
    drv::RegWriteDword(HKEY_CURRENT_USER, kKey, L"EnableMergeTrack", 0);
    drv::RegWriteDword(HKEY_CURRENT_USER, kKey, L"BurnMode", 0);
    drv::RegWriteDword(HKEY_CURRENT_USER, kKey, L"Mp3Bitrate", 320);
    drv::RegWriteString(HKEY_CURRENT_USER, kKey, L"RecordOutFolder", L"C:\\no\\such\\folder\\");
    RunOnce();
    DWORD value = 0xDEAD;
    EXPECT_TRUE(drv::RegReadDword(HKEY_CURRENT_USER, kKey, L"MergeTrack", &value));
    EXPECT_EQ(0u, value);
    EXPECT_TRUE(drv::RegReadDword(HKEY_CURRENT_USER, kKey, L"BurnMode", &value));
    EXPECT_EQ(0u, value);
    EXPECT_TRUE(drv::RegReadDword(HKEY_CURRENT_USER, kKey, L"Mp3Bitrate", &value));
    EXPECT_EQ(320u, value);
    std::wstring text;
    EXPECT_TRUE(drv::RegReadString(HKEY_CURRENT_USER, kKey, L"RecordOutFolder", &text));
    EXPECT_EQ(L"C:\\no\\such\\folder\\", text) << "a stored folder stays until the user picks another";
}

TEST_F(SonelleEndToEnd, AutoSplitSettingsOutsideTheirRangeReadAsTheDefault)
{
    // Read at start and saved at exit: what is stored afterwards is what was used.
    const wchar_t* const names[] = {L"AutoSplitThresold", L"AutoSplitSilentTime ", L"AutoSplitMinDuration"};
    const struct {
        DWORD stored[3];
        DWORD used[3];
    } cases[] = {
        {{0, 0, 0}, {3000, 50, 10}},
        {{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, {3000, 50, 10}},
        {{0x80000000, 0x80000000, 0x80000000}, {3000, 50, 10}},
        {{1, 7, 25}, {1, 7, 25}},
        {{0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF}, {0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored[0]);
        for (int i = 0; i < 3; ++i) drv::RegWriteDword(HKEY_CURRENT_USER, kKey, names[i], c.stored[i]);
        RunOnce();
        for (int i = 0; i < 3; ++i) {
            DWORD value = 0xDEAD;
            EXPECT_TRUE(drv::RegReadDword(HKEY_CURRENT_USER, kKey, names[i], &value));
            EXPECT_EQ(c.used[i], value) << i;
        }
    }
}

TEST_F(SonelleEndToEnd, ExitDeletesOnlyLeftOverNv0Files)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"TmpF\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* name : {L"e2e_a.nv0", L"e2e_b.NV0", L"e2e_c.txt", L"e2e_d.nv00"})
        std::ofstream((folder + name).c_str()) << "x";
    CreateDirectoryW((folder + L"e2e_sub.nv0").c_str(), nullptr);
    RunOnce();
    EXPECT_FALSE(FileExists(folder + L"e2e_a.nv0"));
    EXPECT_FALSE(FileExists(folder + L"e2e_b.NV0"));
    EXPECT_TRUE(FileExists(folder + L"e2e_c.txt"));
    EXPECT_TRUE(FolderExists(folder + L"e2e_sub.nv0"));
    DeleteFileW((folder + L"e2e_c.txt").c_str());
    DeleteFileW((folder + L"e2e_d.nv00").c_str());
    RemoveDirectoryW((folder + L"e2e_sub.nv0").c_str());
}

TEST_F(SonelleEndToEnd, ExitStartsTheStarterWithNoIntro)
{
    DeleteFileW(StarterRecord().c_str());
    RunOnce();
    for (int i = 0; i < 100 && !FileExists(StarterRecord()); ++i) Sleep(50);
    EXPECT_EQ("/NOINTRO\r\n", ReadAll(StarterRecord()));
}

TEST_F(SonelleEndToEnd, MissingStarterIsLoggedAndTheExitIsClean)
{
    const std::wstring log = SpecialFolder(CSIDL_PERSONAL) + L"\\VODar.log";
    DeleteFileW(log.c_str());
    ASSERT_TRUE(DeleteFileW((m_install + L"SonelleStarter.exe").c_str()));
    drv::Process process;
    HWND window = Start(process, L"/NV_Log");
    ASSERT_NE(nullptr, window);
    Exit(process, window);
    EXPECT_EQ(0u, process.ExitCode());
    EXPECT_EQ(nullptr, drv::WaitForMessageBox(process.Id(), 0).window);
    EXPECT_NE(std::string::npos, ReadAll(log).find("OnBackToStarter: no starter at ["));
    DeleteFileW(log.c_str());
}

TEST_F(SonelleEndToEnd, MissingAppPathIsTheProgramsOwnFolder)
{
    drv::RegDeleteValue(HKEY_LOCAL_MACHINE, kKey, L"AppPath");
    DeleteFileW(StarterRecord().c_str());
    drv::Process process;
    // Started from another working folder: the starter is still found beside the program.
    ASSERT_TRUE(process.Start(m_install + L"Sonelle.exe", L"", drv::OwnFolder()));
    HWND window = drv::WaitForWindow(L"#32770", m_title, process.Id(), 15000);
    ASSERT_NE(nullptr, window);
    Exit(process, window);
    std::wstring stored;
    EXPECT_TRUE(drv::RegReadString(HKEY_LOCAL_MACHINE, kKey, L"AppPath", &stored));
    EXPECT_EQ(0, _wcsicmp(m_install.c_str(), stored.c_str())) << std::string(stored.begin(), stored.end());
    for (int i = 0; i < 100 && !FileExists(StarterRecord()); ++i) Sleep(50);
    EXPECT_TRUE(FileExists(StarterRecord()));
}

TEST_F(SonelleEndToEnd, EmptyStoredTitlesMatchNoUntitledDialog)
{
    struct Case {
        const wchar_t* wizardName;
        const wchar_t* advancedName;
        std::wstring shownTitle;
    } cases[] = {
        {L"", nullptr, m_title},                // an empty wizard title
        {nullptr, L"", L"Norvane Sonelle 2.0"},  // an empty recorder title: the program's own
        {L"", L"", L"Norvane Sonelle 2.0"},
    };
    drv::FakeWindow untitled(L"#32770", L"");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.shownTitle.begin(), c.shownTitle.end()));
        drv::RegWriteString(HKEY_LOCAL_MACHINE, kKey, L"WizardName", c.wizardName ? c.wizardName : m_wizardTitle.c_str());
        drv::RegWriteString(HKEY_LOCAL_MACHINE, kKey, L"AdvancedName", c.advancedName ? c.advancedName : m_title.c_str());
        drv::Process process;
        ASSERT_TRUE(process.Start(m_install + L"Sonelle.exe", L"", m_install));
        HWND window = drv::WaitForWindow(L"#32770", c.shownTitle, process.Id(), 15000);
        ASSERT_NE(nullptr, window) << "the recorder starts: an empty title is no running dialog";
        Exit(process, window);
    }
}

TEST_F(SonelleEndToEnd, RefusedSecondStartLeavesTheRunningLogAndItsBackups)
{
    const std::wstring documents = SpecialFolder(CSIDL_PERSONAL);
    const std::wstring log = documents + L"\\VODar.log", backup1 = documents + L"\\VODar_bak1.log",
                       backup2 = documents + L"\\VODar_bak2.log";
    for (const std::wstring& f : {log, backup1, backup2}) DeleteFileW(f.c_str());
    std::ofstream(backup1.c_str(), std::ios::binary) << "older run\r\n";
    drv::Process first;
    HWND window = Start(first, L"/NV_Log");
    ASSERT_NE(nullptr, window);
    ASSERT_NE(std::string::npos, ReadAll(log).find("NV_Log param setting..."));
    const std::string running = ReadAll(log), older = ReadAll(backup1), oldest = ReadAll(backup2);

    drv::Process second;
    ASSERT_TRUE(second.Start(m_install + L"Sonelle.exe", L"/NV_Log", m_install));
    ASSERT_TRUE(second.WaitForExit(15000)) << "a second recorder is refused";
    // The running instance goes on writing (its Record page opens a device), so its
    // log only grows; a moved log would start again with the refused start's lines.
    EXPECT_EQ(0, ReadAll(log).compare(0, running.size(), running)) << "the running instance's log is not moved away";
    EXPECT_EQ(older, ReadAll(backup1));
    EXPECT_EQ(oldest, ReadAll(backup2));
    Exit(first, window);
    for (const std::wstring& f : {log, backup1, backup2}) DeleteFileW(f.c_str());
}

TEST_F(SonelleEndToEnd, StoredNumbersOutsideTheirRangeReadAsTheirDefaults)
{
    struct Value {
        const wchar_t* name;
        DWORD stored, saved;
    };
    // One run with every value outside its range, one with values at the edges.
    const std::vector<std::vector<Value>> runs = {
        {{L"WaveSample", 0, 44100}, {L"WaveBitsPerSample", 0xFFFFFFFF, 16}, {L"AudioLevel", 0x80000000, 10},
         {L"NoiseReductionValue", 0xFFFFFFFF, 150}, {L"WaveChannel", 7, 2}, {L"bNoiseReduction", 5, 0}},
        {{L"WaveSample", 48000, 48000}, {L"AudioLevel", 50, 50}, {L"NoiseReductionValue", 300, 300},
         {L"WaveChannel", 1, 1}, {L"WaveBitsPerSample", 8, 8}},
    };
    for (const auto& run : runs) {
        drv::RegDeleteTree(HKEY_CURRENT_USER, kKey);
        for (const Value& v : run) drv::RegWriteDword(HKEY_CURRENT_USER, kKey, v.name, v.stored);
        RunOnce();
        for (const Value& v : run) {
            SCOPED_TRACE(std::string(v.name, v.name + wcslen(v.name)) + " " + std::to_string(v.stored));
            DWORD value = 0xDEAD;
            EXPECT_TRUE(drv::RegReadDword(HKEY_CURRENT_USER, kKey, v.name, &value));
            EXPECT_EQ(v.saved, value);
        }
    }
}

TEST_F(SonelleEndToEnd, FilterModulesThatAreNotInstalledAreLoggedOnceEach)
{
    const std::wstring log = SpecialFolder(CSIDL_PERSONAL) + L"\\VODar.log";
    DeleteFileW(log.c_str());
    drv::Process process;
    HWND window = Start(process, L"/NV_Log");
    ASSERT_NE(nullptr, window);
    Sleep(1000);  // the Record page's first-graph step has run
    Exit(process, window);
    const std::string text = ReadAll(log);
    for (const char* module : {"NVAudioAnalyer.ax", "NVMp3Enc.ax", "Vossel.ax", "Wavrill.ax", "Tarrow.ax"}) {
        SCOPED_TRACE(module);
        const std::string line = std::string("Filter module not found, not registered: [");
        size_t at = text.find(module);
        ASSERT_NE(std::string::npos, at) << text;
        EXPECT_NE(std::string::npos, text.rfind(line, at));
        EXPECT_EQ(text.find(module), text.rfind(module)) << "once";
    }
    DeleteFileW(log.c_str());
}

namespace {
// The screen saver's state as a new process sees it, set first when `set` is 0 or 1.
int ScreenSaver(int set = -1)
{
    drv::Process driver;
    std::wstring arguments = L"screensaver";
    if (set >= 0) arguments += L" " + std::to_wstring(set);
    if (!driver.Start(drv::OwnFolder() + L"SonelleDriver.exe", arguments) || !driver.WaitForExit(10000)) return -1;
    return (int)driver.ExitCode();
}
}  // namespace

TEST_F(SonelleEndToEnd, ScreenSaverIsOffWhileRunningAndAsFoundAfterwards)
{
    for (int initial : {0, 1}) {
        SCOPED_TRACE(initial);
        ASSERT_EQ(initial, ScreenSaver(initial));
        drv::Process process;
        HWND window = Start(process);
        ASSERT_NE(nullptr, window);
        EXPECT_EQ(0, ScreenSaver());
        Exit(process, window);
        EXPECT_EQ(initial, ScreenSaver());
    }
}

TEST_F(SonelleEndToEnd, AKilledRunDoesNotLeaveTheScreenSaverOffForGood)
{
    ASSERT_EQ(1, ScreenSaver(1));
    {
        drv::Process killed;
        ASSERT_NE(nullptr, Start(killed));
        EXPECT_EQ(0, ScreenSaver());
        killed.Kill();
        ASSERT_TRUE(killed.WaitForExit(15000));
    }
    EXPECT_EQ(0, ScreenSaver()) << "a killed run gives nothing back";
    drv::Process process;
    HWND window = Start(process);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(0, ScreenSaver());
    Exit(process, window);
    EXPECT_EQ(1, ScreenSaver()) << "the next run gives back what the user had";
    EXPECT_FALSE(drv::RegValueExists(HKEY_CURRENT_USER, kKey, L"ScreenSaverActiveBeforeRun"))
        << "a normal exit leaves nothing to repair";
}

namespace {
// An outside program's window that other dialogs register with through "/owner=".
class OwnerWindow {
public:
    OwnerWindow() : m_thread([this] { Run(); })
    {
        while (!m_ready) Sleep(5);
    }
    ~OwnerWindow()
    {
        PostMessageW(m_window, WM_CLOSE, 0, 0);
        m_thread.join();
    }
    HWND Window() const { return m_window; }
    CDropRecordList records;
    std::atomic<LONG> unregistered{0};
    std::atomic<int> ownerClosing{0};

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        OwnerWindow* self = reinterpret_cast<OwnerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_COPYDATA && self)
            return self->records.RegisterFromCopyData(reinterpret_cast<COPYDATASTRUCT*>(lParam));
        if (message == WM_DROPDLG_REGISTRY && wParam == DROPDLG_UNREGISTER && self)
            self->unregistered = HandleToLong(reinterpret_cast<HWND>(lParam));
        if (message == WM_DROPDLG_REGISTRY && wParam == DROPDLG_OWNERCLOSING && self) ++self->ownerClosing;
        if (message == WM_CLOSE) DestroyWindow(window);
        if (message == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    void Run()
    {
        WNDCLASSW cls = {};
        cls.lpfnWndProc = Proc;
        cls.lpszClassName = L"SonelleTestOwner";
        RegisterClassW(&cls);
        m_window = CreateWindowExW(0, cls.lpszClassName, L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   nullptr, nullptr);
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        m_ready = true;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    }
    HWND m_window = nullptr;
    std::atomic<bool> m_ready{false};
    std::thread m_thread;
};
}  // namespace

TEST_F(SonelleEndToEnd, OwnerSwitchRegistersTheMainWindowWithItsOwner)
{
    OwnerWindow owner;
    wchar_t arguments[64];
    swprintf(arguments, 64, L"/owner=%lx", (unsigned long)HandleToLong(owner.Window()));
    drv::Process process;
    HWND window = Start(process, arguments);
    ASSERT_NE(nullptr, window);
    // The record was copied across processes while the window initialised.
    ASSERT_EQ(1, owner.records.GetCount());
    EXPECT_EQ(window, DropRecordWindow(owner.records.GetAt(0)));
    EXPECT_STREQ("Sonelle.exe", owner.records.GetAt(0).program);
    Exit(process, window);
    for (int i = 0; i < 100 && owner.unregistered == 0; ++i) Sleep(20);
    EXPECT_EQ(HandleToLong(window), owner.unregistered.load());
}

TEST_F(SonelleEndToEnd, OtherProgramsRegisterByCopyAndTheirHandlesAreIgnored)
{
    OwnerWindow peer, refused, foreign;
    drv::Process process;
    HWND window = Start(process);
    ASSERT_NE(nullptr, window);

    // A registration copied in WM_COPYDATA: taken only with the record's exact size.
    DropDlgRecord record = MakeDropRecord(peer.Window(), L"Peer.exe");
    COPYDATASTRUCT good = {WM_DROPDLG_REGISTRY, sizeof(record), &record};
    EXPECT_EQ(TRUE, SendMessageW(window, WM_COPYDATA, (WPARAM)peer.Window(), (LPARAM)&good));
    DropDlgRecord other = MakeDropRecord(refused.Window(), L"Refused.exe");
    char longer[sizeof(other) + 4] = {};
    memcpy(longer, &other, sizeof(other));
    COPYDATASTRUCT shortCopy = {WM_DROPDLG_REGISTRY, sizeof(other) - 1, &other};
    COPYDATASTRUCT longCopy = {WM_DROPDLG_REGISTRY, sizeof(longer), longer};
    EXPECT_EQ(FALSE, SendMessageW(window, WM_COPYDATA, (WPARAM)refused.Window(), (LPARAM)&shortCopy));
    EXPECT_EQ(FALSE, SendMessageW(window, WM_COPYDATA, (WPARAM)refused.Window(), (LPARAM)&longCopy));

    // Memory handles of this process mean nothing in the recorder's: a registration
    // block and a drop handle posted from here are ignored, and it keeps running.
    DropDlgRecord third = MakeDropRecord(foreign.Window(), L"Foreign.exe");
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(third));
    memcpy(GlobalLock(block), &third, sizeof(third));
    GlobalUnlock(block);
    PostMessageW(window, WM_DROPDLG_REGISTRY, DROPDLG_REGISTER, (LPARAM)block);
    PostMessageW(window, WM_DROPDLG_REGISTRY, DROPDLG_DROPFILES, (LPARAM)block);
    PostMessageW(window, WM_DROPDLG_REGISTRY, DROPDLG_REGISTER, (LPARAM)0x7FFF0010);
    ASSERT_TRUE(drv::ClickControl(window, 1001));
    PostMessageW(window, WM_DROPDLG_REGISTRY, DROPDLG_DROPFILES, (LPARAM)0x7FFF0020);
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer)) << "still answering";
    GlobalFree(block);

    // Closing tells the registered windows that their owner goes: only the copied one.
    Exit(process, window);
    EXPECT_EQ(0u, process.ExitCode());
    for (int i = 0; i < 100 && peer.ownerClosing == 0; ++i) Sleep(20);
    EXPECT_EQ(1, peer.ownerClosing.load());
    Sleep(200);
    EXPECT_EQ(0, refused.ownerClosing.load());
    EXPECT_EQ(0, foreign.ownerClosing.load());
}
