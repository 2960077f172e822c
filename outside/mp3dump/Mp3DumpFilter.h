// "NV MP3 Dump": stores the MPEG audio frames it receives, nothing else (no
// ID3 tag, no Info frame: recordings are joined later by plain concatenation).
// NewFile marks a cut; the recording goes on in the next continuation file at
// the first frame of the bitstream that the encoder starts for it, so every
// file decodes on its own. A cut that no sound follows makes no file.
#pragma once
#include "BaseFilter.h"
#include "IMP3BitstreamControl.h"
#include "IMP3Dump.h"
#include "InputPin.h"
#include "MpegFrameAssembler.h"
#include "Mp3FileSequence.h"
#include "SeekingPassThru.h"
#include <atomic>
#include <string>
#include <vector>

class CMp3DumpFilter;

class CMp3DumpInputPin : public CBaseInputPin {
public:
    CMp3DumpInputPin(CMp3DumpFilter* filter, CCritSec* lock);
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    HRESULT CheckMediaType(const CMediaType* mt) override;

private:
    CMp3DumpFilter* m_dump;
};

class CMp3DumpFilter : public CBaseFilter, public IFileSinkFilter, public IMP3Dump {
public:
    static CUnknown* CreateInstance(HRESULT* result);
    ~CMp3DumpFilter() override;

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override;

    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;

    // IFileSinkFilter
    STDMETHODIMP SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE* mt) override;
    STDMETHODIMP GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* mt) override;
    // IMP3Dump
    STDMETHODIMP GetWrittenBytes(int* bytes) override;
    STDMETHODIMP GetWrittenBytes64(LONGLONG* bytes) override;
    STDMETHODIMP Reserved5() override { return E_NOTIMPL; }
    STDMETHODIMP Reserved6() override { return E_NOTIMPL; }
    STDMETHODIMP Reserved7() override { return E_NOTIMPL; }
    STDMETHODIMP GetFileCount(int* count) override;
    STDMETHODIMP NewFile() override;

    // Streaming, from the pin.
    HRESULT Write(IMediaSample* sample);
    HRESULT EndOfStream();
    void Flush();

private:
    CMp3DumpFilter();
    void TakeUpstreamControl();
    void DropUpstreamControl();
    void ReportError();

    CCritSec m_csFilter;
    CCritSec m_csReceive;          // the files, while frames stream
    CCritSec m_csControl;          // the upstream encoder's control
    CMp3DumpInputPin m_pin;
    CSeekingPassThru m_seeking;
    std::wstring m_path;
    IMP3BitstreamControl* m_control = nullptr;

    CMpegFrameAssembler m_frames;
    CMp3FileSequence m_files;
    std::vector<uint8_t> m_batch;
    std::vector<size_t> m_batchEnds;
    std::atomic<bool> m_cutPending{false};
    bool m_cutAtNextFrame = false;
    bool m_started = false;        // a frame reached the current file
    bool m_failed = false;
    std::atomic<long long> m_written{0};
    std::atomic<int> m_fileCount{0};
};
