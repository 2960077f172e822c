// The recording engine: one capture graph for the chosen input device, with the
// monitoring chain (capture pin, ACM wrapper, noise reduction, analyzer, smart
// tee, audio renderer or null renderer) and the recording chains that add a
// writer on the smart tee's capture output.
#pragma once
#include <windows.h>
#include <dshow.h>
#include <array>
#include "DShowUtil.h"
#include "String.h"

class CCrossbarRouter;

const UINT WM_CAPTURE_GRAPHEVENT = WM_USER + 70;
const UINT WM_CAPTURE_STOPPED = WM_USER + 78;

class CCaptureDevice {
public:
    static const int DeviceListSize = 10;
    static const int DeviceNameLength = 80;   // names are cut to 79 characters

    CCaptureDevice();
    CCaptureDevice(const CCaptureDevice&) = delete;
    CCaptureDevice& operator=(const CCaptureDevice&) = delete;
    virtual ~CCaptureDevice();

    // renderMode: 0 by the device name, 1 heard through the PC, 2 not heard.
    BOOL InitFilterGraph(HWND owner, const wchar_t* videoName, const wchar_t* audioName, int renderMode);
    BOOL ResetDevice(HWND owner, const wchar_t* videoName, const wchar_t* audioName, int renderMode);
    void Close();
    BOOL StartRendering();
    BOOL Run();
    BOOL GetAnalyzerData(BYTE* record88);

    void SetNoiseReduction(BOOL enabled, float level);
    void SetAnalyzerGain(BOOL enabled, float gain);
    void SetStartMute(int milliseconds, float level);
    void SetSplitParams(BOOL enabled, int threshold, int silentBlocks, int minSeconds);

    BOOL IsSameDevice(const wchar_t* identity) const;
    static BOOL HasAudioPin(const wchar_t* videoName);
    static int GetVideoDeviceNames(wchar_t names[DeviceListSize][DeviceNameLength]);
    static int GetAudioDeviceNames(wchar_t names[DeviceListSize][DeviceNameLength]);
    // Video capture boxes and crossbars.
    // Routes the crossbars in front of the video or box filter along the first
    // route whose input connector is of that physical type; FALSE when none is.
    BOOL RouteCrossbarToType(long physicalType);
    // The device to record a capture box from: a box's video device with an audio
    // pin, else (a box without one being present) the first USB audio input.
    // FALSE, with the name "NO DEVICE", when there is no box.
    static BOOL FindCaptureBoxDevice(CString& name);
    int GetRouteCount() const { return m_routeCount; }

    BOOL ShowAudioDeviceProperties();
    BOOL ShowVideoDeviceProperties();

    // Recording.
    BOOL StartRecordWav(const wchar_t* file, int channels, int bits, int rate, int splitLimit);
    BOOL StartRecordMp3(const wchar_t* file);
    BOOL StopRecord();
    BOOL StopRendering();
    BOOL StopGraph();
    BOOL GetRecordedBytes(int* bytes);
    BOOL GetRecordedBytes64(LONGLONG* bytes);

    // Takes the graph's waiting events and logs them (nothing else reads them).
    void DrainGraphEvents();

    // Which of a list of names a requested name means: the exact name (any case),
    // then a list name equal to the request cut to the list's 79 characters, then
    // the longest list name contained in the request; -1 for none or an empty name.
    static int MatchDeviceName(const wchar_t* requested, const CString* names, int count);

    // The window that hears WM_CAPTURE_STOPPED (the page that is shown now).
    void SetOwner(HWND owner) { m_owner = owner; }
    HWND GetOwner() const { return m_owner; }
    int GetDeviceMode() const { return m_deviceMode; }
    const CString& GetDeviceIdentity() const { return m_deviceIdentity; }
    const CString& GetOutputFile() const { return m_outputFile; }
    BOOL IsPreviewing() const { return m_previewing; }
    BOOL IsRecording() const { return m_recording; }
    IGraphBuilder* Graph() const { return m_graph; }

