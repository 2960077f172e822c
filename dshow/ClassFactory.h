// Class factory and the module entry points behind DllGetClassObject and
// DllCanUnloadNow. A module lists its classes in a table of templates and
// forwards its exports to the functions here.
#pragma once
#include "Unknown.h"
#include <dshow.h>

typedef CUnknown* (*CreateInstanceFunction)(HRESULT* result);

struct CFactoryTemplate {
    const wchar_t* name;              // COM class name, and the filter's registered name
    const CLSID* clsid;
    CreateInstanceFunction create;    // sets *result to E_OUTOFMEMORY when it returns null
    const REGFILTER2* filter;         // null for classes that are not filters (property pages)
};

class CClassFactory : public IClassFactory, public CUnknown {
public:
    explicit CClassFactory(const CFactoryTemplate* entry) : m_entry(entry) {}
    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    IUnknown* GetOwnerUnknown() override { return static_cast<IClassFactory*>(this); }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    const CFactoryTemplate* m_entry;
};

HRESULT DShowGetClassObject(const CFactoryTemplate* templates, int count, REFCLSID clsid, REFIID riid, void** ppv);
HRESULT DShowCanUnloadNow();

// Creates one class of a table directly, as CoCreateInstance would (tests and
// programs that link a filter statically).
HRESULT DShowCreateInstance(const CFactoryTemplate& entry, REFIID riid, void** ppv);
