// A heap COM object of one interface for tests: counted, deleted at zero.
#pragma once
#include <windows.h>
#include <objbase.h>

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
