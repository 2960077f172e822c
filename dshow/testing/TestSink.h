// CTestSink: a renderer for tests that keeps every byte and sample time it
// receives. It declares itself a renderer, so the graph reports EC_COMPLETE
// once the sink has seen end of stream while running.
#pragma once
#include "BaseFilter.h"
#include "InputPin.h"
#include <vector>

// {5E0C7A31-2C4B-4B7E-9D1F-6A3B2C1D0E01}
DEFINE_GUID(CLSID_TestSink, 0x5e0c7a31, 0x2c4b, 0x4b7e, 0x9d, 0x1f, 0x6a, 0x3b, 0x2c, 0x1d, 0x0e, 0x01);

class CTestSink;

class CTestSinkInputPin : public CBaseInputPin {
public:
    CTestSinkInputPin(CTestSink* sink, CCritSec* lock);
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP ReceiveCanBlock() override { return S_FALSE; }
    STDMETHODIMP BeginFlush() override;
    HRESULT CheckMediaType(const CMediaType* mt) override;
    HRESULT GetMediaType(int position, CMediaType* mt) override;

private:
    CTestSink* m_sink;
};

class CTestSink : public CBaseFilter {
public:
    struct SampleInfo {
        long length;
        bool timed;
        REFERENCE_TIME start, stop;
        BYTE* buffer;   // where the data was, to see whether samples were copied on the way
    };

    // Created with one reference; the accepted type is any type matching `accepted`
    // (major type / subtype / format type left GUID_NULL match anything).
    static CTestSink* Create(const AM_MEDIA_TYPE* accepted = nullptr);

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override;

    IPin* InputPin() { return &m_pin; }
    std::vector<BYTE> Bytes();
    std::vector<SampleInfo> Samples();
    bool EndOfStreamSeen();
    void ClearReceived();
    // Waits until end of stream arrived (true) or the time ran out.
    bool WaitForEndOfStream(DWORD timeoutMs);

    // Called by the pin.
    HRESULT OnSample(IMediaSample* sample);
    HRESULT OnEndOfStream();
    const CMediaType& Accepted() const { return m_accepted; }

private:
    explicit CTestSink(const AM_MEDIA_TYPE* accepted);
    ~CTestSink() override;

    CCritSec m_csFilter;
    CCritSec m_csData;
    CTestSinkInputPin m_pin;
    CMediaType m_accepted;
    std::vector<BYTE> m_bytes;
    std::vector<SampleInfo> m_samples;
    bool m_eos = false;
    HANDLE m_eosEvent;
};
