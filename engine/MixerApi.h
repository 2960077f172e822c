// The winmm mixer functions that the input mixer control calls, as one table, so
// that tests can put a scripted sound card in place of the machine's.
#pragma once
#include <windows.h>
#include <mmsystem.h>

struct MixerApi {
    UINT(WINAPI* getNumDevs)();
    MMRESULT(WINAPI* getDevCaps)(UINT_PTR id, MIXERCAPSW* caps, UINT size);
    MMRESULT(WINAPI* open)(HMIXER* mixer, UINT id, DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
    MMRESULT(WINAPI* close)(HMIXER mixer);
    MMRESULT(WINAPI* getLineInfo)(HMIXEROBJ mixer, MIXERLINEW* line, DWORD flags);
    MMRESULT(WINAPI* getLineControls)(HMIXEROBJ mixer, MIXERLINECONTROLSW* controls, DWORD flags);
    MMRESULT(WINAPI* getControlDetails)(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags);
    MMRESULT(WINAPI* setControlDetails)(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags);
    UINT(WINAPI* waveInGetNumDevs)();
};

// The platform's winmm functions.
const MixerApi& WinmmMixerApi();
