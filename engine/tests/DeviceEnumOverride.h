// Test support: the system device enumerator as this process sees it while a
// CDeviceEnumOverride lives: the real one, with each category's list of device
// monikers passed through an edit first (reordered, or with devices added).
#pragma once
#include <windows.h>
#include <dshow.h>
#include <functional>
#include <vector>
#include "ComPtr.h"

// A heap COM object of one interface for tests: counted, deleted at zero.
template <class I> class CTestComObject : public I {
public:
    explicit CTestComObject(REFIID iid) : m_iid(iid) {}
    virtual ~CTestComObject() = default;
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == m_iid || AlsoAnswers(riid)) {
            *ppv = static_cast<I*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override
    {
        ULONG r = --m_refs;
        if (!r) delete this;
        return r;
    }

protected:
    // Interfaces that I derives from.
    virtual bool AlsoAnswers(REFIID) const { return false; }

private:
    IID m_iid;
    ULONG m_refs = 0;
};

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
