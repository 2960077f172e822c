// The component check against real registrations in the sandbox: the analyzer
// module registered from the build folder, and made-up classes whose server keys
// the tests write and remove.
#include <gtest/gtest.h>
#include <objbase.h>
#include <thread>
#include "FilterCheckerClient.h"
#include "LogFile.h"
#include "MngDLL.h"
#include "ModuleLoader.h"
#include "Registry.h"
#include "TestSupport.h"

namespace {

const wchar_t kAnalyzerId[] = L"{0E558951-6D30-4530-30EC-3F15777FBBE1}";
// Classes that exist only while a test has written them.
const wchar_t kShortFormId[] = L"{5E1D0001-0000-4000-8000-00000000A001}";
const wchar_t kTextModuleId[] = L"{5E1D0001-0000-4000-8000-00000000A002}";
const wchar_t kElsewhereId[] = L"{5E1D0001-0000-4000-8000-00000000A003}";
const wchar_t kExpandId[] = L"{5E1D0001-0000-4000-8000-00000000A004}";
const wchar_t kUnregisteredId[] = L"{5E1D0001-0000-4000-8000-00000000A0FF}";

std::wstring WithoutSlash(std::wstring folder)
{
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder;
}

std::wstring ShortForm(const std::wstring& path)
{
    wchar_t buffer[MAX_PATH] = L"";
    GetShortPathNameW(path.c_str(), buffer, MAX_PATH);
    return buffer;
}

void RegisterServer(const wchar_t* clsid, const std::wstring& module, DWORD type = REG_SZ)
{
    std::wstring key = std::wstring(L"CLSID\\") + clsid + L"\\InprocServer32";
    HKEY handle;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(handle, nullptr, 0, type, (const BYTE*)module.c_str(), DWORD((module.size() + 1) * 2));
    RegCloseKey(handle);
}

void UnregisterServer(const wchar_t* clsid)
{
    RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + clsid).c_str());
}

std::wstring Line(const std::wstring& name, const std::wstring& type, const std::wstring& id)
{
    return L"[name] \"" + name + L"\" [type] \"" + type + L"\" [guid] \"" + id + L"\"";
}

class FilterChecker : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(testsignal::RegisterModule(L"NVAudioAnalyer.ax")); }

    void SetUp() override
    {
        CoInitialize(nullptr);
        m_temp = MakeTempFolder(L"checker");
        // A folder whose name is not 8.3, so it has a separate short form.
        m_install = m_temp + L"Sonelle Installation Folder";
        m_elsewhere = m_temp + L"Another Copy";
        CreateDirectoryW(m_install.c_str(), nullptr);
        CreateDirectoryW(m_elsewhere.c_str(), nullptr);
        WriteFileBytes(m_install + L"\\Module.ax", "MZ");
        WriteFileBytes(m_install + L"\\Text.ax", "this is no module");
        WriteFileBytes(m_elsewhere + L"\\Module.ax", "MZ");
        RegisterServer(kShortFormId, ShortForm(m_install) + L"\\Module.ax");
        RegisterServer(kTextModuleId, m_install + L"\\Text.ax");
        RegisterServer(kElsewhereId, m_elsewhere + L"\\Module.ax");
        RegisterServer(kExpandId, L"%SONELLE_CHECKER_FOLDER%\\Module.ax", REG_EXPAND_SZ);
        SetEnvironmentVariableW(L"SONELLE_CHECKER_FOLDER", m_install.c_str());
    }

    void TearDown() override
    {
        for (const wchar_t* id : {kShortFormId, kTextModuleId, kElsewhereId, kExpandId}) UnregisterServer(id);
        g_bDebugSwitch = FALSE;
        DeleteTree(m_temp);
        CoUninitialize();
    }

    std::wstring m_temp, m_install, m_elsewhere;
};

struct LineCase {
    const wchar_t* what;
    std::wstring line;
    bool installFolder;  // expected folder: the test installation, else the build folder
    int expected;
};

TEST_F(FilterChecker, JudgesEachLineByWhereItsClassIsRegisteredAndWhetherItCanBeCreated)
{
    const LineCase cases[] = {
        {L"analyzer registered from the expected folder", Line(L"NVAudioAnalyer.ax", L"filter", kAnalyzerId), false, 1},
        {L"keys and type in upper case", L"[NAME] \"NVAudioAnalyer.ax\" [TYPE] \"FILTER\" [GUID] \"" + std::wstring(kAnalyzerId) + L"\"", false, 1},
        {L"analyzer registered from another folder", Line(L"NVAudioAnalyer.ax", L"filter", kAnalyzerId), true, 0},
        {L"registered under the folder's short form", Line(L"Module.ax", L"", kShortFormId), true, 1},
        {L"server path with an environment reference", Line(L"Module.ax", L"", kExpandId), true, 1},
        {L"registered in the folder but not a module", Line(L"Text.ax", L"filter", kTextModuleId), true, 0},
        {L"registered from a copy elsewhere", Line(L"Module.ax", L"", kElsewhereId), true, 0},
        {L"unregistered filter", Line(L"Gone.ax", L"filter", kUnregisteredId), true, 0},
        {L"unregistered packaged component", Line(L"Gone.dll", L"pack", L"sonelle.nosuchcomponent"), true, 0},
        {L"unregistered control", Line(L"Gone.ocx", L"ocx", kUnregisteredId), true, 0},
        {L"unregistered component of another type", Line(L"Gone.dll", L"other", kUnregisteredId), true, 1},
        {L"empty line", L"", true, 1},
        {L"malformed class id", Line(L"Gone.ax", L"filter", L"{123}"), true, 0},
        {L"class id with a non-hex digit", Line(L"Gone.ax", L"filter", L"{0E558951-6D30-4530-30EC-3F15777FBBEG}"), true, 0},
        {L"400-character name, other type", Line(std::wstring(400, L'n') + L".dll", L"other", kUnregisteredId), true, 1},
    };
    for (const LineCase& c : cases) {
        MngDLL checker;
        checker.SetLocation(c.installFolder ? m_install.c_str() : WithoutSlash(ProgramFolder()).c_str());
        EXPECT_EQ(checker.DoCheck(c.line), c.expected) << c.what;
    }
}

