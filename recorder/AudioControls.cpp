#include "AudioControls.h"

// Built in this order before start-up; the keeper only keeps references to the
// other two, so it may be built before the core-audio instance.
CMixerControl g_MixerControl;
CCoreAudioCtrl g_CoreAudioCtrl(g_NVCoreAudio, g_MixerControl);
CNVCoreAudio g_NVCoreAudio;
