// The recording step (page 344): the longest recording, the time edits, file
// names that never take an existing recording's place, refused album names, a
// full disk, missing MP3 modules, recordings from the fed device with their
// tags, the set time, busy states and a device removed while recording.
#include "WizardTestSupport.h"
#include "CaptureDevice.h"
#include "Driver.h"
#include "FullVolume.h"
#include "ModuleLoader.h"
#include "MpegFrameHeader.h"
#include "RecordingName.h"
#include "TestSignal.h"
#include "WizGlobals.h"
#include "WizSettings.h"
#include <gtest/gtest.h>
#include <fstream>
#include <set>

using namespace wiztest;

namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadAll(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteAll(const std::wstring& path, const std::string& bytes)
{
    std::ofstream out(path.c_str(), std::ios::binary);
    out << bytes;
}

// The ID3v1 record at the end of a file ("" when there is none) and how many
// "TAG" records follow each other at the end.
std::string Id3v1(const std::string& bytes)
{
    if (bytes.size() < 128 || bytes.compare(bytes.size() - 128, 3, "TAG") != 0) return "";
    return bytes.substr(bytes.size() - 128);
}
int TagRecords(const std::string& bytes)
{
    int n = 0;
    for (size_t end = bytes.size(); end >= 128 && bytes.compare(end - 128, 3, "TAG") == 0; end -= 128) ++n;
    return n;
}
std::string Field(const std::string& record, size_t at, size_t length)
{
    std::string f = record.substr(at, length);
    return f.substr(0, f.find('\0'));
}

// The play time of an MP3 file: its frames' samples over their rate, up to the tag.
double Mp3Seconds(const std::string& bytes)
{
    double seconds = 0;
    MpegFrameHeader frame;
    for (size_t at = 0; at + 4 <= bytes.size(); at += (size_t)frame.frameBytes) {
        if (!ParseMpegFrameHeader((const uint8_t*)bytes.data() + at, bytes.size() - at, frame)) break;
        seconds += (double)frame.samplesPerFrame / frame.sampleRate;
    }
    return seconds;
}

std::wstring FreshFolder(const wchar_t* name)
{
    std::wstring folder = testsignal::TempPath(name);
    drv::RemoveTree(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
}

class RecordStep : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (const wchar_t* m : {L"SonelleCapture.ax", L"Vossel.ax", L"NVNoiseReduction.ax", L"NVAudioAnalyer.ax",
                                 L"NVMp3Enc.ax", L"Tarrow.ax"})
            ASSERT_TRUE(testsignal::RegisterModule(m)) << m;
    }
    void SetUp() override
    {
        ResetWizardGlobals();
        m_folder = FreshFolder(L"WizRecordStep");
        g_WizSettings.strRecordFolder = m_folder.c_str();
    }
    void TearDown() override
    {
        CaptureDevice().Close();
        drv::RemoveTree(m_folder.substr(0, m_folder.size() - 1));
    }

    // The wizard on the recording step; with `device` the fed capture device is
    // open and monitoring there, as the earlier steps leave it.
    void ShowRecordStep(HostedWizard& wizard, bool device)
    {
        ASSERT_TRUE(wizard.Ok());
        if (device) {
            lstrcpyW(g_WizSettings.szAudioDeviceName, testsignal::CaptureDeviceName);
            ASSERT_TRUE(wizard.dialog.ActivatePage(&wizard.pages->selectDevice));
            ASSERT_TRUE(CaptureDevice().m_bInit);
        }
        ASSERT_TRUE(wizard.dialog.ActivatePage(&wizard.pages->step4));
        Pump(500);
        if (device) {
            ASSERT_EQ(wizard.pages->step4.m_hWnd, CaptureDevice().GetOwner()) << "the page hears the stop message";
            ASSERT_TRUE(CaptureDevice().IsPreviewing());
        }
    }

    void SetAlbum(CStep4Dlg& page, const wchar_t* album) { ::SetWindowTextW(page.m_album.m_hWnd, album); }

    std::wstring m_folder;
};

}  // namespace

