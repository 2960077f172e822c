#include <gtest/gtest.h>
#include "DiscTestKit.h"
#include "FullVolume.h"
#include "NVAudioCD.h"
#include "NVDataCDDVD.h"

#include <algorithm>
#include <atomic>

using namespace disctest;

namespace {

const unsigned long WriteError = 0x030C00;

std::wstring Line(const wchar_t* key, const std::wstring& value) { return std::wstring(key) + L"=" + value; }

// A data layout of `count` files of `bytes` each in `folder`.
void AddDataFiles(CNVDataCDDVD& data, const std::wstring& folder, int count, size_t bytes)
{
    for (int i = 0; i < count; ++i) {
        std::wstring name = L"track" + std::to_wstring(i) + L".mp3";
        std::vector<unsigned char> content(bytes, (unsigned char)(i + 1));
        ASSERT_TRUE(WriteBytes(folder + L"\\" + name, content));
        std::wstring path = folder + L"\\" + name;
        data.AddFileW(const_cast<wchar_t*>(L"\\"), &path[0], &name[0], &name[0]);
    }
}

}  // namespace

TEST(DiscWriters, WithoutTheFileOneBlankCdrWriterAndAnEmptyFileHasNone)
{
    CWriterIni ini;
    CNVDataCDDVD data;
    EXPECT_EQ(1, data.GetDriveCount());
    EXPECT_STREQ("Disc Image Writer", data.GetDriveName(0));
    ASSERT_TRUE(data.ChooseDrive(0));
    EXPECT_EQ(2, data.GetDiscType());
    EXPECT_EQ(359849u, data.GetFreeDiscBlock());
    ini.WriteEmpty();
    EXPECT_EQ(0, data.GetDriveCount());
    EXPECT_EQ(0, data.TestUnitReady());
    EXPECT_EQ(0u, data.GetFreeDiscBlock());
}

TEST(DiscWriters, AreReadAgainAtEveryQuery)
{
    CWriterIni ini;
    ini.AddWriter({L"Name=First", L"Medium=none"});
    ini.AddWriter({L"Name=Second", L"Medium=cdrw", L"Blocks=1234"});
    CNVDataCDDVD data;
    ASSERT_EQ(2, data.GetDriveCount());
    EXPECT_STREQ("First", data.GetDriveName(0));
    EXPECT_STREQ("Second", data.GetDriveName(1));
    EXPECT_EQ(0, data.ChooseDrive(2));
    ASSERT_TRUE(data.ChooseDrive(0));
    EXPECT_EQ(0, data.TestUnitReady());
    WritePrivateProfileStringW(L"Writer1", L"Medium", L"cdr", ini.Path().c_str());   // a disc goes in
    EXPECT_EQ(1, data.TestUnitReady());
    ASSERT_TRUE(data.ChooseDrive(1));
    EXPECT_EQ(1234u, data.GetFreeDiscBlock());
}

TEST(DiscWriters, EachTestProcessDescribesThemInAFileOfItsOwn)
{
    // Test programs share the libraries' folder: a file there would be rewritten by
    // every program that runs beside this one.
    const wchar_t* variable = L"SONELLE_DISC_WRITER_INI";
    SetEnvironmentVariableW(variable, nullptr);
    {
        CWriterIni ini;
        EXPECT_NE(ProgramFolder() + L"DiscWriter.ini", ini.Path());
        EXPECT_NE(std::wstring::npos, ini.Path().find(std::to_wstring(GetCurrentProcessId())));
        wchar_t named[MAX_PATH * 2] = L"";
        GetEnvironmentVariableW(variable, named, MAX_PATH * 2);
        EXPECT_EQ(ini.Path(), named);
        ini.AddWriter({L"Name=Own Writer"});
        ini.AddWriter({L"Name=Second Writer"});
        CNVDataCDDVD data;
        ASSERT_EQ(2, data.GetDriveCount());
        EXPECT_STREQ("Own Writer", data.GetDriveName(0));
        CNVAudioCD audio;
        EXPECT_TRUE(audio.ChooseDrive(1)) << "the audio library reads the same file";
    }
    // Programs the tests start afterwards read the file beside their own libraries.
    EXPECT_EQ(0u, GetEnvironmentVariableW(variable, nullptr, 0));
}

