#include "LogFile.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <regex>
#include <thread>

namespace {

// Names unique to this test process, so parallel sandboxes never share a log.
std::wstring UniqueLogName(const wchar_t* tag)
{
    return std::wstring(L"SonelleTest_") + tag + L"_" + std::to_wstring(GetCurrentProcessId()) + L".log";
}

std::wstring InDocuments(const std::wstring& name) { return DocumentsFolder() + L"\\" + name; }

void RemoveLogAndBackups(const std::wstring& name)
{
    std::wstring path = InDocuments(name);
    std::wstring stem = path.substr(0, path.size() - 4);
    DeleteFileW(path.c_str());
    DeleteFileW((stem + L"_bak1.log").c_str());
    DeleteFileW((stem + L"_bak2.log").c_str());
}

const std::regex kLine(R"(\[(\d{8})\] \[(\d{4})/(\d{2})/(\d{2})-(\d{2}):(\d{2}):(\d{2})\.(\d{3})\] (.*))");

// Logging state is process-wide: every test starts from "no log, switch off".
class LogFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CString test(::testing::UnitTest::GetInstance()->current_test_info()->name());
        name = UniqueLogName(test);
        RemoveLogAndBackups(name);
    }
    void TearDown() override
    {
        g_LogFile.SetFileName(L"", FALSE);
        g_LogFile.SetLevel(0x10000);
        g_bDebugSwitch = FALSE;
        RemoveLogAndBackups(name);
    }
    std::wstring name;
};

} // namespace

TEST_F(LogFileTest, LinesCarryCounterDateAndTimeAndEndInCrLf)
{
    SYSTEMTIME before;
    GetLocalTime(&before);
    LogInit(GetModuleHandleW(nullptr), name.c_str(), LOG_FOLDER_DOCUMENTS, TRUE, 0x20000);
    LogPrint(0x20000, L"value %s = %d", L"gain", 12);
    LogPrint(0x20000, L"third");

    std::string bytes = ReadFileBytes(InDocuments(name));
    ASSERT_FALSE(bytes.empty());
    EXPECT_NE("\xEF\xBB\xBF", bytes.substr(0, 3));
    EXPECT_NE("\xFF\xFE", bytes.substr(0, 2));
    EXPECT_EQ("\r\n", bytes.substr(bytes.size() - 2));
    // Every LF belongs to a CR LF pair.
    for (size_t i = 0; i < bytes.size(); ++i) {
        bool bareLf = bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r');
        ASSERT_FALSE(bareLf) << "bare LF at " << i;
    }

    std::vector<std::string> lines = SplitCrLf(bytes);
    ASSERT_EQ(3u, lines.size());
    const char* texts[] = {"Log init Success", "value gain = 12", "third"};
    for (size_t i = 0; i < lines.size(); ++i) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(lines[i], m, kLine)) << lines[i];
        EXPECT_EQ((int)i, std::stoi(m[1]));
        EXPECT_EQ(before.wYear, std::stoi(m[2]));
        EXPECT_EQ(texts[i], m[9].str());
    }
    EXPECT_EQ(3, g_LogFile.GetLineCount());
}

TEST_F(LogFileTest, CharactersOutsideTheCodePageBecomeItsReplacementCharacter)
{
    ASSERT_EQ(1252u, GetACP());
    LogInit(nullptr, name.c_str(), LOG_FOLDER_DOCUMENTS, TRUE, 0x20000);
    LogPrint(0x20000, L"%s", L"caf\x00E9 \x4E2D\x6587 \x20AC");
    std::vector<std::string> lines = SplitCrLf(ReadFileBytes(InDocuments(name)));
    ASSERT_EQ(2u, lines.size());
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines[1], m, kLine));
    EXPECT_EQ("caf\xE9 ?? \x80", m[9].str());
}

TEST_F(LogFileTest, DebugPrintWritesOnlyWithTheSwitchAndNeverReformats)
{
    LogInit(nullptr, name.c_str(), LOG_FOLDER_DOCUMENTS, TRUE, 0x20000);
    DebugPrint(L"hidden %d", 1);
    g_bDebugSwitch = TRUE;
    DebugPrint(L"%s", L"100% sure %d %s %n");
    std::vector<std::string> lines = SplitCrLf(ReadFileBytes(InDocuments(name)));
    ASSERT_EQ(2u, lines.size());
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines[1], m, kLine));
    EXPECT_EQ("00000001", m[1].str());
    EXPECT_EQ("100% sure %d %s %n", m[9].str());
}

TEST_F(LogFileTest, InitStartsAFreshFileEveryRun)
{
    LogInit(nullptr, name.c_str(), LOG_FOLDER_DOCUMENTS, FALSE, 0x20000);
    LogPrint(0x20000, L"old run");
    LogInit(nullptr, name.c_str(), LOG_FOLDER_DOCUMENTS, FALSE, 0x20000);
    std::vector<std::string> lines = SplitCrLf(ReadFileBytes(InDocuments(name)));
    ASSERT_EQ(1u, lines.size());
    EXPECT_NE(std::string::npos, lines[0].find("Log init Success"));
}

