// "MP3 Encoder": 8- or 16-bit PCM with one or two channels at any rate in, CBR
// MPEG Layer III out at the set bitrate, rate and channel mode (LAME, quality 7).
// Settings may be given in any order while the filter is stopped, also after it
// is connected; they take effect at the next start. Out-of-range values are
// refused with E_INVALIDARG and the previous value stays.
#pragma once
#include "IMP3BitstreamControl.h"
#include "LameStream.h"
#include "OutsideFilters.h"
#include "TransformFilter.h"
#include <atomic>
#include <vector>

class CMp3EncoderFilter : public CTransformFilter, public IMP3EncoderSettings, public IMP3EncoderSettings2,
                          public IMP3BitstreamControl {
public:
    static CUnknown* CreateInstance(HRESULT* result);

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT CheckInputType(const CMediaType* in) override;
    HRESULT CheckTransform(const CMediaType* in, const CMediaType* out) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT GetMediaType(int position, CMediaType* mt) override;
    HRESULT StartStreaming() override;
    HRESULT StopStreaming() override;
    HRESULT Receive(IMediaSample* sample) override;
    HRESULT EndOfStream() override;

    // IMP3EncoderSettings
    STDMETHODIMP SetBitrate(int kbps) override;
    STDMETHODIMP SetSampleRate(int hz) override;
    STDMETHODIMP SetChannelMode(int mode) override;
    // IMP3EncoderSettings2
    STDMETHODIMP SetStereoOption(int value) override;
    // IMP3BitstreamControl
    STDMETHODIMP RequestCut() override;
    STDMETHODIMP FlushTail() override;

    STDMETHODIMP Placeholder3() override { return E_NOTIMPL; }
    STDMETHODIMP Placeholder4() override { return E_NOTIMPL; }
    STDMETHODIMP Placeholder5() override { return E_NOTIMPL; }
    STDMETHODIMP Placeholder7() override { return E_NOTIMPL; }
    STDMETHODIMP Placeholder8() override { return E_NOTIMPL; }
    STDMETHODIMP Placeholder9() override { return E_NOTIMPL; }
    STDMETHODIMP Placeholder10() override { return E_NOTIMPL; }
    STDMETHODIMP Placeholder11() override { return E_NOTIMPL; }
    STDMETHODIMP Placeholder12() override { return E_NOTIMPL; }
    STDMETHODIMP Placeholder13() override { return E_NOTIMPL; }
    STDMETHODIMP Placeholder14() override { return E_NOTIMPL; }
    STDMETHODIMP Placeholder15() override { return E_NOTIMPL; }
    STDMETHODIMP Placeholder16() override { return E_NOTIMPL; }
    STDMETHODIMP Placeholder17() override { return E_NOTIMPL; }
    STDMETHODIMP Placeholder18() override { return E_NOTIMPL; }
    STDMETHODIMP Placeholder19() override { return E_NOTIMPL; }
    STDMETHODIMP Placeholder21() override { return E_NOTIMPL; }

private:
    CMp3EncoderFilter();
    Mp3StreamSettings SettingsFor(const WAVEFORMATEX& in);
    // Sends the bytes downstream in samples of at most one buffer each.
    HRESULT DeliverBytes(const std::vector<uint8_t>& bytes);

    CCritSec m_csSettings;
    int m_bitrate = 128;
    int m_rate = 0;              // 0: the input's rate when MPEG has it, else 44100
    int m_mode = -1;             // -1: as the input (and the stereo option) says
    bool m_monoAsStereo = false;

    CLameStream m_stream;        // under the streaming lock
    std::vector<uint8_t> m_out;  // encoded frames not yet delivered (under the streaming lock)
    std::atomic<bool> m_cutRequested{false};
    bool m_newBitstream = false;
    bool m_ended = false;        // the bitstream was finished (end of stream or tail flushed)
};
