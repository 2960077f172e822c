// NVCoreAudio: the core-audio endpoints of Windows Vista and later as one exported
// class. It lists the active playback and recording endpoints by friendly name,
// walks an endpoint's device topology for the volume and mute controls on its path,
// reads and sets them, and reads and sets the master volume and mute of the default
// playback endpoint, of this process's audio session and of a recording endpoint.
//
// Names are 8-bit strings in the ANSI code page, in rows of 125 bytes; the caller
// gets pointers into the object's own arrays, valid while it lives and until the
// next call that rebuilds them. Flow 0 is render (playback), 1 capture (recording).
//
// This header includes no platform audio or DirectShow headers, so programs and
// the engine can include it next to dshow.h.
#pragma once
#include <windows.h>

#ifdef NVCOREAUDIO_BUILD
#define NVCOREAUDIO_API __declspec(dllexport)
#else
#define NVCOREAUDIO_API __declspec(dllimport)
#endif

class NVCOREAUDIO_API CNVCoreAudio {
public:
    static constexpr int NameBytes = 125;
    static constexpr int EndpointRows = 15;    // at most 14 filled
    static constexpr int ItemRows = 30;        // at most 29 filled
    typedef char Name[NameBytes];

    struct ItemList {
        int count;
        Name names[ItemRows];
        DWORD localIds[ItemRows];
    };

    CNVCoreAudio();
    CNVCoreAudio(const CNVCoreAudio& other);
    CNVCoreAudio& operator=(const CNVCoreAudio& other);
    virtual ~CNVCoreAudio();

    bool Initialize();
    bool ReInitialize();
    bool MakeCaptureDeviceLists();
    bool MakeChannelList(DWORD flow, int deviceIndex);
    bool AdjustChannelitemVolume(DWORD flow, int deviceIndex, int item, int bSet, DWORD* value);
    bool AdjustChannelitemMute(DWORD flow, int deviceIndex, int item, int bSet, int* mute);
    bool AdjustExclusiveMasterMute(int bSet, int* mute);
    bool AdjustExclusiveMasterVolume(int bSet, DWORD* volume);
    bool AdjustSharedMasterVolume(int bSet, DWORD* volume);
    bool AdjustSharedMasterMute(int bSet, int* mute);
    bool AdjustRecordingDeviceMasterVolume(int bSet, int deviceIndex, DWORD* volume);
    bool AdjustRecordingDeviceMasterMute(int bSet, int deviceIndex, int* mute);
    void getPlaybackDeviceLists(int* count, Name** names);
    void getRecordingDeviceLists(int* count, Name** names);
    // kind 1: render volume items; kind 0: render mute items; others: nothing.
    void getChannelLists(DWORD kind, int* count, Name** names);
    // True when the name was filled.
    bool getDefaultDeviceName(DWORD flow, Name* name);

private:
    struct NoCom {};
    explicit CNVCoreAudio(NoCom);
    friend struct LibraryInstance;
    ItemList* VolumeItems(DWORD flow);
    ItemList* MuteItems(DWORD flow);
    void Clear();
    void CopyLists(const CNVCoreAudio& other);

    int m_playbackCount;
    Name m_playbackNames[EndpointRows];
    int m_recordingCount;
    Name m_recordingNames[EndpointRows];
    ItemList m_renderVolumeItems;
    ItemList m_renderMuteItems;
    ItemList m_captureVolumeItems;
    ItemList m_captureMuteItems;
    bool m_comInitialized;
};
