#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include <string>
#include "MixerControl.h"
#include "ScriptedMixer.h"

namespace {

const wchar_t* const SoundMapperKey = L"Software\\Microsoft\\Multimedia\\Sound Mapper";

// The user's key replaced by an empty private one while it lives, so that tests can
// set the platform's "Playback" value without touching the prefix's own.
class CPrivateUserKey {
public:
    CPrivateUserKey()
    {
        m_name = L"Software\\SonelleTests\\MixerUser" + std::to_wstring(GetCurrentProcessId());
        RegCreateKeyExW(HKEY_CURRENT_USER, m_name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key,
                        nullptr);
        RegOverridePredefKey(HKEY_CURRENT_USER, m_key);
    }
    ~CPrivateUserKey()
    {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegCloseKey(m_key);
        RegDeleteTreeW(HKEY_CURRENT_USER, m_name.c_str());
    }
    void SetPlayback(const wchar_t* value)
    {
        HKEY key = nullptr;
        RegCreateKeyExW(m_key, SoundMapperKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
        RegSetValueExW(key, L"Playback", 0, REG_SZ, (const BYTE*)value, (DWORD)(wcslen(value) + 1) * 2);
        RegCloseKey(key);
    }
    bool HasPlayback() const
    {
        return RegGetValueW(m_key, SoundMapperKey, L"Playback", RRF_RT_ANY, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
    }

private:
    std::wstring m_name;
    HKEY m_key = nullptr;
};

ScriptedLine& SpeakerSource(ScriptedMixerDevice& card, const wchar_t* name)
{
    return *card.Destination(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS)->Source(name);
}

} // namespace

TEST(MixerControl, ComponentTypeNames)
{
    struct Case { DWORD type; const wchar_t* name; } cases[] = {
        {0x1000, L"Undefined"}, {0x1001, L"Digital"}, {0x1002, L"Line Level"}, {0x1003, L"Microphone"},
        {0x1005, L"Compact Disc"}, {0x1008, L"Wave Out"}, {0x1009, L"Auxiliary"}, {0x100A, L"Analog"},
        {0x100B, L"NOT VALID"}, {0, L"Undefined"}, {3, L"Monitor"}, {4, L"Speakers"}, {7, L"Wave Input"},
        {8, L"Voice Recognition"}, {9, L"NOT VALID"}, {0x0FFF, L"NOT VALID"},
    };
    for (const Case& c : cases) EXPECT_STREQ(c.name, CMixerControl::ComponentTypeName(c.type)) << c.type;
}

TEST(MixerControl, OpensTheDefaultPlaybackDeviceOfScriptedCards)
{
    struct Case {
        const char* what;
        std::function<void(CScriptedMixer&)> build;
        const wchar_t* playback;        // the "Playback" value, or none
        BOOL opened;
        int playbackIndex, flags, speakerSources, recordSources;
    };
    auto card = [](const wchar_t* n) { return CScriptedMixer::SoundCard(n); };
    Case cases[] = {
        {"one sound card", [&](CScriptedMixer& m) { m.mixers = {card(L"Scripted Card")}; }, nullptr, TRUE, 0, 3, 6, 3},
        {"no mixer device", [](CScriptedMixer&) {}, nullptr, FALSE, 0, 0, 0, 0},
        {"only a USB device", [](CScriptedMixer& m) { m.mixers = {CScriptedMixer::UsbDevice(L"USB Audio Device")}; },
         nullptr, FALSE, 0, 0, 0, 0},
        {"Playback names the USB device beside a card",
         [&](CScriptedMixer& m) { m.mixers = {card(L"Scripted Card"), CScriptedMixer::UsbDevice(L"USB Audio Device")}; },
         L"USB Audio Device", TRUE, 1, 7, 6, 3},
        {"Playback names the second speakers device",
         [&](CScriptedMixer& m) { m.mixers = {card(L"Card A"), card(L"Card B")}; }, L"Card B", TRUE, 1, 3, 6, 3},
        {"Playback names no device",
         [&](CScriptedMixer& m) { m.mixers = {card(L"Card A"), card(L"Card B")}; }, L"Other Card", TRUE, 0, 3, 6, 3},
        {"no speaker source among the wave-input sources",
         [&](CScriptedMixer& m) {
             m.mixers = {card(L"Scripted Card")};
             for (auto& s : m.mixers[0].Destination(MIXERLINE_COMPONENTTYPE_DST_WAVEIN)->sources) s.name += L" Rec";
         },
         nullptr, FALSE, 0, 0, 0, 0},
        {"a speakers destination without sources",
         [&](CScriptedMixer& m) {
             m.mixers = {card(L"Scripted Card")};
             m.mixers[0].Destination(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS)->sources.clear();
         },
         nullptr, FALSE, 0, 0, 0, 0},
        {"sources that fail to read or have no controls are left out",
         [&](CScriptedMixer& m) {
             m.mixers = {card(L"Scripted Card")};
             SpeakerSource(m.mixers[0], L"Aux").readFails = true;
             SpeakerSource(m.mixers[0], L"Digital").controls.clear();
         },
         nullptr, TRUE, 0, 3, 4, 3},
        {"a device whose capabilities fail is skipped",
         [&](CScriptedMixer& m) {
             m.mixers = {card(L"Broken"), card(L"Card B")};
             m.mixers[0].capsFail = true;
         },
         L"Card B", TRUE, 0, 3, 6, 3},
        {"sixteen devices: the table keeps fifteen",
         [&](CScriptedMixer& m) {
             for (wchar_t c = L'A'; c < L'A' + 16; ++c) m.mixers.push_back(card((std::wstring(L"Card ") + c).c_str()));
         },
         L"Card P", TRUE, 0, 3, 6, 3},
        {"sixteen speaker lines: the table keeps fifteen",
         [&](CScriptedMixer& m) {
             m.mixers = {card(L"Scripted Card")};
             auto* speakers = m.mixers[0].Destination(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
             auto* waveIn = m.mixers[0].Destination(MIXERLINE_COMPONENTTYPE_DST_WAVEIN);
             for (int i = 0; i < 10; ++i) speakers->sources.push_back(speakers->sources[0]);
             for (int i = 0; i < 16; ++i) waveIn->sources.push_back(waveIn->sources[0]);
         },
         nullptr, TRUE, 0, 3, 15, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CPrivateUserKey user;
        if (c.playback) user.SetPlayback(c.playback);
        CScriptedMixer scripted;
        c.build(scripted);
        CMixerControl mixer;
        EXPECT_EQ(c.opened, mixer.Open());
        EXPECT_EQ(c.playbackIndex, mixer.GetPlaybackIndex());
        EXPECT_EQ(c.flags, mixer.GetPlaybackFlags());
        EXPECT_EQ(c.speakerSources, mixer.GetSpeakerSources()->count);
        EXPECT_EQ(c.recordSources, mixer.GetRecordSources()->count);
        EXPECT_LE(mixer.GetDevices()->count, CMixerControl::TableSize);
        EXPECT_EQ(c.opened ? 1 : 0, scripted.OpenHandles()) << "only the playback device stays open";
        if (!c.opened) {
            EXPECT_EQ(0, mixer.GetDevices()->count);
            EXPECT_FALSE(mixer.SetSpeakerMute(TRUE));
            EXPECT_FALSE(mixer.SetSpeakerVolume(10));
            EXPECT_FALSE(mixer.SetSourceLineMute(L"Microphone", 1));
        }
        mixer.Close();
        EXPECT_EQ(0, scripted.OpenHandles());
        EXPECT_EQ(c.playback != nullptr, user.HasPlayback()) << "the platform's key is never written";
    }
}

TEST(MixerControl, UsbDeviceIsFlaggedWithoutBeingOpenedAndUsesItsWaveInput)
{
    CPrivateUserKey user;
    CScriptedMixer scripted;
    scripted.mixers = {CScriptedMixer::SoundCard(L"Scripted Card"), CScriptedMixer::UsbDevice(L"USB Audio Device")};
    CMixerControl mixer;
    ASSERT_TRUE(mixer.Open());
    EXPECT_EQ(0, scripted.mixers[1].opens);
    EXPECT_EQ(7, mixer.GetDevices()->entries[1].flags);
    EXPECT_EQ(3, mixer.GetDevices()->entries[0].flags);
    mixer.Close();

    user.SetPlayback(L"USB Audio Device");
    ASSERT_TRUE(mixer.Open());
    ScriptedMixerDevice& usb = scripted.mixers[1];
    ScriptedDestination* waveIn = usb.Destination(MIXERLINE_COMPONENTTYPE_DST_WAVEIN);
    ScriptedDestination* speakers = usb.Destination(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
    ASSERT_EQ(waveIn, &usb.destinations[0]);
    EXPECT_TRUE(mixer.SetSpeakerMute(TRUE));
    EXPECT_EQ(1, waveIn->Control(MIXERCONTROL_CONTROLTYPE_MUTE)->value);
    EXPECT_EQ(0, speakers->Control(MIXERCONTROL_CONTROLTYPE_MUTE)->sets);
    EXPECT_TRUE(mixer.SetSpeakerVolume(1000));
    EXPECT_EQ(1000, waveIn->Control(MIXERCONTROL_CONTROLTYPE_VOLUME)->value);
    EXPECT_EQ(0, speakers->Control(MIXERCONTROL_CONTROLTYPE_VOLUME)->sets);
    EXPECT_EQ(0, scripted.mixers[0].Destination(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS)
                     ->Control(MIXERCONTROL_CONTROLTYPE_VOLUME)->sets);
}

TEST(MixerControl, RemembersSourceMuteStatesWhenOpened)
{
    CPrivateUserKey user;
    CScriptedMixer scripted;
    scripted.mixers = {CScriptedMixer::SoundCard(L"Scripted Card")};
    ScriptedMixerDevice& card = scripted.mixers[0];
    SpeakerSource(card, L"Microphone").Control(MIXERCONTROL_CONTROLTYPE_MUTE)->value = 1;
    // A control that answers a read without a value (as Wine's source lines do).
    ScriptedControl* silent = SpeakerSource(card, L"CD Player").Control(MIXERCONTROL_CONTROLTYPE_MUTE);
    silent->value = 1;
    silent->answersWithValue = false;
    // A line without a mute control.
    auto& aux = SpeakerSource(card, L"Aux").controls;
    aux.erase(aux.begin() + 1);

    CMixerControl mixer;
    ASSERT_TRUE(mixer.Open());
    const auto* table = mixer.GetSpeakerSources();
    ASSERT_EQ(6, table->count);
    struct Expect { const wchar_t* line; const wchar_t* type; DWORD component; int saved; } expected[] = {
        {L"Line In", L"Line Level", 0x1002, 0}, {L"Microphone", L"Microphone", 0x1003, 1},
        {L"CD Player", L"Compact Disc", 0x1005, 0}, {L"Aux", L"Auxiliary", 0x1009, 0},
        {L"Digital", L"Digital", 0x1001, 0}, {L"Wave Out", L"Wave Out", 0x1008, 0},
    };
    for (int i = 0; i < 6; ++i) {
        EXPECT_STREQ(expected[i].line, table->entries[i].lineName);
        EXPECT_STREQ(expected[i].type, table->entries[i].typeName);
        EXPECT_EQ(expected[i].component, table->entries[i].componentType);
        EXPECT_EQ(expected[i].saved, table->entries[i].savedMute) << i;
    }
    EXPECT_STREQ(L"Line In", mixer.GetRecordSources()->entries[0].lineName);
    EXPECT_STREQ(L"Line Level", mixer.GetRecordSources()->entries[0].typeName);
    EXPECT_EQ(0u, mixer.GetRecordSources()->entries[0].mixerId);
}

TEST(MixerControl, SetsSourceLineMuteAndClampsSpeakerVolume)
{
    CPrivateUserKey user;
    CScriptedMixer scripted;
    scripted.mixers = {CScriptedMixer::SoundCard(L"Scripted Card")};
    ScriptedMixerDevice& card = scripted.mixers[0];
    auto& aux = SpeakerSource(card, L"Aux").controls;
    aux.erase(aux.begin() + 1);
    CMixerControl mixer;
    ASSERT_TRUE(mixer.Open());

    EXPECT_TRUE(mixer.SetSourceLineMute(L"Microphone", 1));
    EXPECT_EQ(1, SpeakerSource(card, L"Microphone").Control(MIXERCONTROL_CONTROLTYPE_MUTE)->value);
    EXPECT_EQ(0, card.Destination(MIXERLINE_COMPONENTTYPE_DST_WAVEIN)->Source(L"Microphone")
                     ->Control(MIXERCONTROL_CONTROLTYPE_MUTE)->sets);
    EXPECT_FALSE(mixer.SetSourceLineMute(L"microphone", 1)) << "names compare exactly";
    EXPECT_FALSE(mixer.SetSourceLineMute(L"Aux", 1)) << "no mute control";
    EXPECT_FALSE(mixer.SetSourceLineMute(L"Nothing", 1));

    ScriptedControl* master = card.Destination(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS)
                                  ->Control(MIXERCONTROL_CONTROLTYPE_VOLUME);
    master->minimum = 100;
    master->maximum = 60000;
    struct Case { int set, stored; } cases[] = {{5000, 5000}, {70000, 60000}, {-5, 100}, {0, 100}, {60000, 60000}};
    for (const Case& c : cases) {
        EXPECT_TRUE(mixer.SetSpeakerVolume(c.set));
        int lo = -1, hi = -1, value = -1;
        EXPECT_TRUE(mixer.GetSpeakerVolume(&lo, &hi, &value));
        EXPECT_EQ(100, lo);
        EXPECT_EQ(60000, hi);
        EXPECT_EQ(c.stored, value) << c.set;
    }
    EXPECT_TRUE(mixer.SetSpeakerMute(TRUE));
    EXPECT_EQ(1, card.Destination(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS)->Control(MIXERCONTROL_CONTROLTYPE_MUTE)->value);
    EXPECT_TRUE(mixer.SetSpeakerMute(FALSE));
    EXPECT_EQ(0, card.Destination(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS)->Control(MIXERCONTROL_CONTROLTYPE_MUTE)->value);
}

TEST(MixerControl, MatchesMixerNamesToAudioInputs)
{
    CScriptedMixer scripted;
    scripted.mixers = {CScriptedMixer::SoundCard(L"PulseAud"), CScriptedMixer::SoundCard(L"No Such Input")};
    CMixerControl mixer;
    ASSERT_TRUE(mixer.Open());
    EXPECT_STREQ(L"PulseAudio", mixer.GetDevices()->entries[0].name);
    EXPECT_STREQ(L"No Such Input", mixer.GetDevices()->entries[1].name);
}

// Wine's own mixer: one "Master Volume" destination per device, whose volume and
// mute last for the process.
TEST(MixerControl, OpensWinesMixerAndReadsSpeakerSettingsBack)
{
    CMixerControl mixer;
    ASSERT_TRUE(mixer.Open());
    EXPECT_GE(mixer.GetSpeakerSources()->count, 1);
    EXPECT_GE(mixer.GetRecordSources()->count, 1);
    int lo = -1, hi = -1, before = -1;
    ASSERT_TRUE(mixer.GetSpeakerVolume(&lo, &hi, &before));
    EXPECT_EQ(0, lo);
    EXPECT_EQ(65535, hi);
    EXPECT_TRUE(mixer.SetSpeakerVolume(12345));
    int value = -1;
    EXPECT_TRUE(mixer.GetSpeakerVolume(nullptr, nullptr, &value));
    EXPECT_EQ(12345, value);
    EXPECT_TRUE(mixer.SetSpeakerVolume(before));

    // The speakers' mute, read through a handle of our own.
    UINT id = mixer.GetDevices()->entries[0].mixerId;
    for (int i = 0; i < mixer.GetDevices()->count; ++i)
        if (mixer.GetDevices()->entries[i].flags & CMixerControl::HasSpeakers) {
            id = mixer.GetDevices()->entries[i].mixerId;
            break;
        }
    auto readMute = [&]() -> LONG {
        HMIXER h = nullptr;
        if (mixerOpen(&h, id, 0, 0, 0) != MMSYSERR_NOERROR) return -1;
        MIXERLINEW line = {sizeof line};
        line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
        MIXERCONTROLW control = {sizeof control};
        MIXERLINECONTROLSW query = {sizeof query};
        MIXERCONTROLDETAILS_BOOLEAN v = {-1};
        MIXERCONTROLDETAILS details = {sizeof details};
        if (mixerGetLineInfoW((HMIXEROBJ)h, &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) == 0) {
            query.dwLineID = line.dwLineID;
            query.dwControlType = MIXERCONTROL_CONTROLTYPE_MUTE;
            query.cControls = 1;
            query.cbmxctrl = sizeof control;
            query.pamxctrl = &control;
            if (mixerGetLineControlsW((HMIXEROBJ)h, &query, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) == 0) {
                details.dwControlID = control.dwControlID;
                details.cChannels = 1;
                details.cbDetails = sizeof v;
                details.paDetails = &v;
                mixerGetControlDetailsW((HMIXEROBJ)h, &details, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE);
            }
        }
        mixerClose(h);
        return v.fValue;
    };
    EXPECT_TRUE(mixer.SetSpeakerMute(TRUE));
    EXPECT_EQ(1, readMute());
    EXPECT_TRUE(mixer.SetSpeakerMute(FALSE));
    EXPECT_EQ(0, readMute());
    mixer.Close();
    EXPECT_FALSE(mixer.SetSpeakerVolume(1));
}
