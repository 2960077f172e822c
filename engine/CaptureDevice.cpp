#include "CaptureDevice.h"
#include <ocidl.h>
#include <olectl.h>
#include <vector>
#include "ComPtr.h"
#include "DSoundEnumerator.h"
#include "DeviceCategoryWalk.h"
#include "IAnalyzer.h"
#include "LogFile.h"
#include "OutsideFilters.h"
#include "PlatformGuids.h"

namespace {

const DWORD kLogLevel = 0x20000;

template <class T> CComPtr<T> Query(IUnknown* unk, REFIID iid)
{
    CComPtr<T> p;
    if (unk) unk->QueryInterface(iid, (void**)&p);
    return p;
}

bool IsInGraph(IBaseFilter* filter)
{
    FILTER_INFO info = {};
    if (FAILED(filter->QueryFilterInfo(&info))) return true;
    if (!info.pGraph) return false;
    info.pGraph->Release();
    return true;
}

bool HasOutputPin(IBaseFilter* filter)
{
    CComPtr<IEnumPins> pins;
    if (!filter || FAILED(filter->EnumPins(&pins))) return false;
    for (;;) {
        CComPtr<IPin> pin;
        if (pins->Next(1, &pin, nullptr) != S_OK) return false;
        PIN_DIRECTION dir;
        if (SUCCEEDED(pin->QueryDirection(&dir)) && dir == PINDIR_OUTPUT) return true;
    }
}

} // namespace

CCaptureDevice::CCaptureDevice()
    : m_rendererFirst(CLSID_DSoundRender), m_rendererSecond(CLSID_AudioRender)
{
    m_comInitialized = SUCCEEDED(CoInitialize(nullptr));
}

CCaptureDevice::~CCaptureDevice()
{
    ReleaseAll();
    if (m_comInitialized) CoUninitialize();
}

void CCaptureDevice::LogCapture(const wchar_t* text)
{
    LogPrint(kLogLevel, L"%s", text);
    if (g_bDebugSwitch) {
        OutputDebugStringW(text);
        OutputDebugStringW(L"\r\n");
    }
}

// Device names and binding

int CCaptureDevice::MatchDeviceName(const wchar_t* requested, const CString* names, int count)
{
    if (!requested || !*requested) return -1;
    CString want(requested);
    for (int i = 0; i < count; ++i)
        if (!names[i].IsEmpty() && names[i].CompareNoCase(want) == 0) return i;
    // The device lists hold names cut to 79 characters.
    for (int i = 0; i < count; ++i)
        if (names[i].GetLength() > DeviceNameLength - 1 &&
            names[i].Left(DeviceNameLength - 1).CompareNoCase(want) == 0)
            return i;
    int best = -1;
    for (int i = 0; i < count; ++i)
        if (!names[i].IsEmpty() && want.Find(names[i]) >= 0 && (best < 0 || names[i].GetLength() > names[best].GetLength()))
            best = i;
    return best;
}

HRESULT CCaptureDevice::BindDevice(REFCLSID category, const wchar_t* name, IBaseFilter** filter, IPropertyBag** bag)
{
    std::vector<CString> names;
    std::vector<CComPtr<IMoniker>> monikers;
    std::vector<CComPtr<IPropertyBag>> bags;
    WalkDeviceCategory(category, [&](IMoniker* m, IPropertyBag* b) {
        CString n;
        if (ReadBagString(b, L"FriendlyName", n)) {
            names.push_back(n);
            monikers.emplace_back(m);
            bags.emplace_back(b);
        }
        return true;
    });
    int i = MatchDeviceName(name, names.data(), (int)names.size());
    if (i < 0) return E_FAIL;
    if (bag) *bag = CComPtr<IPropertyBag>(bags[(size_t)i]).Detach();
    return monikers[(size_t)i]->BindToObject(nullptr, nullptr, IID_IBaseFilter, (void**)filter);
}

