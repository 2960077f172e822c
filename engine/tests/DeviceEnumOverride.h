// Test support: the system device enumerator as this process sees it while a
// CDeviceEnumOverride lives: the real one, with each category's list of device
// monikers passed through an edit first (reordered, or with devices added).
#pragma once
#include <windows.h>
#include <dshow.h>
#include <functional>
#include <vector>
#include "ComPtr.h"
#include "TestComObject.h"

using MonikerList = std::vector<CComPtr<IMoniker>>;

class CDeviceEnumOverride {
public:
    using Edit = std::function<void(REFCLSID category, MonikerList& devices)>;
    explicit CDeviceEnumOverride(Edit edit);
    ~CDeviceEnumOverride();
    CDeviceEnumOverride(const CDeviceEnumOverride&) = delete;
    CDeviceEnumOverride& operator=(const CDeviceEnumOverride&) = delete;
    bool Ok() const { return m_cookie != 0; }

private:
    class CFactory;
    bool m_com = false;
    CFactory* m_factory = nullptr;
    DWORD m_cookie = 0;
};
