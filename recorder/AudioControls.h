// The recorder's process-wide sound-card controls: the input mixer, the mute keeper
// and the core-audio library's instance. The main dialog mutes the playback
// sources through them while it is open.
#pragma once
#include "CoreAudioCtrl.h"
#include "MixerControl.h"
#include "NVCoreAudio.h"

extern CMixerControl g_MixerControl;
extern CCoreAudioCtrl g_CoreAudioCtrl;
extern CNVCoreAudio g_NVCoreAudio;
