#include <gtest/gtest.h>
#include <windows.h>
#include "WavSplitWriter.h"
#include "FullVolume.h"
#include "TestSignal.h"
#include <algorithm>

using namespace testsignal;

TEST(WavSplitWriter, NamesContinuationFilesAfterTheTitle)
{
    EXPECT_EQ(L"C:\\rec\\take_1.wav", CWavSplitWriter::ContinuationPath(L"C:\\rec\\take.wav", 1));
    EXPECT_EQ(L"C:\\rec\\take.two_12.wav", CWavSplitWriter::ContinuationPath(L"C:\\rec\\take.two.wav", 12));
    EXPECT_EQ(L"take_3.wav", CWavSplitWriter::ContinuationPath(L"take", 3));
}

// A recording whose path passes 259 characters continues beside itself, never
// in the process's current folder.
TEST(WavSplitWriter, ContinuationsOfALongPathStayInItsFolder)
{
    std::wstring folder = TempPath(L"");
    for (wchar_t c : {L'a', L'b'}) {
        folder += L"long_" + std::wstring(120, c) + L"\\";
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    ASSERT_TRUE(GetFileAttributesW(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    const std::wstring path = folder + L"take.wav";
    ASSERT_GT(path.size(), 259u);
    EXPECT_EQ(folder + L"take_1.wav", CWavSplitWriter::ContinuationPath(path, 1));
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    const std::wstring stray = std::wstring(current) + L"\\_1.wav";
    DeleteFileW(stray.c_str());
    {
        CWavSplitWriter w;
        w.SetSplit(true, 1000);
        ASSERT_TRUE(w.Start(path, {2, 44100, 16}));
        std::vector<uint8_t> data(2500, 7);
        ASSERT_TRUE(w.Write(data.data(), data.size()));
        EXPECT_EQ(2, w.ContinuationCount());
        w.Finish();
    }
    for (int i = 0; i <= 2; ++i) {
        const std::wstring p = i == 0 ? path : folder + L"take_" + std::to_wstring(i) + L".wav";
        WavFile wav;
        EXPECT_TRUE(ReadWav(p, wav)) << i;
        EXPECT_EQ(i < 2 ? 1000u : 500u, wav.dataSize) << i;
        DeleteFileW(p.c_str());
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(stray.c_str())) << "a continuation left its folder";
    DeleteFileW(stray.c_str());
}

TEST(WavSplitWriter, SplitsAtTheLimitOnWholeFramesWithValidHeaders)
{
    std::wstring path = TempPath(L"splitwriter.wav");
    PcmLayout f{2, 44100, 16};
    std::vector<uint8_t> data(35003);
    for (size_t i = 0; i < data.size(); ++i) data[i] = (uint8_t)(i * 7);
    {
        CWavSplitWriter w;
        w.SetSplit(true, 10002);   // not a whole number of frames: 10000 are used
        ASSERT_TRUE(w.Start(path, f));
        for (size_t i = 0; i < data.size(); i += 999) ASSERT_TRUE(w.Write(&data[i], std::min<size_t>(999, data.size() - i)));
        EXPECT_EQ(3, w.ContinuationCount());
        EXPECT_EQ(35003u, w.TotalBytes());
        w.Finish();
    }
    std::vector<uint8_t> joined;
    const uint32_t sizes[] = {10000, 10000, 10000, 5003};
    for (int i = 0; i < 4; ++i) {
        std::wstring p = i == 0 ? path : CWavSplitWriter::ContinuationPath(path, i);
        WavFile wav;
        ASSERT_TRUE(ReadWav(p, wav)) << i;
        EXPECT_EQ(2, wav.channels);
        EXPECT_EQ(44100, wav.rate);
        EXPECT_EQ(16, wav.bits);
        EXPECT_EQ(4, wav.blockAlign);
        EXPECT_EQ(176400, wav.byteRate);
        EXPECT_EQ(sizes[i], wav.dataSize);
        EXPECT_EQ(36 + sizes[i], wav.riffSize);
        EXPECT_EQ(44 + (long long)sizes[i], wav.fileSize);
        joined.insert(joined.end(), wav.data.begin(), wav.data.end());
        DeleteFileW(p.c_str());
    }
    EXPECT_EQ(data, joined);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(CWavSplitWriter::ContinuationPath(path, 4).c_str()));
}

TEST(WavSplitWriter, OpenFileIsPlayableWhileWriting)
{
    std::wstring path = TempPath(L"livewriter.wav");
    CWavSplitWriter w;
    ASSERT_TRUE(w.Start(path, {1, 8000, 8}));
    std::vector<uint8_t> data(8000, 200);
    ASSERT_TRUE(w.Write(data.data(), data.size()));
    // Without a refresh yet the header may lag; after one it describes all data.
    Sleep(1100);
    ASSERT_TRUE(w.Write(data.data(), data.size()));
    WavFile wav;
    ASSERT_TRUE(ReadWav(path, wav));
    EXPECT_EQ(16000u, wav.dataSize);
    EXPECT_EQ(16000u, wav.data.size());
    w.Finish();
    DeleteFileW(path.c_str());
}

TEST(WavSplitWriter, TheHeaderDescribesEverySoundByteAsSoonAsItIsWritten)
{
    // A recording that is killed keeps the header of its last write: nothing of
    // the sound that reached the file lies past the declared size.
    std::wstring path = TempPath(L"killedwriter.wav");
    CWavSplitWriter w;
    ASSERT_TRUE(w.Start(path, {2, 44100, 16}));
    std::vector<uint8_t> data(4096, 17);
    for (uint32_t writes = 1; writes <= 5; ++writes) {
        ASSERT_TRUE(w.Write(data.data(), data.size()));
        WavFile wav;
        ASSERT_TRUE(ReadWav(path, wav));
        EXPECT_EQ(4096u * writes, wav.dataSize) << writes;
        EXPECT_EQ(36 + 4096u * writes, wav.riffSize) << writes;
        EXPECT_EQ(44 + 4096ll * writes, wav.fileSize) << writes;
    }
    w.Finish();
    DeleteFileW(path.c_str());
}

TEST(WavSplitWriter, WithoutSplitAFileEndsBeforeWhatAWavCanDescribe)
{
    EXPECT_EQ(0xFFFFFFFFull - 36 - (0xFFFFFFFFull - 36) % 4, CWavSplitWriter::MaxDataBytes(4));
    EXPECT_EQ(0u, CWavSplitWriter::MaxDataBytes(4) % 4);
}

TEST(WavSplitWriter, AFileThatCannotBeCreatedFails)
{
    CWavSplitWriter w;
    EXPECT_FALSE(w.Start(L"Q:\\no such folder\\x.wav", {2, 44100, 16}));
    EXPECT_TRUE(w.Failed());
    uint8_t b[4] = {};
    EXPECT_FALSE(w.Write(b, 4));
}

// Drive W: is one of the sandbox's tiny volumes (engine tests fill V:).
TEST(WavSplitWriter, AFullDiskKeepsWhatWasWrittenWithAnExactHeader)
{
    CFullVolume volume(L'W', 64 * 1024);
    if (!volume.Ok()) GTEST_SKIP() << volume.Why();
    std::wstring path = volume.Path(L"full.wav");
    PcmLayout f{2, 44100, 16};
    // 999 bytes a block: frames straddle the writes, so the disk fills mid-frame.
    std::vector<uint8_t> data(400000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = (uint8_t)(i * 13 + i / 7);
    CWavSplitWriter w;
    ASSERT_TRUE(w.Start(path, f));
    size_t offered = 0;
    while (offered < data.size()) {
        size_t n = std::min<size_t>(999, data.size() - offered);
        if (!w.Write(&data[offered], n)) break;
        offered += n;
    }
    ASSERT_LT(offered, data.size()) << "the volume never filled";
    EXPECT_TRUE(w.Failed());
    EXPECT_EQ((DWORD)ERROR_DISK_FULL, w.LastError());
    EXPECT_FALSE(w.Write(data.data(), 4)) << "nothing is written after the failure";
    uint64_t total = w.TotalBytes();
    EXPECT_EQ(0u, total % 4) << "only whole frames are kept";
    EXPECT_GE(total + 4, (uint64_t)offered);
    w.Finish();

    WavFile wav;
    ASSERT_TRUE(ReadWav(path, wav));
    EXPECT_EQ(total, wav.dataSize);
    EXPECT_EQ(36 + total, wav.riffSize);
    EXPECT_EQ(44 + (long long)total, wav.fileSize);
    EXPECT_TRUE(std::equal(wav.data.begin(), wav.data.end(), data.begin())) << "the kept sound is not what was written";
    EXPECT_GT(total, 32768u);
}

TEST(WavSplitWriter, AContinuationThatCannotBeStartedLeavesNoFile)
{
    // Two pages free: the first file (header and 4096 bytes) takes both, so the
    // continuation past the 4096-byte limit finds no room for its header.
    CFullVolume volume(L'W', 8 * 1024);
    if (!volume.Ok()) GTEST_SKIP() << volume.Why();
    std::wstring path = volume.Path(L"edge.wav");
    std::vector<uint8_t> data(4096, 77);
    CWavSplitWriter w;
    w.SetSplit(true, 4096);
    ASSERT_TRUE(w.Start(path, {1, 8000, 8}));
    ASSERT_TRUE(w.Write(data.data(), data.size()));
    EXPECT_FALSE(w.Write(data.data(), data.size()));
    EXPECT_EQ((DWORD)ERROR_DISK_FULL, w.LastError());
    EXPECT_EQ(0, w.ContinuationCount());
    w.Finish();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(CWavSplitWriter::ContinuationPath(path, 1).c_str()))
        << "a continuation without its header was left behind";
    WavFile first;
    ASSERT_TRUE(ReadWav(path, first));
    EXPECT_EQ(4096u, first.dataSize);
    EXPECT_EQ(4096 + 44LL, first.fileSize);
}

namespace {

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(h, bytes.data(), (DWORD)bytes.size(), &n, nullptr);
    CloseHandle(h);
}

std::string ReadBytes(const std::wstring& path)
{
    std::string out;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return "(missing)";
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n) out.append(buf, n);
    CloseHandle(h);
    return out;
}

} // namespace

