// The wizard's settings on the user key and its start-up helpers: the save list
// on a clean key, values it must not take over, folders, numbers outside their
// controls' ranges, and the clean-up of its temporary MP3 files.
#include "AudioCaptureWizApp.h"
#include "Driver.h"
#include "WizGlobals.h"
#include "WizSettings.h"
#include "WizardTestSupport.h"
#include <gtest/gtest.h>
#include <shlobj.h>

using namespace wiztest;

namespace {

std::wstring MusicFolder()
{
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_MYMUSIC | CSIDL_FLAG_CREATE, nullptr, 0, path);
    return path;
}

bool IsFolder(const std::wstring& path)
{
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring TempFolder()
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return temp;
}

class WizardSettings : public ::testing::Test {
protected:
    void SetUp() override { ResetWizardGlobals(); }
    void TearDown() override { drv::RegDeleteTree(HKEY_CURRENT_USER, kKey); }
};

}  // namespace

TEST_F(WizardSettings, CleanKeyGetsTheWholeSaveListAndTheMusicFolders)
{
    LoadWizSettings();
    const std::wstring base = MusicFolder() + L"\\NV Sonelle\\";
    EXPECT_EQ(base + L"Record\\", std::wstring((const wchar_t*)g_WizSettings.strRecordFolder));
    EXPECT_EQ(base + L"Album\\", std::wstring((const wchar_t*)g_WizSettings.strAlbumFolder));
    EXPECT_TRUE(IsFolder(base + L"Record"));
    EXPECT_TRUE(IsFolder(base + L"Album"));
    EXPECT_STREQ(L"My Music", g_WizSettings.szAlbumName);
    lstrcpyW(g_WizSettings.szAudioDeviceName, L"USB Audio Rifbox");
    SaveWizSettings();

    const wchar_t* const numbers[] = {L"AudioLevel", L"NoiseReductionValue", L"bNoiseReduction", L"AutoSplitThresold",
                                      L"AutoSplitSilentTime ", L"AutoSplitMinDuration", L"bAutoSplit",
                                      L"bAudioStreamRender", L"WizOutputType"};
    const wchar_t* const texts[] = {L"AlbumName", L"AlbumFolder", L"RecordOutFolder", L"AudioDevice", L"BurnDeviceName"};
    for (const wchar_t* name : numbers) {
        DWORD value = 0;
        EXPECT_TRUE(drv::RegReadDword(HKEY_CURRENT_USER, kKey, name, &value)) << name;
    }
    for (const wchar_t* name : texts) EXPECT_TRUE(drv::RegValueExists(HKEY_CURRENT_USER, kKey, name)) << name;
    DWORD burnMode = 0;
    EXPECT_TRUE(drv::RegReadDword(HKEY_CURRENT_USER, kKey, L"BurnMode", &burnMode));
    EXPECT_EQ(3u, burnMode);
    std::wstring device;
    drv::RegReadString(HKEY_CURRENT_USER, kKey, L"AudioDevice", &device);
    EXPECT_EQ(L"USB Audio Rifbox", device);
    EXPECT_FALSE(drv::RegValueExists(HKEY_CURRENT_USER, kKey, L"Mp3Bitrate")) << "the MP3 format is fixed, not stored";
}

TEST_F(WizardSettings, TheRecordersNoiseReductionSwitchIsNotTakenOver)
{
    drv::RegWriteDword(HKEY_CURRENT_USER, kKey, L"bNoiseReduction", 1);
    LoadWizSettings();
    EXPECT_FALSE(g_WizSettings.bNoiseReduction);
    SaveWizSettings();
    DWORD stored = 1;
    drv::RegReadDword(HKEY_CURRENT_USER, kKey, L"bNoiseReduction", &stored);
    EXPECT_EQ(0u, stored) << "the wizard writes its own choice back";
}

struct RangeCase {
    const wchar_t* name;
    DWORD stored;
    int WizSettings::*field;
    int expected;
};

