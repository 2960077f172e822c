#include "CaptureDeviceEvents.h"
#include <cstddef>

namespace {
// KSCATEGORY_CAPTURE.
const GUID kCaptureInterfaceClass = {0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};
}  // namespace

HDEVNOTIFY RegisterCaptureDeviceEvents(HWND window)
{
    DEV_BROADCAST_DEVICEINTERFACE_W filter = {};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kCaptureInterfaceClass;
    return RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

CString VidPidOfBroadcast(const DEV_BROADCAST_HDR* broadcast)
{
    if (!broadcast || broadcast->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return CString();
    const auto* device = (const DEV_BROADCAST_DEVICEINTERFACE_W*)broadcast;
    // The name ends at its terminator or at the end of the broadcast, whichever comes first.
    const size_t nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    if (broadcast->dbch_size <= nameOffset) return CString();
    size_t maxChars = (broadcast->dbch_size - nameOffset) / sizeof(wchar_t);
    size_t length = 0;
    while (length < maxChars && device->dbcc_name[length]) ++length;
    CString name(device->dbcc_name, (int)length);
    int classStart = name.Find(L"#{");
    if (classStart >= 0) name = name.Left(classStart);
    name.MakeUpper();
    int vid = name.Find(L"VID_");
    if (vid < 0) return CString();
    name = name.Mid(vid);
    int pid = name.Find(L"PID_");
    if (pid < 0) return CString();
    return name.Left(pid + 8);
}