// Opening names the file without changing it: an older file is cut only when
// sound arrives, a new file with no sound ends as an empty WAV.
TEST(WavSplitWriter, AnOlderFileIsUntouchedUntilSoundArrives)
{
    std::wstring older = TempPath(L"writer_older.wav"), fresh = TempPath(L"writer_fresh.wav");
    const std::string kept = "older bytes the user keeps";
    WriteBytes(older, kept);
    DeleteFileW(fresh.c_str());
    {
        CWavSplitWriter w;
        ASSERT_TRUE(w.Open(older, {2, 44100, 16}));
        EXPECT_FALSE(w.CreatedFile());
        EXPECT_EQ(kept, ReadBytes(older)) << "opening changed the file";
        w.Finish();
        EXPECT_EQ(kept, ReadBytes(older)) << "a writer that got no sound changed the file";
    }
    {
        CWavSplitWriter w;
        ASSERT_TRUE(w.Open(fresh, {2, 44100, 16}));
        EXPECT_TRUE(w.CreatedFile());
        w.Finish();
        WavFile wav;
        ASSERT_TRUE(ReadWav(fresh, wav));
        EXPECT_EQ(0u, wav.dataSize);
        EXPECT_EQ(44, wav.fileSize);
    }
    {
        CWavSplitWriter w;
        ASSERT_TRUE(w.Open(older, {1, 8000, 8}));
        std::vector<uint8_t> data(5, 99);
        ASSERT_TRUE(w.Write(data.data(), data.size()));
        w.Finish();
        WavFile wav;
        ASSERT_TRUE(ReadWav(older, wav));
        EXPECT_EQ(5u, wav.dataSize);
        EXPECT_EQ(49, wav.fileSize) << "the older content was not cut";
    }
    DeleteFileW(older.c_str());
    DeleteFileW(fresh.c_str());
}