TEST_F(WizardSettings, StoredNumbersOutsideTheirRangeReadAsTheDefault)
{
    const RangeCase cases[] = {
        {L"AudioLevel", 0, &WizSettings::nLevel, 10},
        {L"AudioLevel", 51, &WizSettings::nLevel, 10},
        {L"AudioLevel", 50, &WizSettings::nLevel, 50},
        {L"AudioLevel", 1, &WizSettings::nLevel, 1},
        {L"NoiseReductionValue", 301, &WizSettings::nNoiseReductionValue, 150},
        {L"NoiseReductionValue", 0xFFFFFFF0, &WizSettings::nNoiseReductionValue, 150},
        {L"NoiseReductionValue", 300, &WizSettings::nNoiseReductionValue, 300},
        {L"NoiseReductionValue", 0, &WizSettings::nNoiseReductionValue, 0},
        {L"WizOutputType", 2, &WizSettings::nWizOutputType, 0},
        {L"WizOutputType", 1, &WizSettings::nWizOutputType, 1},
        {L"AutoSplitThresold", 0, &WizSettings::nAutoSplitThreshold, 3000},
        {L"AutoSplitSilentTime ", 0, &WizSettings::nAutoSplitSilentTime, 50},
        {L"AutoSplitMinDuration", 0x80000000, &WizSettings::nAutoSplitMinDuration, 10},
        {L"AutoSplitMinDuration", 25, &WizSettings::nAutoSplitMinDuration, 25},
    };
    for (const RangeCase& c : cases) {
        drv::RegDeleteTree(HKEY_CURRENT_USER, kKey);
        drv::RegWriteDword(HKEY_CURRENT_USER, kKey, c.name, c.stored);
        g_WizSettings = DefaultWizSettings();
        LoadWizSettings();
        EXPECT_EQ(c.expected, g_WizSettings.*c.field) << c.name << " " << c.stored;
    }
}

TEST_F(WizardSettings, AStoredFolderCountsOnlyWhenThatVeryFolderExists)
{
    const std::wstring root = TempFolder() + L"WizFolders" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW((root + L"\\Recordings").c_str(), nullptr);

    // "...\Rec" does not exist, though "...\Rec*.*" finds "...\Recordings".
    drv::RegWriteString(HKEY_CURRENT_USER, kKey, L"RecordOutFolder", root + L"\\Rec");
    LoadWizSettings();
    EXPECT_EQ(MusicFolder() + L"\\NV Sonelle\\Record\\", std::wstring((const wchar_t*)g_WizSettings.strRecordFolder));
    EXPECT_FALSE(IsFolder(root + L"\\Rec")) << "a folder that was not chosen is not made";

    // An existing folder stored without its "\" gets it.
    drv::RegWriteString(HKEY_CURRENT_USER, kKey, L"RecordOutFolder", root + L"\\Recordings");
    LoadWizSettings();
    EXPECT_EQ(root + L"\\Recordings\\", std::wstring((const wchar_t*)g_WizSettings.strRecordFolder));
    RemoveDirectoryW((root + L"\\Recordings").c_str());
    RemoveDirectoryW(root.c_str());
}

TEST_F(WizardSettings, CleanUpDeletesOnlyTheTemporaryMp3Files)
{
    const std::wstring folder = TempFolder() + L"TmpF\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* name : {L"a.mp3", L"b.mp3x", L"c.wav"}) {
        HANDLE file = CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file) << name;
        CloseHandle(file);
    }
    CreateDirectoryW((folder + L"d.mp3").c_str(), nullptr);

    CAudioCaptureWizApp app;
    app.DeleteTempFiles();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((folder + L"a.mp3").c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((folder + L"b.mp3x").c_str()))
        << "its short name ends in .MP3, its name does not";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((folder + L"c.wav").c_str()));
    EXPECT_TRUE(IsFolder(folder + L"d.mp3"));
    DeleteFileW((folder + L"b.mp3x").c_str());
    DeleteFileW((folder + L"c.wav").c_str());
    RemoveDirectoryW((folder + L"d.mp3").c_str());
}