struct MediumCase {
    const wchar_t* medium;
    int ready, kind, cdr, cdrw;
    unsigned long free;
};

class DiscMedia : public ::testing::TestWithParam<MediumCase> {};

TEST_P(DiscMedia, ReportKindSupportAndFreeBlocks)
{
    const MediumCase& c = GetParam();
    CWriterIni ini;
    ini.AddWriter({Line(L"Medium", c.medium), L"Blocks=1000"});
    CNVDataCDDVD data;
    ASSERT_TRUE(data.ChooseDrive(0));
    EXPECT_EQ(c.ready, data.TestUnitReady());
    EXPECT_EQ(c.kind, data.GetDiscType());
    EXPECT_EQ(c.cdr, data.SupportDisc(11));
    EXPECT_EQ(c.cdrw, data.SupportDisc(12));
    EXPECT_EQ(c.free, data.GetFreeDiscBlock());
}

INSTANTIATE_TEST_SUITE_P(Table, DiscMedia,
                         ::testing::Values(MediumCase{L"none", 0, 0, 0, 0, 0}, MediumCase{L"cdr", 1, 2, 1, 0, 1000},
                                           MediumCase{L"cdrw", 1, 3, 0, 1, 1000},
                                           MediumCase{L"cdr-written", 1, 2, 1, 0, 0},
                                           MediumCase{L"cdrw-written", 1, 3, 0, 1, 0},
                                           MediumCase{L"cdrom", 1, 1, 0, 0, 0}));

class DataBurn : public ::testing::Test {
protected:
    void SetUp() override
    {
        sources = FreshFolder(L"disclib-src");
        images = FreshFolder(L"disclib-img");
    }
    void TearDown() override
    {
        data.Free();
        RemoveTree(sources);
        RemoveTree(images);
    }
    CWriterIni ini;
    CNVDataCDDVD data;
    std::wstring sources, images;
};

TEST_F(DataBurn, CallsBackOnceOnItsOwnThreadAfterTheStartReturnedAndMarksTheDiscWritten)
{
    ini.AddWriter({L"Name=W", Line(L"ImageFolder", images), L"Speed=0"});
    ASSERT_TRUE(data.ChooseDrive(0));
    data.Free();
    data.SetDiscLabel(const_cast<char*>("ALBUM"));
    AddDataFiles(data, sources, 3, 5000);
    const unsigned long sectors = data.Ready();
    EXPECT_EQ(23u + 1 + 1 + 3 * 3, sectors);   // descriptors, tables, two folders, three files of 3 sectors
    CBurnWaiter waiter;
    ASSERT_EQ(1, waiter.Start([&] { return data.StartBurnData(&CBurnWaiter::Callback, &waiter); }));
    ASSERT_TRUE(waiter.WaitDone(20000));
    Sleep(100);
    EXPECT_EQ(1, waiter.Calls());
    EXPECT_FALSE(waiter.CameDuringStart());
    EXPECT_NE(GetCurrentThreadId(), waiter.Thread());
    EXPECT_NE(1, waiter.Status());
    EXPECT_EQ(sectors, data.GetBlocksToWrite());
    EXPECT_EQ(sectors, data.GetBlocksWritten());
    const std::wstring image = images + L"\\DataDisc001.iso";
    EXPECT_EQ(size_t(sectors) * 2048, ReadBytes(image).size());
    EXPECT_EQ(L"cdr-written", ini.Value(1, L"Medium"));
    EXPECT_EQ(image, ini.Value(1, L"LastImage"));
    EXPECT_EQ(0u, data.GetFreeDiscBlock());
    EXPECT_EQ(1, data.SupportDisc(11));
}

