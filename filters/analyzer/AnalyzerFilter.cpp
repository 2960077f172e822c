#include "AnalyzerFilter.h"
#include "WavHeader.h"
#include <mmreg.h>
#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace {

HANDLE g_bufferEvent = nullptr;

const REFERENCE_TIME kUnitsPerSecond = 10000000;

}  // namespace

HANDLE AnalyzerBufferEvent()
{
    if (!g_bufferEvent) {
        HANDLE created = CreateEventW(nullptr, TRUE, FALSE, L"Get Buffer Event");
        if (created && InterlockedCompareExchangePointer(&g_bufferEvent, created, nullptr) != nullptr)
            CloseHandle(created);   // another filter of this module was first
    }
    return g_bufferEvent;
}

void CloseAnalyzerBufferEvent()
{
    HANDLE event = InterlockedExchangePointer(&g_bufferEvent, nullptr);
    if (event)
        CloseHandle(event);
}

CUnknown* CAudioAnalyzerFilter::CreateInstance(HRESULT* result)
{
    auto* filter = new (std::nothrow) CAudioAnalyzerFilter;
    if (!filter && result)
        *result = E_OUTOFMEMORY;
    return filter;
}

CAudioAnalyzerFilter::CAudioAnalyzerFilter() : CTransInPlaceFilter(L"", CLSID_AudioAnalyzer, true)
{
    if (HANDLE event = AnalyzerBufferEvent())
        ResetEvent(event);
    m_buffer.resize(8192);
}

CAudioAnalyzerFilter::~CAudioAnalyzerFilter()
{
    if (m_mp3Writer)
        m_mp3Writer->Release();
}

HRESULT CAudioAnalyzerFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IAnalyzer)
        return GetInterface(static_cast<IAnalyzer*>(this), ppv);
    if (riid == IID_IAudioEffect)
        return GetInterface(static_cast<IAudioEffect*>(this), ppv);
    if (riid == IID_ISplitEvent)
        return GetInterface(static_cast<ISplitEvent*>(this), ppv);
    if (riid == IID_IMuteSound)
        return GetInterface(static_cast<IMuteSound*>(this), ppv);
    if (riid == IID_ISpecifyPropertyPages)
        return GetInterface(static_cast<ISpecifyPropertyPages*>(this), ppv);
    return CTransInPlaceFilter::NonDelegatingQueryInterface(riid, ppv);
}

// ---- interfaces ----

STDMETHODIMP CAudioAnalyzerFilter::GetPages(CAUUID* pages)
{
    if (!pages)
        return E_POINTER;
    pages->cElems = 0;
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
    if (!pages->pElems)
        return E_OUTOFMEMORY;
    pages->cElems = 1;
    pages->pElems[0] = CLSID_AudioAnalyzerProperty;
    return S_OK;
}

STDMETHODIMP CAudioAnalyzerFilter::GetData(BYTE* record)
{
    if (!record)
        return E_POINTER;
    return m_ring.Get(record) ? S_OK : S_FALSE;
}

STDMETHODIMP CAudioAnalyzerFilter::SetGain(float gain)
{
    m_gain = gain;
    return S_OK;
}

STDMETHODIMP CAudioAnalyzerFilter::GetGain(float* gain)
{
    if (!gain)
        return E_POINTER;
    *gain = m_gain;
    return S_OK;
}

STDMETHODIMP CAudioAnalyzerFilter::SetGainEnabled(BOOL enabled)
{
    m_gainEnabled = enabled;
    return S_OK;
}

STDMETHODIMP CAudioAnalyzerFilter::GetGainEnabled(BOOL* enabled)
{
    if (!enabled)
        return E_POINTER;
    *enabled = m_gainEnabled;
    return S_OK;
}

STDMETHODIMP CAudioAnalyzerFilter::SetSplitEnabled(BOOL enabled)
{
    m_splitEnabled = enabled;
    return S_OK;
}

STDMETHODIMP CAudioAnalyzerFilter::GetSplitEnabled(BOOL* enabled)
{
    if (!enabled)
        return E_POINTER;
    *enabled = m_splitEnabled;
    return S_OK;
}

