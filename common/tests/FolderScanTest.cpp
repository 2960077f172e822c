#include "FolderScan.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <map>

struct MediaCase {
    const wchar_t* ext;
    int media;
};

class MediaClass : public ::testing::TestWithParam<MediaCase> {};

TEST_P(MediaClass, ByExtensionInAnyCase)
{
    EXPECT_EQ(GetParam().media, GetMediaClass(GetParam().ext)) << (const char*)CStringA(GetParam().ext);
}

INSTANTIATE_TEST_SUITE_P(Table, MediaClass, ::testing::Values(
    MediaCase{L".wav", 16}, MediaCase{L".WAV", 16}, MediaCase{L".Wav", 16},
    MediaCase{L".mp3", 0}, MediaCase{L".wma", 0}, MediaCase{L"", 0}, MediaCase{L"wav", 0}, MediaCase{L".wave", 0},
    MediaCase{L".avi", 1}, MediaCase{L".MPEG", 1}, MediaCase{L".mpg", 1}, MediaCase{L".wmv", 1},
    MediaCase{L".bmp", 256}, MediaCase{L".jpg", 256}, MediaCase{L".JPEG", 256}, MediaCase{L".gif", 256},
    MediaCase{nullptr, 0}));

namespace {

class FolderScanTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = MakeTempFolder(L"scan");
        for (const wchar_t* name : {L"take1.wav", L"TAKE2.WAV", L"x.wav.wav", L"song.mp3", L"clip.avi",
                                    L"photo.jpg", L"noext", L".wav", L"caf\x00E9 \x4E2D.wav"})
            ASSERT_TRUE(WriteFileBytes(folder + name, "RIFF"));
        ASSERT_TRUE(CreateDirectoryW((folder + L"sub.wav").c_str(), nullptr));   // a folder, not a file
        ASSERT_TRUE(WriteFileBytes(folder + L"sub.wav\\inner.wav", "RIFF"));
        ASSERT_TRUE(WriteFileBytes(folder + L"sub.wav\\inner.gif", "GIF8"));
    }
    void TearDown() override
    {
        FreePathInfoList(list);
        DeleteTree(folder);
    }
    // Wide full path -> the record, for every record found.
    std::map<std::wstring, const NV_PathInfo*> Found() const
    {
        std::map<std::wstring, const NV_PathInfo*> out;
        for (POSITION p = list.GetHeadPosition(); p;) {
            const NV_PathInfo* info = list.GetNext(p);
            out[std::wstring(info->wszFolder) + info->wszTitle + info->wszExt] = info;
        }
        return out;
    }
    std::wstring folder;
    CPathInfoList list;
};

} // namespace

TEST_F(FolderScanTest, WavFilesOnlyWithoutRecursion)
{
    ASSERT_TRUE(ScanFolder(folder.c_str(), list, 0, MEDIA_AUDIO));
    auto found = Found();
    std::vector<std::wstring> names;
    for (const auto& f : found) names.push_back(f.first.substr(folder.size()));
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::wstring>{L".wav", L"TAKE2.WAV", L"caf\x00E9 \x4E2D.wav", L"take1.wav", L"x.wav.wav"}),
              names);

    const NV_PathInfo* twice = found[folder + L"x.wav.wav"];
    ASSERT_NE(nullptr, twice);
    EXPECT_STREQ("x.wav", twice->szTitle);          // the last dot ends the title
    EXPECT_STREQ(".wav", twice->szExt);
    EXPECT_EQ(std::string(CStringA(folder.c_str()).GetString()), twice->szFolder);
    const NV_PathInfo* upper = found[folder + L"TAKE2.WAV"];
    ASSERT_NE(nullptr, upper);
    EXPECT_STREQ(".WAV", upper->szExt);
}

TEST_F(FolderScanTest, NamesOutsideTheCodePageCanBeOpenedAgain)
{
    ASSERT_TRUE(ScanFolder(folder.c_str(), list, 0, MEDIA_AUDIO));
    auto found = Found();
    std::wstring path = folder + L"caf\x00E9 \x4E2D.wav";
    ASSERT_EQ(1u, found.count(path));
    const NV_PathInfo* info = found[path];
    EXPECT_STREQ("caf\xE9 ?", info->szTitle);         // the 8-bit copy loses the character
    EXPECT_EQ("RIFF", ReadFileBytes(std::wstring(info->wszFolder) + info->wszTitle + info->wszExt));
}

TEST_F(FolderScanTest, RecursionAndCombinedMasks)
{
    // A folder whose path ends in "\" and one that does not scan alike.
    ASSERT_TRUE(ScanFolder(folder.c_str(), list, 1, MEDIA_AUDIO | MEDIA_PICTURE));
    auto found = Found();
    EXPECT_EQ(1u, found.count(folder + L"sub.wav\\inner.wav"));
    EXPECT_EQ(1u, found.count(folder + L"sub.wav\\inner.gif"));
    EXPECT_EQ(1u, found.count(folder + L"photo.jpg"));
    EXPECT_EQ(0u, found.count(folder + L"clip.avi"));
    EXPECT_EQ(0u, found.count(folder + L"sub.wav"));
    EXPECT_EQ(8u, found.size());
    EXPECT_STREQ((std::wstring(folder) + L"sub.wav\\").c_str(), found[folder + L"sub.wav\\inner.gif"]->wszFolder);

    FreePathInfoList(list);
    std::wstring noSlash = folder.substr(0, folder.size() - 1);
    ASSERT_TRUE(ScanFolder(noSlash.c_str(), list, 0, MEDIA_VIDEO));
    ASSERT_EQ(1, list.GetCount());
    EXPECT_STREQ("clip", list.GetHead()->szTitle);
    EXPECT_STREQ(folder.c_str(), list.GetHead()->wszFolder);
}

TEST_F(FolderScanTest, MissingFolderFindsNothingAndFreeEmptiesTheList)
{
    EXPECT_TRUE(ScanFolder((folder + L"missing").c_str(), list, 1, MEDIA_AUDIO));
    EXPECT_TRUE(list.IsEmpty());
    ASSERT_TRUE(ScanFolder(folder.c_str(), list, 0, MEDIA_AUDIO));
    ASSERT_TRUE(ScanFolder(folder.c_str(), list, 0, MEDIA_AUDIO));     // appends
    EXPECT_EQ(10, list.GetCount());
    EXPECT_EQ(1, FreePathInfoList(list));
    EXPECT_TRUE(list.IsEmpty());
}
