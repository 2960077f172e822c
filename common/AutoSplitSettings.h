// The automatic-split settings the recorder and the wizard share on the user key.
// A stored value of 0 or one that does not fit a positive int reads as its
// default: a zero or negative threshold, silence or gap would cut a recording at
// every block.
#pragma once
#include <windows.h>

struct AutoSplitSettings {
    DWORD threshold;    // "AutoSplitThresold"
    DWORD silentTime;   // "AutoSplitSilentTime " (blocks)
    DWORD minDuration;  // "AutoSplitMinDuration" (seconds)
};

// Reads the three values in that order (each default written back when missing).
AutoSplitSettings ReadAutoSplitSettings(const wchar_t* regKey);
