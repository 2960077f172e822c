#include "FakeCaptureBox.h"
#include <uuids.h>
#include <atomic>
#include "BaseFilter.h"
#include "BasePin.h"
#include "FakeToneCapturePin.h"
#include "Source.h"

// {6B1E2C90-31D4-4C0A-9E52-170D8A442110}
const CLSID CLSID_FakeCaptureBox = {0x6b1e2c90, 0x31d4, 0x4c0a, {0x9e, 0x52, 0x17, 0x0d, 0x8a, 0x44, 0x21, 0x10}};

namespace {

// {6B1E2C90-31D4-4C0A-9E52-170D8A442111}
const CLSID CLSID_FakeCrossbar = {0x6b1e2c90, 0x31d4, 0x4c0a, {0x9e, 0x52, 0x17, 0x0d, 0x8a, 0x44, 0x21, 0x11}};

const long kFirstAudioType = 0x1000;
std::atomic<int> g_boxesAlive{0};

HRESULT AnswerPinCategory(const GUID& category, REFGUID set, DWORD id, void* data, DWORD size, DWORD* returned)
{
    if (set != AMPROPSETID_Pin) return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
    if (!data) return E_POINTER;
    if (size < sizeof(GUID)) return E_UNEXPECTED;
    *(GUID*)data = category;
    if (returned) *returned = sizeof(GUID);
    return S_OK;
}

// An analog connection (video or audio signal, no samples) between crossbars and
// the box; with a pin category when one is given.
class CAnalogPin : public CBasePin, public IKsPropertySet {
public:
    CAnalogPin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name, PIN_DIRECTION dir, bool video,
               const GUID& category = GUID_NULL)
        : CBasePin(filter, lock, name, dir), m_video(video), m_category(category)
    {
    }
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return NonDelegatingQueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return NonDelegatingAddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return NonDelegatingRelease(); }
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IKsPropertySet && m_category != GUID_NULL)
            return GetInterface(static_cast<IKsPropertySet*>(this), ppv);
        return CBasePin::NonDelegatingQueryInterface(riid, ppv);
    }
    STDMETHODIMP BeginFlush() override { return S_OK; }
    STDMETHODIMP EndFlush() override { return S_OK; }

    HRESULT CheckMediaType(const CMediaType* mt) override
    {
        return mt->majortype == (m_video ? MEDIATYPE_AnalogVideo : MEDIATYPE_AnalogAudio) ? S_OK : S_FALSE;
    }
    HRESULT GetMediaType(int position, CMediaType* mt) override
    {
        if (position < 0) return E_INVALIDARG;
        if (position > 0) return VFW_S_NO_MORE_ITEMS;
        mt->InitMediaType();
        mt->majortype = m_video ? MEDIATYPE_AnalogVideo : MEDIATYPE_AnalogAudio;
        mt->subtype = m_video ? MEDIASUBTYPE_AnalogVideo_NTSC_M : GUID_NULL;
        mt->formattype = FORMAT_None;
        return S_OK;
    }

    STDMETHODIMP Set(REFGUID, DWORD, void*, DWORD, void*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Get(REFGUID set, DWORD id, void*, DWORD, void* data, DWORD size, DWORD* returned) override
    {
        return AnswerPinCategory(m_category, set, id, data, size, returned);
    }
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override
    {
        if (set != AMPROPSETID_Pin || id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
        if (support) *support = KSPROPERTY_SUPPORT_GET;
        return S_OK;
    }

private:
    bool m_video;
    GUID m_category;
};

class CFakeCrossbar : public CBaseFilter, public IAMCrossbar {
public:
    explicit CFakeCrossbar(const FakeCrossbarSpec& spec)
        : CBaseFilter(L"Fake Crossbar", &m_lock, CLSID_FakeCrossbar), m_spec(spec),
          m_routed(spec.outputs.size(), -1)
    {
        for (const FakeCrossbarPin& p : spec.inputs)
            m_pins.push_back(new CAnalogPin(this, &m_lock, p.name.c_str(), PINDIR_INPUT, p.type < kFirstAudioType));
        for (const FakeCrossbarPin& p : spec.outputs)
            m_pins.push_back(new CAnalogPin(this, &m_lock, p.name.c_str(), PINDIR_OUTPUT, p.type < kFirstAudioType));
    }
    ~CFakeCrossbar() override
    {
        for (CAnalogPin* p : m_pins) delete p;
    }
    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IAMCrossbar) return GetInterface(static_cast<IAMCrossbar*>(this), ppv);
        return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
    }
    int GetPinCount() override { return (int)m_pins.size(); }
    CBasePin* GetPin(int n) override { return n >= 0 && n < (int)m_pins.size() ? m_pins[(size_t)n] : nullptr; }

    STDMETHODIMP get_PinCounts(long* outputs, long* inputs) override
    {
        if (!outputs || !inputs) return E_POINTER;
        *outputs = (long)m_spec.outputs.size();
        *inputs = (long)m_spec.inputs.size();
        return S_OK;
    }
    STDMETHODIMP CanRoute(long out, long in) override
    {
        if (out < 0 || in < 0 || out >= (long)m_spec.outputs.size() || in >= (long)m_spec.inputs.size())
            return E_INVALIDARG;
        bool audioOut = m_spec.outputs[(size_t)out].type >= kFirstAudioType;
        bool audioIn = m_spec.inputs[(size_t)in].type >= kFirstAudioType;
        return audioOut == audioIn ? S_OK : S_FALSE;
    }
    STDMETHODIMP Route(long out, long in) override
    {
        std::lock_guard<std::mutex> hold(m_routeLock);
        m_log.emplace_back(out, in);
        if (CanRoute(out, in) != S_OK) return E_INVALIDARG;
        m_routed[(size_t)out] = in;
        return S_OK;
    }
    STDMETHODIMP get_IsRoutedTo(long out, long* in) override
    {
        if (!in) return E_POINTER;
        if (out < 0 || out >= (long)m_routed.size()) return E_INVALIDARG;
        std::lock_guard<std::mutex> hold(m_routeLock);
        *in = m_routed[(size_t)out];
        return *in < 0 ? S_FALSE : S_OK;
    }
    STDMETHODIMP get_CrossbarPinInfo(BOOL isInput, long index, long* related, long* type) override
    {
        const std::vector<FakeCrossbarPin>& pins = isInput ? m_spec.inputs : m_spec.outputs;
        if (!related || !type) return E_POINTER;
        if (index < 0 || index >= (long)pins.size()) return E_INVALIDARG;
        *related = pins[(size_t)index].related;
        *type = pins[(size_t)index].type;
        return S_OK;
    }

    std::vector<std::pair<long, long>> Log()
    {
        std::lock_guard<std::mutex> hold(m_routeLock);
        return m_log;
    }
    void ClearLog()
    {
        std::lock_guard<std::mutex> hold(m_routeLock);
        m_log.clear();
    }
    const FakeCrossbarSpec& Spec() const { return m_spec; }
    CAnalogPin* Input(long i) { return m_pins[(size_t)i]; }
    CAnalogPin* Output(long i) { return m_pins[m_spec.inputs.size() + (size_t)i]; }

