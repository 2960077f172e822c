#include "MixerApi.h"

const MixerApi& WinmmMixerApi()
{
    static const MixerApi api = {
        mixerGetNumDevs, mixerGetDevCapsW, mixerOpen, mixerClose, mixerGetLineInfoW,
        mixerGetLineControlsW, mixerGetControlDetailsW, mixerSetControlDetails, waveInGetNumDevs,
    };
    return api;
}
