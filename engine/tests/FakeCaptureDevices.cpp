#include "FakeCaptureDevices.h"
#include "FakeToneCapturePin.h"

FakePageLog g_fakePageLog;

namespace {

// {6B1E2C90-31D4-4C0A-9E52-170D8A442102}
const CLSID CLSID_FakeToneCapture = {0x6b1e2c90, 0x31d4, 0x4c0a, {0x9e, 0x52, 0x17, 0x0d, 0x8a, 0x44, 0x21, 0x02}};
// {6B1E2C90-31D4-4C0A-9E52-170D8A442103}
const CLSID CLSID_FakeCapturePage = {0x6b1e2c90, 0x31d4, 0x4c0a, {0x9e, 0x52, 0x17, 0x0d, 0x8a, 0x44, 0x21, 0x03}};

class CToneCaptureFilter : public CSource, public ISpecifyPropertyPages {
public:
    explicit CToneCaptureFilter(const FakeDeviceSpec& spec)
        : CSource(L"Fake Capture", CLSID_FakeToneCapture, true), m_pages(spec.propertyPage)
    {
        new CToneCapturePin(this, spec.suggestion);
    }
    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_ISpecifyPropertyPages && m_pages)
            return GetInterface(static_cast<ISpecifyPropertyPages*>(this), ppv);
        return CSource::NonDelegatingQueryInterface(riid, ppv);
    }
    STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_SOURCE; }
    STDMETHODIMP GetPages(CAUUID* pages) override
    {
        if (!pages) return E_POINTER;
        pages->cElems = 1;
        pages->pElems = (GUID*)CoTaskMemAlloc(sizeof(GUID));
        if (!pages->pElems) return E_OUTOFMEMORY;
        pages->pElems[0] = CLSID_FakeCapturePage;
        return S_OK;
    }

private:
    bool m_pages;
};

// A page that shows an empty child window and notes what the frame gave it.
class CFakePage : public CTestComObject<IPropertyPage> {
public:
    CFakePage() : CTestComObject(IID_IPropertyPage) {}
    STDMETHODIMP SetPageSite(IPropertyPageSite*) override { return S_OK; }
    STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL) override
    {
        m_window = CreateWindowExW(0, L"STATIC", L"Fake page", WS_CHILD, rect->left, rect->top,
                                   rect->right - rect->left, rect->bottom - rect->top, parent, nullptr, nullptr, nullptr);
        ++g_fakePageLog.activated;
        return m_window ? S_OK : E_FAIL;
    }
    STDMETHODIMP Deactivate() override
    {
        if (m_window) DestroyWindow(m_window);
        m_window = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override
    {
        if (!info) return E_POINTER;
        ZeroMemory(info, sizeof(*info));
        info->cb = sizeof(*info);
        static const wchar_t title[] = L"Fake";
        info->pszTitle = (LPOLESTR)CoTaskMemAlloc(sizeof(title));
        if (info->pszTitle) memcpy(info->pszTitle, title, sizeof(title));
        info->size.cx = 200;
        info->size.cy = 100;
        return S_OK;
    }
    STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override
    {
        if (count && objects && objects[0]) {
            g_fakePageLog.objects = (int)count;
            CComPtr<IUnknown> identity;
            objects[0]->QueryInterface(IID_IUnknown, (void**)&identity);
            g_fakePageLog.object = identity.p;
        }
        return S_OK;
    }
    STDMETHODIMP Show(UINT cmd) override
    {
        if (m_window) ShowWindow(m_window, cmd);
        return S_OK;
    }
    STDMETHODIMP Move(LPCRECT rect) override
    {
        if (m_window) MoveWindow(m_window, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
        return S_OK;
    }
    STDMETHODIMP IsPageDirty() override { return S_FALSE; }
    STDMETHODIMP Apply() override { return S_OK; }
    STDMETHODIMP Help(LPCOLESTR) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }

private:
    HWND m_window = nullptr;
};

