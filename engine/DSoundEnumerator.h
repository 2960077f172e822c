// DirectSound capture and render devices with their wave ids and USB VID/PID
// texts, and the mapping from that text to DirectShow audio-input devices.
#pragma once
#include <windows.h>
#include <vector>
#include "String.h"

// One DirectSound device as read through DirectSound's private property set.
class DSoundDevice {
public:
    virtual ~DSoundDevice() = default;

    GUID guid = GUID_NULL;
    int waveDeviceId = -1;               // -1 until the description was read
    CString interfacePath;               // device interface path, may be empty
    CString vidPid = L"VID_0000&PID_0000";
};

class CDSoundEnumerator {
public:
    CDSoundEnumerator() = default;
    CDSoundEnumerator(const CDSoundEnumerator&) = delete;
    CDSoundEnumerator& operator=(const CDSoundEnumerator&) = delete;
    virtual ~CDSoundEnumerator();

    // Fills both lists afresh (capture devices, then render devices).
    void Enumerate();
    // While set, Enumerate fills the lists through this function instead of
    // DirectSound (machines without USB devices: tests give made-up ones).
    using DeviceSource = void (*)(CDSoundEnumerator& enumerator);
    static void SetDeviceSource(DeviceSource source);

    // DirectShow friendly name of the capture device with that VID/PID, or empty.
    CString GetFriendlyNameByVidPid(const wchar_t* vidPid) const;
    // VID/PID text of the capture device behind a DirectShow audio-input name,
    // or "NULL" when the device has none or is not found.
    CString GetVidPidByFriendlyName(const wchar_t* friendlyName) const;
    // Friendly name of the first device of the known USB table that is present.
    CString FindKnownUsbDevice() const;
    // Wave-in id of the capture device whose interface path carries the text; -1 if none.
    int GetWaveInIdByVidPid(const wchar_t* vidPid) const;

    // "VID_xxxx&PID_xxxx" cut from a device interface path, upper case; "NULL" if absent.
    static CString VidPidFromInterfacePath(const wchar_t* path);

    const std::vector<DSoundDevice*>& GetCaptureDevices() const { return m_captureDevices; }
    const std::vector<DSoundDevice*>& GetRenderDevices() const { return m_renderDevices; }
    // Takes ownership; used by Enumerate and by callers that know a device already.
    void AddCaptureDevice(DSoundDevice* device) { m_captureDevices.push_back(device); }
    void AddRenderDevice(DSoundDevice* device) { m_renderDevices.push_back(device); }

    static const int KnownUsbDeviceCount = 3;
    static const wchar_t* const KnownUsbVidPid[KnownUsbDeviceCount];
    static const wchar_t* const KnownUsbName[KnownUsbDeviceCount];

private:
    static DeviceSource s_deviceSource;
    void DeleteAll();
    static BOOL CALLBACK EnumCallback(LPGUID guid, LPCWSTR description, LPCWSTR module, LPVOID context);

    std::vector<DSoundDevice*> m_captureDevices;
    std::vector<DSoundDevice*> m_renderDevices;
};