BOOL CCaptureDevice::SetAudioDevice(const wchar_t* name)
{
    if (m_previewing) StopGraph();
    if (m_audioSource) {
        m_graph->RemoveFilter(m_audioSource);
        ReleaseFilter(m_audioSource);
    }
    CComPtr<IPropertyBag> bag;
    IBaseFilter* filter = nullptr;
    if (FAILED(BindDevice(CLSID_AudioInputDeviceCategory, name, &filter, &bag)) || !filter) return FALSE;
    CString boundName;
    ReadBagString(bag, L"FriendlyName", boundName);
    if (!HasOutputPin(filter)) {
        // The platform's filter for this device streams nothing (no pin): our own
        // capture source takes the same device from the moniker's property bag.
        filter->Release();
        filter = nullptr;
        HRESULT hr = CoCreateInstance(CLSID_SonelleAudioCapture, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                      (void**)&filter);
        CComPtr<IPersistPropertyBag> persist = Query<IPersistPropertyBag>(filter, IID_IPersistPropertyBag);
        if (FAILED(hr) || !persist || FAILED(persist->Load(bag, nullptr))) {
            if (filter) filter->Release();
            LogPrint(kLogLevel, L"no capture source for [%s]", name);
            return FALSE;
        }
        LogPrint(kLogLevel, L"device filter of [%s] has no output pin: using our capture source", name);
    }
    m_audioSource = filter;
    m_audioDeviceName = boundName;
    if (FAILED(m_graph->AddFilter(m_audioSource, L"Audio Capture Device"))) return FALSE;
    if (m_previewing) Run();
    return TRUE;
}

// Opening and closing

BOOL CCaptureDevice::InitFilterGraph(HWND owner, const wchar_t* videoName, const wchar_t* audioName, int renderMode)
{
    LogPrint(kLogLevel, L"[%s] nRenderMode=[%d]", L"InitFilterGraph", renderMode);
    if (m_bInit) Close();
    ReleaseAll();
    m_deviceMode = 1;
    m_owner = owner;

    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, (void**)&m_graph);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                              IID_ICaptureGraphBuilder2, (void**)&m_builder);
    if (SUCCEEDED(hr)) hr = m_builder->SetFiltergraph(m_graph);
    if (SUCCEEDED(hr)) hr = m_graph->QueryInterface(IID_IMediaControl, (void**)&m_control);
    if (SUCCEEDED(hr)) hr = m_graph->QueryInterface(IID_IMediaEventEx, (void**)&m_events);
    if (SUCCEEDED(hr)) {
        m_events->SetNotifyWindow((OAHWND)owner, WM_CAPTURE_GRAPHEVENT, 0);
        m_events->SetNotifyFlags(0);
        m_util.Init(m_graph, m_builder);
    }
    if (FAILED(hr)) {
        ReleaseAll();
        return FALSE;
    }

    CString audio(audioName), video(videoName);
    if (audio.IsEmpty()) {
        if (video.IsEmpty()) return TRUE;
        if (!SetVideoDevice(video)) {
            ReleaseAll();
            return FALSE;
        }
        m_deviceMode = 3;
        m_bInit = TRUE;
        return TRUE;
    }
    if (!SetAudioDevice(audio)) {
        ReleaseAll();
        return FALSE;
    }
    LookUpCaptureBox();
    if (renderMode == 1) m_deviceMode = 4;
    else if (renderMode == 2) m_deviceMode = 1;
    else {
        CString upper = audio;
        upper.MakeUpper();
        m_deviceMode = upper.Find(L"USB") >= 0 || upper.Find(L" US") >= 0 ? 4 : 1;
    }
    // The device that was bound, not the request: a request that contains or cuts
    // the device's name must still recognise the device when it is removed.
    m_deviceIdentity = LookUpDeviceIdentity(m_audioDeviceName);
    m_bInit = TRUE;
    return TRUE;
}

CString CCaptureDevice::LookUpDeviceIdentity(const CString& friendlyName)
{
    CDSoundEnumerator dsound;
    dsound.Enumerate();
    return dsound.GetVidPidByFriendlyName(friendlyName);
}

BOOL CCaptureDevice::ResetDevice(HWND owner, const wchar_t* videoName, const wchar_t* audioName, int renderMode)
{
    if (!StopRendering()) {
        ReleaseAll();
        return FALSE;
    }
    ReleaseAll();
    if (!InitFilterGraph(owner, videoName, audioName, renderMode) || !StartRendering()) {
        ReleaseAll();
        return FALSE;
    }
    return TRUE;
}