class CPageFactory : public IClassFactory {
public:
    virtual ~CPageFactory() = default;
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = this;
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (outer) return CLASS_E_NOAGGREGATION;
        ++g_fakePageLog.created;
        CFakePage* page = new CFakePage;
        page->AddRef();
        HRESULT hr = page->QueryInterface(riid, ppv);
        page->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

class CFakeBag : public CTestComObject<IPropertyBag> {
public:
    explicit CFakeBag(const std::wstring& name) : CTestComObject(IID_IPropertyBag), m_name(name) {}
    STDMETHODIMP Read(LPCOLESTR prop, VARIANT* value, IErrorLog*) override
    {
        if (!prop || !value || lstrcmpW(prop, L"FriendlyName") != 0) return E_INVALIDARG;
        VariantClear(value);
        value->vt = VT_BSTR;
        value->bstrVal = SysAllocString(m_name.c_str());
        return S_OK;
    }
    STDMETHODIMP Write(LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }

private:
    std::wstring m_name;
};

class CFakeMoniker : public CTestComObject<IMoniker> {
public:
    explicit CFakeMoniker(const FakeDeviceSpec& spec) : CTestComObject(IID_IMoniker), m_spec(spec) {}
    bool AlsoAnswers(REFIID riid) const override { return riid == IID_IPersist || riid == IID_IPersistStream; }
    STDMETHODIMP GetClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(IStream*) override { return E_NOTIMPL; }
    STDMETHODIMP Save(IStream*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP BindToObject(IBindCtx*, IMoniker*, REFIID riid, void** ppv) override
    {
        if (m_spec.make) {
            IBaseFilter* made = m_spec.make();
            if (!made) return E_OUTOFMEMORY;
            HRESULT hr = made->QueryInterface(riid, ppv);
            made->Release();
            return hr;
        }
        CToneCaptureFilter* filter = new CToneCaptureFilter(m_spec);
        return filter->NonDelegatingQueryInterface(riid, ppv) == S_OK ? S_OK : (delete filter, E_NOINTERFACE);
    }
    STDMETHODIMP BindToStorage(IBindCtx*, IMoniker*, REFIID riid, void** ppv) override
    {
        if (riid != IID_IPropertyBag) return E_NOINTERFACE;
        CFakeBag* bag = new CFakeBag(m_spec.name);
        return bag->QueryInterface(riid, ppv);
    }
    STDMETHODIMP Reduce(IBindCtx*, DWORD, IMoniker**, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP ComposeWith(IMoniker*, BOOL, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP Enum(BOOL, IEnumMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP IsEqual(IMoniker* other) override { return other == this ? S_OK : S_FALSE; }
    STDMETHODIMP Hash(DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP IsRunning(IBindCtx*, IMoniker*, IMoniker*) override { return S_FALSE; }
    STDMETHODIMP GetTimeOfLastChange(IBindCtx*, IMoniker*, FILETIME*) override { return E_NOTIMPL; }
    STDMETHODIMP Inverse(IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP CommonPrefixWith(IMoniker*, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP RelativePathTo(IMoniker*, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetDisplayName(IBindCtx*, IMoniker*, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP ParseDisplayName(IBindCtx*, IMoniker*, LPOLESTR, ULONG*, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP IsSystemMoniker(DWORD* kind) override
    {
        if (kind) *kind = MKSYS_NONE;
        return S_FALSE;
    }

private:
    FakeDeviceSpec m_spec;
};

} // namespace

CFakeDeviceList::CFakeDeviceList(std::vector<FakeDeviceSpec> devices)
    : m_devices([devices](REFCLSID category, MonikerList& list) {
          for (const FakeDeviceSpec& d : devices)
              if (d.category == category) list.emplace_back(new CFakeMoniker(d));
      })
{
    m_com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    m_pageFactory = new CPageFactory;
    CoRegisterClassObject(CLSID_FakeCapturePage, m_pageFactory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                          &m_pageCookie);
}

CFakeDeviceList::~CFakeDeviceList()
{
    if (m_pageCookie) CoRevokeClassObject(m_pageCookie);
    delete static_cast<CPageFactory*>(m_pageFactory);
    if (m_com) CoUninitialize();
}
