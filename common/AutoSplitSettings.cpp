#include "AutoSplitSettings.h"
#include "SettingsStore.h"

namespace {
const DWORD kLargest = 0x7FFFFFFF;  // the split code takes the values as int
}

AutoSplitSettings ReadAutoSplitSettings(const wchar_t* regKey)
{
    AutoSplitSettings s;
    s.threshold = ReadSettingNumberInRange(regKey, L"AutoSplitThresold", 3000, 1, kLargest);
    s.silentTime = ReadSettingNumberInRange(regKey, L"AutoSplitSilentTime ", 50, 1, kLargest);
    s.minDuration = ReadSettingNumberInRange(regKey, L"AutoSplitMinDuration", 10, 1, kLargest);
    return s;
}