private:
    CCritSec m_lock;
    FakeCrossbarSpec m_spec;
    std::vector<CAnalogPin*> m_pins;
    std::mutex m_routeLock;
    std::vector<long> m_routed;
    std::vector<std::pair<long, long>> m_log;
};

CFakeCrossbar* AsCrossbar(IBaseFilter* filter)
{
    CComPtr<IAMCrossbar> crossbar;
    if (!filter || FAILED(filter->QueryInterface(IID_IAMCrossbar, (void**)&crossbar))) return nullptr;
    return static_cast<CFakeCrossbar*>(crossbar.p);
}

// The box's video capture pin: connected to the null renderer behind the box, it
// agrees small RGB frames but delivers none (what matters to the tests is that the
// video branch runs; a live video thread would only hold up the graph's stop).
class CVideoFramePin : public CBaseOutputPin, public IKsPropertySet {
public:
    static const int kWidth = 32, kHeight = 24;

    CVideoFramePin(CBaseFilter* filter, CCritSec* lock) : CBaseOutputPin(filter, lock, L"Capture") {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return NonDelegatingQueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return NonDelegatingAddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return NonDelegatingRelease(); }
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IKsPropertySet) return GetInterface(static_cast<IKsPropertySet*>(this), ppv);
        return CBaseOutputPin::NonDelegatingQueryInterface(riid, ppv);
    }
    STDMETHODIMP Set(REFGUID, DWORD, void*, DWORD, void*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Get(REFGUID set, DWORD id, void*, DWORD, void* data, DWORD size, DWORD* returned) override
    {
        return AnswerPinCategory(PIN_CATEGORY_CAPTURE, set, id, data, size, returned);
    }
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override
    {
        if (set != AMPROPSETID_Pin || id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
        if (support) *support = KSPROPERTY_SUPPORT_GET;
        return S_OK;
    }

    HRESULT CheckMediaType(const CMediaType* mt) override
    {
        return mt->majortype == MEDIATYPE_Video && mt->subtype == MEDIASUBTYPE_RGB24 ? S_OK : S_FALSE;
    }
    HRESULT GetMediaType(int position, CMediaType* mt) override
    {
        if (position < 0) return E_INVALIDARG;
        if (position > 0) return VFW_S_NO_MORE_ITEMS;
        mt->InitMediaType();
        mt->majortype = MEDIATYPE_Video;
        mt->subtype = MEDIASUBTYPE_RGB24;
        mt->formattype = FORMAT_VideoInfo;
        mt->lSampleSize = kWidth * kHeight * 3;
        VIDEOINFOHEADER* vih = (VIDEOINFOHEADER*)mt->AllocFormatBuffer(sizeof(VIDEOINFOHEADER));
        if (!vih) return E_OUTOFMEMORY;
        ZeroMemory(vih, sizeof *vih);
        vih->AvgTimePerFrame = 1000000;
        vih->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        vih->bmiHeader.biWidth = kWidth;
        vih->bmiHeader.biHeight = kHeight;
        vih->bmiHeader.biPlanes = 1;
        vih->bmiHeader.biBitCount = 24;
        vih->bmiHeader.biSizeImage = kWidth * kHeight * 3;
        return S_OK;
    }
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES*) override
    {
        ALLOCATOR_PROPERTIES want = {1, kWidth * kHeight * 3, 1, 0}, got = {};
        HRESULT hr = allocator->SetProperties(&want, &got);
        return FAILED(hr) ? hr : got.cbBuffer >= want.cbBuffer ? S_OK : E_FAIL;
    }
};

