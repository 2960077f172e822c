// The publish dialog in a real window on this thread: whole runs through the
// conversion graphs, the merge worker and the disc libraries (writing images),
// the refusals and failures, each with its message boxes answered from a helper
// thread. The native steps after this program read the MP3 files and the disc
// images it lists in its fixture folder (check-mp3.py, check_publish_discs.py).
#include <gtest/gtest.h>
#include "Driver.h"
#include <windows.h>
#include <algorithm>
#include "DiscTestKit.h"
#include "DriverPages.h"
#include "DriverWindows.h"
#include "FullVolume.h"
#include "Mp3Info.h"
#include "PublishDlg.h"
#include "RecordPageSupport.h"
#include "SkinModule.h"
#include "SonelleGlobals.h"
#include "SonelleSettings.h"
#include "ModuleLoader.h"
#include "TestSignal.h"

using namespace disctest;

namespace {

std::wstring Fixtures()
{
    wchar_t path[MAX_PATH] = L"";
    GetEnvironmentVariableW(L"SONELLE_FIXTURES", path, MAX_PATH);
    std::wstring folder = path;
    if (folder.empty()) return L"";
    if (folder[0] == L'/') {
        folder = L"Z:" + folder;
        std::replace(folder.begin(), folder.end(), L'/', L'\\');
    }
    return folder + L"\\";
}

// One line for the native checks after this program.
void ListForOracle(const wchar_t* list, const std::wstring& line)
{
    const std::wstring folder = Fixtures();
    if (folder.empty()) return;
    const std::wstring path = folder + list;
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::wstring text = line + L"\n";
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(size_t(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), &utf8[0], bytes, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(file, utf8.data(), DWORD(utf8.size()), &written, nullptr);
    CloseHandle(file);
}

bool CopyToFixtures(const std::wstring& from, const std::wstring& name)
{
    const std::wstring folder = Fixtures();
    return !folder.empty() && CopyFileW(from.c_str(), (folder + name).c_str(), FALSE);
}

// The dialog with its members in reach of the tests.
class TestPublishDlg : public CPublishDlg {
public:
    using CPublishDlg::m_failedRows;
    using CPublishDlg::m_pMergeCheck;
    using CPublishDlg::OnConvertEvent;
    using CPublishDlg::OnStart;
    using CPublishDlg::m_bLibraryReady;
};

std::vector<unsigned char> ToneWav(double seconds, int seed) { return MakeWav(seconds, 44100, 2, 16, seed); }

std::string TagField(const std::vector<unsigned char>& file, size_t offset, size_t length)
{
    const char* tag = (const char*)file.data() + file.size() - 128;
    return std::string(tag + offset, strnlen(tag + offset, length));
}

}  // namespace

class PublishDialog : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (const wchar_t* m : {L"Vossel.ax", L"NVAudioAnalyer.ax", L"Wavrill.ax", L"NVMp3Enc.ax", L"Tarrow.ax"})
            ASSERT_TRUE(testsignal::RegisterModule(m)) << m;
        g_hSkinModule = g_hResourceModule = GetModuleHandleW(nullptr);
        SetSkinModule(g_hSkinModule);
        g_szWindowTitle = L"Publish Test";
    }

    void SetUp() override
    {
        static int count = 0;
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        name = std::wstring(CString(info->name()).GetString());
        folder = FreshFolder(L"publish-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++count));
        sources = folder + L"\\sources\\";
        out = folder + L"\\out\\";
        images = folder + L"\\images";
        CreateDirectoryW(sources.c_str(), nullptr);
        CreateDirectoryW(out.c_str(), nullptr);
        CreateDirectoryW(images.c_str(), nullptr);
        lstrcpynW(g_Settings.szAlbumFolder, out.c_str(), 260);
        lstrcpynW(g_Settings.szRecordFolder, sources.c_str(), 260);
        lstrcpynW(g_Settings.szBurnDeviceName, L"", 260);
        g_Settings.nOutputType = CPublishDlg::OutputMp3File;
        g_Settings.nMp3Bitrate = 128;
        g_Settings.nMp3SampleRate = 44100;
        g_Settings.nMp3Channel = 2;
        g_Settings.bEnableMergeTrack = TRUE;
        g_Settings.bMergeTrack = FALSE;
        g_Settings.nBurnMode = 0;
    }

    void TearDown() override
    {
        if (dlg.m_hWnd) dlg.DestroyWindow();
        Pump(50);
        RemoveTree(folder);
    }

    std::wstring Source(const std::wstring& file, const std::vector<unsigned char>& bytes)
    {
        const std::wstring path = sources + file;
        EXPECT_TRUE(WriteBytes(path, bytes));
        return path;
    }

    // A writer with a blank CD-R whose images go to the test's folder.
    void Writer(std::vector<std::wstring> lines = {})
    {
        lines.push_back(L"ImageFolder=" + images);
        ini.AddWriter(lines);
    }

    // Opens the dialog with the pages' items and waits until the libraries are up.
    void Open(const std::vector<PublishItemData>& items = {})
    {
        for (const PublishItemData& item : items) dlg.m_ItemList.AddTail(item);
        ASSERT_TRUE(dlg.Create(CPublishDlg::IDD, nullptr));
        dlg.ShowWindow(SW_SHOW);
        ASSERT_TRUE(PumpUntil([&] { return dlg.m_bLibraryReady; }, 5000));
    }

    void SetAlbum(const wchar_t* album) { dlg.SetDlgItemText(CPublishDlg::IDC_ALBUM, album); }
    void SetTrackName(int row, const wchar_t* text)
    {
        dlg.List().Record(row)->trackName = text;
        dlg.List().SetItemText(row, CPublishListCtrl::ColumnTrackName, text);
    }

    // Presses Start and waits for the run to end; the message boxes' texts.
    std::vector<std::wstring> Run(DWORD timeoutMs = 120000)
    {
        CMessageBoxAnswerer boxes;
        dlg.OnStart();
        PumpUntil([&] { return !dlg.IsBusy() && dlg.GetBusyState() == CPublishDlg::BusyIdle; }, timeoutMs);
        Pump(300);
        EXPECT_EQ(CPublishDlg::BusyIdle, dlg.GetBusyState());
        return boxes.Texts();
    }

    std::wstring name, folder, sources, out, images;
    CWriterIni ini;
    TestPublishDlg dlg;
};