TEST(RecordingNames, TheLongestRecordingFromFreeSpaceAt192Kbps)
{
    const struct { unsigned long long freeKB; unsigned seconds; } cases[] = {
        {3000000, 86399},         // (3,000,000 - 51,200) / 23 = 128,208: one second short of a day
        {51200, 0},               // only the reserve
        {51199, 0},
        {0, 0},
        {51200 + 22, 0},          // 24000 >> 10 = 23 KB per second
        {51200 + 23 * 600, 600},
    };
    for (const auto& c : cases) EXPECT_EQ(c.seconds, recordingname::LongestMp3Recording(c.freeKB, 192)) << c.freeKB;
}

TEST(RecordingNames, ANameIsTakenByItsFileOrAnyContinuationThenTimeThenCounter)
{
    std::set<std::wstring> taken;
    auto isTaken = [&](const std::wstring& s) { return taken.count(s) > 0; };
    EXPECT_EQ(L"Jazz", recordingname::FreeStem(L"Jazz", L"142530", isTaken));
    taken = {L"Jazz"};
    EXPECT_EQ(L"Jazz_142530", recordingname::FreeStem(L"Jazz", L"142530", isTaken));
    taken = {L"Jazz", L"Jazz_142530", L"Jazz_142530-2"};
    EXPECT_EQ(L"Jazz_142530-3", recordingname::FreeStem(L"Jazz", L"142530", isTaken)) << "two starts in one second";

    const std::wstring folder = FreshFolder(L"WizStems");
    EXPECT_FALSE(recordingname::StemTaken(folder, L"Jazz"));
    WriteAll(folder + L"Jazzy.mp3", "x");
    WriteAll(folder + L"Jazz_x.mp3", "x");
    WriteAll(folder + L"Jazz_1.mp3x", "x");
    EXPECT_FALSE(recordingname::StemTaken(folder, L"Jazz")) << "other names, and a short-name match, do not count";
    WriteAll(folder + L"Jazz_2.mp3", "x");
    EXPECT_TRUE(recordingname::StemTaken(folder, L"Jazz")) << "a continuation alone takes the name";
    EXPECT_TRUE(recordingname::StemTaken(folder, L"JAZZ")) << "without regard to case";
    EXPECT_FALSE(recordingname::StemTaken(folder, L"Jaz"));
    drv::RemoveTree(folder.substr(0, folder.size() - 1));
}

TEST_F(RecordStep, FirstRecordingIsNamedAfterTheAlbumALaterOneByItsStartTimeAndOldFilesKeepTheirBytes)
{
    HostedWizard wizard;
    ShowRecordStep(wizard, false);
    CStep4Dlg& page = wizard.pages->step4;
    SetAlbum(page, L"  Jazz ");
    ASSERT_TRUE(page.MakeOutputFile());
    EXPECT_EQ(m_folder + L"Jazz\\Jazz.mp3", std::wstring((const wchar_t*)page.GetOutputFile()));
    EXPECT_STREQ(L"Jazz", g_WizSettings.szAlbumName) << "blanks at the ends go";

    WriteAll(m_folder + L"Jazz\\Jazz.mp3", "an earlier recording");
    ASSERT_TRUE(page.MakeOutputFile());
    std::wstring second = page.GetOutputFile().GetString();
    ASSERT_EQ(m_folder.size() + 20, second.size()) << std::string(second.begin(), second.end());
    EXPECT_EQ(m_folder + L"Jazz\\Jazz_", second.substr(0, m_folder.size() + 10));
    EXPECT_EQ(L".mp3", second.substr(second.size() - 4));
    EXPECT_EQ("an earlier recording", ReadAll(m_folder + L"Jazz\\Jazz.mp3"));

    // Only the continuation of an earlier recording is left: the album name is still taken.
    DeleteFileW((m_folder + L"Jazz\\Jazz.mp3").c_str());
    WriteAll(m_folder + L"Jazz\\Jazz_1.mp3", "its continuation");
    ASSERT_TRUE(page.MakeOutputFile());
    EXPECT_NE(m_folder + L"Jazz\\Jazz.mp3", std::wstring((const wchar_t*)page.GetOutputFile()));
    EXPECT_EQ("its continuation", ReadAll(m_folder + L"Jazz\\Jazz_1.mp3"));
}

