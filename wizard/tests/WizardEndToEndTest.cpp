// SonelleWiz.exe as a user meets it: started from a test installation folder,
// walked from the device step to the settings step on the fed capture device,
// ended by each way out; checked through the registry, the folders, the starter
// it starts again and the screen saver it gives back.
#include "Driver.h"
#include "DriverPages.h"
#include "ModuleLoader.h"
#include "TestSignal.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <shlobj.h>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

const wchar_t kKey[] = L"software\\Norvane\\NV Sonelle";
const wchar_t* const kMachineValues[] = {L"AppPath", L"LanuchName", L"WizardName", L"AdvancedName"};

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring MusicFolder()
{
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_MYMUSIC | CSIDL_FLAG_CREATE, nullptr, 0, path);
    return path;
}

// The screen saver as a fresh process sees it (each process keeps its own copy).
int ScreenSaverActive()
{
    drv::Process probe;
    if (!probe.Start(drv::OwnFolder() + L"SonelleDriver.exe", L"screensaver")) return -1;
    probe.WaitForExit(15000);
    return (int)probe.ExitCode();
}

void SetScreenSaver(bool on)
{
    drv::Process probe;
    probe.Start(drv::OwnFolder() + L"SonelleDriver.exe", on ? L"screensaver 1" : L"screensaver 0");
    probe.WaitForExit(15000);
}

// Waits until the wizard's step title reads `title`.
bool WaitForTitle(HWND wizard, const std::wstring& title, DWORD timeoutMs = 20000)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(50))
        if (drv::ControlText(wizard, 1001) == title) return true;
    return false;
}

class WizardEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (const wchar_t* m : {L"SonelleCapture.ax", L"Vossel.ax", L"NVNoiseReduction.ax", L"NVAudioAnalyer.ax"})
            ASSERT_TRUE(testsignal::RegisterModule(m)) << m;
    }

    void SetUp() override
    {
        for (const wchar_t* name : kMachineValues) {
            std::wstring value;
            m_saved.push_back(drv::RegReadString(HKEY_LOCAL_MACHINE, kKey, name, &value) ? std::make_pair(true, value)
                                                                                        : std::make_pair(false, std::wstring()));
        }
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        static int count = 0;
        m_install = std::wstring(temp) + L"WizInstall" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                    std::to_wstring(++count) + L"\\";
        drv::RemoveTree(m_install.substr(0, m_install.size() - 1));
        ASSERT_TRUE(CreateDirectoryW(m_install.c_str(), nullptr));
        const std::wstring bin = drv::OwnFolder();
        ASSERT_TRUE(CopyFileW((bin + L"SonelleWiz.exe").c_str(), (m_install + L"SonelleWiz.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW((bin + L"StarterDouble.exe").c_str(), (m_install + L"SonelleStarter.exe").c_str(), FALSE));
        // The libraries the wizard links at load time are installed beside it.
        for (const wchar_t* library : {L"NVCoreAudio.dll", L"NVDataCDDVD.dll", L"NVAudioCD.dll"})
            ASSERT_TRUE(CopyFileW((bin + library).c_str(), (m_install + library).c_str(), FALSE)) << library;
        const std::wstring pid = std::to_wstring(GetCurrentProcessId());
        m_title = L"Wizard E2E " + pid;
        m_advanced = L"Recorder E2E " + pid;
        m_launch = L"Launch E2E " + pid;
        drv::RegWriteString(HKEY_LOCAL_MACHINE, kKey, L"AppPath", m_install);
        drv::RegWriteString(HKEY_LOCAL_MACHINE, kKey, L"WizardName", m_title);
        drv::RegWriteString(HKEY_LOCAL_MACHINE, kKey, L"AdvancedName", m_advanced);
        drv::RegWriteString(HKEY_LOCAL_MACHINE, kKey, L"LanuchName", m_launch);
        drv::RegDeleteTree(HKEY_CURRENT_USER, kKey);
        if (const char* dir = std::getenv("SONELLE_TOUR_DIR")) m_tour = std::wstring(dir, dir + strlen(dir));
    }

    void TearDown() override
    {
        for (size_t i = 0; i < m_saved.size(); ++i) {
            if (m_saved[i].first) drv::RegWriteString(HKEY_LOCAL_MACHINE, kKey, kMachineValues[i], m_saved[i].second);
            else drv::RegDeleteValue(HKEY_LOCAL_MACHINE, kKey, kMachineValues[i]);
        }
        const std::wstring folder = m_install.substr(0, m_install.size() - 1);
        for (int i = 0; i < 40 && FileExists(folder); ++i) {
            drv::RemoveTree(folder);
            if (FileExists(folder)) Sleep(50);
        }
    }

    HWND Start(drv::Process& process)
    {
        EXPECT_TRUE(process.Start(m_install + L"SonelleWiz.exe", L"", m_install));
        return drv::WaitUntilShown(drv::WaitForWindow(L"#32770", m_title, process.Id(), 20000), 30000);
    }

    // A picture of the window for the page tour (only when asked for).
    void Picture(HWND window, const wchar_t* name)
    {
        if (m_tour.empty()) return;
        Sleep(700);
        drv::SaveWindowPicture(window, m_tour + L"\\" + name + L".bmp");
    }

    // From page 129 to the level step 342 on the fed device.
    void WalkToLevelStep(HWND wizard)
    {
        ASSERT_TRUE(WaitForTitle(wizard, L"Step 1-1. Connect Your Audio Device"));
        Picture(wizard, L"page129");
        ASSERT_TRUE(drv::ClickControl(wizard, 12324));
        ASSERT_TRUE(WaitForTitle(wizard, L"Step 1-2. Select Your Audio Capture Device"));
        HWND page = drv::ShownPage(wizard);
        ASSERT_NE(nullptr, page);
        ASSERT_TRUE(drv::PickComboText(page, 1089, testsignal::CaptureDeviceName));
        Sleep(1500);
        Picture(wizard, L"page203");
        ASSERT_TRUE(drv::ClickControl(wizard, 12324));
        ASSERT_TRUE(WaitForTitle(wizard, L"Step 2. Volume Settings"));
    }

    std::wstring StarterRecord() const { return m_install + L"SonelleStarter.args"; }

    std::vector<std::pair<bool, std::wstring>> m_saved;
    std::wstring m_install, m_title, m_advanced, m_launch, m_tour;
};

}  // namespace

TEST_F(WizardEndToEnd, AWizardOrRecorderDialogComesToTheFrontAStarterDoesNotStopIt)
{
    struct Case {
        std::wstring title;
        bool blocks;
    } cases[] = {{m_title, true}, {m_advanced, true}, {m_launch + L" Starter", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.title.begin(), c.title.end()));
        drv::RegDeleteTree(HKEY_CURRENT_USER, kKey);
        DeleteFileW(StarterRecord().c_str());
        drv::FakeWindow other(L"#32770", c.title);
        drv::Process process;
        ASSERT_TRUE(process.Start(m_install + L"SonelleWiz.exe", L"", m_install));
        if (c.blocks) {
            ASSERT_TRUE(process.WaitForExit(20000));
            EXPECT_FALSE(drv::RegValueExists(HKEY_CURRENT_USER, kKey, L"AudioLevel")) << "no settings touched";
            EXPECT_FALSE(FileExists(StarterRecord())) << "the starter is not started";
        } else {
            HWND window = drv::WaitUntilShown(drv::WaitForWindow(L"#32770", m_title, process.Id(), 20000), 30000);
            ASSERT_NE(nullptr, window);
            ASSERT_TRUE(drv::ClickControl(window, 1002));
            ASSERT_TRUE(process.WaitForExit(20000));
        }
    }
}