TEST_F(PublishDialog, TheWriterListDropsToShowAtLeastEightWriters)
{
    Writer();
    Open();
    HWND combo = ::GetDlgItem(dlg.m_hWnd, CPublishDlg::IDC_WRITERS);
    while ((int)SendMessageW(combo, CB_GETCOUNT, 0, 0) < 12)
        SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)L"E: Sonelle Virtual Writer");
    EXPECT_GE(drv::DroppedRows(combo), 8);
}

TEST_F(PublishDialog, Mp3FileRunNamesTagsAndKeepsItsFiles)
{
    const std::wstring longName = L"A track name of forty characters, yes!!!";
    Open();
    ASSERT_TRUE(dlg.AddOneFile(Source(L"first take.wav", ToneWav(6.0, 1)).c_str()));
    ASSERT_TRUE(dlg.AddOneFile(Source(L"second.wav", ToneWav(5.0, 2)).c_str()));
    EXPECT_FALSE(dlg.AddOneFile(CString((sources + L"FIRST TAKE.WAV").c_str()))) << "listed once, any case";
    EXPECT_EQ(2, dlg.List().GetItemCount());
    SetTrackName(0, longName.c_str());
    SetTrackName(1, L"What: now?");
    SetAlbum(L"  Live Album");

    const std::vector<std::wstring> said = Run();
    ASSERT_EQ(1u, said.size());
    EXPECT_EQ(0u, said[0].find(L"File conversion completed.")) << said[0];
    const std::wstring album = out + L"Live Album\\";
    const std::wstring first = album + L"[01] " + longName + L".mp3", second = album + L"[02] What@ now$.mp3";
    ASSERT_TRUE(Exists(first));
    ASSERT_TRUE(Exists(second));
    const std::vector<unsigned char> bytes = ReadBytes(first);
    EXPECT_EQ("A track name of forty charac01", TagField(bytes, 3, 30));
    EXPECT_EQ("Live Album", TagField(bytes, 63, 30));
    EXPECT_EQ(255, bytes.back());
    EXPECT_EQ("What: now?", TagField(ReadBytes(second), 3, 30));
    EXPECT_TRUE(dlg.ProducedFiles().empty()) << "a finished run's files are the user's";

    SYSTEMTIME now;
    GetLocalTime(&now);
    if (CopyToFixtures(first, L"mp3file-first.mp3"))
        ListForOracle(L"oracle-checks.txt", L"mp3file-first.mp3|seconds=6 rate=44100 channels=2 bitrate=128 "
                                            L"v1title=A_track_name_of_forty_charac01 v1album=Live_Album v1year=" +
                                                std::to_wstring(now.wYear));
    if (CopyToFixtures(second, L"mp3file-second.mp3"))
        ListForOracle(L"oracle-checks.txt", L"mp3file-second.mp3|seconds=5 v1title=What:_now?");
}

