#include "WizSettings.h"
#include "AutoSplitSettings.h"
#include "LogFile.h"
#include "Registry.h"
#include "SettingsStore.h"
#include "WizGlobals.h"

WizSettings DefaultWizSettings()
{
    WizSettings s;
    s.szAlbumName[0] = 0;
    s.nLevel = 10;
    s.bNoiseReduction = FALSE;
    s.nNoiseReductionValue = 150;
    s.bAutoSplit = TRUE;
    s.nAutoSplitThreshold = 3000;
    s.nAutoSplitSilentTime = 50;
    s.nAutoSplitMinDuration = 10;
    s.recordedFiles.reserve(10);
    s.szAudioDeviceName[0] = 0;
    s.bAudioStreamRender = TRUE;
    s.nWizOutputType = 0;
    s.nMp3Bitrate = 192;
    s.nMp3SampleRate = 48000;
    s.nMp3Channel = 2;
    s.nBurnMode = 3;
    return s;
}

namespace {

// A stored number outside what its control can show reads as the default: the
// wizard never starts with a silent, inverted or unusable value.
int ReadNumber(const wchar_t* name, int def, int low, int high)
{
    DWORD value = ReadSettingNumber(g_szRegKey, name, (DWORD)def);
    return (int)value >= low && (int)value <= high && value <= 0x7FFFFFFF ? (int)value : def;
}

CString ReadFolder(const wchar_t* name, const wchar_t* sub)
{
    CString def = DefaultSettingFolder(L"NV Sonelle\\", sub, g_szAppPath);
    wchar_t folder[MAX_PATH] = {};
    LoadSettingFolder(g_szRegKey, name, def, folder, MAX_PATH);
    return folder;
}

void CopyField(wchar_t* field, size_t capacity, const wchar_t* text)
{
    lstrcpynW(field, text, (int)capacity);
}

}  // namespace

void LoadWizSettings()
{
    WizSettings& s = g_WizSettings;
    s.strRecordFolder = ReadFolder(L"RecordOutFolder", L"Record");
    s.strAlbumFolder = ReadFolder(L"AlbumFolder", L"Album");

    CString albumDefault = WizString(154), text;
    CopyField(s.szAlbumName, 100,
              RegReadString(HKEY_CURRENT_USER, g_szRegKey, L"AlbumName", text, albumDefault) ? text : albumDefault);

    s.nNoiseReductionValue = ReadNumber(L"NoiseReductionValue", 150, 0, 300);
    s.bNoiseReduction = FALSE;  // the recorder's choice is not the wizard's
    s.nLevel = ReadNumber(L"AudioLevel", 10, 1, 50);
    const AutoSplitSettings split = ReadAutoSplitSettings(g_szRegKey);
    s.nAutoSplitThreshold = (int)split.threshold;
    s.nAutoSplitSilentTime = (int)split.silentTime;
    s.nAutoSplitMinDuration = (int)split.minDuration;
    s.bAutoSplit = ReadNumber(L"bAutoSplit", 1, 0, 1);

    if (RegReadString(HKEY_CURRENT_USER, g_szRegKey, L"AudioDevice", text, L""))
        CopyField(s.szAudioDeviceName, 100, text);
    s.bAudioStreamRender = ReadNumber(L"bAudioStreamRender", 1, 0, 1);
    if (RegReadString(HKEY_CURRENT_USER, g_szRegKey, L"BurnDeviceName", text, L"")) s.strBurnDeviceName = text;
    s.nWizOutputType = ReadNumber(L"WizOutputType", 0, 0, 1);
    s.nBurnMode = (int)ReadSettingNumber(g_szRegKey, L"BurnMode", 3);

    s.nMp3Bitrate = 192;
    s.nMp3SampleRate = 48000;
    s.nMp3Channel = 2;

    DebugPrint(L"RecordOutFolder :[%s]", (const wchar_t*)s.strRecordFolder);
    DebugPrint(L"AudioDevice :[%s]", s.szAudioDeviceName);
    DebugPrint(L"AudioLevel :[%d]", s.nLevel);
}

void SaveWizSettings()
{
    const WizSettings& s = g_WizSettings;
    WriteSettingNumber(g_szRegKey, L"AudioLevel", (DWORD)s.nLevel);
    WriteSettingText(g_szRegKey, L"AlbumName", s.szAlbumName);
    WriteSettingText(g_szRegKey, L"AlbumFolder", s.strAlbumFolder);
    WriteSettingText(g_szRegKey, L"RecordOutFolder", s.strRecordFolder);
    WriteSettingNumber(g_szRegKey, L"NoiseReductionValue", (DWORD)s.nNoiseReductionValue);
    WriteSettingNumber(g_szRegKey, L"bNoiseReduction", (DWORD)s.bNoiseReduction);
    WriteSettingNumber(g_szRegKey, L"AutoSplitThresold", (DWORD)s.nAutoSplitThreshold);
    WriteSettingNumber(g_szRegKey, L"AutoSplitSilentTime ", (DWORD)s.nAutoSplitSilentTime);
    WriteSettingNumber(g_szRegKey, L"AutoSplitMinDuration", (DWORD)s.nAutoSplitMinDuration);
    WriteSettingNumber(g_szRegKey, L"bAutoSplit", (DWORD)s.bAutoSplit);
    WriteSettingText(g_szRegKey, L"AudioDevice", s.szAudioDeviceName);
    WriteSettingNumber(g_szRegKey, L"bAudioStreamRender", (DWORD)s.bAudioStreamRender);
    WriteSettingText(g_szRegKey, L"BurnDeviceName", s.strBurnDeviceName);
    WriteSettingNumber(g_szRegKey, L"WizOutputType", (DWORD)s.nWizOutputType);
}