STDMETHODIMP CAudioAnalyzerFilter::SetSplitParams(int threshold, int silentBlocks, int minSeconds)
{
    CAutoLock lock(&m_csAnalysis);
    m_splitThreshold = threshold;
    m_splitSilentBlocks = silentBlocks;
    m_splitMinSeconds = minSeconds;
    ResetSplitState();
    return S_OK;
}

STDMETHODIMP CAudioAnalyzerFilter::GetSplitParams(int* threshold, int* silentBlocks, int* minSeconds)
{
    if (!threshold || !silentBlocks || !minSeconds)
        return E_POINTER;
    CAutoLock lock(&m_csAnalysis);
    *threshold = m_splitThreshold;
    *silentBlocks = m_splitSilentBlocks;
    *minSeconds = m_splitMinSeconds;
    return S_OK;
}

STDMETHODIMP CAudioAnalyzerFilter::SetMuteTime(int ms)
{
    CAutoLock lock(&m_csAnalysis);
    // Stretched by three eighths: the fade back in takes that last part.
    int64_t stretched = ms > 0 ? int64_t(ms) + int64_t(ms) * 3 / 8 : 0;
    m_muteTimeMs = int(std::min<int64_t>(stretched, INT_MAX));
    ComputeMuteLengths();
    return S_OK;
}

STDMETHODIMP CAudioAnalyzerFilter::SetMuteLevel(float level)
{
    m_muteLevel = (level < 0.0f || level > 1.0f) ? 0.0f : level;
    return S_OK;
}

STDMETHODIMP CAudioAnalyzerFilter::GetMuteLevel(float* level)
{
    if (!level)
        return E_POINTER;
    *level = m_muteLevel;
    return S_OK;
}

// ---- state ----

void CAudioAnalyzerFilter::ComputeMuteLengths()
{
    int64_t bytesPerSecond = int64_t(m_bitsPerSample) * m_sampleRate * m_channels / 8;
    int64_t remaining = bytesPerSecond * m_muteTimeMs / 1000;
    int frame = FrameBytes();
    if (frame > 0)
        remaining -= remaining % frame;   // whole frames only
    m_muteRemaining = remaining;
    m_muteStep = 8 * (remaining / 64);
}

void CAudioAnalyzerFilter::ResetSplitState()
{
    m_detector.Reset();
    m_detector.SetParams(m_splitThreshold, m_splitSilentBlocks);
    m_detectorArmed = false;
    m_framesSinceSplit = 0;
}

STDMETHODIMP CAudioAnalyzerFilter::Pause()
{
    {
        CAutoLock lock(&m_csFilter);
        if (m_state == State_Stopped) {
            // Find the MP3 writer here, on the application thread, never from the streaming thread.
            if (m_mp3Writer) {
                m_mp3Writer->Release();
                m_mp3Writer = nullptr;
            }
            IBaseFilter* writer = nullptr;
            if (m_graph && SUCCEEDED(m_graph->FindFilterByName(MP3_DUMP_FILTER_NAME, &writer)) && writer) {
                writer->QueryInterface(IID_IMP3Dump, reinterpret_cast<void**>(&m_mp3Writer));
                writer->Release();
            }
        }
    }
    return CTransInPlaceFilter::Pause();
}

STDMETHODIMP CAudioAnalyzerFilter::Stop()
{
    HRESULT hr = CTransInPlaceFilter::Stop();
    CAutoLock lock(&m_csFilter);
    if (m_state == State_Stopped && m_mp3Writer) {
        m_mp3Writer->Release();
        m_mp3Writer = nullptr;
    }
    return hr;
}