TEST_F(PublishDialog, MergeJoinsTheTracksInOrderAndTagsTheWholeOnce)
{
    g_Settings.bMergeTrack = TRUE;
    Open();
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(dlg.AddOneFile(Source(L"part" + std::to_wstring(i) + L".wav", ToneWav(4.5, i + 1)).c_str()));
    SetAlbum(L"Joined");
    ASSERT_EQ(BST_CHECKED, dlg.m_pMergeCheck->GetCheck());

    // The tracks as the merge read them: taken when its end arrives, before the
    // dialog handles it.
    CMessageBoxAnswerer boxes;
    dlg.OnStart();
    std::vector<std::vector<unsigned char>> tracks;
    std::vector<CString> produced;
    for (DWORD start = GetTickCount(); produced.empty() && GetTickCount() - start < 120000;) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            Sleep(5);
            continue;
        }
        if (msg.message == WM_MERGE_DONE && msg.hwnd == dlg.m_hWnd) {
            produced = dlg.ProducedFiles();
            for (const CString& track : produced) tracks.push_back(ReadBytes(track.str()));
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    ASSERT_TRUE(PumpUntil([&] { return dlg.GetBusyState() == CPublishDlg::BusyIdle; }, 60000));
    Pump(300);
    ASSERT_EQ(3u, tracks.size());
    for (const CString& track : produced) EXPECT_FALSE(Exists(track.str())) << "the single tracks go";

    const std::wstring merged = out + L"Joined\\Joined.mp3";
    const std::vector<unsigned char> whole = ReadBytes(merged);
    std::vector<unsigned char> joined;
    for (const auto& t : tracks) joined.insert(joined.end(), t.begin(), t.end());
    ASSERT_EQ(joined.size() + 128, whole.size());
    EXPECT_TRUE(std::equal(joined.begin(), joined.end(), whole.begin()));
    EXPECT_EQ("Joined", TagField(whole, 3, 30));
    for (const auto& t : tracks) EXPECT_NE(0, memcmp(t.data() + t.size() - 128, "TAG", 3)) << "tracks are untagged";
    if (CopyToFixtures(merged, L"merged.mp3"))
        ListForOracle(L"oracle-checks.txt", L"merged.mp3|min_seconds=13.5 v1title=Joined v1album=Joined");
}