class CFakeCaptureBox : public CSource {
public:
    explicit CFakeCaptureBox(const FakeBoxSpec& spec)
        : CSource(L"Fake Capture Box", CLSID_FakeCaptureBox, true), m_spec(spec)
    {
        m_video = new CVideoFramePin(this, &m_csFilter);
        if (spec.audioPin)
            new CToneCapturePin(this, BufferSuggestion::Accepted, [this] { return CarriesTone(); }, L"Audio");
        m_videoIn = new CAnalogPin(this, &m_csFilter, L"Analog Video In", PINDIR_INPUT, true, PIN_CATEGORY_ANALOGVIDEOIN);
        m_audioIn = new CAnalogPin(this, &m_csFilter, L"Analog Audio In", PINDIR_INPUT, false);
        ++g_boxesAlive;
    }
    ~CFakeCaptureBox() override
    {
        --g_boxesAlive;
        delete m_video;
        delete m_videoIn;
        delete m_audioIn;
    }
    STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_SOURCE; }
    // The video capture pin first (the box's output 0), its audio, the analog inputs.
    int GetPinCount() override { return CSource::GetPinCount() + 3; }
    CBasePin* GetPin(int n) override
    {
        int streams = CSource::GetPinCount();
        if (n == 0) return m_video;
        if (n <= streams) return CSource::GetPin(n - 1);
        return n == streams + 1 ? m_videoIn : n == streams + 2 ? m_audioIn : nullptr;
    }

    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override
    {
        HRESULT hr = CSource::JoinFilterGraph(graph, name);
        if (FAILED(hr) || !graph) return hr;
        // The box brings its crossbars along, as the device's mediums do on Windows.
        IPin* videoTarget = m_videoIn;
        IPin* audioTarget = m_audioIn;
        for (size_t k = 0; k < m_spec.crossbars.size(); ++k) {
            CFakeCrossbar* crossbar = AsCrossbar(m_spec.crossbars[k]);
            if (!crossbar) break;
            wchar_t crossbarName[40];
            wsprintfW(crossbarName, k == 0 ? L"Crossbar" : L"Crossbar %d", (int)k + 1);
            if (FAILED(graph->AddFilter(m_spec.crossbars[k], crossbarName))) break;
            const FakeCrossbarSpec& spec = crossbar->Spec();
            graph->ConnectDirect(crossbar->Output(0), videoTarget, nullptr);
            long audioOut = spec.outputs[0].related;
            if (audioOut >= 0 && audioTarget) graph->ConnectDirect(crossbar->Output(audioOut), audioTarget, nullptr);
            // The next crossbar feeds this one's first video input and its audio.
            videoTarget = crossbar->Input(0);
            long audioIn = spec.inputs[0].related;
            audioTarget = audioIn >= 0 ? crossbar->Input(audioIn) : nullptr;
        }
        return S_OK;
    }

    // The video runs and the crossbars route a composite connector, each with the
    // audio that belongs to the route.
    bool CarriesTone()
    {
        if (State() != State_Running || !m_video->IsConnected()) return false;
        IPin* peer = m_videoIn->GetConnected();
        for (int depth = 0; peer && depth < 8; ++depth) {
            PIN_INFO info = {};
            if (FAILED(peer->QueryPinInfo(&info)) || !info.pFilter) return false;
            CFakeCrossbar* crossbar = AsCrossbar(info.pFilter);
            info.pFilter->Release();
            if (!crossbar) return false;
            const FakeCrossbarSpec& spec = crossbar->Spec();
            long out = -1;
            for (long i = 0; i < (long)spec.outputs.size(); ++i)
                if (crossbar->Output(i) == peer) out = i;
            long in = -1;
            if (out < 0 || crossbar->get_IsRoutedTo(out, &in) != S_OK) return false;
            long audioOut = spec.outputs[(size_t)out].related, audioIn = spec.inputs[(size_t)in].related;
            long audioRouted = -1;
            if (audioOut >= 0 && audioIn >= 0 &&
                (crossbar->get_IsRoutedTo(audioOut, &audioRouted) != S_OK || audioRouted != audioIn))
                return false;
            peer = crossbar->Input(in)->GetConnected();
            if (!peer) return spec.inputs[(size_t)in].type == PhysConn_Video_Composite;
        }
        return false;
    }