void CCaptureDevice::Close()
{
    StopGraph();
    ReleaseAll();
}

void CCaptureDevice::ReleaseFilter(IBaseFilter*& filter)
{
    if (filter) filter->Release();
    filter = nullptr;
}

std::array<IBaseFilter**, 9> CCaptureDevice::ChainSlots()
{
    return {&m_smartTee, &m_renderer, &m_monitorNull, &m_acmWrapper, &m_mp3Writer,
            &m_analyzer, &m_pcmWriter, &m_mp3Encoder, &m_noiseReduction};
}

void CCaptureDevice::RemoveChain()
{
    if (m_audioSource) m_util.RemoveDownstream(m_audioSource);
    if (m_videoSource) m_util.RemoveDownstreamOfMediaType(m_videoSource, MEDIATYPE_Audio);
    for (IBaseFilter** f : ChainSlots()) {
        if (*f && m_graph && IsInGraph(*f)) {
            HRESULT hr = m_graph->RemoveFilter(*f);
            if (FAILED(hr)) {
                // Still in the graph: keep it, so the next tear-down tries again and
                // the next build replaces it instead of meeting a stranger.
                LogPrint(kLogLevel, L"capture chain filter not removed hr:[0x%08x]", (unsigned)hr);
                continue;
            }
        }
        ReleaseFilter(*f);
    }
}

// A filter that stopped part-way through a state change is stopped whole before
// its chain is taken apart (a filter cannot leave a graph that is not stopped).
void CCaptureDevice::StopAfterFailedStart()
{
    if (m_control) m_control->Stop();
}

void CCaptureDevice::ReleaseAll()
{
    if (m_events) {
        DrainGraphEvents();
        m_events->SetNotifyWindow(0, 0, 0);
    }
    RemoveChain();
    // The graph goes now: a chain filter that would not leave it goes with it.
    for (IBaseFilter** f : ChainSlots()) ReleaseFilter(*f);
    RemoveVideoBranch(m_boxSource);
    RemoveVideoBranch(m_videoSource);
    DeleteCrossbarRouter();
    ReleaseFilter(m_videoNull);
    if (m_audioSource) {
        if (m_graph) m_graph->RemoveFilter(m_audioSource);
        ReleaseFilter(m_audioSource);
    }
    if (m_control) m_control->Release();
    if (m_events) m_events->Release();
    if (m_builder) m_builder->Release();
    if (m_graph) m_graph->Release();
    m_control = nullptr;
    m_events = nullptr;
    m_builder = nullptr;
    m_graph = nullptr;
    m_util.Init(nullptr, nullptr);
    m_deviceIdentity.Empty();
    m_audioDeviceName.Empty();
    m_previewing = m_recording = FALSE;
    m_kind = 0;
    m_bInit = FALSE;
}

void CCaptureDevice::DrainGraphEvents()
{
    if (!m_events) return;
    long code = 0;
    LONG_PTR p1 = 0, p2 = 0;
    while (m_events->GetEvent(&code, &p1, &p2, 0) == S_OK) {
        if (code == EC_ERRORABORT)   // a writer that could not write (a full disk) says why
            LogPrint(kLogLevel, L"capture graph error hr:[0x%08x]", (unsigned)p1);
        else
            LogPrint(kLogLevel, L"capture graph event 0x%x (0x%Ix, 0x%Ix)", (unsigned)code, p1, p2);
        m_events->FreeEventParams(code, p1, p2);
    }
}

// Chains