TEST_F(PublishDialog, MergeNamesAroundWhatIsThereAndWritesOverNothing)
{
    g_Settings.bMergeTrack = TRUE;
    const std::wstring album = out + L"Blocked\\";
    CreateDirectoryW(album.c_str(), nullptr);
    CreateDirectoryW((album + L"Blocked.mp3").c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(album + L"Blocked[Merge Tracks].mp3", {'u', 's', 'e', 'r'}));
    Open();
    ASSERT_TRUE(dlg.AddOneFile(Source(L"one.wav", ToneWav(4.5, 1)).c_str()));
    ASSERT_TRUE(dlg.AddOneFile(Source(L"two.wav", ToneWav(4.5, 2)).c_str()));
    SetAlbum(L"Blocked");
    const std::vector<std::wstring> said = Run();
    ASSERT_EQ(1u, said.size());
    EXPECT_EQ(L"File conversion completed.", said[0]);
    EXPECT_EQ((std::vector<unsigned char>{'u', 's', 'e', 'r'}), ReadBytes(album + L"Blocked[Merge Tracks].mp3"))
        << "a file at the merge name is the user's: it stays";
    EXPECT_TRUE(Exists(album + L"Blocked[Merge Tracks] (2).mp3")) << "the merged file takes the next free name";
    EXPECT_FALSE(Exists(album + L"[01] one.mp3")) << "the joined tracks go";
    EXPECT_TRUE(GetFileAttributesW((album + L"Blocked.mp3").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(PublishDialog, Mp3CdRunWritesAnImageAndLeavesNothingBehind)
{
    Writer();
    g_Settings.nOutputType = CPublishDlg::OutputMp3Cd;
    Open();
    const std::wstring longName = L"Seventeen chars!!";   // 17 characters
    ASSERT_TRUE(dlg.AddOneFile(Source(L"a.wav", ToneWav(5.0, 1)).c_str()));
    ASSERT_TRUE(dlg.AddOneFile(Source(L"b.wav", ToneWav(4.5, 2)).c_str()));
    SetTrackName(0, longName.c_str());
    SetTrackName(1, L"Semi;colon");
    SetAlbum(L"Disc Album");
    EXPECT_GT(dlg.GetFreeDiscBytes(), 700e6);

    const std::vector<std::wstring> said = Run();
    ASSERT_EQ(1u, said.size());
    EXPECT_EQ(L"Successfully burned.", said[0]);
    EXPECT_EQ(L"none", ini.Value(1, L"Medium")) << "ejected";
    EXPECT_FALSE(Exists(out + L"Disc Album")) << "the outputs and the folder the run made are gone";
    const std::wstring image = ini.Value(1, L"LastImage");
    ASSERT_TRUE(Exists(image));
    if (CopyToFixtures(image, L"mp3cd.iso"))
        ListForOracle(L"disc-checks.txt",
                      L"iso|mp3cd.iso|Disc Album|[01] Seventeen chars!!.mp3/[02] Semi_colon.mp3");
}

TEST_F(PublishDialog, AudioCdRunWritesCueBinAndKeepsAFileMadeBeforehand)
{
    Writer();
    g_Settings.nOutputType = CPublishDlg::OutputAudioCd;
    const std::wstring album = out + L"CD\\";
    CreateDirectoryW(album.c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(album + L"[01] x.wav", {'k', 'e', 'e', 'p'}));
    Open();
    const std::wstring a = Source(L"x.wav", ToneWav(4.0, 1)), b = Source(L"y.wav", ToneWav(4.3, 2));
    ASSERT_TRUE(dlg.AddOneFile(a.c_str()));
    ASSERT_TRUE(dlg.AddOneFile(b.c_str()));
    SetAlbum(L"CD");
    const std::vector<std::wstring> said = Run();
    ASSERT_EQ(1u, said.size());
    EXPECT_EQ(L"Successfully burned.", said[0]);
    EXPECT_EQ((std::vector<unsigned char>{'k', 'e', 'e', 'p'}), ReadBytes(album + L"[01] x.wav"));
    EXPECT_EQ(std::vector<std::wstring>{L"[01] x.wav"}, FilesIn(album)) << "only the user's file is left";
    const std::wstring cue = ini.Value(1, L"LastImage");
    ASSERT_TRUE(Exists(cue));
    std::wstring bin = cue.substr(0, cue.size() - 4) + L".bin";
    if (CopyToFixtures(cue, L"audio.cue") && CopyToFixtures(bin, L"audio.bin") && CopyToFixtures(a, L"audio-1.wav") &&
        CopyToFixtures(b, L"audio-2.wav"))
        ListForOracle(L"disc-checks.txt", L"cue|audio.cue|audio-1.wav/audio-2.wav");
}

TEST_F(PublishDialog, AudioCdRefusesShortTracksAndSaysWhy)
{
    Writer();
    g_Settings.nOutputType = CPublishDlg::OutputAudioCd;
    Open();
    ASSERT_TRUE(dlg.AddOneFile(Source(L"short.wav", ToneWav(3.9, 1)).c_str()));
    ASSERT_TRUE(dlg.AddOneFile(Source(L"long.wav", ToneWav(4.0, 2)).c_str()));
    ASSERT_TRUE(dlg.AddOneFile(Source(L"shorter.wav", ToneWav(2.0, 3)).c_str()));
    SetAlbum(L"Short");
    const std::vector<std::wstring> said = Run();
    ASSERT_EQ(1u, said.size()) << "one message names every short track";
    EXPECT_NE(std::wstring::npos, said[0].find(L"Track 01 \"short\" plays 3.9 seconds")) << said[0];
    EXPECT_NE(std::wstring::npos, said[0].find(L"Track 03 \"shorter\" plays 2.0 seconds")) << said[0];
    EXPECT_NE(std::wstring::npos, said[0].find(L"at least 4.0 seconds")) << said[0];
    EXPECT_FALSE(Exists(out + L"Short")) << "nothing was made";
    EXPECT_EQ(L"", ini.Value(1, L"LastImage"));
}

TEST_F(PublishDialog, DiscRefusalsNameTheirReasonAndAFailedCheckKeepsThePreviousRunsFiles)
{
    Open();
    ASSERT_TRUE(dlg.AddOneFile(Source(L"keep.wav", ToneWav(4.5, 1)).c_str()));
    SetAlbum(L"Kept");
    ASSERT_EQ(1u, Run().size());
    const std::wstring kept = out + L"Kept\\[01] keep.mp3";
    ASSERT_TRUE(Exists(kept));

    // No writer listed at all (the file without sections), then discs the writer cannot take.
    struct Case {
        const wchar_t* medium;
        const wchar_t* said;
        bool ejected;
    };
    const Case cases[] = {{nullptr, L"Device or disc is not ready. Please check and try again.", false},
                          {L"cdrom", L"Disc not compatible", true},
                          {L"cdr-written", L"Please insert a writable disc", true},
                          {L"none", L"Device or disc is not ready. Please check and try again.", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.medium ? c.medium : L"no writer");
        if (!c.medium)
            ini.WriteEmpty();
        else
            WritePrivateProfileStringW(L"Writer1", L"Medium", c.medium, ini.Path().c_str());
        dlg.FillDriveList();
        dlg.SetOutputType(CPublishDlg::OutputMp3Cd);
        const std::vector<std::wstring> said = Run();
        ASSERT_EQ(1u, said.size());
        EXPECT_EQ(c.said, said[0]);
        EXPECT_TRUE(Exists(kept)) << "a refused run never touches an earlier run's files";
        if (c.medium) {
            EXPECT_EQ(c.ejected, ini.Value(1, L"Medium") == L"none");
        }
        dlg.SetOutputType(CPublishDlg::OutputMp3File);
    }
}

TEST_F(PublishDialog, StopDeletesWhatTheRunMadeAndCloseWaitsForIt)
{
    Open();
    ASSERT_TRUE(dlg.AddOneFile(Source(L"long.wav", ToneWav(60.0, 1)).c_str()));
    ASSERT_TRUE(dlg.AddOneFile(Source(L"other.wav", ToneWav(60.0, 2)).c_str()));
    SetAlbum(L"Stopped");
    CMessageBoxAnswerer boxes;
    dlg.OnStart();
    ASSERT_TRUE(dlg.IsBusy());
    ASSERT_EQ(1u, dlg.ProducedFiles().size());
    const std::wstring partial = dlg.ProducedFiles()[0].str();
    Pump(300);
    // Escape, the close box and Close are refused while converting.
    dlg.SendMessage(WM_CLOSE);
    dlg.SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_TRUE(dlg.IsWindowVisible());
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDCANCEL)));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, CPublishDlg::IDC_ADD)));
    dlg.OnStart();   // Stop
    EXPECT_FALSE(dlg.IsBusy());
    EXPECT_FALSE(Exists(partial));
    EXPECT_FALSE(Exists(out + L"Stopped")) << "the empty album folder the run made goes";
    EXPECT_TRUE(boxes.Texts().empty());
    dlg.SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_FALSE(dlg.IsWindowVisible()) << "idle again: Close closes";
}