    // Renderer classes tried in turn for monitoring (DirectSound, then WaveOut).
    void SetRendererClasses(REFCLSID first, REFCLSID second) { m_rendererFirst = first; m_rendererSecond = second; }

    BOOL m_bInit = FALSE;

protected:
    // The VID/PID text of the audio-input device of that friendly name ("NULL"
    // when it has none).
    virtual CString LookUpDeviceIdentity(const CString& friendlyName);

private:
    BOOL SetAudioDevice(const wchar_t* name);
    BOOL SetVideoDevice(const wchar_t* name);
    // Finds the analog video input of a video or box filter and the routes of the
    // crossbars feeding it; TRUE when there were crossbars to search.
    BOOL SetUpCrossbar(IBaseFilter* filter);
    // Adds the capture box present (the last one listed) with its crossbar routed,
    // for the audio device that carries its sound.
    void LookUpCaptureBox();
    // Asks the builder for the capture pin's stream configuration, which brings the
    // filters the device needs upstream (its crossbars) into the graph.
    void BringInUpstreamFilters(IBaseFilter* filter);
    void DeleteCrossbarRouter();
    // Takes a video or box filter out of the graph with what hangs behind it.
    void RemoveVideoBranch(IBaseFilter*& filter);
    static HRESULT BindDevice(REFCLSID category, const wchar_t* name, IBaseFilter** filter, IPropertyBag** bag);
    BOOL PrepareSourcePin(IBaseFilter* source, int channels, int bytesPerSample, int rate);
    BOOL BuildSpine(int rate, IBaseFilter*& last);
    BOOL BuildMonitoringChain();
    BOOL BuildRecordingChainWav(int channels, int bits, int rate);
    BOOL BuildRecordingChainMp3();
    BOOL ConnectSmartTee(IBaseFilter* upstream);
    BOOL ConnectRenderer(IBaseFilter* tee);
    void AbandonRecording(bool stopGraph);
    bool OutputExists() const;
    // The slots of the chain filters (everything between the sources and the graph's ends).
    std::array<IBaseFilter**, 9> ChainSlots();
    void RemoveChain();
    void StopAfterFailedStart();
    void ReleaseAll();
    void ReleaseFilter(IBaseFilter*& filter);
    void LogCapture(const wchar_t* text);

    CDShowUtil m_util;
    ICaptureGraphBuilder2* m_builder = nullptr;
    IGraphBuilder* m_graph = nullptr;
    IMediaControl* m_control = nullptr;
    IMediaEventEx* m_events = nullptr;
    IBaseFilter* m_videoSource = nullptr;
    IBaseFilter* m_audioSource = nullptr;
    IBaseFilter* m_smartTee = nullptr;
    IBaseFilter* m_renderer = nullptr;
    IBaseFilter* m_monitorNull = nullptr;
    IBaseFilter* m_mp3Writer = nullptr;
    IBaseFilter* m_acmWrapper = nullptr;
    int m_deviceMode = 1;
    IBaseFilter* m_analyzer = nullptr;
    IBaseFilter* m_pcmWriter = nullptr;
    IBaseFilter* m_mp3Encoder = nullptr;
    IBaseFilter* m_boxSource = nullptr;
    CCrossbarRouter* m_crossbar = nullptr;
    IBaseFilter* m_videoNull = nullptr;
    IBaseFilter* m_noiseReduction = nullptr;
    int m_routeCount = 0;
    HWND m_owner = nullptr;
    BOOL m_previewing = FALSE;
    BOOL m_recording = FALSE;
    CString m_outputFile = L"sample.hhh";
    bool m_outputExisted = false;     // a file of the output name was there before the recording
    CString m_deviceIdentity;
    CString m_audioDeviceName;        // friendly name of the bound audio device
    int m_kind = 0;
    BYTE m_noiseEnabled = 0;
    float m_noiseLevel = 15.0f;
    BYTE m_gainEnabled = 0;
    float m_gain = 1.0f;
    int m_startMuteMs = 0;
    float m_startMuteLevel = 0.0f;
    CLSID m_rendererFirst;
    CLSID m_rendererSecond;
    bool m_comInitialized = false;
};