private:
    FakeBoxSpec m_spec;
    CVideoFramePin* m_video;
    CAnalogPin* m_videoIn;
    CAnalogPin* m_audioIn;
};

} // namespace

FakeCrossbarSpec FakeCrossbarSpec::Standard()
{
    FakeCrossbarSpec spec;
    spec.inputs = {{L"0: Video Composite", PhysConn_Video_Composite, 3},
                   {L"1: Video SVideo", PhysConn_Video_SVideo, 3},
                   {L"2: Video Tuner", PhysConn_Video_Tuner, 4},
                   {L"3: Audio Line", PhysConn_Audio_Line, 0},
                   {L"4: Audio Tuner", PhysConn_Audio_Tuner, 2}};
    spec.outputs = {{L"0: Video Decoder Out", PhysConn_Video_VideoDecoder, 1},
                    {L"1: Audio Decoder Out", PhysConn_Audio_AudioDecoder, 0}};
    return spec;
}

FakeCrossbarSpec FakeCrossbarSpec::Inner()
{
    FakeCrossbarSpec spec;
    spec.inputs = {{L"0: Video In", PhysConn_Video_VideoDecoder, 1}, {L"1: Audio In", PhysConn_Audio_Line, 0}};
    spec.outputs = {{L"0: Video Decoder Out", PhysConn_Video_VideoDecoder, 1},
                    {L"1: Audio Decoder Out", PhysConn_Audio_AudioDecoder, 0}};
    return spec;
}

CComPtr<IBaseFilter> CreateFakeCrossbar(const FakeCrossbarSpec& spec)
{
    return CComPtr<IBaseFilter>(new CFakeCrossbar(spec));
}

std::vector<std::pair<long, long>> CrossbarRouteLog(IBaseFilter* crossbar)
{
    CFakeCrossbar* c = AsCrossbar(crossbar);
    return c ? c->Log() : std::vector<std::pair<long, long>>();
}

void ClearCrossbarRouteLog(IBaseFilter* crossbar)
{
    if (CFakeCrossbar* c = AsCrossbar(crossbar)) c->ClearLog();
}

int FakeCaptureBoxesAlive()
{
    return g_boxesAlive;
}

CComPtr<IBaseFilter> CreateFakeCaptureBox(const FakeBoxSpec& spec)
{
    return CComPtr<IBaseFilter>(new CFakeCaptureBox(spec));
}

bool FakeBoxCarriesTone(IBaseFilter* box)
{
    CLSID clsid;
    if (!box || FAILED(box->GetClassID(&clsid)) || clsid != CLSID_FakeCaptureBox) return false;
    return static_cast<CFakeCaptureBox*>(box)->CarriesTone();
}

class CFakeCaptureBoxClass::CFactory : public IClassFactory {
public:
    explicit CFactory(FakeBoxSpec spec) : m_spec(std::move(spec)) {}
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
        CComPtr<IBaseFilter> box = CreateFakeCaptureBox(m_spec);
        return box->QueryInterface(riid, ppv);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    FakeBoxSpec m_spec;
};

CFakeCaptureBoxClass::CFakeCaptureBoxClass(FakeBoxSpec spec) : m_factory(new CFactory(std::move(spec)))
{
    m_com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    CoRegisterClassObject(CLSID_FakeCaptureBox, m_factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie);
}

CFakeCaptureBoxClass::~CFakeCaptureBoxClass()
{
    if (m_cookie) CoRevokeClassObject(m_cookie);
    delete m_factory;
    if (m_com) CoUninitialize();
}