TEST_F(DataBurn, ProgressNeverShowsMoreWrittenThanTotalAndUninitializeWaitsForTheWrite)
{
    ini.AddWriter({Line(L"ImageFolder", images), L"Speed=40"});   // 3000 sectors a second
    ASSERT_TRUE(data.ChooseDrive(0));
    AddDataFiles(data, sources, 2, 1500 * 2048);
    const unsigned long sectors = data.Ready();
    CBurnWaiter waiter;
    ASSERT_EQ(1, data.StartBurnData(&CBurnWaiter::Callback, &waiter));
    bool sawProgress = false;
    for (int i = 0; i < 5; ++i) {
        Sleep(60);
        const unsigned long written = data.GetBlocksWritten(), total = data.GetBlocksToWrite();
        EXPECT_LE(written, total);
        EXPECT_EQ(sectors, total);
        sawProgress = sawProgress || (written > 0 && written < total);
    }
    EXPECT_TRUE(sawProgress);
    EXPECT_EQ(0, waiter.Calls());
    data.Uninitialize();
    EXPECT_EQ(1, waiter.Calls());   // the write ended before Uninitialize returned
    EXPECT_NE(1, waiter.Status());
    EXPECT_EQ(size_t(sectors) * 2048, ReadBytes(images + L"\\DataDisc001.iso").size());
}

TEST_F(DataBurn, FailsAtTheWritersFailureBlockWithItsCodeAndLeavesNoImage)
{
    ini.AddWriter({Line(L"ImageFolder", images), L"FailAtBlock=40", L"FailCode=0x052400"});
    ASSERT_TRUE(data.ChooseDrive(0));
    AddDataFiles(data, sources, 2, 100 * 2048);
    ASSERT_GT(data.Ready(), 40u);
    CBurnWaiter waiter;
    ASSERT_EQ(1, data.StartBurnData(&CBurnWaiter::Callback, &waiter));
    ASSERT_TRUE(waiter.WaitDone(20000));
    EXPECT_EQ(1, waiter.Status());
    EXPECT_EQ(0x052400u, data.GetErrorCode());
    EXPECT_LE(data.GetBlocksWritten(), data.GetBlocksToWrite());
    EXPECT_TRUE(FilesIn(images).empty());
    EXPECT_EQ(L"", ini.Value(1, L"Medium"));   // the blank disc stays blank
    EXPECT_EQ(359849u, data.GetFreeDiscBlock());
}

TEST_F(DataBurn, AnImageFolderOnAFullVolumeFailsWithAWriteErrorAndLeavesNoImage)
{
    CFullVolume volume(L'V', 64 * 1024);
    if (!volume.Ok()) GTEST_SKIP() << volume.Why();
    ini.AddWriter({Line(L"ImageFolder", volume.Path(L"Images"))});
    ASSERT_TRUE(data.ChooseDrive(0));
    AddDataFiles(data, sources, 1, 300 * 1024);
    ASSERT_GT(data.Ready(), 0u);
    CBurnWaiter waiter;
    ASSERT_EQ(1, data.StartBurnData(&CBurnWaiter::Callback, &waiter));
    ASSERT_TRUE(waiter.WaitDone(20000));
    EXPECT_EQ(1, waiter.Status());
    EXPECT_EQ(WriteError, data.GetErrorCode());
    EXPECT_TRUE(FilesIn(volume.Path(L"Images")).empty());
}

