// Test support: a scripted sound card in place of winmm's mixer functions, for the
// input mixer control. Mixers, destinations, source lines and their controls are
// plain data that tests build, change and read back; opens are counted.
#pragma once
#include <windows.h>
#include <mmsystem.h>
#include <string>
#include <vector>
#include "MixerApi.h"

struct ScriptedControl {
    DWORD type = MIXERCONTROL_CONTROLTYPE_MUTE;
    LONG value = 0;
    DWORD minimum = 0;
    DWORD maximum = 1;
    bool answersWithValue = true;   // false: a read succeeds without writing the value
    int sets = 0;
};

struct ScriptedLine {
    std::wstring name;
    DWORD componentType = 0;
    std::vector<ScriptedControl> controls;
    bool readFails = false;
    ScriptedControl* Control(DWORD type);
};

struct ScriptedDestination : ScriptedLine {
    std::vector<ScriptedLine> sources;
    ScriptedLine* Source(const std::wstring& name);
};

struct ScriptedMixerDevice {
    std::wstring name;
    std::vector<ScriptedDestination> destinations;
    bool capsFail = false;
    bool openFails = false;
    int opens = 0;
    int openHandles = 0;
    ScriptedDestination* Destination(DWORD componentType);
};

class CScriptedMixer {
public:
    // Installs itself as the mixer control's function table for its lifetime.
    CScriptedMixer();
    ~CScriptedMixer();
    CScriptedMixer(const CScriptedMixer&) = delete;
    CScriptedMixer& operator=(const CScriptedMixer&) = delete;

    std::vector<ScriptedMixerDevice> mixers;
    int waveInCounts = 0;

    // A sound card with a speakers destination (volume and mute) fed by Line In,
    // Microphone, CD, Aux, Digital and Wave Out, and a wave-input destination with
    // Line In, Microphone and CD.
    static ScriptedMixerDevice SoundCard(const wchar_t* name);
    // A USB capture device: a wave-input destination first, then speakers.
    static ScriptedMixerDevice UsbDevice(const wchar_t* name);

    int OpenHandles() const;
    static CScriptedMixer* Current();

private:
    MixerApi m_api;
};
