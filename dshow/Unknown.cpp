#include "Unknown.h"

namespace {
volatile LONG g_objects = 0;
volatile LONG g_serverLocks = 0;
}

CUnknown::CUnknown() { InterlockedIncrement(&g_objects); }

CUnknown::~CUnknown() { InterlockedDecrement(&g_objects); }

HRESULT CUnknown::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown)
        return GetInterface(GetOwnerUnknown(), ppv);
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG CUnknown::NonDelegatingAddRef()
{
    return (ULONG)InterlockedIncrement(&m_refCount);
}

ULONG CUnknown::NonDelegatingRelease()
{
    LONG left = InterlockedDecrement(&m_refCount);
    if (left == 0) {
        // Guard against a release from inside the destructor.
        m_refCount = 1;
        delete this;
    }
    return (ULONG)(left > 0 ? left : 0);
}

HRESULT GetInterface(IUnknown* unk, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = unk;
    unk->AddRef();
    return S_OK;
}

LONG DShowObjectCount() { return g_objects + g_serverLocks; }

void DShowLockServer(bool lock)
{
    if (lock)
        InterlockedIncrement(&g_serverLocks);
    else
        InterlockedDecrement(&g_serverLocks);
}

HINSTANCE DShowModuleInstance()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&DShowModuleInstance), &module);
    return module;
}
