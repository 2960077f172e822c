// The component check at start, as the starter and the recorder run it in a test
// installation: a listed module registered from another folder starts the repair
// tool; the real repair tool registers it again from the installation, and the
// next start needs no repair. "Check your computer spec" starts the registered
// system-information tool from either program.
#include <gtest/gtest.h>
#include <cwctype>
#include "ModuleLoader.h"
#include "StarterTestSupport.h"

using namespace startertest;

namespace {

const wchar_t kMSInfoKey[] = L"Software\\Microsoft\\Shared Tools\\MSInfo";
const wchar_t kLocationKey[] = L"Software\\Microsoft\\Shared Tools Location";

std::string AnalyzerLine()
{
    return std::string("[name] \"NVAudioAnalyer.ax\" [type] \"filter\" [guid] \"") + kAnalyzerId + "\"\r\n";
}

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text) c = (wchar_t)std::towlower(c);
    return text;
}

std::wstring AnalyzerServer()
{
    std::wstring id(kAnalyzerId, kAnalyzerId + strlen(kAnalyzerId)), server;
    drv::RegReadString(HKEY_CLASSES_ROOT, L"CLSID\\" + id + L"\\InprocServer32", L"", &server);
    return server;
}

class ComponentCheck : public ::testing::Test {
protected:
    // Every test leaves the analyzer registered from the build folder, as the
    // other test programs expect it.
    void SetUp() override { ASSERT_TRUE(testsignal::RegisterModule(L"NVAudioAnalyer.ax")); }
    void TearDown() override { testsignal::RegisterModule(L"NVAudioAnalyer.ax"); }
};

}  // namespace

