// CAudioAnalyzerFilter: an in-place audio transform that amplifies, mutes the
// beginning of a stream with a fade back in, measures levels and spectrum per
// block of 2048 frames into a ring of records, and tells the graph's MP3 writer
// to start a new file at the beginning of each new sound.
//
// Threads: Transform runs on the streaming thread under the streaming lock and
// the analysis lock; setters on other threads take only the analysis lock (or
// the ring's), never the filter's state lock, so Stop cannot deadlock with them.
#pragma once
#include "AnalyzerSpectrum.h"
#include "AutoSplitDetector.h"
#include "IAnalyzer.h"
#include "IMP3Dump.h"
#include "RecordRing.h"
#include "TransInPlaceFilter.h"
#include <vector>

class CAudioAnalyzerFilter : public CTransInPlaceFilter,
                             public ISpecifyPropertyPages,
                             public IAnalyzer,
                             public IAudioEffect,
                             public ISplitEvent,
                             public IMuteSound {
public:
    static CUnknown* CreateInstance(HRESULT* result);

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // ISpecifyPropertyPages
    STDMETHODIMP GetPages(CAUUID* pages) override;
    // IAnalyzer
    STDMETHODIMP GetData(BYTE* record) override;
    // IAudioEffect
    STDMETHODIMP SetGain(float gain) override;
    STDMETHODIMP GetGain(float* gain) override;
    STDMETHODIMP SetGainEnabled(BOOL enabled) override;
    STDMETHODIMP GetGainEnabled(BOOL* enabled) override;
    // ISplitEvent
    STDMETHODIMP SetSplitEnabled(BOOL enabled) override;
    STDMETHODIMP GetSplitEnabled(BOOL* enabled) override;
    STDMETHODIMP SetSplitParams(int threshold, int silentBlocks, int minSeconds) override;
    STDMETHODIMP GetSplitParams(int* threshold, int* silentBlocks, int* minSeconds) override;
    // IMuteSound
    STDMETHODIMP SetMuteTime(int ms) override;
    STDMETHODIMP SetMuteLevel(float level) override;
    STDMETHODIMP GetMuteLevel(float* level) override;

    // Filter
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    HRESULT CheckInputType(const CMediaType* in) override;
    // The output takes and offers exactly the input's type (the in-place defaults).
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT SetMediaType(PIN_DIRECTION dir, const CMediaType* mt) override;
    HRESULT StartStreaming() override;
    HRESULT Transform(IMediaSample* sample) override;
    HRESULT EndOfStream() override;

private:
    CAudioAnalyzerFilter();
    ~CAudioAnalyzerFilter() override;

    // Only 8- or 16-bit PCM with one or two channels and a sample rate.
    static HRESULT CheckPcm(const CMediaType* mt);
    int FrameBytes() const { return m_channels * m_bitsPerSample / 8; }
    int BlockBytes() const { return FrameBytes() * kAnalyzerBlockFrames; }

    // Under the analysis lock.
    void ComputeMuteLengths();
    void ResetSplitState();
    void ApplyMute(BYTE* data, long length);
    void AnalyseBlock(const BYTE* block, bool feedSplit, int* splitEvents);
    void FeedDetector(const BYTE* block, int* splitEvents);
    void RaiseSplitEvents(int count);

    CCritSec m_csAnalysis;

    // Settings, written by the interfaces at any time.
    volatile float m_gain = 1.0f;
    volatile BOOL m_gainEnabled = FALSE;
    volatile BOOL m_splitEnabled = FALSE;
    int m_splitThreshold = 3000;
    int m_splitSilentBlocks = 50;
    int m_splitMinSeconds = 10;
    int m_muteTimeMs = 0;
    volatile float m_muteLevel = 0.0f;

    // Stream state, under the analysis lock.
    int64_t m_muteRemaining = 0;
    int64_t m_muteStep = 0;
    int m_channels = 0;
    int m_sampleRate = 0;
    int m_bitsPerSample = 16;
    std::vector<BYTE> m_buffer;
    size_t m_bufferFill = 0;
    int m_blockCounter = 0;
    REFERENCE_TIME m_sampleTime = 0;
    int64_t m_bytesSinceTime = 0;   // from the last time stamp to the next block's first byte
    AnalyzerRecord m_record = {};
    CRecordRing m_ring;
    CAutoSplitDetector m_detector;
    int16_t m_detectorBlock[CAutoSplitDetector::kBlock] = {};
    bool m_detectorArmed = false;
    int64_t m_framesSinceSplit = 0;

    // The graph's MP3 writer, looked up at pause on the application thread.
    IMP3Dump* m_mp3Writer = nullptr;
};

// The module's named event "Get Buffer Event", set after every processed sample.
HANDLE AnalyzerBufferEvent();
void CloseAnalyzerBufferEvent();