BOOL CCaptureDevice::PrepareSourcePin(IBaseFilter* source, int channels, int bytesPerSample, int rate)
{
    int index = m_util.FindAudioOutPin(source);
    if (index < 0) return FALSE;
    CComPtr<IPin> pin = m_util.GetOutPin(source, index);
    if (!pin) return FALSE;
    CComPtr<IAMBufferNegotiation> negotiation = Query<IAMBufferNegotiation>(pin, IID_IAMBufferNegotiation);
    ALLOCATOR_PROPERTIES props = {20, 4096, 1, 0};
    HRESULT hr = negotiation ? negotiation->SuggestAllocatorProperties(&props) : E_NOINTERFACE;
    if (FAILED(hr)) {
        // Only the chain without a renderer goes on with the pin's own buffers.
        LogPrint(kLogLevel, L"capture pin refused 20 x 4096 buffers hr:[0x%08x]", (unsigned)hr);
        return FALSE;
    }
    CComPtr<IAMStreamConfig> config = Query<IAMStreamConfig>(pin, IID_IAMStreamConfig);
    AM_MEDIA_TYPE* mt = nullptr;
    if (config && SUCCEEDED(config->GetFormat(&mt)) && mt) {
        if (mt->formattype == FORMAT_WaveFormatEx && mt->cbFormat >= sizeof(WAVEFORMATEX) && mt->pbFormat) {
            WAVEFORMATEX* f = (WAVEFORMATEX*)mt->pbFormat;
            f->wFormatTag = WAVE_FORMAT_PCM;
            f->nChannels = (WORD)channels;
            f->nSamplesPerSec = (DWORD)rate;
            f->wBitsPerSample = (WORD)(bytesPerSample * 8);
            f->nBlockAlign = (WORD)(channels * bytesPerSample);
            f->nAvgBytesPerSec = (DWORD)(channels * bytesPerSample * rate);
            config->SetFormat(mt);   // a refused format keeps the pin's own
        }
        if (mt->pbFormat) CoTaskMemFree(mt->pbFormat);
        if (mt->pUnk) mt->pUnk->Release();
        CoTaskMemFree(mt);
    }
    return TRUE;
}

// Source pin -> ACM wrapper -> noise reduction -> analyzer; `last` is the analyzer.
BOOL CCaptureDevice::BuildSpine(int rate, IBaseFilter*& last)
{
    IBaseFilter* source = m_audioSource ? m_audioSource : m_videoSource;
    if (!source) return FALSE;
    bool prepared = PrepareSourcePin(source, 2, 2, rate);
    if (!prepared && m_deviceMode != 1) return FALSE;
    int outIndex = m_audioSource ? 0 : m_util.FindAudioOutPin(source);
    if (outIndex < 0) return FALSE;
    if (FAILED(m_util.AddFilterByCLSID(CLSID_ACMWrapper, &m_acmWrapper, L"ACM Wapper"))) return FALSE;
    IBaseFilter* upstream = m_acmWrapper;
    if (FAILED(m_util.ConnectFilters(source, outIndex, m_acmWrapper, 0))) {
        // Wine's ACM wrapper refuses PCM input: the source feeds the chain directly.
        m_graph->RemoveFilter(m_acmWrapper);
        ReleaseFilter(m_acmWrapper);
        LogCapture(L"ACM Wapper refused the capture format: connected without it");
        upstream = source;
    }
    int upstreamOut = upstream == source ? outIndex : 0;
    if (FAILED(m_util.AddFilterByCLSID(CLSID_NoiseReduction, &m_noiseReduction, L"Noise Reduction")) ||
        FAILED(m_util.ConnectFilters(upstream, upstreamOut, m_noiseReduction, 0)))
        return FALSE;
    if (FAILED(m_util.AddFilterByCLSID(CLSID_AudioAnalyzer, &m_analyzer, L"NV Audio Analyzer")) ||
        FAILED(m_util.ConnectFilters(m_noiseReduction, 0, m_analyzer, 0)))
        return FALSE;
    last = m_analyzer;
    return TRUE;
}