TEST_F(WizardEndToEnd, CleanProfileWalkToTheSettingsStepThenExit)
{
    SetScreenSaver(true);
    drv::Process process;
    HWND wizard = Start(process);
    ASSERT_NE(nullptr, wizard);
    RECT frame = {};
    GetWindowRect(wizard, &frame);
    EXPECT_EQ(800, frame.right - frame.left);
    EXPECT_EQ(600, frame.bottom - frame.top);
    EXPECT_EQ(0, ScreenSaverActive()) << "the screen saver is off while the wizard runs";
    WalkToLevelStep(wizard);

    // The level step: Help opens the gain help with the stored level.
    ASSERT_TRUE(drv::ClickOnPage(wizard, 1008));
    HWND help = drv::WaitForWindow(L"#32770", L"Recording Gain", process.Id(), 10000);
    ASSERT_NE(nullptr, help);
    EXPECT_EQ(L"1.0", drv::ControlText(help, 1079));
    SendMessageW(GetDlgItem(help, 1076), TBM_SETPOS, TRUE, 50);
    PostMessageW(help, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 50), (LPARAM)GetDlgItem(help, 1076));
    for (int i = 0; i < 100 && drv::ControlText(help, 1079) != L"5.0"; ++i) Sleep(20);
    EXPECT_EQ(L"5.0", drv::ControlText(help, 1079));
    Picture(help, L"help");
    ASSERT_TRUE(drv::ClickControl(help, IDOK));
    ASSERT_TRUE(drv::WaitForWindowGone(help, 10000));
    Sleep(1500);
    Picture(wizard, L"page342");

    ASSERT_TRUE(drv::ClickControl(wizard, 12324));
    ASSERT_TRUE(WaitForTitle(wizard, L"Step 3. Record Settings"));
    HWND settings = drv::ShownPage(wizard);
    EXPECT_EQ(L"0.0", drv::ControlText(settings, 1078));
    Picture(wizard, L"page343");

    ASSERT_TRUE(drv::ClickControl(wizard, 1002));
    ASSERT_TRUE(process.WaitForExit(20000)) << "Exit ends the wizard";

    std::wstring device, folder;
    DWORD level = 0, burnMode = 0;
    EXPECT_TRUE(drv::RegReadString(HKEY_CURRENT_USER, kKey, L"AudioDevice", &device));
    EXPECT_EQ(testsignal::CaptureDeviceName, device);
    EXPECT_TRUE(drv::RegReadDword(HKEY_CURRENT_USER, kKey, L"AudioLevel", &level));
    EXPECT_EQ(50u, level);
    EXPECT_TRUE(drv::RegReadDword(HKEY_CURRENT_USER, kKey, L"BurnMode", &burnMode));
    EXPECT_EQ(3u, burnMode);
    EXPECT_TRUE(drv::RegReadString(HKEY_CURRENT_USER, kKey, L"RecordOutFolder", &folder));
    EXPECT_EQ(MusicFolder() + L"\\NV Sonelle\\Record\\", folder);
    EXPECT_TRUE(FileExists(MusicFolder() + L"\\NV Sonelle\\Album"));
    for (int i = 0; i < 100 && !FileExists(StarterRecord()); ++i) Sleep(50);
    std::ifstream record(StarterRecord().c_str());
    std::stringstream text;
    text << record.rdbuf();
    EXPECT_EQ("/NOINTRO", text.str().substr(0, 8)) << "the starter is started again";
    EXPECT_EQ(1, ScreenSaverActive()) << "the screen saver is given back as it was";
}

