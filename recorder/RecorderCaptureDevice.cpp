#include "RecorderCaptureDevice.h"

CCaptureDevice g_CaptureDevice;
