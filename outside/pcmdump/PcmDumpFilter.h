// "NV PCM Dump Filter": writes the PCM it receives into a WAV file in the format
// set through IPCMDump::SetFormat (converting channels, bits and rate from its
// input), continues in further files past the split limit, and on request
// writes the peak data file of the WAV as well.
#pragma once
#include "BaseFilter.h"
#include "InputPin.h"
#include "OutsideFilters.h"
#include "PcmConverter.h"
#include "PeakStreamWriter.h"
#include "SeekingPassThru.h"
#include "WavSplitWriter.h"
#include <atomic>
#include <cstdint>
#include <string>

class CPcmDumpFilter;

class CPcmDumpInputPin : public CBaseInputPin {
public:
    CPcmDumpInputPin(CPcmDumpFilter* filter, CCritSec* lock);
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP EndOfStream() override;
    HRESULT CheckMediaType(const CMediaType* mt) override;

private:
    CPcmDumpFilter* m_dump;
};

class CPcmDumpFilter : public CBaseFilter, public IFileSinkFilter, public IPCMDump, public IPCMDumpFiles,
                       public IPCMDumpSplit {
public:
    static CUnknown* CreateInstance(HRESULT* result);
    ~CPcmDumpFilter() override;

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override;

    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;

    // IFileSinkFilter
    STDMETHODIMP SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE* mt) override;
    STDMETHODIMP GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* mt) override;
    // IPCMDump
    STDMETHODIMP SetFormat(int channels, int sampleRate, int bitsPerSample) override;
    STDMETHODIMP GetFormat(int* channels, int* sampleRate, int* bitsPerSample) override;
    STDMETHODIMP GetWrittenBytes(int* bytes) override;
    STDMETHODIMP GetWrittenBytes64(LONGLONG* bytes) override;
    // IPCMDumpFiles
    STDMETHODIMP SetReserved(int) override { return S_OK; }
    STDMETHODIMP SetWriteWav(BOOL write) override;
    STDMETHODIMP SetWritePeak(BOOL write) override;
    // IPCMDumpSplit
    STDMETHODIMP SetSplitEnabled(BOOL enabled) override;
    STDMETHODIMP SetSplitLimit(int megabytes) override;
    STDMETHODIMP GetFileCount(int* count) override;
    // Placeholders of the three interfaces.
    STDMETHODIMP Placeholder4() override { return E_NOTIMPL; }
    STDMETHODIMP Placeholder6() override { return E_NOTIMPL; }

    // Streaming, from the pin.
    HRESULT Write(IMediaSample* sample);
    HRESULT EndOfStream();

private:
    CPcmDumpFilter();
    HRESULT StartFiles();
    void FinishFiles();

    CCritSec m_csFilter;
    CCritSec m_csReceive;          // the writer, while samples stream
    CPcmDumpInputPin m_pin;
    CSeekingPassThru m_seeking;
    std::wstring m_path;
    PcmLayout m_format;
    bool m_formatSet = false;
    bool m_writeWav = true;
    bool m_writePeak = false;
    bool m_splitEnabled = false;
    int m_splitMegabytes = 0;
    CPcmConverter m_converter;
    CPeakStreamWriter m_peak;      // before the writer, which tells it about each file
    CWavSplitWriter m_writer;
    std::vector<uint8_t> m_converted;
    // Read by the application thread while the streaming thread counts: whole
    // 64-bit values on every build (a plain 64-bit store tears on i686).
    std::atomic<int64_t> m_written{0};
    std::atomic<int> m_fileCount{0};
    bool m_errorReported = false;
};