BOOL CCaptureDevice::ConnectRenderer(IBaseFilter* tee)
{
    if (m_renderer) {
        // One that could not leave the graph last time is used again.
        return SUCCEEDED(m_util.ConnectFiltersDirect(tee, 1, m_renderer, 0));
    }
    const CLSID* order[2] = {&m_rendererFirst, &m_rendererSecond};
    const wchar_t* names[2] = {L"DirectSound Render", L"WavOut Render"};
    int first = 0;
    IBaseFilter* renderer = nullptr;
    if (CoCreateInstance(*order[0], nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, (void**)&renderer) != S_OK) {
        if (renderer) renderer->Release();
        renderer = nullptr;
        first = 1;
        if (FAILED(CoCreateInstance(*order[1], nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, (void**)&renderer)))
            return FALSE;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        int kind = (first + attempt) % 2;
        if (!renderer &&
            FAILED(CoCreateInstance(*order[kind], nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, (void**)&renderer)))
            continue;
        if (SUCCEEDED(m_graph->AddFilter(renderer, names[kind])) &&
            SUCCEEDED(m_util.ConnectFiltersDirect(tee, 1, renderer, 0))) {
            m_renderer = renderer;
            return TRUE;
        }
        m_graph->RemoveFilter(renderer);
        renderer->Release();
        renderer = nullptr;
    }
    return FALSE;
}

// The smart tee is created only when its slot is empty and is otherwise reused.
BOOL CCaptureDevice::ConnectSmartTee(IBaseFilter* upstream)
{
    if (!m_smartTee &&
        FAILED(CoCreateInstance(CLSID_SmartTee, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, IID_IBaseFilter,
                                (void**)&m_smartTee)))
        return FALSE;
    return SUCCEEDED(m_graph->AddFilter(m_smartTee, L"SmartTee Audio")) &&
           SUCCEEDED(m_util.ConnectFilters(upstream, 0, m_smartTee, 0));
}

BOOL CCaptureDevice::BuildMonitoringChain()
{
    IBaseFilter* last = nullptr;
    if (!BuildSpine(44100, last)) return FALSE;
    if (m_deviceMode == 1) {
        return SUCCEEDED(m_util.AddFilterByCLSID(CLSID_NullRenderer, &m_monitorNull, L"NULL Renderer")) &&
               SUCCEEDED(m_util.ConnectFilters(last, 0, m_monitorNull, 0));
    }
    if (!ConnectSmartTee(last)) return FALSE;
    return ConnectRenderer(m_smartTee);
}

BOOL CCaptureDevice::StartRendering()
{
    if (!m_bInit) return FALSE;
    if (m_previewing) {
        Run();
        return TRUE;
    }
    if (m_recording && !StopRendering()) return FALSE;
    if (!BuildMonitoringChain()) {
        // A half-built chain would be in the way of the next attempt.
        RemoveChain();
        return FALSE;
    }
    SetSplitParams(FALSE, 3000, 50, 10);
    if (!Run()) {
        // A chain that failed to run would hold the capture pin for ever: stop it
        // and take it apart, so that the next start builds afresh.
        StopAfterFailedStart();
        RemoveChain();
        return FALSE;
    }
    m_kind = 3;
    m_previewing = TRUE;
    m_recording = FALSE;
    return TRUE;
}

BOOL CCaptureDevice::Run()
{
    SetNoiseReduction(m_noiseEnabled, m_noiseLevel);
    SetAnalyzerGain(m_gainEnabled, m_gain);
    if (!m_control || FAILED(m_control->Pause())) return FALSE;
    Sleep(150);
    return SUCCEEDED(m_control->Run());
}

BOOL CCaptureDevice::GetAnalyzerData(BYTE* record88)
{
    CComPtr<IAnalyzer> analyzer = Query<IAnalyzer>(m_analyzer, IID_IAnalyzer);
    return analyzer && record88 && analyzer->GetData(record88) == S_OK;
}

// Settings pushed into the chain

void CCaptureDevice::SetNoiseReduction(BOOL enabled, float level)
{
    m_noiseEnabled = enabled ? 1 : 0;
    m_noiseLevel = level;
    if (CComPtr<INoiseReduction> nr = Query<INoiseReduction>(m_noiseReduction, IID_INoiseReduction)) {
        nr->SetEnabled(enabled);
        nr->SetLevel(level);
    }
}

void CCaptureDevice::SetAnalyzerGain(BOOL enabled, float gain)
{
    m_gainEnabled = enabled ? 1 : 0;
    m_gain = gain;
    if (CComPtr<IAudioEffect> effect = Query<IAudioEffect>(m_analyzer, IID_IAudioEffect)) {
        effect->SetGainEnabled(m_gainEnabled);
        effect->SetGain(gain);
    }
}

