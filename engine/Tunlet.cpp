#include "Tunlet.h"
#include <memory>
#include "IAnalyzer.h"
#include "OutsideFilters.h"
#include "PlayerProtocol.h"

CTunlet::CTunlet()
{
    m_comInitialized = SUCCEEDED(::CoInitialize(nullptr));
}

CTunlet::~CTunlet()
{
    Release();
    if (m_comInitialized) ::CoUninitialize();
}

BOOL CTunlet::CreateGraph()
{
    Release();
    if (FAILED(m_graph.CoCreateInstance(CLSID_FilterGraph)) ||
        FAILED(m_builder.CoCreateInstance(CLSID_CaptureGraphBuilder2)) ||
        FAILED(m_builder->SetFiltergraph(m_graph)) || FAILED(m_graph.QueryInterface(&m_control)) ||
        FAILED(m_graph.QueryInterface(&m_seeking)) || FAILED(m_graph->QueryInterface(IID_IMediaEvent, (void**)&m_events)) ||
        FAILED(m_graph->QueryInterface(IID_IMediaEventEx, (void**)&m_eventsEx)) ||
        FAILED(m_eventsEx->SetNotifyWindow((OAHWND)m_owner, WM_PLAYER_GRAPHEVENT, 0)) ||
        FAILED(m_eventsEx->SetNotifyFlags(0))) {
        Release();
        return FALSE;
    }
    m_util.Init(m_graph, m_builder);
    return TRUE;
}

void CTunlet::Release()
{
    // A running graph is stopped before it is taken apart.
    if (m_control) m_control->Stop();
    if (m_eventsEx) m_eventsEx->SetNotifyWindow(0, 0, 0);
    if (m_source) m_util.RemoveDownstream(m_source);
    for (CComPtr<IBaseFilter>* filter :
         {std::addressof(m_source), std::addressof(m_analyzer), std::addressof(m_noiseReduction)}) {
        if (*filter && m_graph) m_graph->RemoveFilter(*filter);
        filter->Release();
    }
    m_control.Release();
    m_eventsEx.Release();
    m_events.Release();
    m_seeking.Release();
    m_util.Init(nullptr, nullptr);
    m_builder.Release();
    m_graph.Release();
}

BOOL CTunlet::Open(const CString& file, HWND owner, Variant variant)
{
    m_owner = owner;
    if (!CreateGraph()) return FALSE;
    bool built = SUCCEEDED(m_graph->AddSourceFilter(file, file, &m_source));
    IBaseFilter* last = m_source;
    if (built && variant != Variant::Plain) {
        IBaseFilter** slot = variant == Variant::Analyzer ? &m_analyzer.p : &m_noiseReduction.p;
        const GUID& clsid = variant == Variant::Analyzer ? CLSID_AudioAnalyzer : CLSID_NoiseReduction;
        const wchar_t* name = variant == Variant::Analyzer ? L"Audio Analyzer" : L"Noise Reduction";
        built = SUCCEEDED(m_util.AddFilterByCLSID(clsid, slot, name)) &&
                SUCCEEDED(m_util.ConnectFilters(m_source, 0, *slot, 0));
        last = *slot;
    }
    if (built) {
        CComPtr<IPin> out = m_util.GetOutPin(last, 0);
        built = out && SUCCEEDED(m_graph->Render(out)) &&
                SUCCEEDED(m_seeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME));
    }
    if (!built) Release();
    return built;
}

BOOL CTunlet::OpenPlain(const CString& file, HWND owner)
{
    return Open(file, owner, Variant::Plain);
}

BOOL CTunlet::OpenWithAnalyzer(const CString& file, HWND owner)
{
    return Open(file, owner, Variant::Analyzer);
}

BOOL CTunlet::OpenWithNoiseReduction(const CString& file, HWND owner)
{
    return Open(file, owner, Variant::NoiseReduction);
}

BOOL CTunlet::Play()
{
    if (!m_control || FAILED(m_control->Pause())) return FALSE;
    ::Sleep(150);
    return SUCCEEDED(m_control->Run());
}

BOOL CTunlet::Pause()
{
    return m_control && SUCCEEDED(m_control->Pause());
}

BOOL CTunlet::Stop()
{
    return m_control && SUCCEEDED(m_control->Stop());
}

int CTunlet::GetState()
{
    OAFilterState state = State_Stopped;
    if (!m_control || FAILED(m_control->GetState(0, &state))) return 0;
    return (int)state;
}

BOOL CTunlet::ReadTime(HRESULT (STDMETHODCALLTYPE IMediaSeeking::*read)(LONGLONG*), double* seconds)
{
    if (!m_seeking || FAILED(m_seeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME))) return FALSE;
    LONGLONG t = 0;
    const bool ok = SUCCEEDED((m_seeking.p->*read)(&t));
    if (seconds) *seconds = ok ? (double)t / 1e7 : 0.0;
    return ok;
}

BOOL CTunlet::GetDuration(double* seconds)
{
    return ReadTime(&IMediaSeeking::GetDuration, seconds);
}

BOOL CTunlet::GetPosition(double* seconds)
{
    return ReadTime(&IMediaSeeking::GetCurrentPosition, seconds);
}

BOOL CTunlet::SetPosition(double seconds)
{
    if (!m_seeking || FAILED(m_seeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME))) return FALSE;
    LONGLONG t = (LONGLONG)(seconds * 1e7);
    return SUCCEEDED(m_seeking->SetPositions(&t, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning));
}

void CTunlet::SetAnalyzerGain(float gain)
{
    CComQIPtr<IAudioEffect> effect(m_analyzer.p);
    if (!effect) return;
    effect->SetGainEnabled(TRUE);
    effect->SetGain(gain);
}

void CTunlet::SetNoiseReductionLevel(float level)
{
    CComQIPtr<INoiseReduction> reduction(m_noiseReduction.p);
    if (!reduction) return;
    reduction->SetEnabled(TRUE);
    reduction->SetLevel(level);
}

bool CTunlet::IsEndEvent(long code)
{
    return code == EC_COMPLETE || code == EC_ERRORABORT || code == EC_USERABORT;
}

long CTunlet::DrainEvents()
{
    // Our own reference: a message pumped below may open or close the graph.
    CComPtr<IMediaEventEx> events = m_eventsEx;
    long last = 0, end = 0;
    if (!events) return 0;
    for (;;) {
        long code = 0;
        LONG_PTR p1 = 0, p2 = 0;
        if (events->GetEvent(&code, &p1, &p2, 0) != S_OK) break;
        events->FreeEventParams(code, p1, p2);
        last = code;
        if (!end && IsEndEvent(code)) end = code;
        PumpOneMessage();
    }
    return end ? end : last;
}

void CTunlet::Close()
{
    Stop();
    Release();
}
