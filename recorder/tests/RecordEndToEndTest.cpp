// Recording with Sonelle.exe as a user does, through the driver from outside the
// program: the fed device chosen in the options, REC and Stop, the recorded file in
// the list, a rename and a delete through the list, the requested time and the
// disk reserve ending a recording, and the program going on afterwards.
#include <gtest/gtest.h>
#include <functional>
#include <set>
#include <vector>
#include "ClockText.h"
#include "Driver.h"
#include "EndToEndSupport.h"
#include "FullVolume.h"
#include "ModuleLoader.h"
#include "TestSignal.h"

namespace {

// Controls of the main window, the Record page and the options dialog.
enum {
    kExit = 1005, kList = 1007, kOptions = 1031, kRec = 1033, kStop = 1034, kSeconds = 1037, kElapsed = 1043,
    kSize = 1044, kPercent = 1045, kOptionsDevice = 1049
};
// Where the page's rows are, in its client area (the context menu opens only there).
const POINT kInsideRows = {400, 420};
// Popup menu of a row: Play, Edit, Remove, Delete, Rename (separators are passed over).
const int kMenuDownsToRename = 5;

std::set<std::wstring> WavFilesIn(const std::wstring& folder)
{
    std::set<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*.wav").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.insert(data.cFileName);
    while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

// Bytes of sound in the one recording in `folder` so far (its size past the header).
long long RecordedBytesIn(const std::wstring& folder)
{
    std::set<std::wstring> files = WavFilesIn(folder);
    WIN32_FILE_ATTRIBUTE_DATA a = {};
    if (files.size() != 1 || !GetFileAttributesExW((folder + *files.begin()).c_str(), GetFileExInfoStandard, &a))
        return 0;
    const long long size = (long long)a.nFileSizeHigh << 32 | a.nFileSizeLow;
    return size > 44 ? size - 44 : 0;
}

// The title the platform shows for a file name (with or without its extension,
// as the user's settings say).
std::wstring ShownTitle(const std::wstring& path)
{
    wchar_t title[MAX_PATH] = {};
    return GetFileTitleW(path.c_str(), title, MAX_PATH) == 0 ? title : path.substr(path.find_last_of(L'\\') + 1);
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(50))
        if (GetTickCount() - start > timeoutMs) return false;
    return true;
}

// A top-level dialog of the process that holds control `id`.
HWND WaitForDialogWith(DWORD processId, int id, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitFor([&] {
        for (HWND dialog : drv::FindTopWindows(L"#32770", L"", processId))
            if (IsWindowVisible(dialog) && GetDlgItem(dialog, id)) found = dialog;
        return found != nullptr;
    }, timeoutMs);
    return found;
}

class RecordEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // What an installer registers beside the recorder's own modules.
        for (const wchar_t* m : {L"SonelleCapture.ax", L"NVNoiseReduction.ax"})
            ASSERT_TRUE(testsignal::RegisterModule(m)) << m;
    }

    void SetUp() override
    {
        // The program runs from the build folder, its modules beside it.
        m_title = L"Sonelle Recording Test " + std::to_wstring(GetCurrentProcessId());
        m_installation.Set(drv::OwnFolder(), m_title, m_title + L" Wizard", m_title + L" Launch");
        drv::RegDeleteTree(HKEY_CURRENT_USER, kSonelleKey);
        static int count = 0;
        m_folder = testsignal::TempPath((L"RecordE2E" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                                         std::to_wstring(++count)).c_str()) + L"\\";
        drv::RemoveTree(m_folder.substr(0, m_folder.size() - 1));
        ASSERT_TRUE(CreateDirectoryW(m_folder.c_str(), nullptr));
    }

    void TearDown() override
    {
        if (m_process.Running()) m_process.Kill();
        drv::RemoveTree(m_folder.substr(0, m_folder.size() - 1));
    }

    // Starts the recorder with this record folder and device; finds its page and list.
    void Start(const std::wstring& recordFolder, const std::wstring& device)
    {
        drv::RegWriteString(HKEY_CURRENT_USER, kSonelleKey, L"RecordOutFolder", recordFolder);
        drv::RegWriteString(HKEY_CURRENT_USER, kSonelleKey, L"AudioDevice", device);
        ASSERT_TRUE(m_process.Start(drv::OwnFolder() + L"Sonelle.exe", L"", drv::OwnFolder()));
        // Shown once its devices have been walked.
        m_window = drv::WaitUntilShown(drv::WaitForWindow(L"#32770", m_title, m_process.Id(), 20000), 20000);
        ASSERT_NE(nullptr, m_window);
        m_page = drv::PageWithControl(m_window, kRec);
        ASSERT_NE(nullptr, m_page);
        // The list view sits inside the frame of its skinned scroll bars.
        HWND frame = GetDlgItem(m_page, kList);
        ASSERT_NE(nullptr, frame);
        m_list = drv::WindowClass(frame) == L"SysListView32" ? frame : drv::FindDescendant(frame, L"SysListView32");
        ASSERT_NE(nullptr, m_list);
        // The page opens its device shortly after it is shown.
        drv::Pause(2000);
    }

    void Exit()
    {
        ASSERT_TRUE(drv::ClickControl(m_window, kExit));
        ASSERT_TRUE(m_process.WaitForExit(20000)) << "the recorder did not end";
        EXPECT_EQ(0u, m_process.ExitCode());
        // On its way out the recorder starts the starter beside it; it is closed
        // as a user would, so that no other test meets it.
        HWND starter = drv::WaitUntilShown(drv::WaitForWindow(L"#32770", m_title + L" Launch Starter", 0, 15000), 10000);
        if (starter) {
            EXPECT_TRUE(drv::ClickControl(starter, IDOK));
            EXPECT_TRUE(drv::WaitForWindowGone(starter, 15000));
        }
    }

    // Elapsed time, recorded size and percent as the page shows them.
    std::vector<std::wstring> Status()
    {
        return {drv::ControlText(m_page, kElapsed), drv::ControlText(m_page, kSize), drv::ControlText(m_page, kPercent)};
    }

    bool Recording() { return IsWindowEnabled(GetDlgItem(m_page, kStop)) && !IsWindowEnabled(GetDlgItem(m_page, kRec)); }
    bool Idle() { return !IsWindowEnabled(GetDlgItem(m_page, kStop)) && IsWindowEnabled(GetDlgItem(m_page, kRec)); }

    // Opens the rows' context menu with `rows` selected and chooses an item.
    bool ChooseFromRowMenu(const std::vector<int>& rows, int downs)
    {
        if (!drv::SelectListRows(m_list, rows)) return false;
        POINT at = kInsideRows;
        ClientToScreen(m_page, &at);
        PostMessageW(m_page, WM_CONTEXTMENU, (WPARAM)m_page, MAKELPARAM(at.x, at.y));
        return drv::ChoosePopupMenuItem(m_process.Id(), downs, 5000);
    }

    CSavedInstallation m_installation;
    drv::Process m_process;
    std::wstring m_title, m_folder;
    HWND m_window = nullptr, m_page = nullptr, m_list = nullptr;
};

}  // namespace