HRESULT CAudioAnalyzerFilter::CheckPcm(const CMediaType* mt)
{
    if (mt->formattype != FORMAT_WaveFormatEx)
        return E_INVALIDARG;
    if (mt->majortype != MEDIATYPE_Audio || !mt->pbFormat || mt->cbFormat < sizeof(PCMWAVEFORMAT))
        return E_FAIL;
    if (mt->subtype != MEDIASUBTYPE_PCM && mt->bTemporalCompression)
        return E_FAIL;
    const WAVEFORMATEX* wfx = reinterpret_cast<const WAVEFORMATEX*>(mt->pbFormat);
    if (wfx->wFormatTag != WAVE_FORMAT_PCM)
        return E_FAIL;
    if (wfx->nChannels != 1 && wfx->nChannels != 2)
        return E_FAIL;
    if (wfx->wBitsPerSample != 8 && wfx->wBitsPerSample != 16)
        return E_FAIL;
    // A rate outside the range would be stored negative or overflow the byte counts.
    if (!IsSampleRateInRange(wfx->nSamplesPerSec) || wfx->nBlockAlign != wfx->nChannels * wfx->wBitsPerSample / 8)
        return E_FAIL;
    return S_OK;
}

HRESULT CAudioAnalyzerFilter::CheckInputType(const CMediaType* in)
{
    return CheckPcm(in);
}

HRESULT CAudioAnalyzerFilter::SetMediaType(PIN_DIRECTION dir, const CMediaType* mt)
{
    if (dir != PINDIR_INPUT)
        return S_OK;
    const WAVEFORMATEX* wfx = reinterpret_cast<const WAVEFORMATEX*>(mt->pbFormat);
    CAutoLock lock(&m_csAnalysis);
    m_channels = wfx->nChannels;
    m_sampleRate = int(wfx->nSamplesPerSec);
    m_bitsPerSample = wfx->wBitsPerSample;
    ComputeMuteLengths();
    m_record = AnalyzerRecord{};
    return S_OK;
}

HRESULT CAudioAnalyzerFilter::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    // Only when samples cannot pass through: at least four buffers, each as large as
    // upstream's and no smaller than one analysis block.
    if (!m_input->IsConnected())
        return E_UNEXPECTED;
    ALLOCATOR_PROPERTIES upstream = {};
    if (IMemAllocator* input = m_input->Allocator())
        input->GetProperties(&upstream);
    request->cBuffers = std::max({request->cBuffers, upstream.cBuffers, 4L});
    request->cbBuffer = std::max({request->cbBuffer, upstream.cbBuffer, long(BlockBytes())});
    return CBaseOutputPin::SetAllocatorProperties(allocator, request);
}

HRESULT CAudioAnalyzerFilter::StartStreaming()
{
    CAutoLock lock(&m_csAnalysis);
    m_bufferFill = 0;
    m_blockCounter = 0;
    m_ring.Clear();
    m_sampleTime = 0;
    m_bytesSinceTime = 0;
    ResetSplitState();
    ComputeMuteLengths();   // a stored mute applies again at each start
    return S_OK;
}

// ---- streaming ----

void CAudioAnalyzerFilter::ApplyMute(BYTE* data, long length)
{
    if (m_muteRemaining <= 0 || length <= 0)
        return;
    int64_t n = std::min<int64_t>(m_muteRemaining, length);
    float level = m_muteLevel;
    for (int64_t offset = 0; offset < n; offset += 40) {
        int64_t chunk = std::min<int64_t>(40, n - offset);
        int64_t left = m_muteRemaining - offset;
        float factor = left >= 3 * m_muteStep ? level : left >= 2 * m_muteStep ? 0.25f : left >= m_muteStep ? 0.5f : 0.75f;
        ApplyFactor(data + offset, size_t(chunk), m_bitsPerSample, factor);
    }
    m_muteRemaining -= n;
}

void CAudioAnalyzerFilter::FeedDetector(const BYTE* block, int* splitEvents)
{
    for (int half = 0; half < 2; half++) {
        for (int i = 0; i < CAutoSplitDetector::kBlock; i++) {
            int frame = half * CAutoSplitDetector::kBlock + i;
            int value = INT_MIN;
            for (int c = 0; c < m_channels; c++) {
                int index = frame * m_channels + c;
                int sample;
                if (m_bitsPerSample == 16) {
                    int16_t s;
                    memcpy(&s, block + 2 * index, 2);
                    sample = s;
                } else {
                    sample = (int(block[index]) - 128) * 256;   // the detector works on 16-bit values
                }
                value = std::max(value, sample);
            }
            m_detectorBlock[i] = int16_t(value);
        }
        m_framesSinceSplit += CAutoSplitDetector::kBlock;
        m_detector.Process(m_detectorBlock);
        if (m_detector.SoundStarted() && !m_detectorArmed) {
            if (m_framesSinceSplit > int64_t(m_splitMinSeconds) * m_sampleRate) {
                (*splitEvents)++;
                m_framesSinceSplit = 0;
            }
            m_detectorArmed = true;
        }
        if (m_detector.SilenceReached()) {
            m_detector.Reset();
            m_detectorArmed = false;
        }
    }
}