TEST_F(LogFileTest, FolderModes)
{
    LogInit(nullptr, name.c_str(), LOG_FOLDER_MODULE, FALSE, 0x20000);
    EXPECT_STREQ((ProgramFolder() + name).c_str(), g_LogFile.GetFileName());
    EXPECT_TRUE(FileExists(ProgramFolder() + name));
    DeleteFileW((ProgramFolder() + name).c_str());

    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::wstring inTemp = std::wstring(tmp) + L"TmpF\\" + name;
    LogInit(nullptr, name.c_str(), LOG_FOLDER_TEMP, FALSE, 0x20000);
    EXPECT_STREQ(inTemp.c_str(), g_LogFile.GetFileName());
    EXPECT_TRUE(FileExists(inTemp));
    DeleteFileW(inTemp.c_str());

    // An unknown mode leaves the log as it was.
    LogInit(nullptr, L"other.log", 3, FALSE, 0x20000);
    EXPECT_STREQ(inTemp.c_str(), g_LogFile.GetFileName());
}

TEST_F(LogFileTest, LongPathIsCutTo511Characters)
{
    // Folders deep enough that the log path passes 512 characters.
    std::wstring base = DocumentsFolder() + L"\\SonelleTest_long_" + std::to_wstring(GetCurrentProcessId());
    std::wstring rel = base.substr(DocumentsFolder().size() + 1);
    std::wstring dir = base;
    DeleteTree(base);
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    while (dir.size() < 480) {
        std::wstring part(60, L'd');
        dir += L"\\" + part;
        rel += L"\\" + part;
        ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr)) << GetLastError();
    }
    std::wstring fileName = rel + L"\\" + std::wstring(80, L'f') + L".log";
    std::wstring full = DocumentsFolder() + L"\\" + fileName;
    ASSERT_GE(full.size(), 512u);

    LogInit(nullptr, fileName.c_str(), LOG_FOLDER_DOCUMENTS, TRUE, 0x20000);
    CString stored = g_LogFile.GetFileName();
    EXPECT_EQ(511, stored.GetLength());
    EXPECT_EQ(full.substr(0, 511), stored.str());
    EXPECT_TRUE(FileExists(stored.str()));
    g_LogFile.SetFileName(L"", FALSE);
    DeleteTree(base);
}

struct LevelCase {
    DWORD mask;
    DWORD level;
    bool written;
};

class LogLevel : public ::testing::TestWithParam<LevelCase> {};

TEST_P(LogLevel, MaskDecidesWhichLinesAreWritten)
{
    const LevelCase& c = GetParam();
    std::wstring folder = MakeTempFolder(L"level");
    std::wstring path = folder + L"level.log";
    CLogFile log;
    log.SetFileName(path.c_str(), FALSE);
    log.SetLevel(c.mask);
    log.Write(c.level, L"x");
    EXPECT_EQ(c.written ? 1 : 0, log.GetLineCount());
    EXPECT_EQ(c.written, FileExists(path));
    DeleteTree(folder);
}

INSTANTIATE_TEST_SUITE_P(Table, LogLevel, ::testing::Values(
    LevelCase{0x20000, 0x20000, true},
    LevelCase{0x20000, 0x201FF, true},
    LevelCase{0x20000, 0x20200, false},
    LevelCase{0x20001, 0x20000, false},      // bit 0 switches everything off
    LevelCase{0x20000, 0x10000, false},
    LevelCase{0x40000, 0x40000, true},
    LevelCase{0x40000, 0x20000, true},
    LevelCase{0x40000, 0x10000, false},
    LevelCase{0x10000, 0x12345, true},       // the initial mask passes everything
    LevelCase{0x80000, 0x80000, false}));

TEST(CLogFile, WithoutAPathOrAnOpenableFileNothingIsCounted)
{
    CLogFile log;
    log.Write(0x20000, L"discarded");
    EXPECT_EQ(0, log.GetLineCount());
    log.SetFileName(L"C:\\no\\such\\folder\\x.log", TRUE);
    log.Write(0x20000, L"lost");
    EXPECT_EQ(0, log.GetLineCount());
}

