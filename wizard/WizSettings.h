// The wizard's user settings: one record per process, loaded from the user's key
// at start (CAudioCaptureWizApp::LoadSettings) and saved after the wizard dialog
// has closed (CAudioCaptureWizApp::SaveSettings). The key is the recorder's too.
#pragma once
#include <windows.h>
#include <vector>
#include "String.h"

struct WizSettings {
    CString strLaunchName;     // the machine-wide titles read at start
    CString strWizardName;
    CString strAdvancedName;
    CString strRecordFolder;   // always ending in "\"
    CString strAlbumFolder;
    wchar_t szAlbumName[100];
    int nLevel;                // input level 1 to 50: analyzer gain = level / 10
    BOOL bNoiseReduction;      // off at every start
    int nNoiseReductionValue;  // 0 to 300: filter level = value / 10
    BOOL bAutoSplit;
    int nAutoSplitThreshold;
    int nAutoSplitSilentTime;
    int nAutoSplitMinDuration;
    std::vector<CString> recordedFiles;  // not stored
    wchar_t szAudioDeviceName[100];
    BOOL bAudioStreamRender;   // monitoring heard through the PC
    CString strBurnDeviceName;
    int nWizOutputType;        // 0 or 1
    int nMp3Bitrate;           // fixed: 192 kbit/s, 48000 Hz, 2 channels
    int nMp3SampleRate;
    int nMp3Channel;
    int nBurnMode;             // read only
};

extern WizSettings g_WizSettings;

// The record's values at construction.
WizSettings DefaultWizSettings();

// Reads every stored setting into the record (missing ones are written back with
// their defaults); folders that are missing are made.
void LoadWizSettings();
// Writes the record's stored settings ("BurnMode" is only read).
void SaveWizSettings();
