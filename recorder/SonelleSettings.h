// The recorder's user settings: one record per process, loaded from the user's key
// at start and saved after the main dialog has closed (CSonelleApp::LoadSettings,
// CSonelleApp::SaveSettings).
#pragma once
#include <windows.h>

struct SonelleSettings {
    wchar_t szRecordFolder[260];
    wchar_t szPrefixName[260];
    DWORD nSamplerate;
    DWORD nChannel;
    DWORD nBitsPerSample;
    wchar_t szAudioDeviceName[100];
    DWORD nLevel;
    BOOL bNoiseReduction;
    float fNoiseReductionValue;
    BOOL bAudioStreamRender;
    DWORD nAutoSplitThreshold;
    DWORD nAutoSplitSilentTime;
    DWORD nAutoSplitMinDuration;
    DWORD nNormalizeValue;
    wchar_t szBurnDeviceName[260];
    wchar_t szAlbumFolder[260];
    DWORD nOutputType;
    DWORD nMp3Bitrate;
    DWORD nMp3SampleRate;
    DWORD nMp3Channel;
    BOOL bMergeTrack;
    BOOL bEnableMergeTrack;
    DWORD nBurnMode;
};

extern SonelleSettings g_Settings;

// The hidden key chord of the main window and its pages: toggles the merge-tracks
// mode. TRUE when `msg` was the chord's key (the caller consumes it).
BOOL HandleMergeModeChord(const MSG* msg);
