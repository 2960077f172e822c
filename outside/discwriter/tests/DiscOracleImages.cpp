// Makes the images that the native oracle step (check_disc_images.py) reads
// back with isoinfo, xorriso, bchunk and cdrdao. Every case folder holds the
// sources (src), the image (img), and manifest.txt naming what was asked for.
#include <gtest/gtest.h>
#include "DiscTestKit.h"
#include "NVAudioCD.h"
#include "NVDataCDDVD.h"

using namespace disctest;

namespace {

std::wstring OracleFolder() { return ProgramFolder() + L"disc-oracle"; }

std::string Utf8(const std::wstring& text)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n - 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    return out;
}

std::vector<unsigned char> Bytes(const std::string& s) { return std::vector<unsigned char>(s.begin(), s.end()); }

struct DataFileCase {
    std::wstring longName, shortName;
    size_t bytes;
};

// Short names as the publish dialog makes them: the name part when it has at most
// 8 characters, else its first 6 and the file's number in hex; the extension cut
// to 4 characters with its dot.
std::wstring DialogShortName(const std::wstring& longName, int i)
{
    const size_t dot = longName.rfind(L'.');
    std::wstring stem = longName.substr(0, dot), ext = dot == std::wstring::npos ? L"" : longName.substr(dot, 4);
    if (stem.size() > 8) {
        wchar_t hex[8];
        _snwprintf(hex, 8, L"%02x", i % 256);
        stem = stem.substr(0, 6) + hex;
    }
    return stem + ext;
}

void MakeDataCase(const std::wstring& name, const std::string& label8, const std::vector<DataFileCase>& files)
{
    const std::wstring root = OracleFolder() + L"\\" + name;
    RemoveTree(root);
    CreateDirectoryW(OracleFolder().c_str(), nullptr);
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW((root + L"\\src").c_str(), nullptr);
    CreateDirectoryW((root + L"\\img").c_str(), nullptr);

    CWriterIni ini;
    ini.AddWriter({L"ImageFolder=" + root + L"\\img"});
    CNVDataCDDVD data;
    ASSERT_TRUE(data.ChooseDrive(0));
    data.Free();
    data.LoadSession();
    data.SetDiscLabel(const_cast<char*>(label8.c_str()));
    data.SetFinalizeDisc(1);
    std::string manifest;
    for (size_t i = 0; i < files.size(); ++i) {
        // Each source differs from every other, so the oracle can pair them by content.
        std::string content = "file " + std::to_string(i) + "\n";
        while (content.size() < files[i].bytes) content += char('a' + (content.size() * 7 + i) % 26);
        content.resize(files[i].bytes);
        std::wstring source = root + L"\\src\\f" + std::to_wstring(i) + L".bin";
        ASSERT_TRUE(WriteBytes(source, Bytes(content)));
        std::wstring longName = files[i].longName, shortName = files[i].shortName;
        data.AddFileW(const_cast<wchar_t*>(L"\\"), &source[0], &longName[0], &shortName[0]);
        manifest += "f" + std::to_string(i) + ".bin\t" + Utf8(longName) + "\t" + Utf8(shortName) + "\n";
    }
    ASSERT_TRUE(WriteBytes(root + L"\\manifest.txt", Bytes(manifest)));
    wchar_t wideLabel[64] = L"";
    MultiByteToWideChar(CP_ACP, 0, label8.c_str(), -1, wideLabel, 64);
    ASSERT_TRUE(WriteBytes(root + L"\\label.txt", Bytes(Utf8(wideLabel))));
    ASSERT_GT(data.Ready(), 0u);
    CBurnWaiter waiter;
    ASSERT_EQ(1, data.StartBurnData(&CBurnWaiter::Callback, &waiter));
    ASSERT_TRUE(waiter.WaitDone(60000));
    ASSERT_NE(1, waiter.Status());
    ASSERT_TRUE(Exists(root + L"\\img\\DataDisc001.iso"));
    data.Free();
}

}  // namespace

TEST(DiscOracleImages, OneFile)
{
    MakeDataCase(L"data-one", "ONE FILE", {{L"[01] Morning.mp3", L"[01] Mo00.mp3", 70000}});
}

TEST(DiscOracleImages, ThirtyAwkwardNames)
{
    std::vector<DataFileCase> files;
    const wchar_t* stems[] = {L"Song", L"A B  C", L"x;y", L"[b] (c)", L"Seventeen chars!!"};
    for (int i = 0; i < 30; ++i) {
        wchar_t name[80];
        _snwprintf(name, 80, L"[%02d] %s %d.mp3", i + 1, stems[i % 5], i);
        std::wstring longName = name;
        if (i == 29) longName = L"Seventeen_chars_x.mp3";   // a 17-character name part
        std::wstring shortName = DialogShortName(longName, i);
        // The dialog turns ";" into "_" in both names; leave some for the library.
        if (i % 2 == 0)
            for (wchar_t& c : longName) if (c == L';') c = L'_';
        files.push_back({longName, shortName, size_t(1000 + i * 977)});
    }
    MakeDataCase(L"data-names30", "THIRTY", files);
}

TEST(DiscOracleImages, SeventyCharacterName)
{
    std::wstring longName = L"A long name that goes on and on past the Joliet limit of character.mp3";
    ASSERT_EQ(70u, longName.size());
    MakeDataCase(L"data-long70", "LONG", {{longName, DialogShortName(longName, 0), 5000}});
}

TEST(DiscOracleImages, EmptyFile)
{
    MakeDataCase(L"data-empty", "EMPTY",
                 {{L"empty.mp3", L"empty.mp3", 0}, {L"after.mp3", L"after.mp3", 4096}});
}

TEST(DiscOracleImages, AccentedLabel)
{
    MakeDataCase(L"data-label", "\xE9 album", {{L"Caf\x00E9 cr\x00E8me.mp3", L"Caf\x00E9 c00.mp3", 3000}});
}

TEST(DiscOracleImages, AudioDiscOfThreeTracks)
{
    const std::wstring root = OracleFolder() + L"\\audio";
    RemoveTree(root);
    CreateDirectoryW(OracleFolder().c_str(), nullptr);
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW((root + L"\\src").c_str(), nullptr);
    CreateDirectoryW((root + L"\\img").c_str(), nullptr);
    CWriterIni ini;
    ini.AddWriter({L"ImageFolder=" + root + L"\\img"});
    CNVAudioCD audio;
    ASSERT_TRUE(audio.ChooseDrive(0));
    audio.Free();
    audio.SetFinalizeDisc(1);
    audio.SetBurnMode(0);
    const double seconds[] = {4.0, 4.3, 60.0};
    std::string manifest;
    for (int i = 0; i < 3; ++i) {
        std::wstring path = root + L"\\src\\t" + std::to_wstring(i + 1) + L".wav";
        ASSERT_TRUE(WriteBytes(path, MakeWav(seconds[i], 44100, 2, 16, i + 1)));
        ASSERT_EQ(1, audio.GetValidW(&path[0]));
        ASSERT_EQ(1, audio.AddAudioW(&path[0], 0, 150, 0));
        manifest += "t" + std::to_string(i + 1) + ".wav\n";
    }
    ASSERT_TRUE(WriteBytes(root + L"\\manifest.txt", Bytes(manifest)));
    CBurnWaiter waiter;
    ASSERT_EQ(1, audio.StartBurn(&CBurnWaiter::Callback, &waiter));
    ASSERT_TRUE(waiter.WaitDone(60000));
    ASSERT_NE(1, waiter.Status());
    ASSERT_TRUE(Exists(root + L"\\img\\AudioDisc001.cue"));
    audio.Free();
}
