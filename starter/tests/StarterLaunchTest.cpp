// The starter's way in and out: it refuses to start while a wizard, recorder or
// starter window is open, its two buttons start the programs of the installation
// and end it, and the other ways out start nothing.
#include <gtest/gtest.h>
#include "StarterTestSupport.h"

using namespace startertest;

namespace {

bool HasWindowOf(DWORD processId)
{
    for (HWND window : drv::FindTopWindows(L"#32770", L"", processId))
        if (IsWindowVisible(window)) return true;
    return false;
}

}  // namespace

TEST(StarterLaunch, AnOpenWizardRecorderOrStarterWindowKeepsANewStarterAway)
{
    Installation install;
    struct Case {
        const char* what;
        std::wstring title;
    } cases[] = {
        {"wizard", install.wizardName},
        {"recorder", install.advancedName},
        {"starter", install.StarterCaption()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        drv::FakeWindow running(L"#32770", c.title);
        drv::Process process;
        ASSERT_TRUE(process.Start(install.Folder() + L"SonelleStarter.exe", L"", install.Folder()));
        ASSERT_TRUE(process.WaitForExit(5000)) << "the starter ends at once";
        EXPECT_EQ(0u, process.ExitCode());
        EXPECT_FALSE(HasWindowOf(process.Id()));
    }
}

TEST(StarterLaunch, ASecondStarterEndsAndTheFirstStays)
{
    Installation install;
    drv::Process first;
    HWND window = StartStarter(install, first);
    ASSERT_NE(nullptr, window);
    drv::Process second;
    ASSERT_TRUE(second.Start(install.Folder() + L"SonelleStarter.exe", L"/NOINTRO", install.Folder()));
    ASSERT_TRUE(second.WaitForExit(5000));
    EXPECT_FALSE(HasWindowOf(second.Id()));
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(CloseStarter(window));
}

TEST(StarterLaunch, EmptyStoredTitlesAndOtherWindowsBlockNothing)
{
    Installation install;
    // Untitled dialogs are everywhere; an empty stored title must not match them.
    drv::FakeWindow untitled(L"#32770", L"");
    drv::FakeWindow launchOnly(L"#32770", install.launchName);
    drv::FakeWindow notADialog(L"STATIC", install.wizardName);
    ASSERT_TRUE(install.CopyRecorder());
    for (const wchar_t* value : {L"WizardName", L"AdvancedName"}) {
        SCOPED_TRACE(std::string(value, value + wcslen(value)));
        drv::RegWriteString(HKEY_LOCAL_MACHINE, kSuiteKey, value, L"");
        drv::Process process;
        HWND window = StartStarter(install, process);
        ASSERT_NE(nullptr, window) << "the starter shows";
        EXPECT_TRUE(CloseStarter(window));
        ASSERT_TRUE(process.WaitForExit(10000));

        // Nor does the recorder take the untitled dialog for a running wizard.
        drv::Process recorder;
        ASSERT_TRUE(recorder.Start(install.Folder() + L"Sonelle.exe", L"", install.Folder()));
        std::wstring title = value == std::wstring(L"AdvancedName") ? L"Norvane Sonelle 2.0" : install.advancedName;
        HWND recorderWindow = drv::WaitUntilShown(drv::WaitForWindow(L"#32770", title, recorder.Id(), 20000), 20000);
        ASSERT_NE(nullptr, recorderWindow) << "the recorder shows";
        ASSERT_TRUE(drv::ClickControl(recorderWindow, 1005));
        ASSERT_TRUE(recorder.WaitForExit(15000));
        // It hands back to the real starter of the installation: close that one.
        if (HWND back = drv::WaitForWindow(L"#32770", install.StarterCaption(), 0, 20000)) CloseStarter(back);
        drv::RegWriteString(HKEY_LOCAL_MACHINE, kSuiteKey, value, value == std::wstring(L"WizardName")
                                                                    ? install.wizardName : install.advancedName);
    }
    // An empty launch name keeps the program's own title.
    drv::RegWriteString(HKEY_LOCAL_MACHINE, kSuiteKey, L"LanuchName", L"");
    drv::Process process;
    ASSERT_TRUE(process.Start(install.Folder() + L"SonelleStarter.exe", L"", install.Folder()));
    HWND window = drv::WaitForWindow(L"#32770", L"Norvane Sonelle 2.0 Starter", process.Id(), 15000);
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(CloseStarter(window));
}

TEST(StarterLaunch, WizardButtonStartsTheWizardWithNoArgumentsAndEnds)
{
    Installation install;
    ASSERT_TRUE(install.Copy(L"StarterDouble.exe", L"SonelleWiz.exe"));
    drv::Process process;
    HWND window = StartStarter(install, process);
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(drv::ClickControl(window, 1003));
    ASSERT_TRUE(process.WaitForExit(10000)) << "the starter ends after the launch";
    EXPECT_EQ(0u, process.ExitCode());
    ASSERT_TRUE(WaitForFile(install.Folder() + L"SonelleWiz.args", 10000));
    EXPECT_EQ("\r\n", install.Record(L"SonelleWiz.exe")) << "no arguments";
}

TEST(StarterLaunch, AdvancedButtonStartsTheRecorderWhoseExitBringsTheStarterBack)
{
    Installation install;
    ASSERT_TRUE(install.CopyRecorder());
    drv::Process process;
    HWND window = StartStarter(install, process);
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(drv::ClickControl(window, 1004));
    ASSERT_TRUE(process.WaitForExit(10000)) << "the starter ends after the launch";

    HWND recorder = drv::WaitUntilShown(drv::WaitForWindow(L"#32770", install.advancedName, 0, 20000), 20000);
    ASSERT_NE(nullptr, recorder) << "the real recorder runs";
    ASSERT_TRUE(drv::ClickControl(recorder, 1005));
    ASSERT_TRUE(drv::WaitForWindowGone(recorder, 15000));
    HWND again = drv::WaitForWindow(L"#32770", install.StarterCaption(), 0, 20000);
    ASSERT_NE(nullptr, again) << "leaving the recorder brings the starter back";
    EXPECT_TRUE(CloseStarter(again));
}

TEST(StarterLaunch, ExitEnterAndEscapeEndTheStarterWithoutLaunching)
{
    Installation install;
    ASSERT_TRUE(install.Copy(L"StarterDouble.exe", L"SonelleWiz.exe"));
    ASSERT_TRUE(install.Copy(L"StarterDouble.exe", L"Sonelle.exe"));
    struct Case {
        const char* what;
        UINT message;
        WPARAM wParam;
    } cases[] = {
        {"x button", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED)},
        {"Enter", WM_COMMAND, IDOK},
        {"Escape", WM_COMMAND, IDCANCEL},
        {"close", WM_CLOSE, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        drv::Process process;
        HWND window = StartStarter(install, process);
        ASSERT_NE(nullptr, window);
        PostMessageW(window, c.message, c.wParam, 0);
        ASSERT_TRUE(process.WaitForExit(10000));
        EXPECT_EQ(0u, process.ExitCode());
    }
    Sleep(500);
    EXPECT_FALSE(install.HasRecord(L"SonelleWiz.exe"));
    EXPECT_FALSE(install.HasRecord(L"Sonelle.exe"));
}

TEST(StarterLaunch, AMissingWizardIsReportedAndTheStarterStays)
{
    Installation install;
    drv::Process process;
    HWND window = StartStarter(install, process);
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(drv::ClickControl(window, 1003));
    drv::MessageBoxInfo box = drv::WaitForMessageBox(process.Id(), 15000);
    ASSERT_NE(nullptr, box.window);
    EXPECT_EQ(L"Cannot start " + install.Folder() + L"SonelleWiz.exe.", box.text);
    EXPECT_EQ(install.StarterCaption(), box.title);
    ASSERT_TRUE(drv::AnswerMessageBox(box, IDOK));
    ASSERT_TRUE(drv::WaitForWindowGone(box.window, 10000));
    EXPECT_FALSE(process.WaitForExit(500)) << "the starter stays";
    for (int id : {1003, 1004}) {
        for (int i = 0; i < 100 && !IsWindowEnabled(GetDlgItem(window, id)); ++i) Sleep(20);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, id))) << id;
    }
    EXPECT_TRUE(CloseStarter(window));
}