TEST_F(RecordStep, RefusedAlbumNamesSayWhyAndMakeNothing)
{
    HostedWizard wizard;
    ShowRecordStep(wizard, false);
    CStep4Dlg& page = wizard.pages->step4;
    for (const wchar_t* album : {L".Jazz", L"Ja?zz", L"Jazz.", L"A|B", L""}) {
        SetAlbum(page, album);
        BoxAnswerer answer(IDOK, 20000);
        EXPECT_FALSE(page.MakeOutputFile()) << album;
        EXPECT_EQ(L"Cannot use the album name.  Please use different name.", answer.Wait()) << album;
        EXPECT_EQ(std::wstring((const wchar_t*)g_szWindowTitle), answer.title);
    }
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((m_folder + L"*").c_str(), &found);
    int entries = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (wcscmp(found.cFileName, L".") && wcscmp(found.cFileName, L"..")) ++entries;
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(0, entries) << "no album folder was made";
}

TEST_F(RecordStep, TypedTimesAreCutToTheLongestRecordingAndTheFlagEnablesTheEdits)
{
    HostedWizard wizard;
    ShowRecordStep(wizard, false);
    CStep4Dlg& page = wizard.pages->step4;
    HWND hours = GetDlgItem(page.m_hWnd, CStep4Dlg::IDC_HOURS);
    EXPECT_FALSE(IsWindowEnabled(hours)) << "the set time is off at first";
    page.m_setTimeCheck.SendMessage(BM_SETCHECK, BST_CHECKED);
    SendMessageW(page.m_hWnd, WM_COMMAND, MAKEWPARAM(CStep4Dlg::IDC_SET_TIME, BN_CLICKED),
                 (LPARAM)page.m_setTimeCheck.m_hWnd);
    EXPECT_TRUE(IsWindowEnabled(hours));
    ASSERT_EQ(86399u, page.GetLongest()) << "a roomy disk allows a day less one second";
    SetWindowTextW(hours, L"30");
    EXPECT_EQ(L"23", drv::ControlText(page.m_hWnd, CStep4Dlg::IDC_HOURS));
    SetWindowTextW(GetDlgItem(page.m_hWnd, CStep4Dlg::IDC_MINUTES), L"75");
    EXPECT_EQ(L"59", drv::ControlText(page.m_hWnd, CStep4Dlg::IDC_MINUTES));
    SetWindowTextW(GetDlgItem(page.m_hWnd, CStep4Dlg::IDC_SECONDS), L"");
    EXPECT_EQ(L"0", drv::ControlText(page.m_hWnd, CStep4Dlg::IDC_SECONDS)) << "an emptied edit shows 0";
    EXPECT_EQ(23, page.GetTime().hours);
    EXPECT_EQ(59, page.GetTime().minutes);
}

TEST_F(RecordStep, RecordOnAFullDiskOnlySaysSoAndWritesNothing)
{
    CFullVolume volume(L'V', 64 * 1024);
    if (!volume.Ok()) GTEST_SKIP() << volume.Why();
    g_WizSettings.strRecordFolder = L"V:\\";
    HostedWizard wizard;
    ShowRecordStep(wizard, false);
    CStep4Dlg& page = wizard.pages->step4;
    EXPECT_EQ(0u, page.GetLongest());
    SetAlbum(page, L"Jazz");
    BoxAnswerer answer(IDOK, 20000);
    page.StartRecording();
    EXPECT_EQ(L"Hard disk is full.", answer.Wait());
    EXPECT_FALSE(page.IsRecording());
    EXPECT_FALSE(Exists(L"V:\\Jazz")) << "nothing is written";
}

TEST_F(RecordStep, WithoutTheMp3ModulesRecordingCannotStartAndMonitoringGoesOn)
{
    HostedWizard wizard;
    ShowRecordStep(wizard, true);
    CStep4Dlg& page = wizard.pages->step4;
    SetAlbum(page, L"Missing");
    ASSERT_TRUE(testsignal::UnregisterModule(L"NVMp3Enc.ax"));
    struct Reregister {
        ~Reregister() { testsignal::RegisterModule(L"NVMp3Enc.ax"); }
    } reregister;
    {
        BoxAnswerer answer(IDOK, 30000);
        page.StartRecording();
        EXPECT_EQ(L"Cannot start recording", answer.Wait());
    }
    EXPECT_FALSE(page.IsRecording());
    EXPECT_TRUE(CaptureDevice().IsPreviewing()) << "monitoring goes on";
    EXPECT_FALSE(Exists(m_folder + L"Missing\\Missing.mp3")) << "no file is left";
    EXPECT_EQ(0, wizard.dialog.GetBusy());
    EXPECT_TRUE(g_WizSettings.recordedFiles.empty());
}

