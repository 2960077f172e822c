#include "DeviceEnumOverride.h"

namespace {

class CMonikerList : public CTestComObject<IEnumMoniker> {
public:
    explicit CMonikerList(MonikerList list) : CTestComObject(IID_IEnumMoniker), m_list(std::move(list)) {}
    STDMETHODIMP Next(ULONG n, IMoniker** out, ULONG* fetched) override
    {
        ULONG got = 0;
        while (got < n && m_next < m_list.size()) {
            out[got] = m_list[m_next++];
            out[got++]->AddRef();
        }
        if (fetched) *fetched = got;
        return got == n ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG n) override
    {
        m_next += n;
        return m_next <= m_list.size() ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override
    {
        m_next = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumMoniker**) override { return E_NOTIMPL; }

private:
    MonikerList m_list;
    size_t m_next = 0;
};

} // namespace

// Class object and enumerator in one, living as long as the override.
class CDeviceEnumOverride::CFactory : public ICreateDevEnum, public IClassFactory {
public:
    explicit CFactory(Edit edit) : m_edit(std::move(edit)) { m_real.CoCreateInstance(CLSID_SystemDeviceEnum); }
    virtual ~CFactory() = default;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) *ppv = static_cast<IClassFactory*>(this);
        else if (riid == IID_ICreateDevEnum) *ppv = static_cast<ICreateDevEnum*>(this);
        else {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        return outer ? CLASS_E_NOAGGREGATION : QueryInterface(riid, ppv);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

    STDMETHODIMP CreateClassEnumerator(REFCLSID category, IEnumMoniker** out, DWORD flags) override
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        MonikerList list;
        CComPtr<IEnumMoniker> real;
        if (m_real && m_real->CreateClassEnumerator(category, &real, flags) == S_OK && real) {
            for (;;) {
                CComPtr<IMoniker> m;
                if (real->Next(1, &m, nullptr) != S_OK) break;
                list.push_back(m);
            }
        }
        m_edit(category, list);
        if (list.empty()) return S_FALSE;
        *out = new CMonikerList(std::move(list));
        (*out)->AddRef();
        return S_OK;
    }

    bool HasReal() const { return m_real != nullptr; }

private:
    CComPtr<ICreateDevEnum> m_real;
    Edit m_edit;
};

CDeviceEnumOverride::CDeviceEnumOverride(Edit edit)
{
    m_com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    m_factory = new CFactory(std::move(edit));
    if (m_factory->HasReal())
        CoRegisterClassObject(CLSID_SystemDeviceEnum, static_cast<IClassFactory*>(m_factory), CLSCTX_INPROC_SERVER,
                              REGCLS_MULTIPLEUSE, &m_cookie);
}

CDeviceEnumOverride::~CDeviceEnumOverride()
{
    if (m_cookie) CoRevokeClassObject(m_cookie);
    delete m_factory;
    if (m_com) CoUninitialize();
}
