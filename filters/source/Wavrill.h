// "NV PCM Source": streams a byte range of a PCM WAV file (or of headerless PCM
// in raw mode) from its one output pin.
//
// Locking: the file, its format, the range and the read position are guarded by
// the streaming lock, which FillBuffer takes for each read. The filter's state
// lock is never taken on the streaming thread, so a Stop that holds it while it
// waits for the thread cannot deadlock.
#pragma once
#include <windows.h>
#include <dshow.h>
#include <string>
#include "IWavrill.h"
#include "Source.h"
#include "WavHeader.h"

class PCMStream;

class Wavrill : public CSource, public IFileSinkFilter, public IWavrill, public IWavrill2, public IPCMSeek,
                public IWavrillBuffer {
public:
    static CUnknown* CreateInstance(HRESULT* result);

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IFileSinkFilter
    STDMETHODIMP SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE* mt) override;
    STDMETHODIMP GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* mt) override;
    // IWavrill
    STDMETHODIMP SetRange(LONGLONG* start, LONGLONG* stop) override;
    STDMETHODIMP GetRange(LONGLONG* start, LONGLONG* stop) override;
    STDMETHODIMP SetPosition(LONGLONG* pos) override;
    STDMETHODIMP GetPosition(LONGLONG* pos) override;
    STDMETHODIMP GetProgress(int* percent) override;
    // IWavrill2
    STDMETHODIMP SetRawMode(BOOL raw) override;
    STDMETHODIMP GetRawMode(BOOL* raw) override;
    STDMETHODIMP SetRawFormat(int channels, int samplesPerSec, int bitsPerSample) override;
    STDMETHODIMP GetRawFormat(int* channels, int* samplesPerSec, int* bitsPerSample) override;
    // IPCMSeek
    STDMETHODIMP SeekSeconds(double seconds) override;
    STDMETHODIMP GetPositionSeconds(double* seconds) override;
    STDMETHODIMP GetRangeSeconds(double* seconds) override;
    // IWavrillBuffer
    STDMETHODIMP SetBufferMilliseconds(int milliseconds) override;
    STDMETHODIMP GetBufferMilliseconds(int* milliseconds) override;

private:
    friend class PCMStream;
    Wavrill(HRESULT* result);
    ~Wavrill() override;

    // An open file with an accepted format.
    struct OpenFile {
        HANDLE handle = INVALID_HANDLE_VALUE;
        WavHeaderInfo header;
        LONGLONG fileSize = 0;
        LONGLONG dataEnd = 0;   // end of the sound data, on a whole frame
    };
    HRESULT OpenNamed(const std::wstring& name, OpenFile& file) const;
    void CloseFile();
    // Reopens the current name after streaming closed it; the range stays.
    HRESULT Reopen();
    bool IsOpen() const { return m_file.handle != INVALID_HANDLE_VALUE; }
    // Streaming thread: fills one sample (under the streaming lock).
    HRESULT FillSample(IMediaSample* sample);
    void StartStreaming();
    LONG BufferSize() const;
    HRESULT SetPositionLocked(LONGLONG pos);

    CCritSec m_csStream;
    PCMStream* m_stream = nullptr;

    std::wstring m_fileName;
    OpenFile m_file;
    bool m_headerOk = false;
    LONGLONG m_rangeStart = -1;
    LONGLONG m_rangeStop = -1;
    LONGLONG m_position = -1;
    LONGLONG m_streamedBytes = 0;   // since the stream started: the time stamps
    bool m_rewind = false;          // the stream ended: the next run starts the range again

    bool m_rawMode = false;
    int m_rawChannels = 2;
    int m_rawSampleRate = 48000;
    int m_rawBits = 16;

    int m_bufferMilliseconds = 40;   // sound per delivered buffer
};