TEST_F(PublishDialog, AFailedConversionIsNamedAndNothingProducedMeansNothingWritten)
{
    Writer();
    g_Settings.nOutputType = CPublishDlg::OutputMp3Cd;
    Open();
    // A file listed, then taken away before the run: its graph cannot be built.
    const std::wstring gone = Source(L"broken.wav", ToneWav(4.5, 1));
    ASSERT_TRUE(dlg.AddOneFile(gone.c_str()));
    ASSERT_TRUE(DeleteFileW(gone.c_str()));
    SetAlbum(L"Broken");
    const std::vector<std::wstring> said = Run();
    ASSERT_EQ(1u, said.size());
    EXPECT_EQ(0u, said[0].find(L"File conversion error.")) << said[0];
    EXPECT_NE(std::wstring::npos, said[0].find(L"[ 01 ]  broken")) << said[0];
    EXPECT_EQ(L"", ini.Value(1, L"LastImage")) << "nothing was written";
    EXPECT_EQ(L"", ini.Value(1, L"Medium"));
}

TEST_F(PublishDialog, AFullOutputVolumeRefusesTheStart)
{
    CFullVolume volume(L'V', 64 * 1024);
    if (!volume.Ok()) GTEST_SKIP() << volume.Why();
    lstrcpynW(g_Settings.szAlbumFolder, volume.Path(L"").c_str(), 260);
    Open();
    ASSERT_TRUE(dlg.AddOneFile(Source(L"a.wav", ToneWav(4.5, 1)).c_str()));
    SetAlbum(L"Full");
    const std::vector<std::wstring> said = Run();
    ASSERT_EQ(1u, said.size());
    EXPECT_EQ(L"Insufficient output memory available.  Select another folder.", said[0]);
    EXPECT_FALSE(Exists(volume.Path(L"Full")));
}

TEST_F(PublishDialog, ItemsOfThePagesAndTheDefaultAlbum)
{
    const std::wstring wav = Source(L"Recorded one.wav", ToneWav(4.5, 1));
    PublishItemData file;
    file.kind = PublishKindFile;
    file.sourcePath = wav.c_str();
    PublishItemData track;
    track.kind = PublishKindTrack;
    track.sourcePath = wav.c_str();
    track.playTime = 2.0;
    track.trackName = L"Edited";
    track.album = L"From Tag";
    track.track.channels = 2;
    track.track.bitsPerSample = 16;
    track.track.frameCount = 88200;
    Open({file, track});
    ASSERT_EQ(2, dlg.List().GetItemCount());
    EXPECT_EQ(CString(L"Recorded one"), dlg.List().GetItemText(0, CPublishListCtrl::ColumnFile));
    EXPECT_NEAR(4.5, dlg.List().Record(0)->playTime, 0.05) << "a file's play time is measured";
    EXPECT_EQ(CString(L"Edited"), dlg.List().GetItemText(1, CPublishListCtrl::ColumnTrackName));
    CString album;
    dlg.GetDlgItemText(CPublishDlg::IDC_ALBUM, album);
    EXPECT_EQ(CString(L"Recorded one"), album) << "row 0 has no tag album: its file title";
    // Enter does nothing.
    dlg.SendMessage(WM_COMMAND, IDOK);
    EXPECT_TRUE(dlg.IsWindowVisible());
    EXPECT_EQ(30, (int)::SendDlgItemMessageW(dlg.m_hWnd, CPublishDlg::IDC_ALBUM, EM_GETLIMITTEXT, 0, 0));
}

TEST_F(PublishDialog, EachLabelIsCentredOnTheRowItNames)
{
    Open();
    auto rect = [&](int id) {
        RECT r = {};
        ::GetWindowRect(::GetDlgItem(dlg.m_hWnd, id), &r);
        return r;
    };
    const struct { int label, control; } rows[] = {
        {1054, 1031}, {1058, 1031}, {1059, 1032}, {1060, 1033},  // type and its three check boxes
        {1055, 1035}, {1056, 1037}, {1057, 1039}};                // writer, output folder, album
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        const RECT label = rect(row.label), control = rect(row.control);
        EXPECT_TRUE(::GetWindowLongW(::GetDlgItem(dlg.m_hWnd, row.label), GWL_STYLE) & SS_CENTERIMAGE)
            << "the text stands in the middle of its label";
        EXPECT_NEAR((label.top + label.bottom) / 2.0, (control.top + control.bottom) / 2.0, 2.5);
    }
    for (int a = 1054; a <= 1057; ++a) {
        RECT overlap, label = rect(a), writer = rect(1035);
        EXPECT_FALSE(IntersectRect(&overlap, &label, &writer)) << a << " over the writer list";
        for (int b = a + 1; b <= 1057; ++b) {
            RECT other = rect(b);
            EXPECT_FALSE(IntersectRect(&overlap, &label, &other)) << a << " over " << b;
        }
    }
}