void CCaptureDevice::SetStartMute(int milliseconds, float level)
{
    m_startMuteMs = milliseconds;
    m_startMuteLevel = level;
    if (CComPtr<IMuteSound> mute = Query<IMuteSound>(m_analyzer, IID_IMuteSound)) {
        mute->SetMuteLevel(level);
        mute->SetMuteTime(milliseconds);
    }
}

void CCaptureDevice::SetSplitParams(BOOL enabled, int threshold, int silentBlocks, int minSeconds)
{
    if (CComPtr<ISplitEvent> split = Query<ISplitEvent>(m_analyzer, IID_ISplitEvent)) {
        split->SetSplitEnabled(enabled);
        split->SetSplitParams(threshold, silentBlocks, minSeconds);
    }
}

BOOL CCaptureDevice::IsSameDevice(const wchar_t* identity) const
{
    // "NULL" marks a device without VID/PID: it never identifies another device.
    if (!m_bInit || !identity || !*identity || m_deviceIdentity.IsEmpty() ||
        m_deviceIdentity.CompareNoCase(L"NULL") == 0)
        return FALSE;
    return m_deviceIdentity.CompareNoCase(identity) == 0;
}

// Device lists and pages

static int ListDevices(REFCLSID category, wchar_t names[CCaptureDevice::DeviceListSize][CCaptureDevice::DeviceNameLength])
{
    int count = 0;
    WalkDeviceCategory(category, [&](IMoniker*, IPropertyBag* bag) {
        CString name;
        if (!ReadBagString(bag, L"FriendlyName", name)) return true;
        lstrcpynW(names[count], name, CCaptureDevice::DeviceNameLength);
        // Further devices than the list holds are left out.
        return ++count < CCaptureDevice::DeviceListSize;
    });
    return count;
}

int CCaptureDevice::GetVideoDeviceNames(wchar_t names[DeviceListSize][DeviceNameLength])
{
    return ListDevices(CLSID_VideoInputDeviceCategory, names);
}

int CCaptureDevice::GetAudioDeviceNames(wchar_t names[DeviceListSize][DeviceNameLength])
{
    return ListDevices(CLSID_AudioInputDeviceCategory, names);
}

BOOL CCaptureDevice::HasAudioPin(const wchar_t* videoName)
{
    CComPtr<IBaseFilter> filter;
    if (FAILED(BindDevice(CLSID_VideoInputDeviceCategory, videoName, &filter, nullptr)) || !filter) return FALSE;
    CComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(&pins))) return FALSE;
    for (;;) {
        CComPtr<IPin> pin;
        if (pins->Next(1, &pin, nullptr) != S_OK) return FALSE;
        CComPtr<IEnumMediaTypes> types;
        AM_MEDIA_TYPE* mt = nullptr;
        if (FAILED(pin->EnumMediaTypes(&types)) || types->Next(1, &mt, nullptr) != S_OK) continue;
        bool audio = mt->majortype == MEDIATYPE_Audio;
        if (mt->pbFormat) CoTaskMemFree(mt->pbFormat);
        if (mt->pUnk) mt->pUnk->Release();
        CoTaskMemFree(mt);
        if (audio) return TRUE;
    }
}

static BOOL ShowPages(IBaseFilter* filter, HWND owner)
{
    if (!filter) return FALSE;
    CComPtr<ISpecifyPropertyPages> pages;
    if (FAILED(filter->QueryInterface(IID_ISpecifyPropertyPages, (void**)&pages))) return TRUE;
    CAUUID ids = {};
    if (FAILED(pages->GetPages(&ids))) return TRUE;
    IUnknown* object = filter;
    OleCreatePropertyFrame(owner, 0, 0, nullptr, 1, &object, ids.cElems, ids.pElems, 0, 0, nullptr);
    CoTaskMemFree(ids.pElems);
    return TRUE;
}

BOOL CCaptureDevice::ShowAudioDeviceProperties()
{
    return ShowPages(m_audioSource, m_owner);
}

BOOL CCaptureDevice::ShowVideoDeviceProperties()
{
    return ShowPages(m_videoSource, m_owner);
}