TEST_F(WizardEndToEnd, TheRecordingStepsExitAsksFirstNoStaysYesEnds)
{
    SetScreenSaver(true);
    drv::Process process;
    HWND wizard = Start(process);
    ASSERT_NE(nullptr, wizard);
    WalkToLevelStep(wizard);
    ASSERT_TRUE(drv::ClickControl(wizard, 12324));
    ASSERT_TRUE(WaitForTitle(wizard, L"Step 3. Record Settings"));
    ASSERT_TRUE(drv::ClickControl(wizard, 12324));
    ASSERT_TRUE(WaitForTitle(wizard, L"Step 4. Record"));
    EXPECT_FALSE(drv::ClickControl(wizard, 12324)) << "Next is taken away on the recording step";

    ASSERT_TRUE(drv::ClickControl(wizard, 1063));
    drv::MessageBoxInfo box = drv::WaitForMessageBox(process.Id(), 10000);
    ASSERT_NE(nullptr, box.window);
    EXPECT_EQ(m_title, box.title);
    EXPECT_EQ(L"Do you really want to exit the program?", box.text);
    ASSERT_TRUE(drv::AnswerMessageBox(box, IDNO));
    EXPECT_FALSE(process.WaitForExit(700)) << "No stays";
    EXPECT_EQ(L"Step 4. Record", drv::ControlText(wizard, 1001));

    ASSERT_TRUE(drv::ClickControl(wizard, 1063));
    box = drv::WaitForMessageBox(process.Id(), 10000);
    ASSERT_TRUE(drv::AnswerMessageBox(box, IDYES));
    ASSERT_TRUE(process.WaitForExit(20000)) << "Yes ends";
    EXPECT_EQ(1, ScreenSaverActive()) << "this way out gives the screen saver back too";
}

TEST_F(WizardEndToEnd, ClosingTheWindowEndsItLikeFinish)
{
    SetScreenSaver(false);
    drv::Process process;
    HWND wizard = Start(process);
    ASSERT_NE(nullptr, wizard);
    ASSERT_TRUE(WaitForTitle(wizard, L"Step 1-1. Connect Your Audio Device"));
    drv::CloseWindow(wizard);
    ASSERT_TRUE(process.WaitForExit(20000));
    EXPECT_EQ(0, ScreenSaverActive()) << "a screen saver that was off stays off";
    EXPECT_TRUE(drv::RegValueExists(HKEY_CURRENT_USER, kKey, L"AudioLevel"));
    SetScreenSaver(true);
}

namespace {
std::string FileText(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
}  // namespace

TEST_F(WizardEndToEnd, RefusedSecondStartLeavesTheRunningLogAndItsBackups)
{
    wchar_t documents[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, 0, documents);
    const std::wstring folder = documents;
    const std::wstring log = folder + L"\\REVor.log", backup1 = folder + L"\\REVor_bak1.log",
                       backup2 = folder + L"\\REVor_bak2.log";
    for (const std::wstring& f : {log, backup1, backup2}) DeleteFileW(f.c_str());
    std::ofstream(backup1.c_str(), std::ios::binary) << "older run\r\n";
    drv::Process first;
    ASSERT_TRUE(first.Start(m_install + L"SonelleWiz.exe", L"/NV_Log", m_install));
    HWND wizard = drv::WaitForWindow(L"#32770", m_title, first.Id(), 20000);
    ASSERT_NE(nullptr, wizard);
    const std::string running = FileText(log), older = FileText(backup1), oldest = FileText(backup2);
    ASSERT_NE(std::string::npos, running.find("NV_Log param setting..."));

    drv::Process second;
    ASSERT_TRUE(second.Start(m_install + L"SonelleWiz.exe", L"/NV_Log", m_install));
    ASSERT_TRUE(second.WaitForExit(20000)) << "a second wizard is refused";
    // The running wizard may add lines; a moved log would start with the refused start's.
    EXPECT_EQ(0, FileText(log).compare(0, running.size(), running)) << "the running wizard's log is not moved away";
    EXPECT_EQ(older, FileText(backup1));
    EXPECT_EQ(oldest, FileText(backup2));
    drv::CloseWindow(wizard);
    ASSERT_TRUE(first.WaitForExit(20000));
    for (const std::wstring& f : {log, backup1, backup2}) DeleteFileW(f.c_str());
}