// A recording creates its file before it names it to the writer, so that no other
// file can appear at that name meanwhile: that empty file is the writer's own.
TEST(WavSplitWriter, AnEmptyFileGivenByNameBecomesAWavEvenWithoutSound)
{
    std::wstring reserved = TempPath(L"writer_reserved.wav");
    WriteBytes(reserved, "");
    {
        CWavSplitWriter w;
        ASSERT_TRUE(w.Open(reserved, {2, 44100, 16}));
        w.Finish();
    }
    WavFile wav;
    ASSERT_TRUE(ReadWav(reserved, wav));
    EXPECT_EQ(0u, wav.dataSize);
    EXPECT_EQ(44, wav.fileSize);
    DeleteFileW(reserved.c_str());
}

// A continuation never overwrites an older file of its name: the sound goes on
// in the current file, and the older file keeps its bytes.
TEST(WavSplitWriter, AContinuationNameTakenByAnOlderFileIsNotOverwritten)
{
    std::wstring path = TempPath(L"writer_taken.wav");
    std::wstring next = CWavSplitWriter::ContinuationPath(path, 1);
    const std::string kept = "take_1 from yesterday";
    WriteBytes(next, kept);
    std::vector<uint8_t> data(10000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = (uint8_t)(i * 3);
    {
        CWavSplitWriter w;
        w.SetSplit(true, 4000);
        ASSERT_TRUE(w.Start(path, {1, 8000, 8}));
        ASSERT_TRUE(w.Write(data.data(), data.size()));
        EXPECT_EQ(0, w.ContinuationCount());
        EXPECT_FALSE(w.Failed());
        w.Finish();
    }
    EXPECT_EQ(kept, ReadBytes(next));
    WavFile wav;
    ASSERT_TRUE(ReadWav(path, wav));
    EXPECT_EQ(data, wav.data) << "sound past the limit was lost";
    DeleteFileW(path.c_str());
    DeleteFileW(next.c_str());
}
