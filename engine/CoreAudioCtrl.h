// The mute keeper: while the recorder (or the wizard) runs, the sound reaching the
// PC's inputs must not also come out of the speakers through the sound card's own
// playback paths. It remembers the mute state of every mute control on the default
// playback endpoint's path, mutes them, and later puts each back as it was. From
// Windows Vista on it works through the core-audio library; before, on the source
// lines of the playback mixer's speakers destination.
#pragma once
#include <windows.h>
#include "MixerControl.h"
#include "NVCoreAudio.h"

class CCoreAudioCtrl {
public:
    static constexpr int SavedSize = 50;

    CCoreAudioCtrl(CNVCoreAudio& coreAudio, CMixerControl& mixer);
    virtual ~CCoreAudioCtrl();
    CCoreAudioCtrl(const CCoreAudioCtrl&) = delete;
    CCoreAudioCtrl& operator=(const CCoreAudioCtrl&) = delete;

    // Remembers the current mute states (Vista and later; before, the mixer's Open
    // has read them).
    void SaveMute();
    // mute != 0: mutes; 0: restores the remembered states.
    void ApplyMute(int mute);

    int GetEndpointIndex() const { return m_endpointIndex; }

private:
    void ApplyMuteThroughMixer(int mute);
    // Where the saved endpoint is listed now; -1 when it is gone.
    int FindSavedEndpoint();

    int m_saved[SavedSize];
    int m_endpointIndex = 0;
    // Items whose state SaveMute read: only they are muted and restored.
    bool m_read[SavedSize];
    int m_savedCount = 0;
    CNVCoreAudio::Name m_endpointName;
    CNVCoreAudio& m_coreAudio;
    CMixerControl& m_mixer;
};