// Pictures of the dialog for a person to look at (scripts/publish-pictures.sh runs
// this under Xvfb): idle with rows, writing a disc, and the MP3 settings over it.
TEST_F(PublishDialog, PicturesOfItsStates)
{
    const char* dir = std::getenv("SONELLE_PICTURES_DIR");
    if (!dir) GTEST_SKIP() << "only for pictures (SONELLE_PICTURES_DIR)";
    const std::wstring pictures(dir, dir + strlen(dir));
    Writer({L"Name=Virtual Writer 52x", L"Speed=1"});
    g_Settings.nOutputType = CPublishDlg::OutputMp3Cd;
    Open();
    const wchar_t* titles[] = {L"Morning take", L"Second set", L"Encore"};
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(dlg.AddOneFile(Source(std::wstring(titles[i]) + L".wav", ToneWav(20.0 + 10 * i, i + 1)).c_str()));
    SetAlbum(L"Evening Session");
    dlg.List().SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    Pump(1500);
    EXPECT_TRUE(drv::SaveWindowPicture(dlg.m_hWnd, pictures + L"\\publish-idle.bmp"));

    // The MP3 settings dialog over it, from a helper thread while it runs modally.
    std::thread helper([&] {
        HWND settings = nullptr;
        for (int i = 0; i < 200 && !settings; ++i) {
            Sleep(25);
            HWND found = FindWindowW(L"#32770", L"MP3 Settings");
            if (found && IsWindowVisible(found)) settings = found;
        }
        if (!settings) return;
        Sleep(800);
        drv::SaveWindowPicture(settings, pictures + L"\\publish-mp3-settings.bmp");
        PostMessageW(settings, WM_COMMAND, IDCANCEL, 0);
    });
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(CPublishDlg::IDC_MP3_SETTING, BN_CLICKED),
                    (LPARAM)::GetDlgItem(dlg.m_hWnd, CPublishDlg::IDC_MP3_SETTING));
    helper.join();

    {
        // The end of the write, as the report stands over the dialog.
        CMessageBoxAnswerer boxes([&](const std::wstring&) {
            Sleep(800);
            drv::SaveWindowPicture(dlg.m_hWnd, pictures + L"\\publish-burned.bmp");
        });
        dlg.OnStart();
        ASSERT_TRUE(PumpUntil([&] { return dlg.GetBusyState() == CPublishDlg::BusyWriting; }, 120000));
        Pump(1500);
        EXPECT_TRUE(drv::SaveWindowPicture(dlg.m_hWnd, pictures + L"\\publish-writing.bmp"));
        PumpUntil([&] { return dlg.GetBusyState() == CPublishDlg::BusyIdle && !dlg.IsBusy(); }, 120000);
        Pump(500);
    }

    // Idle after a refused Start that followed a finished run of MP3 files.
    dlg.SetOutputType(CPublishDlg::OutputMp3File);
    ASSERT_EQ(1u, Run().size());
    SetAlbum(L"Evening: Late");
    ASSERT_EQ(1u, Run().size());
    Pump(1500);
    EXPECT_TRUE(drv::SaveWindowPicture(dlg.m_hWnd, pictures + L"\\publish-refused.bmp"));
}

TEST_F(PublishDialog, TaggedMp3FilesAreListedThroughOneTagFreeCopyPerSource)
{
    const std::wstring fixtures = Fixtures();
    const std::wstring first = fixtures + L"a\\song.mp3", second = fixtures + L"b\\song.mp3";
    if (fixtures.empty() || !Exists(first)) GTEST_SKIP() << "needs the fixture step's MP3 files";
    const std::vector<unsigned char> before = ReadBytes(first);
    ASSERT_FALSE(before.empty());
    Open();
    ASSERT_TRUE(dlg.AddOneFile(first.c_str()));
    ASSERT_TRUE(dlg.AddOneFile(Source(L"plain.wav", ToneWav(4.5, 1)).c_str()));
    ASSERT_TRUE(dlg.AddOneFile(second.c_str()));
    ASSERT_EQ(3, dlg.List().GetItemCount());
    const PublishItemData* tagged = dlg.List().Record(0);
    EXPECT_EQ(CString(L"Tagged Title"), tagged->trackName);
    EXPECT_EQ(CString(L"Tagged Album"), tagged->album);
    EXPECT_EQ(2001, tagged->year);
    EXPECT_EQ(CString(L"nv0"), tagged->sourcePath.Right(3));
    EXPECT_NE(std::wstring::npos, tagged->sourcePath.str().find(L"\\TmpF\\"));
    EXPECT_EQ(CString(L""), dlg.List().Record(1)->trackName) << "the WAV takes nothing of the MP3's tag";
    EXPECT_EQ(0, dlg.List().Record(1)->year);
    EXPECT_NE(tagged->sourcePath, dlg.List().Record(2)->sourcePath) << "two sources of one name: two copies";
    EXPECT_EQ(before, ReadBytes(first)) << "the source stays untouched";
    const CString copy = tagged->sourcePath;
    const std::vector<unsigned char> copied = ReadBytes(copy.str());
    EXPECT_EQ(0, memcmp(copied.data(), "\xFF", 1)) << "the copy starts with sound, not a tag";
    EXPECT_EQ(0, memcmp(copied.data() + copied.size() - 128, "TAG", 3));
    EXPECT_EQ("Tagged Title", TagField(copied, 3, 30));

    // The same source later reuses its copy.
    dlg.DestroyWindow();
    TestPublishDlg again;
    ASSERT_TRUE(again.Create(CPublishDlg::IDD, nullptr));
    ASSERT_TRUE(again.AddOneFile(first.c_str()));
    EXPECT_EQ(copy, again.List().Record(0)->sourcePath);
    again.DestroyWindow();
}