TEST(CLogFile, TwoThreadsNeitherInterleaveNorLoseLines)
{
    std::wstring folder = MakeTempFolder(L"threads");
    std::wstring path = folder + L"threads.log";
    CLogFile log;
    log.SetFileName(path.c_str(), FALSE);
    const int perThread = 300;
    auto writer = [&log](const wchar_t* text) {
        for (int i = 0; i < perThread; ++i) log.Write(0x20000, text);
    };
    std::wstring a(200, L'a'), b(200, L'b');
    std::thread t1(writer, a.c_str()), t2(writer, b.c_str());
    t1.join();
    t2.join();

    std::vector<std::string> lines = SplitCrLf(ReadFileBytes(path));
    ASSERT_EQ((size_t)(2 * perThread), lines.size());
    std::vector<bool> seen(2 * perThread, false);
    for (const auto& line : lines) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, kLine)) << line;
        int n = std::stoi(m[1]);
        ASSERT_TRUE(n >= 0 && n < 2 * perThread && !seen[n]) << n;
        seen[n] = true;
        std::string text = m[9];
        EXPECT_TRUE(text == std::string(200, 'a') || text == std::string(200, 'b'));
    }
    EXPECT_EQ(2 * perThread, log.GetLineCount());
    DeleteTree(folder);
}

TEST(LocalDateTimeText, FormatsDateAndTime)
{
    wchar_t date[256] = L"-", time[256] = L"-";
    EXPECT_EQ(1, GetLocalDateTimeText(date, nullptr, FALSE));
    EXPECT_STREQ(L"-", time);
    EXPECT_EQ(1, GetLocalDateTimeText(nullptr, time, TRUE));
    std::string d(CStringA(date).GetString()), t(CStringA(time).GetString());
    EXPECT_TRUE(std::regex_match(d, std::regex(R"(\d{4}/\d{2}/\d{2})"))) << d;
    EXPECT_TRUE(std::regex_match(t, std::regex(R"("\d{2}:\d{2}:\d{2}\.\d{3}")"))) << t;
}

// The programs' start-up, run as real processes.
class LogStartup : public ::testing::Test {
protected:
    void SetUp() override
    {
        name = UniqueLogName(L"probe");
        RemoveLogAndBackups(name);
        SetEnvironmentVariableW(L"SONELLE_LOGPROBE_LOG", name.c_str());
    }
    void TearDown() override
    {
        SetEnvironmentVariableW(L"SONELLE_LOGPROBE_LOG", nullptr);
        RemoveLogAndBackups(name);
    }
    std::string Log(const wchar_t* suffix = L"")
    {
        std::wstring path = InDocuments(name);
        return ReadFileBytes(path.substr(0, path.size() - 4) + suffix + L".log");
    }
    std::wstring name;
};

TEST_F(LogStartup, ThreeRunsLeaveTheLogAndTwoBackupsAndARunWithoutTheSwitchTouchesNothing)
{
    for (int run = 1; run <= 3; ++run)
        ASSERT_EQ(1, RunProgram(L"common_LogProbe.exe", L"/NV_Log /run:" + std::to_wstring(run)));

    std::vector<std::string> lines = SplitCrLf(Log());
    ASSERT_EQ(3u, lines.size());
    EXPECT_NE(std::string::npos, lines[0].find("] Log init Success"));
    EXPECT_NE(std::string::npos, lines[1].find("] NV_Log param setting..."));
    EXPECT_NE(std::string::npos, lines[2].find("] args [/NV_Log /run:3]"));
    EXPECT_NE(std::string::npos, Log(L"_bak1").find("/run:2]"));
    EXPECT_NE(std::string::npos, Log(L"_bak2").find("/run:1]"));

    std::string log = Log(), bak1 = Log(L"_bak1"), bak2 = Log(L"_bak2");
    for (const wchar_t* args : {L"/NV_Log2", L"/run:4"})
        EXPECT_EQ(0, RunProgram(L"common_LogProbe.exe", args));
    EXPECT_EQ(log, Log());
    EXPECT_EQ(bak1, Log(L"_bak1"));
    EXPECT_EQ(bak2, Log(L"_bak2"));
}

TEST_F(LogStartup, WithoutTheSwitchNoFileIsCreated)
{
    EXPECT_EQ(0, RunProgram(L"common_LogProbe.exe", L"/NOINTRO"));
    EXPECT_FALSE(FileExists(InDocuments(name)));
    // Without the slash the first token still turns the log on.
    EXPECT_EQ(1, RunProgram(L"common_LogProbe.exe", L"nv_log"));
    EXPECT_TRUE(FileExists(InDocuments(name)));
}

TEST_F(LogStartup, DebuggerReceivesTheLinesOnlyWithTheSwitch)
{
    std::vector<std::string> quiet = RunProgramCollectDebugStrings(L"common_LogProbe.exe", L"/run:1");
    for (const auto& s : quiet) EXPECT_EQ(std::string::npos, s.find("args [")) << s;

    std::vector<std::string> loud = RunProgramCollectDebugStrings(L"common_LogProbe.exe", L"/NV_Log /x:100%d");
    bool found = false;
    for (const auto& s : loud) found = found || s.find("args [/NV_Log /x:100%d]") != std::string::npos;
    EXPECT_TRUE(found) << loud.size() << " debug strings";
}
