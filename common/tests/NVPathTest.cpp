#include "NVPath.h"
#include <gtest/gtest.h>

struct PathCase {
    const wchar_t* path;
    const wchar_t* drive;
    const wchar_t* dir;
    const wchar_t* title;
    const wchar_t* ext;
    const wchar_t* driveDir;
};

class NVPathSplit : public ::testing::TestWithParam<PathCase> {};

TEST_P(NVPathSplit, PartsAndDriveDir)
{
    const PathCase& c = GetParam();
    NV_Path p(c.path);
    EXPECT_STREQ(c.path, p.GetFullPath());
    EXPECT_STREQ(c.drive, p.GetDrive());
    EXPECT_STREQ(c.dir, p.GetDir());
    EXPECT_STREQ(c.title, p.GetFileTitle());
    EXPECT_STREQ(c.ext, p.GetExt());
    EXPECT_STREQ(c.driveDir, p.GetDriveDir());
}

INSTANTIATE_TEST_SUITE_P(Table, NVPathSplit, ::testing::Values(
    PathCase{L"C:\\users\\me\\Documents\\VODar.log", L"C:", L"\\users\\me\\Documents\\", L"VODar", L".log",
             L"C:\\users\\me\\Documents\\"},
    PathCase{L"C:/Music/rec/take.wav", L"C:", L"\\Music\\rec\\", L"take", L".wav", L"C:\\Music\\rec\\"},
    PathCase{L"D:\\a.b.wav", L"D:", L"\\", L"a.b", L".wav", L"D:\\"},
    PathCase{L"D:\\folder.v2\\noext", L"D:", L"\\folder.v2\\", L"noext", L"", L"D:\\folder.v2\\"},
    PathCase{L"E:song.mp3", L"E:", L"", L"song", L".mp3", L"E:\\"},
    PathCase{L"x.wav.wav", L"", L"", L"x.wav", L".wav", L""},
    PathCase{L"\\\\server\\share\\dir\\f.wav", L"", L"\\\\server\\share\\dir\\", L"f", L".wav", L""},
    PathCase{L"C:\\Rec\\", L"C:", L"\\Rec\\", L"", L"", L"C:\\Rec\\"},
    PathCase{L"", L"", L"", L"", L"", L""}));

TEST(NV_Path, EmptyAndLongPaths)
{
    NV_Path empty;
    EXPECT_STREQ(L"", empty.GetFullPath());
    EXPECT_STREQ(L"", empty.GetDriveDir());
    NV_Path none(nullptr);
    EXPECT_STREQ(L"", none.GetFileTitle());

    // Paths past MAX_PATH split like any other.
    CString dir = CString(L"C:\\") + CString(L'd', 300) + L"\\";
    NV_Path longPath(dir + L"take.wav");
    EXPECT_EQ(dir.Mid(2), longPath.GetDir());
    EXPECT_STREQ(L"take", longPath.GetFileTitle());
}
