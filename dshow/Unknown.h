// Reference counting and QueryInterface for the kit's COM objects. Aggregation
// is not supported: every object is its own controlling unknown.
#pragma once
#include <windows.h>
#include <unknwn.h>

class CUnknown {
public:
    CUnknown();
    virtual ~CUnknown();
    CUnknown(const CUnknown&) = delete;
    CUnknown& operator=(const CUnknown&) = delete;

    // Answers IUnknown; derived classes answer their own interfaces first.
    virtual HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv);
    ULONG NonDelegatingAddRef();
    ULONG NonDelegatingRelease();

    // The IUnknown every interface of this object hands back for IID_IUnknown.
    virtual IUnknown* GetOwnerUnknown() = 0;

protected:
    volatile LONG m_refCount = 0;
};

// Declares the three IUnknown methods of a class that derives from COM
// interfaces and from CUnknown, forwarding them to the non-delegating ones.
#define DECLARE_IUNKNOWN                                                          \
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override               \
    { return NonDelegatingQueryInterface(riid, ppv); }                           \
    STDMETHODIMP_(ULONG) AddRef() override { return NonDelegatingAddRef(); }     \
    STDMETHODIMP_(ULONG) Release() override { return NonDelegatingRelease(); }

// Stores an interface pointer with a reference for the caller.
HRESULT GetInterface(IUnknown* unk, void** ppv);

// Live objects and server locks of this module, for DllCanUnloadNow.
LONG DShowObjectCount();
void DShowLockServer(bool lock);

// The module (DLL or program) that the kit is linked into.
HINSTANCE DShowModuleInstance();