TEST_F(RecordEndToEnd, RecordsTheChosenDeviceListsRenamesStopsAtTheRequestedTimeAndDeletes)
{
    // The first input opens at start; the fed device is chosen in the options.
    ASSERT_NO_FATAL_FAILURE(Start(m_folder, L""));
    const std::vector<std::wstring> zeroStatus = {L"00 : 00 : 00", L"0.0 KB", L"0 %"};
    EXPECT_EQ(zeroStatus, Status()) << "the status at start is the one a stop shows";
    ASSERT_TRUE(drv::ClickControl(m_page, kOptions));
    HWND options = WaitForDialogWith(m_process.Id(), kOptionsDevice, 10000);
    ASSERT_NE(nullptr, options);
    ASSERT_TRUE(drv::PickComboText(options, kOptionsDevice, testsignal::CaptureDeviceName, true));
    drv::Pause(1500);
    EXPECT_EQ(nullptr, drv::WaitForMessageBox(m_process.Id(), 0).window) << "the device opened";
    ASSERT_TRUE(drv::ClickControl(options, IDOK));
    ASSERT_TRUE(drv::WaitForWindowGone(options, 5000));
    drv::Pause(1000);

    // REC, three seconds of sound in the file (a busy machine may take longer), Stop.
    DWORD clicked = GetTickCount();
    ASSERT_TRUE(drv::ClickControl(m_page, kRec));
    ASSERT_TRUE(WaitFor([&] { return Recording(); }, 5000));
    long long seen = 0;
    ASSERT_TRUE(WaitFor([&] { return (seen = RecordedBytesIn(m_folder)) >= 176400 * 3; }, 30000))
        << "3 s of sound did not arrive";
    DWORD stopping = GetTickCount();
    ASSERT_TRUE(drv::ClickControl(m_page, kStop));
    ASSERT_TRUE(WaitFor([&] { return Idle(); }, 10000));
    const double stopSeconds = (GetTickCount() - stopping) / 1000.0, ranSeconds = (GetTickCount() - clicked) / 1000.0;
    ASSERT_TRUE(WaitFor([&] { return drv::ListRowCount(m_list) == 1; }, 8000));
    EXPECT_TRUE(Idle());
    EXPECT_EQ(zeroStatus, Status());

    std::set<std::wstring> files = WavFilesIn(m_folder);
    ASSERT_EQ(1u, files.size());
    const std::wstring recorded = m_folder + *files.begin();
    testsignal::WavFile wav;
    ASSERT_TRUE(testsignal::ReadWav(recorded, wav));
    EXPECT_EQ(2, wav.channels);
    EXPECT_EQ(44100, wav.rate);
    EXPECT_EQ(16, wav.bits);
    EXPECT_EQ((long long)wav.dataSize + 44, wav.fileSize) << "the header matches the file";
    const double seconds = wav.dataSize / 176400.0;
    // Every byte seen before the stop is kept; after it, no more than the stop's
    // time and the graph's buffers let in, and never more sound than time.
    EXPECT_GE((long long)wav.dataSize, seen);
    EXPECT_LE(seconds, seen / 176400.0 + stopSeconds + 1.0);
    EXPECT_LE(seconds, ranSeconds);
    testsignal::Channel left = testsignal::Extract(wav.data, 2, 16, 44100, 0);
    EXPECT_TRUE(testsignal::HasCleanToneWindows(left, 1000.0, 10.0)) << testsignal::MeasureToneHz(left);

    std::vector<std::vector<std::wstring>> rows = drv::ListRows(m_list, 4);
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(ShownTitle(recorded), rows[0][0]);
    EXPECT_EQ(ClockText(seconds, false, L" : "), rows[0][1]);
    EXPECT_EQ(L"44100Hz 16bit Stereo", rows[0][3]);
    EXPECT_TRUE(drv::ListRowChecked(m_list, 0)) << "a new recording is checked";

    // Rename through the row's menu and the in-place box.
    ASSERT_TRUE(ChooseFromRowMenu({0}, kMenuDownsToRename));
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        box = FindWindowExW(m_list, nullptr, L"Edit", nullptr);
        return box && IsWindowVisible(box);
    }, 5000));
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(SendMessageTimeoutW(box, WM_SETTEXT, 0, (LPARAM)L"Morning Take", SMTO_ABORTIFHUNG, 2000, &ignored));
    PostMessageW(box, WM_KEYUP, VK_RETURN, 0);
    ASSERT_TRUE(WaitFor([&] { return drv::ListCellText(m_list, 0, 0) == ShownTitle(m_folder + L"Morning Take.wav"); }, 5000));
    EXPECT_TRUE(FileExists(m_folder + L"Morning Take.wav"));
    EXPECT_FALSE(FileExists(recorded));

    // A requested time of three seconds ends the next recording by itself.
    ASSERT_TRUE(drv::SetControlText(m_page, kSeconds, L"3"));
    ASSERT_TRUE(drv::ClickControl(m_page, kRec));
    ASSERT_TRUE(WaitFor([&] { return Recording(); }, 5000));
    ASSERT_TRUE(WaitFor([&] { return Idle(); }, 10000)) << "the recording did not stop by itself";
    EXPECT_EQ(L"00 : 00 : 03", drv::ControlText(m_page, kElapsed));
    EXPECT_EQ(L"100 %", drv::ControlText(m_page, kPercent));
    ASSERT_TRUE(WaitFor([&] { return drv::ListRowCount(m_list) == 2; }, 5000));
    files = WavFilesIn(m_folder);
    ASSERT_EQ(2u, files.size());
    files.erase(L"Morning Take.wav");
    ASSERT_EQ(1u, files.size());
    const std::wstring timed = m_folder + *files.begin();
    ASSERT_TRUE(testsignal::ReadWav(timed, wav));
    EXPECT_NEAR(3.25, wav.dataSize / 176400.0, 0.5) << "the requested time is the length of the file";

    // Delete the timed one with the Delete key; the shell asks first.
    ASSERT_TRUE(drv::SelectListRows(m_list, {1}));
    PostMessageW(m_list, WM_KEYUP, VK_DELETE, 0);
    HWND confirm = drv::WaitForWindow(L"#32770", L"Confirm file deletion", m_process.Id(), 10000);
    ASSERT_NE(nullptr, confirm);
    ASSERT_TRUE(drv::ClickControl(confirm, IDYES));
    ASSERT_TRUE(WaitFor([&] { return drv::ListRowCount(m_list) == 1; }, 5000));
    EXPECT_FALSE(FileExists(timed));
    EXPECT_EQ(ShownTitle(m_folder + L"Morning Take.wav"), drv::ListCellText(m_list, 0, 0));

    Exit();
    std::wstring device;
    EXPECT_TRUE(drv::RegReadString(HKEY_CURRENT_USER, kSonelleKey, L"AudioDevice", &device));
    EXPECT_EQ(std::wstring(testsignal::CaptureDeviceName), device) << "the chosen device is kept";
}

