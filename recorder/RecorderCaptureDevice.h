// The recorder's one capture device: every page and dialog of the program opens,
// monitors and records the sound input through it.
#pragma once
#include "CaptureDevice.h"

extern CCaptureDevice g_CaptureDevice;