// A file of the user's at an output name is never written over, emptied or
// deleted: not by Start, not by Stop, not by a finished run. The run's own file
// takes the next free name.
TEST_F(PublishDialog, AUsersFileAtAnOutputNameSurvivesStartStopAndAFinishedRun)
{
    const std::wstring album = out + L"Guarded\\";
    CreateDirectoryW(album.c_str(), nullptr);
    const std::wstring users = album + L"[01] first.mp3";
    std::vector<unsigned char> precious(300000);
    for (size_t i = 0; i < precious.size(); ++i) precious[i] = (unsigned char)(i * 7 + 3);
    ASSERT_TRUE(WriteBytes(users, precious));
    Open();
    ASSERT_TRUE(dlg.AddOneFile(Source(L"first.wav", ToneWav(120.0, 1)).c_str()));
    SetAlbum(L"Guarded");

    {
        CMessageBoxAnswerer boxes;
        dlg.OnStart();
        ASSERT_TRUE(dlg.IsBusy());
        ASSERT_EQ(1u, dlg.ProducedFiles().size());
        EXPECT_EQ(album + L"[01] first (2).mp3", dlg.ProducedFiles()[0].str());
        Pump(200);
        EXPECT_EQ(precious, ReadBytes(users)) << "Start empties nothing";
        ASSERT_TRUE(dlg.IsBusy()) << "still converting";
        dlg.OnStart();   // Stop
        EXPECT_FALSE(dlg.IsBusy());
        EXPECT_TRUE(boxes.Texts().empty());
    }
    EXPECT_EQ(precious, ReadBytes(users)) << "Stop deletes only what the run made";
    EXPECT_FALSE(Exists(album + L"[01] first (2).mp3"));

    const std::vector<std::wstring> said = Run();
    ASSERT_EQ(1u, said.size());
    EXPECT_EQ(0u, said[0].find(L"File conversion completed.")) << said[0];
    EXPECT_EQ(precious, ReadBytes(users)) << "a finished run replaces nothing";
    EXPECT_TRUE(Exists(album + L"[01] first (2).mp3"));
}

// A tagged MP3 added from the album folder, whose name is the output name of its
// own row: the run writes beside it and the source keeps its tag and bytes.
TEST_F(PublishDialog, ATaggedSourceInTheAlbumFolderKeepsItsTag)
{
    const std::wstring fixtures = Fixtures();
    if (fixtures.empty() || !Exists(fixtures + L"a\\song.mp3")) GTEST_SKIP() << "needs the fixture step's MP3 files";
    const std::wstring album = out + L"Tagged Album\\";
    CreateDirectoryW(album.c_str(), nullptr);
    const std::wstring source = album + L"[01] Tagged Title.mp3";
    ASSERT_TRUE(CopyFileW((fixtures + L"a\\song.mp3").c_str(), source.c_str(), FALSE));
    const std::vector<unsigned char> before = ReadBytes(source);
    ASSERT_EQ(0, memcmp(before.data(), "ID3", 3));
    Open();
    ASSERT_TRUE(dlg.AddOneFile(source.c_str()));
    EXPECT_EQ(CString(L"Tagged Album"), dlg.List().Record(0)->album);
    SetAlbum(L"Tagged Album");
    const std::vector<std::wstring> said = Run();
    ASSERT_EQ(1u, said.size());
    EXPECT_EQ(0u, said[0].find(L"File conversion completed.")) << said[0];
    EXPECT_EQ(before, ReadBytes(source)) << "the source keeps its tag and its sound";
    EXPECT_TRUE(Exists(album + L"[01] Tagged Title (2).mp3"));
}