TEST_F(RecordStep, ARecordingIsListedAndTaggedAndTaggingAgainKeepsOneRecord)
{
    HostedWizard wizard;
    ShowRecordStep(wizard, true);
    CStep4Dlg& page = wizard.pages->step4;
    SetAlbum(page, L"Blue Train");
    page.StartRecording();
    ASSERT_TRUE(page.IsRecording());
    EXPECT_EQ(1, wizard.dialog.GetBusy()) << "navigation is off while recording";
    EXPECT_FALSE(IsWindowEnabled(page.m_album.m_hWnd));
    EXPECT_FALSE(IsWindowEnabled(page.m_autoSplitCheck.m_hWnd));
    EXPECT_EQ(L"Stop", drv::ControlText(page.m_hWnd, CStep4Dlg::IDC_RECORD));
    Pump(3000);
    page.StopRecording();
    Pump(500);
    EXPECT_EQ(0, wizard.dialog.GetBusy());
    EXPECT_TRUE(IsWindowEnabled(page.m_album.m_hWnd));
    EXPECT_EQ(L"Record", drv::ControlText(page.m_hWnd, CStep4Dlg::IDC_RECORD));
    EXPECT_STREQ(L"00 : 00 : 00", page.m_elapsed.GetText().GetString());

    const std::wstring file = m_folder + L"Blue Train\\Blue Train.mp3";
    ASSERT_EQ(1u, g_WizSettings.recordedFiles.size()) << "the fed signal never splits with the default settings";
    EXPECT_EQ(file, std::wstring((const wchar_t*)g_WizSettings.recordedFiles[0]));
    std::string bytes = ReadAll(file);
    ASSERT_GT(bytes.size(), 20000u);
    std::string tag = Id3v1(bytes);
    ASSERT_FALSE(tag.empty());
    EXPECT_EQ("", Field(tag, 3, 30)) << "empty title";
    EXPECT_EQ("Blue Train", Field(tag, 63, 30));
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(std::to_string(now.wYear), Field(tag, 93, 4));
    EXPECT_EQ(255, (unsigned char)tag[127]);

    page.TagFile(file.c_str());
    std::string again = ReadAll(file);
    EXPECT_EQ(bytes.size(), again.size());
    EXPECT_EQ(1, TagRecords(again));
}

TEST_F(RecordStep, OnlyContinuationFilesThatExistAreListed)
{
    HostedWizard wizard;
    ShowRecordStep(wizard, false);
    CStep4Dlg& page = wizard.pages->step4;
    SetAlbum(page, L"Parts");
    ASSERT_TRUE(page.MakeOutputFile());
    WriteAll(m_folder + L"Parts\\Parts.mp3", std::string(4000, '\x55'));
    WriteAll(m_folder + L"Parts\\Parts_1.mp3", std::string(4000, '\x55'));
    page.OnRecordingStopped(3);
    ASSERT_EQ(2u, g_WizSettings.recordedFiles.size());
    EXPECT_EQ(m_folder + L"Parts\\Parts_1.mp3", std::wstring((const wchar_t*)g_WizSettings.recordedFiles[1]));
    EXPECT_FALSE(Exists(m_folder + L"Parts\\Parts_2.mp3")) << "no file is made for a count that was wrong";
    EXPECT_EQ("Parts", Field(Id3v1(ReadAll(m_folder + L"Parts\\Parts_1.mp3")), 63, 30));
}

