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
#include <endpointvolume.h>
#include <mmdeviceapi.h>
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

// Waits until a button of the wizard can be clicked (the pages give the buttons
// back when they are no longer busy).
bool WaitForEnabled(HWND wizard, int id, DWORD timeoutMs = 20000)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(50)) {
        HWND button = GetDlgItem(wizard, id);
        if (button && IsWindowVisible(button) && IsWindowEnabled(button)) return true;
    }
    return false;
}

// Waits until the wizard's step title reads `title`.
bool WaitForTitle(HWND wizard, const std::wstring& title, DWORD timeoutMs = 20000)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(50))
        if (drv::ControlText(wizard, 1001) == title) return true;
    return false;
}

// A Unix path from the environment as Windows sees it (drive Z: is the Unix root).
std::wstring FromUnixPath(const char* path)
{
    std::wstring wide = L"Z:";
    for (const char* c = path; *c; ++c) wide += *c == '/' ? L'\\' : (wchar_t)(unsigned char)*c;
    return wide;
}

// The sandbox's signal feed follows its control file (scripts/signal-feed.sh):
// writing "album" starts the album pattern from its beginning.
bool SetFeed(const char* pattern)
{
    const char* pulse = std::getenv("PULSE_DIR");
    if (!pulse) return false;
    std::wstring control = FromUnixPath(pulse);
    control = control.substr(0, control.find_last_of(L'\\')) + L"\\signal-feed.ctl";
    std::ofstream out(control.c_str(), std::ios::trunc);
    out << pattern << "\n";
    return out.good();
}

// The mute of the default render endpoint through core audio; -1 when unknown.
int RenderMute()
{
    int mute = -1;
    IMMDeviceEnumerator* devices = nullptr;
    if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, __uuidof(IMMDeviceEnumerator),
                                (void**)&devices)))
        return -1;
    IMMDevice* device = nullptr;
    if (SUCCEEDED(devices->GetDefaultAudioEndpoint(eRender, eConsole, &device))) {
        IAudioEndpointVolume* volume = nullptr;
        if (SUCCEEDED(device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr, (void**)&volume))) {
            BOOL muted = FALSE;
            if (SUCCEEDED(volume->GetMute(&muted))) mute = muted ? 1 : 0;
            volume->Release();
        }
        device->Release();
    }
    devices->Release();
    return mute;
}

class WizardEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (const wchar_t* m : {L"SonelleCapture.ax", L"Vossel.ax", L"NVNoiseReduction.ax", L"NVAudioAnalyer.ax",
                                 L"NVMp3Enc.ax", L"Tarrow.ax"})
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

    // A pause that only the page tour needs, to catch a page at work.
    void TourPause(DWORD ms)
    {
        if (!m_tour.empty()) Sleep(ms);
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
        TourPause(1500);
        Picture(wizard, L"page203");
        if (!m_tour.empty()) {
            // The list dropped, as a mouse opens it.
            HWND combo = GetDlgItem(page, 1089);
            SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
            Picture(wizard, L"page203-list");
            SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
        }
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

TEST_F(WizardEndToEnd, ThreeQuickStartsGiveOneWizard)
{
    // Three starts let go at the same instant: none of them has a window to find yet.
    const std::wstring program = m_install + L"SonelleWiz.exe";
    PROCESS_INFORMATION starts[3] = {};
    for (PROCESS_INFORMATION& p : starts) {
        STARTUPINFOW info = {};
        info.cb = sizeof(info);
        std::wstring command = L"\"" + program + L"\"";
        ASSERT_TRUE(CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                                   m_install.c_str(), &info, &p));
    }
    for (PROCESS_INFORMATION& p : starts) ResumeThread(p.hThread);
    HWND wizard = drv::WaitUntilShown(drv::WaitForWindow(L"#32770", m_title, 0, 20000), 30000);
    ASSERT_NE(nullptr, wizard);
    DWORD owner = 0;
    GetWindowThreadProcessId(wizard, &owner);
    int ended = 0;
    for (PROCESS_INFORMATION& p : starts)
        if (p.dwProcessId != owner) ended += WaitForSingleObject(p.hProcess, 20000) == WAIT_OBJECT_0 ? 1 : 0;
    EXPECT_EQ(2, ended) << "the later starts end";
    EXPECT_EQ(1u, drv::FindTopWindows(L"#32770", m_title).size()) << "one wizard";
    drv::CloseWindow(wizard);
    for (PROCESS_INFORMATION& p : starts) {
        if (WaitForSingleObject(p.hProcess, 20000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "a wizard did not end";
            TerminateProcess(p.hProcess, 1);
        }
        CloseHandle(p.hThread);
        CloseHandle(p.hProcess);
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
    TourPause(1500);
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

namespace {

// Waits for a message box of the process and answers it; its text.
std::wstring Answer(DWORD process, int button, DWORD timeoutMs)
{
    drv::MessageBoxInfo box = drv::WaitForMessageBox(process, timeoutMs);
    if (!box.window) return L"";
    for (int i = 0; i < 40 && box.text.empty(); ++i) {
        Sleep(50);
        box.text = drv::ControlText(box.window, 0xFFFF);
    }
    drv::AnswerMessageBox(box, button);
    return box.text;
}

void WriteText(const std::wstring& path, const std::wstring& text)
{
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    for (wchar_t c : text) out << (char)c;
}

}  // namespace

// The whole journey on the album feed: record 42 s of three pieces (split into
// "_1" and "_2" at the onsets after their silences), burn them as an MP3 CD, go
// back, burn them as an Audio CD, finish. The native step after this program
// (check_wizard_journey.py) reads the recordings with mpg123 and mutagen, the
// ISO image with isoinfo and the CUE/BIN image with bchunk.
TEST_F(WizardEndToEnd, TheWholeJourneyRecordsAnAlbumAndBurnsItAsMp3CdAndAudioCd)
{
    const char* out = std::getenv("SONELLE_JOURNEY");
    if (!out) GTEST_SKIP() << "run by the wizard_journey step, which names its folder in SONELLE_JOURNEY";
    const std::wstring folder = FromUnixPath(out) + L"\\";
    ASSERT_TRUE(SetFeed("album")) << "the feed's control file is not reachable";
    const std::wstring album = L"Sunday Jazz Session";
    const std::wstring record = folder + L"Record\\";
    CreateDirectoryW(record.c_str(), nullptr);
    drv::RegWriteString(HKEY_CURRENT_USER, kKey, L"RecordOutFolder", record);
    drv::RegWriteString(HKEY_CURRENT_USER, kKey, L"AlbumName", album);
    drv::RegWriteDword(HKEY_CURRENT_USER, kKey, L"WizOutputType", 1);
    // One writer beside the installed libraries, writing its images into the folder;
    // for the tour slowly enough to be seen, else as fast as it can.
    const std::wstring writer = L"[Writer1]\r\nName=Journey Writer\r\nMedium=cdr\r\nSpeed=" +
                                std::wstring(m_tour.empty() ? L"0" : L"4") + L"\r\nImageFolder=" +
                                folder.substr(0, folder.size() - 1) + L"\r\n";
    WriteText(m_install + L"DiscWriter.ini", writer);
    SetScreenSaver(true);
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const int muteBefore = RenderMute();

    drv::Process process;
    // A failed step leaves neither the wizard running nor the album feed playing.
    struct Cleanup {
        drv::Process& process;
        ~Cleanup()
        {
            SetFeed("standard");
            if (process.Running()) process.Kill();
        }
    } cleanup{process};
    HWND wizard = Start(process);
    ASSERT_NE(nullptr, wizard);
    WalkToLevelStep(wizard);
    ASSERT_TRUE(drv::ClickControl(wizard, 12324));
    ASSERT_TRUE(WaitForTitle(wizard, L"Step 3. Record Settings"));
    ASSERT_TRUE(drv::ClickControl(wizard, 12324));
    ASSERT_TRUE(WaitForTitle(wizard, L"Step 4. Record"));
    HWND page = drv::ShownPage(wizard);
    ASSERT_NE(nullptr, page);
    EXPECT_EQ(album, drv::ControlText(page, 1044));
    // Not only for the picture: the page starts monitoring on a timer after it
    // shows, and a recording started before that breaks the album's splits.
    Sleep(1500);
    Picture(wizard, L"page344");

    // The feed starts its pattern as Record is pressed.
    ASSERT_TRUE(SetFeed("album"));
    ASSERT_TRUE(drv::ClickOnPage(wizard, 1034));
    DWORD started = GetTickCount();
    for (int i = 0; i < 100 && drv::ControlText(page, 1034) != L"Stop"; ++i) Sleep(50);
    EXPECT_EQ(L"Stop", drv::ControlText(page, 1034));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(wizard, 1061))) << "Burn waits for the recording";
    Sleep(6000);
    Picture(wizard, L"page344-recording");
    while (GetTickCount() - started < 42500) Sleep(100);
    ASSERT_TRUE(drv::ClickOnPage(wizard, 1034));
    for (int i = 0; i < 200 && drv::ControlText(page, 1034) != L"Record"; ++i) Sleep(50);
    ASSERT_EQ(L"Record", drv::ControlText(page, 1034));
    SetFeed("standard");
    Sleep(1500);

    const std::wstring albumFolder = record + album + L"\\";
    std::vector<std::wstring> recordings = {albumFolder + album + L".mp3", albumFolder + album + L"_1.mp3",
                                            albumFolder + album + L"_2.mp3"};
    for (const std::wstring& file : recordings) EXPECT_TRUE(FileExists(file)) << std::string(file.begin(), file.end());
    EXPECT_FALSE(FileExists(albumFolder + album + L"_3.mp3")) << "two splits: at 16 s and at 30 s";

    // Burn: the writer exists, so the burner step; an MP3 CD.
    ASSERT_TRUE(drv::ClickControl(wizard, 1061));
    ASSERT_TRUE(WaitForTitle(wizard, L"Step 5. Burn Settings"));
    page = drv::ShownPage(wizard);
    // The writer list fills on a timer after the page shows.
    for (int i = 0; i < 100 && drv::ControlText(page, 1050).empty(); ++i) Sleep(50);
    EXPECT_EQ(L"Journey Writer", drv::ControlText(page, 1050));
    TourPause(500);
    Picture(wizard, L"page345");
    ASSERT_TRUE(drv::ClickControl(wizard, 12324));
    ASSERT_TRUE(WaitForTitle(wizard, L"Step 6. Burn CD"));
    page = drv::ShownPage(wizard);
    EXPECT_EQ(3, (int)SendMessageW(GetDlgItem(page, 1057), LVM_GETITEMCOUNT, 0, 0)) << "the three recordings are listed";
    TourPause(1000);
    Picture(wizard, L"page346");
    if (!m_tour.empty()) {
        // Burn under the mouse: its caption on the orange face.
        HWND burn = GetDlgItem(page, 1058);
        RECT r = {};
        GetWindowRect(burn, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostMessageW(burn, WM_MOUSEMOVE, 0, MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2));
        TourPause(800);
        Picture(wizard, L"page346-burn-hover");
        SetCursorPos(r.left - 100, r.top - 100);
        PostMessageW(burn, WM_MOUSEMOVE, 0, MAKELPARAM((WORD)(short)-100, (WORD)(short)-100));
        TourPause(300);
    }
    ASSERT_TRUE(drv::ClickOnPage(wizard, 1058));
    for (int i = 0; !m_tour.empty() && i < 200 && drv::ControlText(page, 1053).find(L"CD Burning") != 0; ++i) Sleep(25);
    Picture(wizard, L"page346-writing");
    EXPECT_EQ(L"Successfully burned.", Answer(process.Id(), IDOK, 60000));
    TourPause(1000);
    Picture(wizard, L"page346-done");

    // The recordings as the disc holds them, for the native check.
    for (size_t i = 0; i < recordings.size(); ++i)
        CopyFileW(recordings[i].c_str(), (folder + L"recording" + std::to_wstring(i) + L".mp3").c_str(), FALSE);

    // Back to the burner step, an Audio CD this time, on a new blank disc: put in
    // once the page has ejected the written one (it does so before it gives Back back).
    ASSERT_TRUE(WaitForEnabled(wizard, 12323)) << "Back comes back after writing";
    WriteText(m_install + L"DiscWriter.ini", writer);
    ASSERT_TRUE(drv::ClickControl(wizard, 12323));
    ASSERT_TRUE(WaitForTitle(wizard, L"Step 5. Burn Settings"));
    page = drv::ShownPage(wizard);
    ASSERT_TRUE(drv::ClickOnPage(wizard, 1046));
    Sleep(300);
    ASSERT_TRUE(drv::ClickControl(wizard, 12324));
    ASSERT_TRUE(WaitForTitle(wizard, L"Step 6. Burn CD"));
    page = drv::ShownPage(wizard);
    ASSERT_TRUE(drv::ClickOnPage(wizard, 1058));
    EXPECT_EQ(L"Successfully burned.", Answer(process.Id(), IDOK, 180000));
    ASSERT_TRUE(WaitForEnabled(wizard, 12325)) << "Finish comes back after writing";
    for (int i = 0; i < 100 && !drv::ControlText(page, 1053).empty(); ++i) Sleep(50);
    EXPECT_EQ(L"", drv::ControlText(page, 1053)) << "the status is cleared after writing";

    ASSERT_TRUE(drv::ClickControl(wizard, 12325));
    EXPECT_EQ(L"Do you really want to exit the program?", Answer(process.Id(), IDYES, 10000));
    ASSERT_TRUE(process.WaitForExit(30000));
    EXPECT_EQ(1, ScreenSaverActive()) << "the screen saver is given back";
    EXPECT_EQ(muteBefore, RenderMute()) << "the render endpoint's mute is as before";
    CoUninitialize();
    for (const std::wstring& file : recordings) EXPECT_TRUE(FileExists(file)) << "the recordings stay";

    std::wstring manifest = L"album=" + album + L"\n";
    WriteText(folder + L"journey.txt", manifest);
}
