#include "PathUtil.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <memory>

TEST(PathTests, FoldersFilesAndMissingPaths)
{
    std::wstring folder = MakeTempFolder(L"pathtest");
    ASSERT_TRUE(WriteFileBytes(folder + L"f.wav", "x"));
    EXPECT_TRUE(PathIsFolder(folder.c_str()));
    EXPECT_TRUE(PathIsFolder(folder.substr(0, folder.size() - 1).c_str()));
    EXPECT_FALSE(PathIsFolder((folder + L"f.wav").c_str()));
    EXPECT_FALSE(PathIsFolder((folder + L"none").c_str()));
    EXPECT_FALSE(PathIsFolder(L""));
    EXPECT_TRUE(PathExists(folder.c_str()));
    EXPECT_TRUE(PathExists((folder + L"f.wav").c_str()));
    EXPECT_FALSE(PathExists((folder + L"none").c_str()));
    EXPECT_FALSE(PathExists(nullptr));
    DeleteTree(folder);
}

TEST(Utf8ToWide, ConvertsExactlyTheGivenLength)
{
    const char text[] = "caf\xC3\xA9 \xE4\xB8\xAD|rest";
    std::unique_ptr<wchar_t[]> all(Utf8ToWide(text, 9));
    ASSERT_TRUE(all);
    EXPECT_STREQ(L"caf\x00E9 \x4E2D", all.get());
    // No terminator needed: the byte after the length is never read.
    const char unterminated[3] = {'a', 'b', 'c'};
    std::unique_ptr<wchar_t[]> ab(Utf8ToWide(unterminated, 2));
    EXPECT_STREQ(L"ab", ab.get());
    std::unique_ptr<wchar_t[]> empty(Utf8ToWide(text, 0));
    EXPECT_STREQ(L"", empty.get());
    std::unique_ptr<wchar_t[]> broken(Utf8ToWide("a\xFF" "b", 3));
    EXPECT_STREQ(L"a\xFFFD" L"b", broken.get());
    EXPECT_EQ(nullptr, Utf8ToWide(nullptr, 3));
    EXPECT_EQ(nullptr, Utf8ToWide(text, -1));
}

TEST(FreeDiskSpace, MeasuresTheVolumeRootForTheCaller)
{
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    EXPECT_STREQ(CString(tmp).Left(3), GetDiskRootOfPath(tmp));
    ULARGE_INTEGER available, total, free;
    ASSERT_TRUE(GetDiskFreeSpaceExW(GetDiskRootOfPath(tmp), &available, &total, &free));
    ULONGLONG expect = available.QuadPart / 1024;
    if (expect > 0xFFFFFFFFULL) expect = 0xFFFFFFFFULL;
    DWORD kb = GetFreeDiskSpaceKB(tmp);
    EXPECT_GT(kb, 0u);
    // Other processes write meanwhile: allow 64 MB of drift.
    EXPECT_LT(llabs((long long)kb - (long long)expect), 65536) << kb << " vs " << expect;
    EXPECT_EQ(0u, GetFreeDiskSpaceKB(L"Q:\\no\\such\\drive"));
}

TEST(FreeDiskSpace, RootsOfUncAndOtherPaths)
{
    EXPECT_STREQ(L"\\\\server\\share\\", GetDiskRootOfPath(L"\\\\server\\share\\dir\\f.wav"));
    EXPECT_STREQ(L"\\\\server\\share\\", GetDiskRootOfPath(L"\\\\server\\share\\"));
    EXPECT_STREQ(L"\\\\server\\share", GetDiskRootOfPath(L"\\\\server\\share"));
    EXPECT_STREQ(L"C:\\", GetDiskRootOfPath(L"C:\\windows\\system32"));
    EXPECT_STREQ(L"C:\\", GetDiskRootOfPath(L"C:/windows"));
}

// A path of 260 characters or more lies on a volume like any other: its free
// space is that volume's, not 0 (which reads as a full disk).
TEST(FreeDiskSpace, LongPathsAreMeasuredOnTheirVolume)
{
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring path = std::wstring(tmp) + std::wstring(150, L'a') + L"\\" + std::wstring(150, L'b') + L".wav";
    ASSERT_GE(path.size(), 300u);
    EXPECT_STREQ(CString(tmp).Left(3), GetDiskRootOfPath(path.c_str()));
    const DWORD kb = GetFreeDiskSpaceKB(path.c_str());
    EXPECT_GT(kb, 0u);
    EXPECT_LT(llabs((long long)kb - (long long)GetFreeDiskSpaceKB(tmp)), 65536);
}
