// A DirectSound capture device of a test's making, for the enumerator's device
// list: the wave-in number DirectShow knows it by and its interface path.
#pragma once
#include "DSoundEnumerator.h"

// The enumerator that takes it (AddCaptureDevice) owns it.
DSoundDevice* MakeDSoundDevice(int waveId, const wchar_t* interfacePath);
