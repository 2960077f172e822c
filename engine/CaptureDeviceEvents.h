// Device-interface events of sound capture devices: the registration a window
// makes to hear of them, and the USB identity of a removed device, compared with
// the open capture device's identity (CCaptureDevice::IsSameDevice).
#pragma once
#include <windows.h>
#include <dbt.h>
#include "String.h"

// Registers the window for arrivals and removals of capture-device interfaces.
HDEVNOTIFY RegisterCaptureDeviceEvents(HWND window);

// "VID_xxxx&PID_xxxx" (upper case) of a device-interface broadcast, read within the
// broadcast's size; empty for another kind of broadcast or a name without both ids.
CString VidPidOfBroadcast(const DEV_BROADCAST_HDR* broadcast);