// Two MP3s of one name from two folders, tagged without a title: both rows show
// and name their files after the user's file, not after their tag-free copies.
TEST_F(PublishDialog, RowsShowAndNameTheUsersFileNotItsCopy)
{
    const std::wstring fixtures = Fixtures();
    const std::wstring first = fixtures + L"c\\tune.mp3", second = fixtures + L"d\\tune.mp3";
    if (fixtures.empty() || !Exists(first)) GTEST_SKIP() << "needs the fixture step's MP3 files";
    Open();
    ASSERT_TRUE(dlg.AddOneFile(first.c_str()));
    ASSERT_TRUE(dlg.AddOneFile(second.c_str()));
    ASSERT_EQ(2, dlg.List().GetItemCount());
    EXPECT_NE(std::wstring::npos, dlg.List().Record(1)->sourcePath.str().find(L"\\TmpF\\")) << "listed through a copy";
    EXPECT_EQ(CString(L"tune"), dlg.List().GetItemText(0, CPublishListCtrl::ColumnFile));
    EXPECT_EQ(CString(L"tune"), dlg.List().GetItemText(1, CPublishListCtrl::ColumnFile));
    EXPECT_FALSE(dlg.AddOneFile(second.c_str())) << "the same user's file is listed once";
    SetAlbum(L"Tunes");
    const std::vector<std::wstring> said = Run();
    ASSERT_EQ(1u, said.size());
    EXPECT_EQ(0u, said[0].find(L"File conversion completed.")) << said[0];
    std::vector<std::wstring> made = FilesIn(out + L"Tunes");
    std::sort(made.begin(), made.end());
    EXPECT_EQ((std::vector<std::wstring>{L"[01] tune.mp3", L"[02] tune.mp3"}), made);
}

// A refused Start takes the previous run's end report away: no "completed" and
// no 100 % beside a run that did not happen.
TEST_F(PublishDialog, ARefusedStartClearsThePreviousRunsReport)
{
    Open();
    ASSERT_TRUE(dlg.AddOneFile(Source(L"done.wav", ToneWav(4.5, 1)).c_str()));
    SetAlbum(L"Reported");
    const std::vector<std::wstring> first = Run();
    ASSERT_EQ(1u, first.size());
    EXPECT_EQ(0u, first[0].find(L"File conversion completed.")) << first[0];
    CString status, percent;
    dlg.GetDlgItemText(CPublishDlg::IDC_STATUS, status);
    dlg.GetDlgItemText(CPublishDlg::IDC_PERCENT, percent);
    ASSERT_EQ(CString(L"File conversion completed."), status);
    ASSERT_EQ(CString(L"100 %"), percent);
    SetAlbum(L"Bad:Name");
    const std::vector<std::wstring> said = Run();
    ASSERT_EQ(1u, said.size());
    EXPECT_EQ(L"Invalid album name.  Please use different name.", said[0]);
    dlg.GetDlgItemText(CPublishDlg::IDC_STATUS, status);
    dlg.GetDlgItemText(CPublishDlg::IDC_PERCENT, percent);
    EXPECT_EQ(CString(L""), status);
    EXPECT_EQ(CString(L"00 %"), percent);
}

// The end of a disc write shows figures that agree (100 % beside all of the
// megabytes), and the read-only output folder never takes the focus (where the
// dialog would show its text selected).
TEST_F(PublishDialog, TheEndOfADiscWriteShowsFiguresThatAgreeAndTheFolderTextIsNeverSelected)
{
    Writer();
    g_Settings.nOutputType = CPublishDlg::OutputMp3Cd;
    Open();
    ASSERT_TRUE(dlg.AddOneFile(Source(L"disc.wav", ToneWav(6.0, 1)).c_str()));
    SetAlbum(L"Figures");
    ::SetFocus(::GetDlgItem(dlg.m_hWnd, CPublishDlg::IDC_ALBUM));
    std::wstring status, percent;
    bool folderFocused = false;
    CMessageBoxAnswerer boxes([&](const std::wstring&) {
        status = drv::ControlText(dlg.m_hWnd, CPublishDlg::IDC_STATUS);
        percent = drv::ControlText(dlg.m_hWnd, CPublishDlg::IDC_PERCENT);
    });
    dlg.OnStart();
    for (DWORD start = GetTickCount(); dlg.GetBusyState() != CPublishDlg::BusyIdle && GetTickCount() - start < 120000;) {
        Pump(20);
        folderFocused = folderFocused || ::GetFocus() == ::GetDlgItem(dlg.m_hWnd, CPublishDlg::IDC_FOLDER);
    }
    Pump(300);
    ASSERT_EQ(std::vector<std::wstring>{L"Successfully burned."}, boxes.Texts());
    EXPECT_EQ(L"100 %", percent);
    ASSERT_EQ(0u, status.find(L"CD Burning :")) << std::string(status.begin(), status.end());
    const size_t slash = status.find(L'/');
    ASSERT_NE(std::wstring::npos, slash);
    const std::wstring written = status.substr(status.rfind(L' ', slash) + 1, slash - status.rfind(L' ', slash) - 1);
    const std::wstring total = status.substr(slash + 1, status.find(L' ', slash) - slash - 1);
    EXPECT_EQ(total, written) << "all of it written at 100 %";
    EXPECT_FALSE(folderFocused);
    DWORD from = 0, to = 0;
    ::SendDlgItemMessageW(dlg.m_hWnd, CPublishDlg::IDC_FOLDER, EM_GETSEL, (WPARAM)&from, (LPARAM)&to);
    EXPECT_EQ(from, to) << "the output folder's text is not selected";
}
