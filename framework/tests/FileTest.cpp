#include "File.h"
#include "StdioFile.h"
#include "FileFind.h"
#include "DateTime.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {
class FileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t tmp[MAX_PATH];
        GetTempPathW(MAX_PATH, tmp);
        folder = CString(tmp) + L"SonelleFrameworkFile\\";
        Clean();
        CreateDirectoryW(folder, nullptr);
    }
    void TearDown() override { Clean(); }
    void Clean()
    {
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW(folder + L"*", &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                CString p = folder + fd.cFileName;
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveDirectoryW(p);
                else DeleteFileW(p);
            } while (FindNextFileW(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryW(folder);
    }
    CString folder;
};
} // namespace

TEST_F(FileTest, BinaryReadWriteSeekAndLength)
{
    CString path = folder + L"data.bin";
    CFile f;
    ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyWrite));
    EXPECT_STREQ(L"data.bin", f.GetFileName());
    EXPECT_STREQ(L"data", f.GetFileTitle());
    ASSERT_TRUE(f.Write("0123456789", 10));
    EXPECT_EQ(10, f.GetLength());
    EXPECT_EQ(4, f.Seek(4, CFile::begin));
    char buf[16] = {};
    EXPECT_EQ(3u, f.Read(buf, 3));
    EXPECT_STREQ("456", buf);
    EXPECT_EQ(7, f.GetPosition());
    EXPECT_EQ(10, f.SeekToEnd());
    EXPECT_EQ(0u, f.Read(buf, 3));           // at the end
    ASSERT_TRUE(f.SetLength(5));
    EXPECT_EQ(5, f.GetLength());
    f.Close();
    EXPECT_FALSE(f.IsOpen());

    // modeNoTruncate keeps what is there; modeCreate alone empties it.
    ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite));
    EXPECT_EQ(5, f.GetLength());
    f.Close();
    ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeWrite));
    EXPECT_EQ(0, f.GetLength());
}

TEST_F(FileTest, FailuresAreResultsNotExceptions)
{
    CFile f;
    EXPECT_FALSE(f.Open(folder + L"missing.bin", CFile::modeRead));
    EXPECT_FALSE(f.Open(L"", CFile::modeRead));
    char c;
    EXPECT_EQ(0u, f.Read(&c, 1));
    EXPECT_FALSE(f.Write("x", 1));
    EXPECT_EQ(-1, f.GetLength());
    EXPECT_EQ(-1, f.Seek(0, CFile::begin));

    // A file held with "deny write" cannot be opened for writing.
    CFile holder, other;
    ASSERT_TRUE(holder.Open(folder + L"held.bin", CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite));
    EXPECT_FALSE(other.Open(folder + L"held.bin", CFile::modeWrite | CFile::shareDenyNone));
    holder.Close();
    EXPECT_TRUE(CFile::Rename(folder + L"held.bin", folder + L"moved.bin"));
    EXPECT_TRUE(CFile::Remove(folder + L"moved.bin"));
    EXPECT_FALSE(CFile::Remove(folder + L"moved.bin"));
}

TEST_F(FileTest, TextLinesInTheAnsiCodePage)
{
    CString path = folder + L"Device.txt";
    {
        CStdioFile out;
        ASSERT_TRUE(out.Open(path, CFile::modeCreate | CFile::modeWrite));
        ASSERT_TRUE(out.WriteString(L"VID_1234&PID_5678 caf\x00E9\n"));
        ASSERT_TRUE(out.WriteString(L"\nlast"));
    }
    CFile raw;
    ASSERT_TRUE(raw.Open(path, CFile::modeRead));
    char bytes[64] = {};
    UINT n = raw.Read(bytes, sizeof(bytes));
    EXPECT_EQ(std::string("VID_1234&PID_5678 caf\xE9\r\n\r\nlast"), std::string(bytes, n));
    raw.Close();

    CStdioFile in;
    ASSERT_TRUE(in.Open(path, CFile::modeRead | CFile::shareDenyRead));
    CString line;
    ASSERT_TRUE(in.ReadString(line));
    EXPECT_STREQ(L"VID_1234&PID_5678 caf\x00E9", line);
    ASSERT_TRUE(in.ReadString(line));
    EXPECT_STREQ(L"", line);
    ASSERT_TRUE(in.ReadString(line));
    EXPECT_STREQ(L"last", line);
    EXPECT_FALSE(in.ReadString(line));
}

TEST_F(FileTest, LongLinesAcrossReadChunksAndLfOnly)
{
    std::string big(10000, 'x');
    CString path = folder + L"long.txt";
    CFile f;
    ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeWrite));
    std::string text = big + "\n" + "b\r\n";
    ASSERT_TRUE(f.Write(text.data(), (UINT)text.size()));
    f.Close();
    CStdioFile in;
    ASSERT_TRUE(in.Open(path, CFile::modeRead));
    CString line;
    ASSERT_TRUE(in.ReadString(line));
    EXPECT_EQ(10000, line.GetLength());
    ASSERT_TRUE(in.ReadString(line));
    EXPECT_STREQ(L"b", line);
    EXPECT_FALSE(in.ReadString(line));
}

TEST_F(FileTest, FileFindVisitsEveryEntryIncludingTheLast)
{
    for (const wchar_t* name : {L"a.wav", L"b.mp3", L"c.wav"}) {
        CFile f;
        ASSERT_TRUE(f.Open(folder + name, CFile::modeCreate | CFile::modeWrite));
        f.Write("abc", 3);
    }
    CreateDirectoryW(folder + L"sub", nullptr);

    CFileFind finder;
    std::vector<std::wstring> files, dirs;
    BOOL more = finder.FindFile(folder + L"*.*");
    ASSERT_TRUE(more);
    while (more) {
        more = finder.FindNextFile();
        if (finder.IsDots()) continue;
        if (finder.IsDirectory()) { dirs.push_back(finder.GetFileName().str()); continue; }
        files.push_back(finder.GetFileName().str());
        EXPECT_EQ(folder + finder.GetFileName(), finder.GetFilePath());
        EXPECT_EQ(3u, finder.GetLength());
        CTime written;
        ASSERT_TRUE(finder.GetLastWriteTime(written));
        EXPECT_LE(llabs((long long)(CTime::GetCurrentTime() - written).GetTotalSeconds()), 60);
    }
    finder.Close();
    std::sort(files.begin(), files.end());
    EXPECT_EQ((std::vector<std::wstring>{L"a.wav", L"b.mp3", L"c.wav"}), files);
    EXPECT_EQ((std::vector<std::wstring>{L"sub"}), dirs);

    EXPECT_TRUE(finder.FindFile(folder + L"*.wav"));
    EXPECT_STREQ(folder, finder.GetRoot());
    EXPECT_FALSE(finder.FindFile(folder + L"*.none"));
    EXPECT_FALSE(finder.FindNextFile());
}
