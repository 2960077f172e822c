// The maker's USB video capture boxes, known by their device names: their audio
// input carries sound only while the box's video filter runs with its crossbar
// routed to an input connector.
#pragma once
#include "String.h"

const int CaptureBoxNameCount = 6;
const int CaptureBoxNameLength = 100;
extern const wchar_t CaptureBoxNames[CaptureBoxNameCount][CaptureBoxNameLength];

// The name the box's video filter takes in a capture graph, whichever box it is.
extern const wchar_t CaptureBoxFilterName[];

// Whether a device name names a capture box (any letter case).
bool IsCaptureBoxName(const CString& deviceName);
