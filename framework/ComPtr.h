// CComPtr / CComQIPtr: reference-holding COM pointers that never throw.
#pragma once
#include <unknwn.h>
#include <memory>

template <class T>
class CComPtr {
public:
    CComPtr() = default;
    CComPtr(T* p) : p(p) { if (p) p->AddRef(); }
    CComPtr(const CComPtr& o) : CComPtr(o.p) {}
    CComPtr(CComPtr&& o) noexcept : p(o.p) { o.p = nullptr; }
    ~CComPtr() { Release(); }

    CComPtr& operator=(T* q)
    {
        if (q) q->AddRef();
        Release();
        p = q;
        return *this;
    }
    CComPtr& operator=(const CComPtr& o) { return *this = o.p; }
    CComPtr& operator=(CComPtr&& o) noexcept
    {
        if (this != std::addressof(o)) { Release(); p = o.p; o.p = nullptr; }
        return *this;
    }

    void Release() { if (p) { T* q = p; p = nullptr; q->Release(); } }
    // Hands out the address for an out-parameter; the pointer must be empty.
    T** operator&() { return &p; }
    T* operator->() const { return p; }
    operator T*() const { return p; }
    bool operator!() const { return p == nullptr; }
    T* Detach() { T* q = p; p = nullptr; return q; }
    void Attach(T* q) { Release(); p = q; }

    template <class Q>
    HRESULT QueryInterface(Q** out) const
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        return p ? p->QueryInterface(__uuidof(Q), (void**)out) : E_NOINTERFACE;
    }
    HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer = nullptr, DWORD ctx = CLSCTX_INPROC_SERVER)
    {
        Release();
        return ::CoCreateInstance(clsid, outer, ctx, __uuidof(T), (void**)&p);
    }

    T* p = nullptr;
};

template <class T>
class CComQIPtr : public CComPtr<T> {
public:
    CComQIPtr() = default;
    CComQIPtr(T* q) : CComPtr<T>(q) {}
    CComQIPtr(IUnknown* unk) { if (unk) unk->QueryInterface(__uuidof(T), (void**)&this->p); }
    CComQIPtr& operator=(IUnknown* unk)
    {
        T* q = nullptr;
        if (unk) unk->QueryInterface(__uuidof(T), (void**)&q);
        this->Attach(q);
        return *this;
    }
};