TEST_F(DataBurn, RefusesAnEmptyLayoutOneLargerThanTheDiscAndAMissingSource)
{
    ini.AddWriter({Line(L"ImageFolder", images), L"Blocks=40"});
    ASSERT_TRUE(data.ChooseDrive(0));
    CBurnWaiter waiter;
    EXPECT_EQ(0u, data.Ready());
    EXPECT_EQ(0, data.StartBurnData(&CBurnWaiter::Callback, &waiter));
    AddDataFiles(data, sources, 1, 20 * 2048);   // 25 + 20 sectors: more than 40
    EXPECT_EQ(45u, data.Ready());
    EXPECT_EQ(0, data.StartBurnData(&CBurnWaiter::Callback, &waiter));
    WritePrivateProfileStringW(L"Writer1", L"Blocks", L"45", ini.Path().c_str());
    data.Free();
    std::wstring missing = sources + L"\\gone.mp3";
    data.AddFileW(const_cast<wchar_t*>(L"\\"), &missing[0], const_cast<wchar_t*>(L"gone.mp3"),
                  const_cast<wchar_t*>(L"gone.mp3"));
    EXPECT_EQ(0u, data.Ready());
    EXPECT_EQ(0, data.StartBurnData(&CBurnWaiter::Callback, &waiter));
    Sleep(200);
    EXPECT_EQ(0, waiter.Calls());
    EXPECT_TRUE(FilesIn(images).empty());
}

TEST_F(DataBurn, EjectLeavesTheWriterEmpty)
{
    ini.AddWriter({L"Medium=cdrw"});
    CNVAudioCD audio;
    ASSERT_TRUE(data.ChooseDrive(0));
    ASSERT_TRUE(audio.ChooseDrive(0));
    EXPECT_EQ(1, audio.UnloadMedium());
    EXPECT_EQ(L"none", ini.Value(1, L"Medium"));
    EXPECT_EQ(0, data.TestUnitReady());
}

struct WavCase {
    const char* what;
    double seconds;
    int rate, channels, bits;
    bool valid;
};

class AudioTrackFiles : public ::testing::TestWithParam<WavCase> {};

TEST_P(AudioTrackFiles, AreTakenOnlyAsCdFormatOfFourSecondsOrMore)
{
    const WavCase& c = GetParam();
    const std::wstring folder = FreshFolder(L"discaudio-valid");
    std::wstring path = folder + L"\\track.wav";
    ASSERT_TRUE(WriteBytes(path, MakeWav(c.seconds, c.rate, c.channels, c.bits)));
    CNVAudioCD audio;
    EXPECT_EQ(c.valid ? 1 : 0, audio.GetValidW(&path[0])) << c.what;
    RemoveTree(folder);
}

INSTANTIATE_TEST_SUITE_P(Table, AudioTrackFiles,
                         ::testing::Values(WavCase{"cd", 4.0, 44100, 2, 16, true},
                                           WavCase{"short", 3.9, 44100, 2, 16, false},
                                           WavCase{"48 kHz", 5, 48000, 2, 16, false},
                                           WavCase{"mono", 5, 44100, 1, 16, false},
                                           WavCase{"8-bit", 5, 44100, 2, 8, false}));

TEST(AudioTrackFile, AnMp3NamedWavAndAMissingFileAreRefused)
{
    const std::wstring folder = FreshFolder(L"discaudio-mp3");
    std::wstring path = folder + L"\\song.wav";
    std::vector<unsigned char> mp3(800000, 0);
    mp3[0] = 0xFF, mp3[1] = 0xFB, mp3[2] = 0x90, mp3[3] = 0x64;
    ASSERT_TRUE(WriteBytes(path, mp3));
    CNVAudioCD audio;
    EXPECT_EQ(0, audio.GetValidW(&path[0]));
    EXPECT_EQ(0, audio.AddAudioW(&path[0], 0, 150, 0));
    std::wstring missing = folder + L"\\none.wav";
    EXPECT_EQ(0, audio.GetValidW(&missing[0]));
    RemoveTree(folder);
}

