// The starter's window as a user meets it: its size, shape, pictures and texts,
// with its own pictures or the skin module's; its help menu, the About boxes and
// its log.
#include <fstream>
#include <gtest/gtest.h>
#include "StarterTestSupport.h"

using namespace startertest;

namespace {


SIZE WindowSize(HWND window)
{
    RECT rc = {};
    GetWindowRect(window, &rc);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

// A dialog of the process other than `except`, waited for up to timeoutMs.
HWND WaitForOtherDialog(DWORD processId, HWND except, DWORD timeoutMs)
{
    for (DWORD waited = 0; waited <= timeoutMs; waited += 50) {
        for (HWND window : drv::FindTopWindows(L"#32770", L"", processId))
            if (window != except && IsWindowVisible(window)) return window;
        Sleep(50);
    }
    return nullptr;
}

}  // namespace

TEST(StarterWindow, IsSkinnedFromItsOwnPicturesOrTheSkinModule)
{
    // A skin module without the pictures (any module will do) falls back to the
    // program's own, picture by picture.
    const struct {
        const char* what;
        const wchar_t* module;
    } cases[] = {{"own pictures", nullptr}, {"skin module", L"RUZovizovSkin.dll"},
                 {"skin module without pictures", L"NVFilterChecker.dll"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Installation install;
        if (c.module) {
            ASSERT_TRUE(install.Copy(c.module, L"RUZovizovSkin.dll"));
        }
        drv::Process process;
        HWND window = StartStarter(install, process);
        ASSERT_NE(nullptr, window);
        EXPECT_TRUE(IsWindowVisible(window));
        SIZE size = WindowSize(window);
        EXPECT_EQ(800, size.cx);
        EXPECT_EQ(600, size.cy);
        EXPECT_TRUE(drv::HasWindowShape(window)) << "rounded corners";
        EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_MINIMIZEBOX);

        const struct {
            int id, x, y, w, h;
        } buttons[] = {{1002, 653, 14, 39, 39}, {1001, 696, 14, 39, 39}, {IDOK, 739, 14, 39, 39},
                       {1003, 101, 108, 278, 208}, {1004, 422, 108, 278, 208}};
        for (const auto& b : buttons) {
            HWND button = GetDlgItem(window, b.id);
            ASSERT_NE(nullptr, button) << b.id;
            RECT place = {};
            GetWindowRect(button, &place);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
            EXPECT_EQ(b.x, place.left) << b.id;
            EXPECT_EQ(b.y, place.top) << b.id;
            EXPECT_EQ(b.w, place.right - place.left) << b.id;
            EXPECT_EQ(b.h, place.bottom - place.top) << b.id;
            EXPECT_TRUE(drv::HasWindowShape(button)) << b.id << ": its picture strip was loaded";
        }
        HWND logo = GetDlgItem(window, 1016);
        EXPECT_NE(nullptr, (HANDLE)SendMessageW(logo, STM_GETIMAGE, IMAGE_BITMAP, 0)) << "the logo shows";
        EXPECT_EQ(300, WindowSize(logo).cx);
        EXPECT_EQ(66, WindowSize(logo).cy);

        EXPECT_EQ(L"Easy Wizard Mode", drv::ControlText(window, 1006));
        EXPECT_EQ(L"Advanced Mode", drv::ControlText(window, 1009));
        EXPECT_EQ(L"PUBLISH: Convert captured audio into MP3 files, and burn audio CDs or MP3 CDs.",
                  drv::ControlText(window, 1015));
        EXPECT_TRUE(CloseStarter(window));
        ASSERT_TRUE(process.WaitForExit(10000));
        EXPECT_EQ(0u, process.ExitCode());
    }
}

// The menu is worked with the keys, as a user without a mouse would: the fourth
// item (separators are skipped) is About, the third starts the system tool.
TEST(StarterWindow, HelpMenuItemsOpenTheAboutBoxAndTheSystemTool)
{
    SavedString path(L"Software\\Microsoft\\Shared Tools\\MSInfo", L"Path");
    Installation install;
    ASSERT_TRUE(install.Copy(L"StarterDouble.exe", L"MSInfo32.exe"));
    drv::RegWriteString(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Shared Tools\\MSInfo", L"Path",
                        install.Folder() + L"MSInfo32.exe");
    drv::Process process;
    HWND window = StartStarter(install, process);
    ASSERT_NE(nullptr, window);
    for (int downs : {4, 3}) {
        SCOPED_TRACE(downs);
        ASSERT_TRUE(drv::ClickControl(window, 1002));
        ASSERT_TRUE(drv::ChoosePopupMenuItem(process.Id(), downs, 10000)) << "the help menu opens";
        if (downs == 4) {
            HWND about = WaitForOtherDialog(process.Id(), window, 10000);
            ASSERT_NE(nullptr, about) << "About";
            EXPECT_EQ(install.launchName, drv::WindowText(about));
            ASSERT_TRUE(drv::ClickControl(about, IDOK));
            ASSERT_TRUE(drv::WaitForWindowGone(about, 10000));
        } else {
            EXPECT_TRUE(WaitForFile(install.Folder() + L"MSInfo32.args", 10000)) << "Check your computer spec";
        }
    }
    EXPECT_TRUE(CloseStarter(window));
}

TEST(StarterWindow, AboutFromTheHelpMenuShowsTheTitleAndVersionAndFromTheSystemMenuTheTemplate)
{
    Installation install;
    drv::Process process;
    HWND window = StartStarter(install, process);
    ASSERT_NE(nullptr, window);

    PostMessageW(window, WM_COMMAND, 32780, 0);
    HWND about = WaitForOtherDialog(process.Id(), window, 10000);
    ASSERT_NE(nullptr, about);
    EXPECT_EQ(install.launchName, drv::WindowText(about));
    EXPECT_EQ(install.launchName, drv::ControlText(about, 1035));
    EXPECT_EQ(L"Product Version : 2.0.43", drv::ControlText(about, 1036));
    EXPECT_EQ(L"http://www.norvane.com", drv::ControlText(about, 1114));
    ASSERT_TRUE(drv::ClickControl(about, IDOK));
    ASSERT_TRUE(drv::WaitForWindowGone(about, 10000));

    PostMessageW(window, WM_SYSCOMMAND, 16, 0);
    about = WaitForOtherDialog(process.Id(), window, 10000);
    ASSERT_NE(nullptr, about);
    EXPECT_EQ(L"About", drv::WindowText(about));
    EXPECT_EQ(L"", drv::ControlText(about, 1035));
    EXPECT_EQ(L"", drv::ControlText(about, 1036));
    ASSERT_TRUE(drv::ClickControl(about, IDOK));
    ASSERT_TRUE(drv::WaitForWindowGone(about, 10000));
    EXPECT_TRUE(CloseStarter(window));
}

TEST(StarterWindow, LogSwitchWritesTheTitlesAndTheFolderReadToItsLog)
{
    Installation install;
    const std::wstring log = DocumentsFolder() + L"\\RUZovizov.log";
    DeleteFileW(log.c_str());
    drv::Process process;
    HWND window = StartStarter(install, process, L"/NV_Log");
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(CloseStarter(window));
    ASSERT_TRUE(process.WaitForExit(10000));
    const std::string text = ReadAll(log);
    auto narrow = [](const std::wstring& s) { return std::string(s.begin(), s.end()); };
    EXPECT_NE(std::string::npos, text.find("NV_Log param setting...")) << text;
    EXPECT_NE(std::string::npos, text.find("LanuchName: [" + narrow(install.launchName) + "]")) << text;
    EXPECT_NE(std::string::npos, text.find("WizardName: [" + narrow(install.wizardName) + "]")) << text;
    EXPECT_NE(std::string::npos, text.find("AppPath: [" + narrow(install.Folder()) + "] --reg")) << text;
    EXPECT_NE(std::string::npos, text.find("] --cur")) << text;
}

TEST(StarterWindow, RefusedSecondStartLeavesTheRunningLogAndItsBackups)
{
    Installation install;
    const std::wstring documents = DocumentsFolder();
    const std::wstring log = documents + L"\\RUZovizov.log", backup1 = documents + L"\\RUZovizov_bak1.log",
                       backup2 = documents + L"\\RUZovizov_bak2.log";
    for (const std::wstring& f : {log, backup1, backup2}) DeleteFileW(f.c_str());
    std::ofstream(backup1.c_str(), std::ios::binary) << "older run\r\n";
    drv::Process first;
    HWND window = StartStarter(install, first, L"/NV_Log");
    ASSERT_NE(nullptr, window);
    const std::string running = ReadAll(log), older = ReadAll(backup1), oldest = ReadAll(backup2);
    ASSERT_NE(std::string::npos, running.find("NV_Log param setting..."));

    drv::Process second;
    ASSERT_TRUE(second.Start(install.Folder() + L"SonelleStarter.exe", L"/NV_Log", install.Folder()));
    ASSERT_TRUE(second.WaitForExit(15000)) << "a second starter is refused";
    // The running starter may add lines; a moved log would start with the refused start's.
    EXPECT_EQ(0, ReadAll(log).compare(0, running.size(), running)) << "the running starter's log is not moved away";
    EXPECT_EQ(older, ReadAll(backup1));
    EXPECT_EQ(oldest, ReadAll(backup2));
    EXPECT_TRUE(CloseStarter(window));
    ASSERT_TRUE(first.WaitForExit(10000));
    for (const std::wstring& f : {log, backup1, backup2}) DeleteFileW(f.c_str());
}

TEST(StarterWindow, AMissingAppPathIsTheStartersOwnFolderAndIsWrittenBack)
{
    Installation install;
    ASSERT_TRUE(install.Copy(L"StarterDouble.exe", L"SonelleWiz.exe"));
    drv::RegDeleteValue(HKEY_LOCAL_MACHINE, kSuiteKey, L"AppPath");
    drv::Process process;
    // Started from another current folder: the starter still finds its programs.
    ASSERT_TRUE(process.Start(install.Folder() + L"SonelleStarter.exe", L"", drv::OwnFolder()));
    HWND window = drv::WaitForWindow(L"#32770", install.StarterCaption(), process.Id(), 15000);
    ASSERT_NE(nullptr, window);
    std::wstring stored;
    EXPECT_TRUE(drv::RegReadString(HKEY_LOCAL_MACHINE, kSuiteKey, L"AppPath", &stored));
    EXPECT_EQ(install.Folder(), stored);
    ASSERT_TRUE(drv::ClickControl(window, 1003));
    ASSERT_TRUE(process.WaitForExit(10000));
    EXPECT_TRUE(WaitForFile(install.Folder() + L"SonelleWiz.args", 10000));
}
