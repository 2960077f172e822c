// Capture devices of our own in the platform's device lists, for the tests of
// the capture device: a live tone source whose pin accepts, refuses or lacks
// the buffer suggestion and whose filter may offer a property page, listed
// under a friendly name in the audio- or video-input category. The system
// enumerator of the process lists the real devices and then these.
#pragma once
#include <windows.h>
#include <dshow.h>
#include <ocidl.h>
#include <olectl.h>
#include <atomic>
#include <functional>
#include <string>
#include <vector>
#include "ComPtr.h"
#include "DeviceEnumOverride.h"
#include "Source.h"

enum class BufferSuggestion { Accepted, Refused, NotOffered };

struct FakeDeviceSpec {
    std::wstring name;
    CLSID category;
    BufferSuggestion suggestion = BufferSuggestion::Accepted;
    bool propertyPage = false;
    // Makes the device's filter (one reference) in place of the tone source.
    std::function<IBaseFilter*()> make;
};

// What the property page saw; reset by the test.
struct FakePageLog {
    std::atomic<int> created{0}, activated{0}, objects{0};
    std::atomic<IUnknown*> object{nullptr};   // identity of the object it was given
};
extern FakePageLog g_fakePageLog;

// Lists the given devices after the real ones while it lives.
class CFakeDeviceList {
public:
    explicit CFakeDeviceList(std::vector<FakeDeviceSpec> devices);
    ~CFakeDeviceList();
    bool Ok() const { return m_devices.Ok() && m_pageCookie; }

private:
    CDeviceEnumOverride m_devices;
    bool m_com = false;
    DWORD m_pageCookie = 0;
    IClassFactory* m_pageFactory = nullptr;
};
