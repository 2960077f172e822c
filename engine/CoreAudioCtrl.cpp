#include "CoreAudioCtrl.h"
#include <cstring>
#include "OSVersion.h"

namespace {

bool BeforeVista() { return GetOSVersionCode() < OS_VISTA; }

// Source lines that carry sound from outside the PC (not the PC's own playback).
bool IsOutsideSource(DWORD componentType)
{
    switch (componentType) {
    case MIXERLINE_COMPONENTTYPE_SRC_DIGITAL:
    case MIXERLINE_COMPONENTTYPE_SRC_LINE:
    case MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE:
    case MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC:
    case MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY:
        return true;
    default:
        return false;
    }
}

} // namespace

CCoreAudioCtrl::CCoreAudioCtrl(CNVCoreAudio& coreAudio, CMixerControl& mixer)
    : m_coreAudio(coreAudio), m_mixer(mixer)
{
    ZeroMemory(m_saved, sizeof m_saved);
    ZeroMemory(m_read, sizeof m_read);
    ZeroMemory(m_endpointName, sizeof m_endpointName);
}

CCoreAudioCtrl::~CCoreAudioCtrl() = default;

void CCoreAudioCtrl::SaveMute()
{
    ZeroMemory(m_saved, sizeof m_saved);
    ZeroMemory(m_read, sizeof m_read);
    ZeroMemory(m_endpointName, sizeof m_endpointName);
    m_savedCount = 0;
    m_endpointIndex = 0;
    if (BeforeVista()) return;

    m_coreAudio.ReInitialize();
    CNVCoreAudio::Name defaultName = {};
    m_coreAudio.getDefaultDeviceName(0, &defaultName);
    int count = 0;
    CNVCoreAudio::Name* names = nullptr;
    m_coreAudio.getPlaybackDeviceLists(&count, &names);
    if (count <= 0 || !names) return;
    for (int i = 0; i < count; ++i)
        if (!strcmp(names[i], defaultName)) {
            m_endpointIndex = i;
            break;
        }
    memcpy(m_endpointName, names[m_endpointIndex], sizeof m_endpointName);

    if (!m_coreAudio.MakeChannelList(0, m_endpointIndex)) return;
    int items = 0;
    m_coreAudio.getChannelLists(0, &items, nullptr);
    m_savedCount = items < SavedSize ? items : SavedSize;
    for (int i = 0; i < m_savedCount; ++i) {
        int value = 0;
        if (m_coreAudio.AdjustChannelitemMute(0, m_endpointIndex, i, 0, &value)) {
            m_saved[i] = value;
            m_read[i] = true;
        }
    }
}

int CCoreAudioCtrl::FindSavedEndpoint()
{
    if (!m_endpointName[0]) return -1;
    // The endpoints may have changed since SaveMute: look for the saved one by name.
    m_coreAudio.ReInitialize();
    int count = 0;
    CNVCoreAudio::Name* names = nullptr;
    m_coreAudio.getPlaybackDeviceLists(&count, &names);
    if (names && m_endpointIndex < count && !strcmp(names[m_endpointIndex], m_endpointName))
        return m_endpointIndex;
    for (int i = 0; names && i < count; ++i)
        if (!strcmp(names[i], m_endpointName)) return i;
    return -1;
}

void CCoreAudioCtrl::ApplyMute(int mute)
{
    if (BeforeVista()) {
        ApplyMuteThroughMixer(mute);
        return;
    }
    int endpoint = FindSavedEndpoint();
    if (endpoint < 0 || !m_coreAudio.MakeChannelList(0, endpoint)) return;
    int items = 0;
    m_coreAudio.getChannelLists(0, &items, nullptr);
    for (int i = 0; i < items && i < m_savedCount; ++i) {
        if (!m_read[i]) continue;
        int value = mute ? mute : m_saved[i];
        m_coreAudio.AdjustChannelitemMute(0, endpoint, i, 1, &value);
    }
}

void CCoreAudioCtrl::ApplyMuteThroughMixer(int mute)
{
    const CMixerControl::SpeakerSourceTable* sources = m_mixer.GetSpeakerSources();
    for (int i = 0; sources && i < sources->count; ++i) {
        const CMixerControl::SpeakerSource& line = sources->entries[i];
        if (mute) {
            if (IsOutsideSource(line.componentType)) m_mixer.SetSourceLineMute(line.lineName, mute);
        } else {
            m_mixer.SetSourceLineMute(line.lineName, line.savedMute);
        }
    }
}
