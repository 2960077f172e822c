// The program's view of the sound card through the winmm mixer: the machine's
// mixer devices matched to the DirectShow audio-input names, the default playback
// device with the source lines that feed its speakers (and their mute states when
// opened), and mute and volume of the speaker output.
//
// Mixer lines are recognised by their component type, through the fixed type names
// below ("Speakers", "Wave Input", ...), never by the name a driver gives them.
#pragma once
#include <windows.h>
#include <mmsystem.h>
#include "MixerApi.h"

class CMixerControl {
public:
    static constexpr int TableSize = 15;
    static constexpr int NameLength = 260;

    enum DeviceFlags { HasSpeakers = 1, HasWaveInput = 2, UsbDevice = 4 };

    struct SpeakerSource {
        wchar_t typeName[NameLength];
        wchar_t lineName[NameLength];
        DWORD componentType;
        int savedMute;          // the mute control's value when Open read it, else 0
    };
    struct SpeakerSourceTable {
        int count;
        SpeakerSource entries[TableSize];
    };
    struct RecordSource {
        UINT mixerId;
        wchar_t typeName[NameLength];
        wchar_t lineName[NameLength];
    };
    struct RecordSourceTable {
        int count;
        RecordSource entries[TableSize];
    };
    struct Device {
        wchar_t name[NameLength];
        UINT mixerId;
        int flags;
    };
    struct DeviceTable {
        int count;
        Device entries[TableSize];
    };

    CMixerControl();
    ~CMixerControl();
    CMixerControl(const CMixerControl&) = delete;
    CMixerControl& operator=(const CMixerControl&) = delete;

    BOOL Open();
    void Close();
    BOOL SetSpeakerMute(BOOL mute);
    BOOL GetSpeakerVolume(int* minimum, int* maximum, int* value);
    BOOL SetSpeakerVolume(int value);
    // Valid until Close.
    const SpeakerSourceTable* GetSpeakerSources() const { return &m_speakerSources; }
    BOOL SetSourceLineMute(const wchar_t* lineName, int mute);

    int GetPlaybackIndex() const { return m_playbackIndex; }
    int GetPlaybackFlags() const { return m_playbackFlags; }
    const RecordSourceTable* GetRecordSources() const { return &m_recordSources; }
    const DeviceTable* GetDevices() const { return &m_devices; }

    // The name of a line's component type ("Speakers", "Microphone", ..., "NOT VALID").
    static const wchar_t* ComponentTypeName(DWORD componentType);

    // Every instance calls the mixer through this table; nullptr restores winmm.
    static void UseMixerApi(const MixerApi* api);

private:
    BOOL BuildDeviceTable();
    int FindDefaultPlaybackDevice() const;
    BOOL CollectSpeakerSources();
    void CollectRecordSources(UINT mixerId);
    BOOL FindSpeakerOutputLine(MIXERLINEW& line, bool& destinationZero);
    const Device* DeviceAmong(int flag, int position) const;
    const Device* PlaybackDevice() const;

    int m_playbackIndex = 0;
    HMIXER m_playbackMixer = nullptr;
    SpeakerSourceTable m_speakerSources;
    RecordSourceTable m_recordSources;
    DeviceTable m_devices;
    int m_playbackFlags = 0;
    bool m_comInitialized = false;
};