TEST_F(ComponentCheck, StarterStartsTheRepairToolOnlyWhenTheCheckFails)
{
    struct Case {
        const char* what;
        bool listAnalyzer, checker, repairStarted;
    } cases[] = {
        {"registered from another folder", true, true, true},
        {"nothing listed that fails", false, true, false},
        {"no checker library", true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Installation install;
        ASSERT_TRUE(install.Copy(L"StarterDouble.exe", L"kelvro.exe"));
        ASSERT_TRUE(install.WriteComponentList(c.listAnalyzer ? AnalyzerLine() : std::string("\r\n")));
        if (!c.checker) {
            ASSERT_TRUE(DeleteFileW((install.Folder() + L"NVFilterChecker.dll").c_str()));
        }
        drv::Process process;
        HWND window = StartStarter(install, process);
        ASSERT_NE(nullptr, window) << "the starter shows after its check";
        // The repair tool is started before the window is made.
        EXPECT_EQ(c.repairStarted, WaitForFile(install.Folder() + L"kelvro.args", c.repairStarted ? 10000 : 1000));
        if (c.repairStarted) {
            EXPECT_EQ("\r\n", install.Record(L"kelvro.exe")) << "started with no arguments";
        }
        EXPECT_TRUE(CloseStarter(window));
    }
}

TEST_F(ComponentCheck, RealRepairToolRegistersFromTheInstallationAndTheNextStartNeedsNone)
{
    Installation install;
    ASSERT_TRUE(install.Copy(L"kelvro.exe"));
    ASSERT_TRUE(install.Copy(L"NVAudioAnalyer.ax"));
    ASSERT_TRUE(install.WriteComponentList(AnalyzerLine()));
    ASSERT_EQ(std::wstring::npos, Lower(AnalyzerServer()).find(Lower(install.Folder())));

    drv::Process process;
    HWND window = StartStarter(install, process);
    ASSERT_NE(nullptr, window);
    HWND repair = drv::WaitForWindow(L"#32770", L"Sonelle component repair", 0, 60000);
    ASSERT_NE(nullptr, repair) << "the repair tool reports";
    drv::MessageBoxInfo box{repair, drv::WindowText(repair), drv::ControlText(repair, 0xFFFF)};
    EXPECT_NE(std::wstring::npos, box.text.find(L"All components are registered")) << box.text;
    ASSERT_TRUE(drv::AnswerMessageBox(box, IDOK));
    EXPECT_EQ(Lower(install.Folder() + L"NVAudioAnalyer.ax"), Lower(AnalyzerServer()))
        << "registered again from the installation";
    EXPECT_TRUE(CloseStarter(window));
    ASSERT_TRUE(process.WaitForExit(10000));

    // The next start finds nothing to repair: a repair tool there would leave its record.
    Sleep(500);
    ASSERT_TRUE(install.Copy(L"StarterDouble.exe", L"kelvro.exe"));
    drv::Process next;
    window = StartStarter(install, next);
    ASSERT_NE(nullptr, window);
    EXPECT_FALSE(WaitForFile(install.Folder() + L"kelvro.args", 1000));
    EXPECT_TRUE(CloseStarter(window));
}

TEST_F(ComponentCheck, RecorderChecksOnlyWithItsExtraModule)
{
    for (bool extra : {false, true}) {
        SCOPED_TRACE(extra ? "with WavelornExtra.dll" : "without");
        Installation install;
        ASSERT_TRUE(install.CopyRecorder());
        ASSERT_TRUE(install.Copy(L"StarterDouble.exe", L"kelvro.exe"));
        ASSERT_TRUE(install.Copy(L"StarterDouble.exe", L"SonelleStarter.exe"));
        // Any resource-only module serves as the extra module.
        if (extra) {
            ASSERT_TRUE(install.Copy(L"RUZovizovSkin.dll", L"WavelornExtra.dll"));
        }
        ASSERT_TRUE(install.WriteComponentList(AnalyzerLine()));
        drv::Process process;
        ASSERT_TRUE(process.Start(install.Folder() + L"Sonelle.exe", L"", install.Folder()));
        HWND window = drv::WaitUntilShown(drv::WaitForWindow(L"#32770", install.advancedName, process.Id(), 20000), 20000);
        ASSERT_NE(nullptr, window);
        EXPECT_EQ(extra, WaitForFile(install.Folder() + L"kelvro.args", extra ? 10000 : 1000));
        ASSERT_TRUE(drv::ClickControl(window, 1005));
        ASSERT_TRUE(process.WaitForExit(15000));
    }
}

TEST_F(ComponentCheck, CheckYourComputerSpecStartsTheRegisteredToolFromStarterAndRecorder)
{
    SavedString path(kMSInfoKey, L"Path"), location(kLocationKey, L"MSInfo");
    Installation install;
    ASSERT_TRUE(install.CopyRecorder());
    ASSERT_TRUE(install.Copy(L"StarterDouble.exe", L"MSInfo32.exe"));
    const std::wstring record = install.Folder() + L"MSInfo32.args";

    drv::Process starter;
    HWND window = StartStarter(install, starter);
    ASSERT_NE(nullptr, window);
    drv::Process recorder;
    ASSERT_TRUE(recorder.Start(install.Folder() + L"Sonelle.exe", L"", install.Folder()));
    HWND recorderWindow = drv::WaitUntilShown(drv::WaitForWindow(L"#32770", install.advancedName, recorder.Id(), 20000), 20000);
    ASSERT_NE(nullptr, recorderWindow);

    for (HWND target : {window, recorderWindow}) {
        SCOPED_TRACE(target == window ? "starter" : "recorder");
        DeleteFileW(record.c_str());
        drv::RegWriteString(HKEY_LOCAL_MACHINE, kMSInfoKey, L"Path", install.Folder() + L"MSInfo32.exe");
        PostMessageW(target, WM_COMMAND, 32785, 0);
        EXPECT_TRUE(WaitForFile(record, 10000)) << "the tool named by \"Path\" starts";

        // With no value at all nothing starts, and the program goes on.
        DeleteFileW(record.c_str());
        drv::RegDeleteValue(HKEY_LOCAL_MACHINE, kMSInfoKey, L"Path");
        drv::RegDeleteValue(HKEY_LOCAL_MACHINE, kLocationKey, L"MSInfo");
        PostMessageW(target, WM_COMMAND, 32785, 0);
        EXPECT_FALSE(WaitForFile(record, 1000));
        EXPECT_TRUE(IsWindowVisible(target));
    }
    ASSERT_TRUE(drv::ClickControl(recorderWindow, 1005));
    ASSERT_TRUE(recorder.WaitForExit(15000));
    EXPECT_TRUE(CloseStarter(window));
}

TEST_F(ComponentCheck, StarterShowsItsWindowBeforeTheCheckAndLogsItsStartupSteps)
{
    Installation install;
    ASSERT_TRUE(install.Copy(L"StarterDouble.exe", L"kelvro.exe"));
    ASSERT_TRUE(install.WriteComponentList(AnalyzerLine()));
    const std::wstring log = DocumentsFolder() + L"\\RUZovizov.log";
    DeleteFileW(log.c_str());

    drv::Process process;
    HWND window = StartStarter(install, process, L"/NV_Log");
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(WaitForFile(install.Folder() + L"kelvro.args", 10000)) << "the failed check still starts the repair tool";
    std::string text;
    for (int i = 0; i < 300 && text.find("ms start-up done") == std::string::npos; ++i) {
        Sleep(50);
        text = ReadAll(log);
    }
    EXPECT_TRUE(CloseStarter(window));

    // Each step is a "Start-up: <ms> ms <step>" line, in the order the steps end.
    const size_t made = text.find("ms window made"), painted = text.find("ms window up and painted"),
                 check = text.find("CheckNVFilter ["), checked = text.find("ms component check"),
                 done = text.find("ms start-up done");
    ASSERT_NE(std::string::npos, painted) << text;
    ASSERT_NE(std::string::npos, check) << text;
    EXPECT_LT(made, painted) << text;
    EXPECT_LT(painted, check) << "the component check runs once the window is up\n" << text;
    EXPECT_LT(check, checked) << text;
    EXPECT_LT(checked, done) << text;
}