void CAudioAnalyzerFilter::AnalyseBlock(const BYTE* block, bool feedSplit, int* splitEvents)
{
    int64_t bytesPerSecond = int64_t(m_sampleRate) * FrameBytes();
    m_record.mediaTime = m_sampleTime + (bytesPerSecond ? m_bytesSinceTime * kUnitsPerSecond / bytesPerSecond : 0);
    if (AnalyzeBlock(block, m_channels, m_bitsPerSample, m_sampleRate, m_record))
        m_ring.Put(m_record);
    if (feedSplit && m_splitEnabled)
        FeedDetector(block, splitEvents);
    m_blockCounter++;
    m_bytesSinceTime += BlockBytes();
}

void CAudioAnalyzerFilter::RaiseSplitEvents(int count)
{
    for (int i = 0; i < count && m_mp3Writer; i++)
        m_mp3Writer->NewFile();
}

HRESULT CAudioAnalyzerFilter::Transform(IMediaSample* sample)
{
    if (m_input->CurrentMediaType().formattype != FORMAT_WaveFormatEx) {
        SetEvent(AnalyzerBufferEvent());
        return S_OK;
    }
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)) || !data)
        return E_POINTER;
    long length = std::max(0L, sample->GetActualDataLength());
    int splitEvents = 0;
    {
        CAutoLock lock(&m_csAnalysis);
        if (m_gainEnabled)
            ApplyFactor(data, size_t(length), m_bitsPerSample, m_gain);
        ApplyMute(data, length);

        REFERENCE_TIME start = 0, stop = 0;
        if (SUCCEEDED(sample->GetTime(&start, &stop))) {
            // The bytes still buffered came before this sample's first byte.
            m_sampleTime = start;
            m_bytesSinceTime = -int64_t(m_bufferFill);
        }

        if (m_bufferFill + size_t(length) > m_buffer.size()) {
            try {
                m_buffer.resize(m_bufferFill + size_t(length));
            } catch (const std::bad_alloc&) {
                return E_OUTOFMEMORY;
            }
        }
        memcpy(m_buffer.data() + m_bufferFill, data, size_t(length));
        m_bufferFill += size_t(length);

        // Every whole block is analysed as soon as it is there.
        size_t blockBytes = size_t(BlockBytes());
        size_t taken = 0;
        while (blockBytes && m_bufferFill - taken >= blockBytes) {
            AnalyseBlock(m_buffer.data() + taken, true, &splitEvents);
            taken += blockBytes;
        }
        if (taken) {
            memmove(m_buffer.data(), m_buffer.data() + taken, m_bufferFill - taken);
            m_bufferFill -= taken;
        }
    }
    RaiseSplitEvents(splitEvents);
    SetEvent(AnalyzerBufferEvent());
    return S_OK;
}

HRESULT CAudioAnalyzerFilter::EndOfStream()
{
    {
        CAutoLock receive(&m_csReceive);
        if (m_input->CheckStreaming() == S_OK) {
            // The tail shorter than a block is measured padded with silence.
            CAutoLock lock(&m_csAnalysis);
            size_t blockBytes = size_t(BlockBytes());
            if (m_bufferFill > 0 && blockBytes) {
                std::vector<BYTE> last(blockBytes, BYTE(m_bitsPerSample == 8 ? 128 : 0));
                memcpy(last.data(), m_buffer.data(), std::min(m_bufferFill, blockBytes));
                AnalyseBlock(last.data(), false, nullptr);
                m_bufferFill = 0;
            }
        }
    }
    return CTransInPlaceFilter::EndOfStream();
}
