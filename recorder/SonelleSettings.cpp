#include "SonelleApp.h"
#include "SonelleGlobals.h"
#include "SonelleSettings.h"
#include "AutoSplitSettings.h"
#include "LogFile.h"
#include "Registry.h"
#include "SettingsStore.h"

SonelleSettings g_Settings = [] {
    SonelleSettings s = {};
    s.nSamplerate = 44100;
    s.nChannel = 2;
    s.nBitsPerSample = 16;
    return s;
}();

namespace {

void CopyText(wchar_t* field, size_t capacity, const wchar_t* text)
{
    lstrcpynW(field, text, (int)capacity);
}

CString DefaultFolder(const wchar_t* sub)
{
    return DefaultSettingFolder(g_hExtra2Module ? L"NV Wavelorn\\" : L"NV Sonelle\\", sub, g_szAppPath);
}

DWORD ReadNumberInRange(const wchar_t* name, DWORD def, DWORD minimum, DWORD maximum)
{
    return ReadSettingNumberInRange(g_szRegKey, name, def, minimum, maximum);
}

DWORD ReadNumber(const wchar_t* name, DWORD def)
{
    return ReadSettingNumber(g_szRegKey, name, def);
}

void WriteNumber(const wchar_t* name, DWORD value)
{
    WriteSettingNumber(g_szRegKey, name, value);
}

void WriteText(const wchar_t* name, const wchar_t* text)
{
    WriteSettingText(g_szRegKey, name, text);
}

void LoadFolder(const wchar_t* name, const CString& def, wchar_t* field, size_t capacity)
{
    LoadSettingFolder(g_szRegKey, name, def, field, capacity);
}

void LoadRecordingGroup()
{
    SonelleSettings& s = g_Settings;
    LoadFolder(L"RecordOutFolder", DefaultFolder(L"Record"), s.szRecordFolder, 260);

    CString prefixDefault, text;
    prefixDefault.LoadString(152);
    CopyText(s.szPrefixName, 260,
             RegReadString(HKEY_CURRENT_USER, g_szRegKey, L"PrefixName", text, prefixDefault) ? text : prefixDefault);
    // A stored name longer than the field holds is cut to it.
    if (RegReadString(HKEY_CURRENT_USER, g_szRegKey, L"AudioDevice", text, L""))
        CopyText(s.szAudioDeviceName, 100, text);

    // Values outside what their controls can show read as their defaults: a zero
    // sample rate or an input level the slider cannot reach never gets used.
    s.nChannel = ReadNumberInRange(L"WaveChannel", 2, 1, 2);
    s.nSamplerate = ReadNumberInRange(L"WaveSample", 44100, 8000, 192000);
    s.nBitsPerSample = ReadNumberInRange(L"WaveBitsPerSample", 16, 8, 32);
    if (s.nBitsPerSample % 8) s.nBitsPerSample = 16;
    s.nLevel = ReadNumberInRange(L"AudioLevel", 10, 1, 50);
    s.bNoiseReduction = ReadNumberInRange(L"bNoiseReduction", 0, 0, 1);
    s.fNoiseReductionValue = (float)ReadNumberInRange(L"NoiseReductionValue", 150, 0, 300);
    s.bAudioStreamRender = ReadNumberInRange(L"bAudioStreamRender", 1, 0, 1);

    if (g_bDebugSwitch) {
        DebugPrint(L"szRecordFolder :[%s]", s.szRecordFolder);
        DebugPrint(L"szPrefixName :[%s]", s.szPrefixName);
        DebugPrint(L"szAudioDeviceName :[%s]", s.szAudioDeviceName);
        DebugPrint(L"nChannel :[%d]", (int)s.nChannel);
        DebugPrint(L"nSamplerate :[%d]", (int)s.nSamplerate);
        DebugPrint(L"nBitrate :[%d]", (int)s.nBitsPerSample);
        DebugPrint(L"nLevel :[%d]", (int)s.nLevel);
        DebugPrint(L"bNoiseReduction :[%d]", (int)s.bNoiseReduction);
        DebugPrint(L"nNoiseReductionValue :[%d]", (int)s.fNoiseReductionValue);
        DebugPrint(L"bAudioStreamRender :[%d]", (int)s.bAudioStreamRender);
    }
}

void LoadAutoSplitGroup()
{
    SonelleSettings& s = g_Settings;
    const AutoSplitSettings split = ReadAutoSplitSettings(g_szRegKey);
    s.nAutoSplitThreshold = split.threshold;
    s.nAutoSplitSilentTime = split.silentTime;
    s.nAutoSplitMinDuration = split.minDuration;
    s.nNormalizeValue = ReadNumber(L"NormalizeVaule", 800);
}

void LoadPublishingGroup()
{
    SonelleSettings& s = g_Settings;
    CString text;
    if (RegReadString(HKEY_CURRENT_USER, g_szRegKey, L"BurnDeviceName", text, L""))
        CopyText(s.szBurnDeviceName, 260, text);
    LoadFolder(L"AlbumFolder", DefaultFolder(L"Album"), s.szAlbumFolder, 260);
    s.nOutputType = ReadNumber(L"OutputType", 0);
    s.nMp3Bitrate = ReadNumber(L"Mp3Bitrate", 192);
    s.nMp3SampleRate = ReadNumber(L"Mp3SampleRate", 48000);
    s.nMp3Channel = ReadNumber(L"Mp3Channel", 2);
    s.bMergeTrack = ReadNumber(L"MergeTrack", 0);
    s.bEnableMergeTrack = ReadNumber(L"EnableMergeTrack", 0);
    s.nBurnMode = ReadNumber(L"BurnMode", 3);
    if (!s.bEnableMergeTrack) s.bMergeTrack = FALSE;
}

}  // namespace

