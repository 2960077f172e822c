// The numbers and texts of a recording run: the longest recording, file names,
// status texts and level bars.
#include <gtest/gtest.h>
#include <set>
#include <string>
#include "RecordingLimits.h"

TEST(RecordingLimits, LongestRecordingFromFreeSpaceAndFormat)
{
    const struct { unsigned long long freeKB; int rate, channels, bits; unsigned seconds; } cases[] = {
        {1000000, 44100, 2, 16, 5516},        // (1000000 - 51200) / 172
        {51200, 44100, 2, 16, 0},             // only the reserve
        {10000, 44100, 2, 16, 0},             // less than the reserve
        {51200 + 172 * 3, 44100, 2, 16, 3},
        {1000000, 48000, 1, 16, 10202},       // 93 KB per second
        {100000000, 44100, 2, 16, 86400},     // at most a day
        {60000, 1000, 1, 8, 8800},            // under 1 KB per second counts as 1 KB
        {60000, 0, 0, 0, 8800},               // a format without bytes divides by 1, not 0
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.seconds, MaxRecordSeconds(c.freeKB, c.rate, c.channels, c.bits))
            << c.freeKB << " KB " << c.rate << "/" << c.channels << "/" << c.bits;
}

TEST(RecordingLimits, FileNamesFromPrefixAndTimeNeverTakeAnExistingName)
{
    auto none = [](const wchar_t*) { return false; };
    EXPECT_STREQ(L"C:\\Rec\\Take_090503.wav", RecordFilePath(L"C:\\Rec\\", L"Take", 9, 5, 3, none).GetString());
    EXPECT_STREQ(L"C:\\Rec\\090503.wav", RecordFilePath(L"C:\\Rec\\", L"", 9, 5, 3, none).GetString());
    EXPECT_STREQ(L"C:\\Rec\\235959.wav", RecordFilePath(L"C:\\Rec\\", nullptr, 23, 59, 59, none).GetString());

    // The same second, or the same time of day on another day: the next free number.
    std::set<std::wstring> taken = {L"C:\\Rec\\Take_090503.wav", L"C:\\Rec\\Take_090503-2.wav"};
    auto exists = [&](const wchar_t* path) { return taken.count(path) > 0; };
    EXPECT_STREQ(L"C:\\Rec\\Take_090503-3.wav", RecordFilePath(L"C:\\Rec\\", L"Take", 9, 5, 3, exists).GetString());
    EXPECT_STREQ(L"C:\\Rec\\Take_090504.wav", RecordFilePath(L"C:\\Rec\\", L"Take", 9, 5, 4, exists).GetString());
}

TEST(RecordingLimits, ARecordingFileIsCreatedNewAndAnOlderFileKeepsItsBytes)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"RecordNames" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring older = folder + L"Take_090503.wav";
    HANDLE file = CreateFileW(older.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    WriteFile(file, "older", 5, &written, nullptr);
    CloseHandle(file);

    DWORD error = 1;
    CString made = CreateRecordFile(folder.c_str(), L"Take", 9, 5, 3, &error);
    EXPECT_EQ(folder + L"Take_090503-2.wav", std::wstring(made.GetString()));
    EXPECT_EQ(0u, error);
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(GetFileAttributesExW(made, GetFileExInfoStandard, &data)) << "the name is held by a new file";
    EXPECT_EQ(0u, data.nFileSizeLow);
    ASSERT_TRUE(GetFileAttributesExW(older.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(5u, data.nFileSizeLow) << "the older file keeps its bytes";
    // The next start in the same second takes the next name.
    EXPECT_EQ(folder + L"Take_090503-3.wav", std::wstring(CreateRecordFile(folder.c_str(), L"Take", 9, 5, 3).GetString()));

    // Only an empty file that no recording went into is taken back.
    DeleteUnusedRecordFile(made);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(made));
    DeleteUnusedRecordFile(older.c_str());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(older.c_str()));

    // A folder that takes no file gives no name and says why.
    EXPECT_TRUE(CreateRecordFile((folder + L"missing\\").c_str(), L"Take", 9, 5, 3, &error).IsEmpty());
    EXPECT_EQ((DWORD)ERROR_PATH_NOT_FOUND, error);

    DeleteFileW((folder + L"Take_090503-3.wav").c_str());
    DeleteFileW(older.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST(RecordingLimits, StatusTexts)
{
    EXPECT_STREQ(L"00 : 00 : 00", ElapsedText(0).GetString());
    EXPECT_STREQ(L"00 : 00 : 05", ElapsedText(5).GetString());
    EXPECT_STREQ(L"01 : 31 : 56", ElapsedText(5516).GetString());
    EXPECT_STREQ(L"00 : 00 : 00", ElapsedText(86400).GetString()) << "hours within a day";
    EXPECT_STREQ(L"0.0 KB", RecordedSizeText(0).GetString());
    EXPECT_STREQ(L"1024.0 KB", RecordedSizeText(1048576).GetString());
    EXPECT_STREQ(L"1.00 MB", RecordedSizeText(1048577).GetString());
    EXPECT_STREQ(L"15258.79 MB", RecordedSizeText(16000000000LL).GetString()) << "24 hours do not overflow";
    EXPECT_STREQ(L"0 %", PercentText(0).GetString());
    EXPECT_STREQ(L"100 %", PercentText(100).GetString());
}

TEST(RecordingLimits, LevelBarsFromDecibels)
{
    const struct { double db; int bar; } cases[] = {
        {-25, 0}, {-20.01, 0}, {-20, 20}, {0, 60}, {10.97, 81}, {16.99, 93}, {20, 100}, {-80, 0}};
    for (const auto& c : cases) EXPECT_EQ(c.bar, LevelBarValue(c.db)) << c.db;
}
