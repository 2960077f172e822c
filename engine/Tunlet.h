// CTunlet: plays one file through a DirectShow graph, plainly, through the
// analyzer filter (to hear a gain) or through the noise-reduction filter (to hear
// a reduction level). The player program's frame owns one; the graph's events
// reach that frame as WM_PLAYER_GRAPHEVENT.
#pragma once
#include <windows.h>
#include <dshow.h>
#include "ComPtr.h"
#include "DShowUtil.h"
#include "String.h"

class CTunlet {
public:
    CTunlet();
    virtual ~CTunlet();
    CTunlet(const CTunlet&) = delete;
    CTunlet& operator=(const CTunlet&) = delete;

    // Each replaces any graph; owner receives the graph's event notification.
    BOOL OpenPlain(const CString& file, HWND owner);
    BOOL OpenWithAnalyzer(const CString& file, HWND owner);
    BOOL OpenWithNoiseReduction(const CString& file, HWND owner);

    // Pause, 150 ms, run.
    BOOL Play();
    BOOL Pause();
    BOOL Stop();
    // 0 stopped, 1 paused, 2 running; 0 without a graph.
    int GetState();
    BOOL GetDuration(double* seconds);
    BOOL GetPosition(double* seconds);
    BOOL SetPosition(double seconds);
    // Only when the graph holds that filter; nothing otherwise.
    void SetAnalyzerGain(float gain);
    void SetNoiseReductionLevel(float level);
    // Takes every waiting graph event, pumping one message after each. Returns the
    // first end event taken (EC_COMPLETE, EC_ERRORABORT, EC_USERABORT), else the
    // code of the last event, 0 when there was none.
    long DrainEvents();
    static bool IsEndEvent(long code);
    // Stop, then the graph is taken apart.
    void Close();

    bool HasGraph() const { return m_graph != nullptr; }
    // The graph's filters (tests look at what was built).
    IGraphBuilder* GetGraph() const { return m_graph; }

private:
    enum class Variant { Plain, Analyzer, NoiseReduction };
    BOOL Open(const CString& file, HWND owner, Variant variant);
    BOOL CreateGraph();
    // Duration or position in seconds (0.0 when the graph cannot tell).
    BOOL ReadTime(HRESULT (STDMETHODCALLTYPE IMediaSeeking::*read)(LONGLONG*), double* seconds);
    void Release();

    CComPtr<IGraphBuilder> m_graph;
    CComPtr<ICaptureGraphBuilder2> m_builder;
    CComPtr<IMediaControl> m_control;
    CComPtr<IMediaSeeking> m_seeking;
    CComPtr<IMediaEvent> m_events;
    CComPtr<IMediaEventEx> m_eventsEx;
    CDShowUtil m_util;
    CComPtr<IBaseFilter> m_source;
    CComPtr<IBaseFilter> m_analyzer;
    CComPtr<IBaseFilter> m_noiseReduction;
    HWND m_owner = nullptr;
    bool m_comInitialized = false;
};