class AudioBurn : public ::testing::Test {
protected:
    void SetUp() override
    {
        sources = FreshFolder(L"discaudio-src");
        images = FreshFolder(L"discaudio-img");
    }
    void TearDown() override
    {
        audio.Free();
        RemoveTree(sources);
        RemoveTree(images);
    }
    std::wstring Wav(int i, double seconds)
    {
        const std::wstring path = sources + L"\\t" + std::to_wstring(i) + L".wav";
        EXPECT_TRUE(WriteBytes(path, MakeWav(seconds, 44100, 2, 16, i + 1)));
        return path;
    }
    CWriterIni ini;
    CNVAudioCD audio;
    std::wstring sources, images;
};

TEST_F(AudioBurn, TakesNinetyNineTracksAndNoMore)
{
    std::wstring path = Wav(0, 4.0);
    audio.Free();
    for (int i = 0; i < 99; ++i) ASSERT_EQ(1, audio.AddAudioW(&path[0], 0, 150, 0)) << i;
    EXPECT_EQ(0, audio.AddAudioW(&path[0], 0, 150, 0));
}

TEST_F(AudioBurn, WritesCueAndBinWithPregapsBeforeTracksTwoAndOn)
{
    ini.AddWriter({Line(L"ImageFolder", images)});
    ASSERT_TRUE(audio.ChooseDrive(0));
    audio.Free();
    const double seconds[] = {4.0, 4.3};
    for (int i = 0; i < 2; ++i) {
        std::wstring path = Wav(i, seconds[i]);
        ASSERT_EQ(1, audio.AddAudioW(&path[0], 0, 150, 0));
    }
    CBurnWaiter waiter;
    ASSERT_EQ(1, waiter.Start([&] { return audio.StartBurn(&CBurnWaiter::Callback, &waiter); }));
    ASSERT_TRUE(waiter.WaitDone(20000));
    EXPECT_NE(1, waiter.Status());
    EXPECT_FALSE(waiter.CameDuringStart());
    // 4.0 s = 300 sectors exactly; 4.3 s = 189630 frames = 322.5 sectors, so 323.
    EXPECT_EQ(300u + 150 + 323, audio.GetBlocksToWrite());
    EXPECT_EQ(audio.GetBlocksToWrite(), audio.GetBlocksWritten());
    EXPECT_EQ(size_t(773) * 2352, ReadBytes(images + L"\\AudioDisc001.bin").size());
    const std::vector<unsigned char> cue = ReadBytes(images + L"\\AudioDisc001.cue");
    EXPECT_EQ("FILE \"AudioDisc001.bin\" BINARY\r\n"
              "  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n"
              "  TRACK 02 AUDIO\r\n    INDEX 00 00:04:00\r\n    INDEX 01 00:06:00\r\n",
              std::string(cue.begin(), cue.end()));
    EXPECT_EQ(images + L"\\AudioDisc001.cue", ini.Value(1, L"LastImage"));
    EXPECT_EQ(L"cdr-written", ini.Value(1, L"Medium"));
}

TEST_F(AudioBurn, RefusesAnEmptyLayoutAndOneLargerThanTheDisc)
{
    ini.AddWriter({Line(L"ImageFolder", images), L"Blocks=449"});
    ASSERT_TRUE(audio.ChooseDrive(0));
    CBurnWaiter waiter;
    EXPECT_EQ(0, audio.StartBurn(&CBurnWaiter::Callback, &waiter));
    std::wstring path = Wav(0, 4.0);
    ASSERT_EQ(1, audio.AddAudioW(&path[0], 0, 150, 0));
    EXPECT_EQ(0, audio.StartBurn(&CBurnWaiter::Callback, &waiter));   // 300 + the lead-in's 150
    WritePrivateProfileStringW(L"Writer1", L"Blocks", L"450", ini.Path().c_str());
    EXPECT_EQ(1, audio.StartBurn(&CBurnWaiter::Callback, &waiter));
    ASSERT_TRUE(waiter.WaitDone(20000));
    EXPECT_EQ(1, waiter.Calls());
}