TEST_F(RecordEndToEnd, TheDiskReserveEndsARecordingWithItsMessageAndTheProgramGoesOn)
{
    // Room for about twenty seconds above the 51,200 KB every recording leaves free.
    CFullVolume volume(L'R', (51200ull + 20 * 176) * 1024);
    if (!volume.Ok()) GTEST_SKIP() << volume.Why();
    ASSERT_NO_FATAL_FAILURE(Start(volume.Path(L""), testsignal::CaptureDeviceName));
    ASSERT_TRUE(drv::ClickControl(m_page, kRec));
    ASSERT_TRUE(WaitFor([&] { return Recording(); }, 5000));
    // More than a second of sound in the file first (a busy machine may take longer).
    ASSERT_TRUE(WaitFor([&] { return RecordedBytesIn(volume.Path(L"")) > 176400 * 5 / 4; }, 30000))
        << "a second of sound did not arrive";
    // Another program's file takes the room meanwhile.
    HANDLE other = CreateFileW(volume.Path(L"other program.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    std::vector<char> block(256 * 1024);
    DWORD written = 0;
    while (volume.FreeBytes() > 51000ull * 1024 && WriteFile(other, block.data(), (DWORD)block.size(), &written, nullptr) &&
           written > 0)
        FlushFileBuffers(other);
    CloseHandle(other);
    drv::MessageBoxInfo box = drv::WaitForMessageBox(m_process.Id(), 10000);
    ASSERT_NE(nullptr, box.window) << "the reserve did not stop the recording; free KB " << volume.FreeBytes() / 1024;
    EXPECT_EQ(L"Hard disk is full.", box.text);
    EXPECT_TRUE(Idle()) << "stopped before the message";
    ASSERT_TRUE(drv::AnswerMessageBox(box, IDOK));
    ASSERT_TRUE(WaitFor([&] { return drv::ListRowCount(m_list) == 1; }, 5000));
    std::set<std::wstring> files = WavFilesIn(volume.Path(L""));
    ASSERT_EQ(1u, files.size());
    testsignal::WavFile wav;
    ASSERT_TRUE(testsignal::ReadWav(volume.Path(files.begin()->c_str()), wav));
    EXPECT_EQ((long long)wav.dataSize + 44, wav.fileSize) << "the header matches what was written";
    EXPECT_GT(wav.dataSize, 176400u) << "more than a second was kept";

    // The program goes on: the next REC is refused at once, nothing is created, and it ends normally.
    ASSERT_TRUE(drv::ClickControl(m_page, kRec));
    box = drv::WaitForMessageBox(m_process.Id(), 10000);
    ASSERT_NE(nullptr, box.window);
    EXPECT_EQ(L"Hard disk is full.", box.text);
    ASSERT_TRUE(drv::AnswerMessageBox(box, IDOK));
    EXPECT_TRUE(WaitFor([&] { return Idle(); }, 10000)) << "REC and Stop as before the refused start";
    EXPECT_EQ(1u, WavFilesIn(volume.Path(L"")).size());
    Exit();
}
