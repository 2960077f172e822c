#include "FakeRenderer.h"
#include "BaseFilter.h"
#include "InputPin.h"

FakeRendererControl g_fakeRenderer;

namespace {

class CFakeRenderer;

class CFakeRendererPin : public CBaseInputPin {
public:
    CFakeRendererPin(CBaseFilter* filter, CCritSec* lock) : CBaseInputPin(filter, lock, L"In") {}
    HRESULT CheckMediaType(const CMediaType* mt) override
    {
        const WAVEFORMATEX* f = mt->WaveFormat();
        return mt->majortype == MEDIATYPE_Audio && f && f->wFormatTag == WAVE_FORMAT_PCM ? S_OK : S_FALSE;
    }
    STDMETHODIMP EndOfStream() override { return CheckStreaming(); }
};

class CFakeRenderer : public CBaseFilter {
public:
    CFakeRenderer() : CBaseFilter(L"Fake Failing Renderer", &m_csFilter, CLSID_FakeFailingRenderer, true),
                      m_pin(this, &m_csFilter) {}
    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &m_pin : nullptr; }
    STDMETHODIMP Pause() override
    {
        // Only a start fails (a pause on the way to a stop goes through).
        if (!IsStopped()) return CBaseFilter::Pause();
        int left = g_fakeRenderer.failPauses.load();
        while (left > 0 && !g_fakeRenderer.failPauses.compare_exchange_weak(left, left - 1)) {}
        if (left > 0) {
            ++g_fakeRenderer.failedPauses;
            return E_FAIL;
        }
        return CBaseFilter::Pause();
    }

private:
    CCritSec m_csFilter;
    CFakeRendererPin m_pin;
};

class CFactory : public IClassFactory {
public:
    virtual ~CFactory() = default;
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
        CFakeRenderer* r = new CFakeRenderer;
        r->NonDelegatingAddRef();
        HRESULT hr = r->NonDelegatingQueryInterface(riid, ppv);
        r->NonDelegatingRelease();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

} // namespace

CFakeRendererClass::CFakeRendererClass()
{
    m_com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    m_factory = new CFactory;
    CoRegisterClassObject(CLSID_FakeFailingRenderer, m_factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie);
}

CFakeRendererClass::~CFakeRendererClass()
{
    if (m_cookie) CoRevokeClassObject(m_cookie);
    delete static_cast<CFactory*>(m_factory);
    if (m_com) CoUninitialize();
    g_fakeRenderer.failPauses = 0;
}
