#include "CaptureBoxTable.h"

const wchar_t CaptureBoxNames[CaptureBoxNameCount][CaptureBoxNameLength] = {
    L"USB2.0 KAPBOX", L"USB2.0 LUMBOX", L"USB2.0 LUM BOX", L"USB2.0 ORBBOX", L"VELTRA VT 1160", L"NV KAPBOX",
};

const wchar_t CaptureBoxFilterName[] = L"USB 2.0 KAPBOX";

bool IsCaptureBoxName(const CString& deviceName)
{
    CString upper = deviceName;
    upper.MakeUpper();
    for (const wchar_t* row : CaptureBoxNames)
        if (upper.Find(row) >= 0) return true;
    return false;
}