void CSonelleApp::LoadSettings()
{
    LoadRecordingGroup();
    LoadAutoSplitGroup();
    LoadPublishingGroup();
}

void CSonelleApp::SaveSettings()
{
    const SonelleSettings& s = g_Settings;
    WriteText(L"AudioDevice", s.szAudioDeviceName);
    WriteText(L"PrefixName", s.szPrefixName);
    WriteNumber(L"WaveChannel", s.nChannel);
    WriteNumber(L"WaveSample", s.nSamplerate);
    WriteNumber(L"WaveBitsPerSample", s.nBitsPerSample);
    WriteNumber(L"AudioLevel", s.nLevel);
    WriteNumber(L"bNoiseReduction", s.bNoiseReduction);
    WriteNumber(L"NoiseReductionValue", WholeSettingNumber(s.fNoiseReductionValue, 0, 300, 150));
    WriteNumber(L"bAudioStreamRender", s.bAudioStreamRender);

    WriteNumber(L"AutoSplitThresold", s.nAutoSplitThreshold);
    WriteNumber(L"AutoSplitSilentTime ", s.nAutoSplitSilentTime);
    WriteNumber(L"AutoSplitMinDuration", s.nAutoSplitMinDuration);
    WriteNumber(L"NormalizeVaule", s.nNormalizeValue);

    WriteText(L"BurnDeviceName", s.szBurnDeviceName);
    WriteText(L"AlbumFolder", s.szAlbumFolder);
    WriteNumber(L"OutputType", s.nOutputType);
    WriteNumber(L"Mp3Bitrate", s.nMp3Bitrate);
    WriteNumber(L"Mp3SampleRate", s.nMp3SampleRate);
    WriteNumber(L"Mp3Channel", s.nMp3Channel);
    WriteNumber(L"MergeTrack", s.bMergeTrack);
    WriteNumber(L"EnableMergeTrack", s.bEnableMergeTrack);
}

// Ctrl+Shift+Alt held, then M: no typing or dialog key makes that.
BOOL HandleMergeModeChord(const MSG* msg)
{
    if (msg->message != WM_KEYDOWN || msg->wParam != 'M') return FALSE;
    if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_SHIFT) >= 0 || GetKeyState(VK_MENU) >= 0) return FALSE;
    if (g_Settings.bEnableMergeTrack) {
        g_Settings.bEnableMergeTrack = FALSE;
        g_Settings.bMergeTrack = FALSE;
    } else {
        g_Settings.bEnableMergeTrack = TRUE;
    }
    return TRUE;
}
