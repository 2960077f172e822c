// The repair tool as a real process in a test installation: its window tells the
// result and its exit code is 0 only when the check passes.
#include <gtest/gtest.h>
#include "DriverMessageBox.h"
#include "DriverProcess.h"
#include "ModuleLoader.h"
#include "TestSupport.h"

namespace {

struct RepairRun {
    DWORD exitCode = (DWORD)-1;
    std::wstring text;
};

RepairRun RunRepair(const std::wstring& folder)
{
    RepairRun run;
    drv::Process process;
    if (!process.Start(folder + L"kelvro.exe", L"", folder)) return run;
    drv::MessageBoxInfo box = drv::WaitForMessageBox(process.Id(), 60000);
    run.text = box.text;
    if (box.window) drv::AnswerMessageBox(box, IDOK);
    if (process.WaitForExit(60000)) run.exitCode = process.ExitCode();
    else process.Kill();
    return run;
}

class Kelvro : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testsignal::RegisterModule(L"NVAudioAnalyer.ax"));
        m_folder = MakeTempFolder(L"kelvro");
        ASSERT_TRUE(CopyFileW((ProgramFolder() + L"kelvro.exe").c_str(), (m_folder + L"kelvro.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW((ProgramFolder() + L"NVFilterChecker.dll").c_str(),
                              (m_folder + L"NVFilterChecker.dll").c_str(), FALSE));
    }
    void TearDown() override { DeleteTree(m_folder); }

    std::wstring m_folder;
};

TEST_F(Kelvro, PassesWhenNothingListedIsRegisteredElsewhere)
{
    WriteFileBytes(m_folder + L"kelvrodata.bin",
                   "\r\n[name] \"x.dll\" [type] \"other\" [guid] \"{5E1D0001-0000-4000-8000-00000000A0FF}\"\r\n");
    RepairRun run = RunRepair(m_folder);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_NE(run.text.find(L"All components are registered"), std::wstring::npos) << run.text;
}

TEST_F(Kelvro, FailsWhenAComponentStaysRegisteredFromAnotherFolder)
{
    // The analyzer is registered from the build folder, not from this one, and
    // its module is not here to be registered again.
    WriteFileBytes(m_folder + L"kelvrodata.bin",
                   "[name] \"NVAudioAnalyer.ax\" [type] \"filter\" [guid] \"{0E558951-6D30-4530-30EC-3F15777FBBE1}\"\r\n");
    RepairRun run = RunRepair(m_folder);
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_NE(run.text.find(L"nvaudioanalyer.ax: not in this folder"), std::wstring::npos) << run.text;
    EXPECT_NE(run.text.find(L"still not registered"), std::wstring::npos) << run.text;
}

TEST_F(Kelvro, FailsWithoutTheFilterChecker)
{
    DeleteFileW((m_folder + L"NVFilterChecker.dll").c_str());
    RepairRun run = RunRepair(m_folder);
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_NE(run.text.find(L"NVFilterChecker.dll is missing"), std::wstring::npos) << run.text;
}

}  // namespace