TEST_F(FilterChecker, ListStopsAtTheFirstFailingLineAndPassesWhenUnreadable)
{
    MngDLL checker;
    checker.SetLocation(m_install.c_str());
    std::wstring list = m_temp + L"kelvrodata.bin";
    WriteFileBytes(list, "[name] \"Module.ax\" [guid] \"{5E1D0001-0000-4000-8000-00000000A001}\"\r\n\r\n"
                         "[name] \"Module.ax\" [guid] \"{5E1D0001-0000-4000-8000-00000000A001}\"\r\n");
    EXPECT_EQ(checker.CheckList(list.c_str()), 1);
    WriteFileBytes(list, "[name] \"Module.ax\" [guid] \"{5E1D0001-0000-4000-8000-00000000A001}\"\r\n"
                         "[name] \"Module.ax\" [guid] \"{5E1D0001-0000-4000-8000-00000000A003}\"\r\n"
                         "[name] \"Module.ax\" [guid] \"{5E1D0001-0000-4000-8000-00000000A001}\"");
    EXPECT_EQ(checker.CheckList(list.c_str()), 0);
    EXPECT_EQ(checker.CheckList((m_temp + L"missing.bin").c_str()), 1);
    WriteFileBytes(list, "");
    EXPECT_EQ(checker.CheckList(list.c_str()), 1);
}

TEST_F(FilterChecker, LogNamesBothPathsOfAComponentRegisteredElsewhere)
{
    std::wstring log = m_temp + L"check.log";
    g_LogFile.SetFileName(log.c_str(), FALSE);
    g_LogFile.SetLevel(LOG_LEVEL_DEFAULT);
    g_bDebugSwitch = TRUE;
    MngDLL checker;
    checker.SetLocation((m_install + L"\\\\").c_str());
    EXPECT_EQ(checker.GetLocation(), m_install);
    EXPECT_EQ(checker.DoCheck(Line(L"Module.ax", L"", kElsewhereId)), 0);
    g_LogFile.SetFileName(L"", FALSE);
    std::string text = ReadFileBytes(log);
    auto ansi = [](const std::wstring& s) { return std::string(s.begin(), s.end()); };
    EXPECT_NE(text.find(ansi(m_install + L"\\module.ax")), std::string::npos) << text;
    EXPECT_NE(text.find(ansi(m_elsewhere + L"\\Module.ax")), std::string::npos) << text;
    EXPECT_NE(text.find("CheckRegistredModule return false"), std::string::npos) << text;
}

TEST_F(FilterChecker, WithoutALocationTheHostProgramsFolderIsExpected)
{
    MngDLL checker;
    std::wstring list = m_temp + L"list.bin";
    WriteFileBytes(list, "[name] \"NVAudioAnalyer.ax\" [type] \"filter\" [guid] \"{0E558951-6D30-4530-30EC-3F15777FBBE1}\"\r\n");
    EXPECT_EQ(checker.CheckList(list.c_str()), 1);
    EXPECT_EQ(checker.GetLocation(), WithoutSlash(ProgramFolder()));
}

// Through the library's exports, as the programs call it.
TEST(FilterCheckerLibrary, ExportsSetThePathAndStartTheLog)
{
    ASSERT_TRUE(LoadFilterChecker());
    EXPECT_EQ(g_FilterChecker.setPath(L"C:\\Sonelle\\\\"), 1);
    EXPECT_EQ(g_FilterChecker.setPath(L"\\"), 0);
    EXPECT_EQ(g_FilterChecker.setPath(L""), 0);

    std::wstring log = DocumentsFolder() + L"\\FilterCheck.log";
    DeleteFileW(log.c_str());
    EXPECT_EQ(g_FilterChecker.setLogPrint(1), 1);
    EXPECT_NE(ReadFileBytes(log).find("NV_Log param setting..."), std::string::npos);
    EXPECT_TRUE(UnloadFilterChecker());
    EXPECT_FALSE(UnloadFilterChecker());
}

TEST(FilterCheckerLibrary, AHostThreadInTheMultithreadedApartmentKeepsItsCom)
{
    ASSERT_TRUE(LoadFilterChecker());
    std::wstring list = MakeTempFolder(L"mta") + L"list.bin";
    WriteFileBytes(list, "[name] \"NVAudioAnalyer.ax\" [type] \"filter\" [guid] \"{0E558951-6D30-4530-30EC-3F15777FBBE1}\"\r\n");
    HRESULT before = E_FAIL, after = E_FAIL;
    int result = -1;
    std::thread host([&] {
        before = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        result = g_FilterChecker.checkNVFilter(list.c_str());
        // Still in the apartment: a second join answers S_FALSE, not S_OK.
        after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(after)) CoUninitialize();
        if (SUCCEEDED(before)) CoUninitialize();
    });
    host.join();
    EXPECT_EQ(before, S_OK);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(after, S_FALSE);
    UnloadFilterChecker();
}

TEST(FilterCheckerLibrary, ASecondLoadReleasesTheFirst)
{
    ASSERT_TRUE(LoadFilterChecker());
    ASSERT_TRUE(LoadFilterChecker());
    EXPECT_TRUE(UnloadFilterChecker());
    EXPECT_EQ(GetModuleHandleW(L"NVFilterChecker.dll"), nullptr);
}

}  // namespace
