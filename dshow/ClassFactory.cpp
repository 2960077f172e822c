#include "ClassFactory.h"
#include <new>

HRESULT CClassFactory::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IClassFactory)
        return GetInterface(static_cast<IClassFactory*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    return DShowCreateInstance(*m_entry, riid, ppv);
}

STDMETHODIMP CClassFactory::LockServer(BOOL lock)
{
    DShowLockServer(lock != FALSE);
    return S_OK;
}

HRESULT DShowCreateInstance(const CFactoryTemplate& entry, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    HRESULT hr = S_OK;
    CUnknown* object = entry.create(&hr);
    if (!object)
        return FAILED(hr) ? hr : E_OUTOFMEMORY;
    object->NonDelegatingAddRef();
    if (SUCCEEDED(hr))
        hr = object->NonDelegatingQueryInterface(riid, ppv);
    object->NonDelegatingRelease();
    return hr;
}

HRESULT DShowGetClassObject(const CFactoryTemplate* templates, int count, REFCLSID clsid, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IClassFactory)
        return E_NOINTERFACE;
    for (int i = 0; i < count; i++) {
        if (*templates[i].clsid != clsid)
            continue;
        auto* factory = new (std::nothrow) CClassFactory(&templates[i]);
        if (!factory)
            return E_OUTOFMEMORY;
        factory->NonDelegatingAddRef();
        HRESULT hr = factory->NonDelegatingQueryInterface(riid, ppv);
        factory->NonDelegatingRelease();
        return hr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT DShowCanUnloadNow()
{
    return DShowObjectCount() == 0 ? S_OK : S_FALSE;
}
