#include <gtest/gtest.h>
#include "DiscBurner.h"
#include "DiscTestKit.h"
#include "PublishMessages.h"

#include <algorithm>

using namespace disctest;

namespace {

// A window of this thread that collects the burner's end-of-write message.
class Receiver {
public:
    Receiver()
    {
        m_hwnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    }
    ~Receiver() { DestroyWindow(m_hwnd); }
    HWND Handle() const { return m_hwnd; }
    // The posted WM_DISC_BURN_DONE within `ms`: its status and kind, or false.
    bool WaitDone(DWORD ms, WPARAM& status, LPARAM& kind)
    {
        const DWORD end = GetTickCount() + ms;
        while (GetTickCount() < end) {
            MSG msg;
            while (PeekMessageW(&msg, m_hwnd, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_DISC_BURN_DONE) {
                    status = msg.wParam;
                    kind = msg.lParam;
                    return true;
                }
                DispatchMessageW(&msg);
            }
            Sleep(10);
        }
        return false;
    }

private:
    HWND m_hwnd;
};

bool Contains(const std::vector<unsigned char>& bytes, const std::string& text)
{
    return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

}  // namespace

struct KindCase {
    const wchar_t* medium;
    DiscCheck result;
    bool ejected;
};

class DiscChecks : public ::testing::TestWithParam<KindCase> {};

TEST_P(DiscChecks, AskTheRightSupportCodeAndEjectWhatCannotBeWritten)
{
    const KindCase& c = GetParam();
    CWriterIni ini;
    ini.AddWriter({std::wstring(L"Medium=") + c.medium, L"Blocks=1000"});
    CNVDataCDDVD data;
    CNVAudioCD audio;
    CDiscBurner burner(data, audio);
    int selected = -1;
    burner.DriveNames(L"", selected);
    ASSERT_EQ(0, selected);
    burner.ChooseDrive(0);
    EXPECT_EQ(c.result, burner.CheckData(1000));
    EXPECT_EQ(c.ejected, ini.Value(1, L"Medium") == L"none") << testing::PrintToString(std::wstring(c.medium));
}

INSTANTIATE_TEST_SUITE_P(Table, DiscChecks,
                         ::testing::Values(KindCase{L"cdr", DiscCheck::Ok, false},
                                           KindCase{L"cdrw", DiscCheck::Ok, false},
                                           KindCase{L"cdrom", DiscCheck::NotCompatible, true},
                                           KindCase{L"cdr-written", DiscCheck::NotWritable, true},
                                           KindCase{L"none", DiscCheck::NotReady, true}));

TEST(DiscBurner, SpaceEdgesOfDataAndAudioDiscs)
{
    CWriterIni ini;
    ini.AddWriter({L"Name=Burner", L"Blocks=1000"});
    CNVDataCDDVD data;
    CNVAudioCD audio;
    CDiscBurner burner(data, audio);
    EXPECT_EQ(DiscCheck::NotReady, burner.CheckData(1)) << "no writer listed yet";
    int selected = -1;
    ASSERT_EQ(1u, burner.DriveNames(L"burner", selected).size());
    EXPECT_EQ(0, selected);
    EXPECT_EQ(L"Burner", burner.ChooseDrive(0));
    EXPECT_EQ(DiscCheck::Ok, burner.CheckData((1000 - 150) * 2048.0));
    EXPECT_EQ(DiscCheck::TooSmall, burner.CheckData((1000 - 150) * 2048.0 + 1));
    EXPECT_EQ(850.0 * 2048, burner.FreeDiscBytes(BurnKindData));
    EXPECT_EQ(850.0 * 2352, burner.FreeDiscBytes(BurnKindAudio));
    EXPECT_EQ(L"", ini.Value(1, L"Medium")) << "a disc that is merely too small stays in";

    // An 80-minute CD-R takes 79 minutes of tracks, not 80.
    WritePrivateProfileStringW(L"Writer1", L"Blocks", L"359849", ini.Path().c_str());
    EXPECT_EQ(DiscCheck::Ok, burner.CheckAudio({79 * 60 * 176400.0}));
    EXPECT_EQ(DiscCheck::TooSmall, burner.CheckAudio({80 * 60 * 176400.0}));
    // Every track takes its pregap.
    EXPECT_EQ(DiscCheck::TooSmall, burner.CheckAudio(std::vector<double>(99, 3600 * 2352.0)));
}

TEST(DiscBurner, ProgressIsZeroWhileNothingIsToBeWrittenAndSenseFieldsArePadded)
{
    CNVDataCDDVD data;
    CNVAudioCD audio;
    CDiscBurner burner(data, audio);
    BurnProgress p = burner.Progress(BurnKindAudio);
    EXPECT_EQ(0, p.percent);
    EXPECT_EQ(0.0, p.totalMB);
    EXPECT_EQ(L"SenseKey :  5, ASC : 24, ASCQ :  0", CDiscBurner::SenseText(0x052400));
    EXPECT_EQ(L"SenseKey :  3, ASC :  c, ASCQ :  0", CDiscBurner::SenseText(0x030C00));
}

TEST(DiscBurner, WritesTheDataDiscAndPostsTheEndToTheOwnersThread)
{
    const std::wstring sources = FreshFolder(L"burner-src"), images = FreshFolder(L"burner-img");
    CWriterIni ini;
    ini.AddWriter({L"ImageFolder=" + images});
    CNVDataCDDVD data;
    CNVAudioCD audio;
    CDiscBurner burner(data, audio);
    int selected = -1;
    burner.DriveNames(L"", selected);
    burner.ChooseDrive(0);
    std::vector<CString> files;
    for (const wchar_t* name : {L"Seventeen_chars_x.mp3", L"[02] a;b.mp3"}) {
        std::wstring path = sources + L"\\" + name;
        ASSERT_TRUE(WriteBytes(path, std::vector<unsigned char>(3000, 'x')));
        files.push_back(CString(path));
    }
    Receiver receiver;
    ASSERT_TRUE(burner.BurnData(receiver.Handle(), files, L"An album name longer than sixteen"));
    WPARAM status = 9;
    LPARAM kind = 0;
    ASSERT_TRUE(receiver.WaitDone(20000, status, kind));
    EXPECT_EQ(0u, status);
    EXPECT_EQ(BurnKindData, kind);
    BurnProgress p = burner.Progress(BurnKindData);
    EXPECT_EQ(100, p.percent);
    const std::vector<unsigned char> image = ReadBytes(images + L"\\DataDisc001.iso");
    EXPECT_TRUE(Contains(image, "SEVENT00.MP3;1")) << "the 17-character name's short form";
    EXPECT_TRUE(Contains(image, "AN_ALBUM_NAME_LO ")) << "the label: the album's first 16 characters";
    const std::string joliet = std::string("\0[\0\060\0\062\0]\0 \0a\0_\0b", 16);
    EXPECT_TRUE(Contains(image, joliet)) << "\";\" became \"_\" in the long name";
    RemoveTree(sources);
    RemoveTree(images);
}

TEST(DiscBurner, AudioDiscLeavesOutFilesTheLibraryRefuses)
{
    const std::wstring sources = FreshFolder(L"burner-asrc"), images = FreshFolder(L"burner-aimg");
    CWriterIni ini;
    ini.AddWriter({L"ImageFolder=" + images, L"FailAtBlock=100", L"FailCode=0x052400"});
    CNVDataCDDVD data;
    CNVAudioCD audio;
    CDiscBurner burner(data, audio);
    int selected = -1;
    burner.DriveNames(L"", selected);
    burner.ChooseDrive(0);
    std::vector<CString> files = {CString(sources + L"\\good.wav"), CString(sources + L"\\mono.wav")};
    ASSERT_TRUE(WriteBytes(files[0].str(), MakeWav(5)));
    ASSERT_TRUE(WriteBytes(files[1].str(), MakeWav(5, 44100, 1)));
    Receiver receiver;
    ASSERT_TRUE(burner.BurnAudio(receiver.Handle(), files, 0));
    EXPECT_EQ(375u, audio.GetBlocksToWrite()) << "only the good file";
    WPARAM status = 0;
    LPARAM kind = 0;
    ASSERT_TRUE(receiver.WaitDone(20000, status, kind));
    EXPECT_EQ(1u, status);
    EXPECT_EQ(BurnKindAudio, kind);
    EXPECT_EQ(0x052400u, burner.ErrorCode(BurnKindAudio));
    EXPECT_LE(burner.Progress(BurnKindAudio).percent, 100);
    audio.Free();
    RemoveTree(sources);
    RemoveTree(images);
}