// A recording whose path passes 259 characters: its continuation files are
// looked for beside it, and no file of the current folder is listed or tagged.
TEST_F(RecordStep, ContinuationFilesOfALongPathStayInTheAlbumFolder)
{
    HostedWizard wizard;
    ShowRecordStep(wizard, false);
    CStep4Dlg& page = wizard.pages->step4;
    // A record folder deep enough that the album folder alone passes 255 characters.
    const CString recordFolder = g_WizSettings.strRecordFolder;
    const std::wstring deep = m_folder + std::wstring(130, L'd') + L"\\";
    CreateDirectoryW(deep.c_str(), nullptr);
    g_WizSettings.strRecordFolder = deep.c_str();
    SetAlbum(page, std::wstring(100, L'L').c_str());
    const BOOL made = page.MakeOutputFile();
    g_WizSettings.strRecordFolder = recordFolder;
    ASSERT_TRUE(made);
    const std::wstring file = (const wchar_t*)page.GetOutputFile();
    ASSERT_GT(file.size(), 259u);
    const std::wstring part = file.substr(0, file.size() - 4) + L"_1.mp3";
    WriteAll(file, std::string(4000, '\x55'));
    WriteAll(part, std::string(4000, '\x55'));
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    const std::wstring stray = std::wstring(current) + L"\\_1.mp3";
    const bool strayWasThere = Exists(stray);
    if (!strayWasThere) WriteAll(stray, std::string(4000, '\x55'));
    const std::string strayBytes = ReadAll(stray);
    page.OnRecordingStopped(1);
    ASSERT_EQ(2u, g_WizSettings.recordedFiles.size());
    EXPECT_EQ(part, std::wstring((const wchar_t*)g_WizSettings.recordedFiles[1]));
    EXPECT_EQ(std::string(30, 'L'), Field(Id3v1(ReadAll(part)), 63, 30)) << "the continuation was not tagged";
    EXPECT_EQ(strayBytes, ReadAll(stray)) << "a file outside the album folder was tagged";
    if (!strayWasThere) DeleteFileW(stray.c_str());
    DeleteFileW(part.c_str());
    DeleteFileW(file.c_str());
}

TEST_F(RecordStep, TheSetTimeStopsTheRecordingOnlyWithTheFlag)
{
    HostedWizard wizard;
    ShowRecordStep(wizard, true);
    CStep4Dlg& page = wizard.pages->step4;
    SetAlbum(page, L"Timed");
    SetDlgItemTextW(page.m_hWnd, CStep4Dlg::IDC_SECONDS, L"4");

    // Without the flag the time is no limit.
    page.StartRecording();
    ASSERT_TRUE(page.IsRecording());
    Pump(6500);
    EXPECT_TRUE(page.IsRecording()) << "the set time counts only with its flag";
    page.StopRecording();
    Pump(300);

    page.m_setTimeCheck.SendMessage(BM_SETCHECK, BST_CHECKED);
    SendMessageW(page.m_hWnd, WM_COMMAND, MAKEWPARAM(CStep4Dlg::IDC_SET_TIME, BN_CLICKED),
                 (LPARAM)page.m_setTimeCheck.m_hWnd);
    page.StartRecording();
    ASSERT_TRUE(page.IsRecording());
    DWORD start = GetTickCount();
    while (page.IsRecording() && GetTickCount() - start < 15000) Pump(100);
    DWORD took = GetTickCount() - start;
    EXPECT_FALSE(page.IsRecording()) << "stopped at the set time";
    EXPECT_GE(took, 4000u);
    Pump(300);
    ASSERT_EQ(2u, g_WizSettings.recordedFiles.size()) << "both recordings are listed";
    // The time runs from Record, not from the first tick half a second later:
    // the file holds the set time.
    const double seconds = Mp3Seconds(ReadAll((const wchar_t*)g_WizSettings.recordedFiles[1]));
    EXPECT_NEAR(4.0, seconds, 0.5) << "stopped " << took << " ms after Record";
    EXPECT_EQ(L"00 : 00 : 00", std::wstring(page.m_elapsed.GetText().GetString())) << "the elapsed time is cleared";
}

TEST_F(RecordStep, ADeviceRemovedWhileRecordingStopsListsAndTagsWithOneMessage)
{
    HostedWizard wizard;
    ShowRecordStep(wizard, true);
    CStep4Dlg& page = wizard.pages->step4;
    SetAlbum(page, L"Unplugged");
    page.StartRecording();
    ASSERT_TRUE(page.IsRecording());
    Pump(2500);
    {
        BoxAnswerer answer(IDOK, 20000);
        page.OnDeviceRemoved();
        EXPECT_EQ(L"The USB device has been disconnected.", answer.Wait());
    }
    Pump(500);
    EXPECT_FALSE(page.IsRecording());
    EXPECT_FALSE(CaptureDevice().m_bInit) << "the device is closed";
    EXPECT_EQ(0, wizard.dialog.GetBusy());
    ASSERT_EQ(1u, g_WizSettings.recordedFiles.size());
    EXPECT_EQ("Unplugged", Field(Id3v1(ReadAll(m_folder + L"Unplugged\\Unplugged.mp3")), 63, 30));
    EXPECT_EQ(nullptr, drv::WaitForMessageBox(GetCurrentProcessId(), 300).window) << "one message";
}
