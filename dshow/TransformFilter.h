// CTransformFilter: one input, one output, its own output allocator; each input
// sample becomes one output sample through Transform. Samples run under the
// streaming lock only, so Stop (which holds the state lock) never waits on a
// Transform that waits for it. The output pin passes IMediaSeeking upstream.
#pragma once
#include "BaseFilter.h"
#include "InputPin.h"
#include "OutputPin.h"
#include "SeekingPassThru.h"

class CTransformFilter;

class CTransformInputPin : public CBaseInputPin {
public:
    CTransformInputPin(CTransformFilter* filter, CCritSec* lock);

    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    HRESULT CheckMediaType(const CMediaType* mt) override;
    HRESULT SetMediaType(const CMediaType* mt) override;
    HRESULT CheckConnect(IPin* pin) override;
    HRESULT CompleteConnect(IPin* pin) override;
    HRESULT BreakConnect() override;

    HRESULT BaseGetAllocator(IMemAllocator** allocator) { return CBaseInputPin::GetAllocator(allocator); }

private:
    CTransformFilter* m_transform;
};

class CTransformOutputPin : public CBaseOutputPin {
public:
    CTransformOutputPin(CTransformFilter* filter, CCritSec* lock);

    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    HRESULT CheckMediaType(const CMediaType* mt) override;
    HRESULT GetMediaType(int position, CMediaType* mt) override;
    HRESULT SetMediaType(const CMediaType* mt) override;
    HRESULT CheckConnect(IPin* pin) override;
    HRESULT CompleteConnect(IPin* pin) override;
    HRESULT BreakConnect() override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator) override;

    HRESULT BaseDecideAllocator(IMemInputPin* pin, IMemAllocator** allocator)
    {
        return CBaseOutputPin::DecideAllocator(pin, allocator);
    }

private:
    CTransformFilter* m_transform;
    CSeekingPassThru m_seeking;
};

class CTransformFilter : public CBaseFilter {
public:
    CTransformFilter(const wchar_t* name, REFCLSID clsid);
    ~CTransformFilter() override;

    int GetPinCount() override { return 2; }
    CBasePin* GetPin(int n) override;

    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;

    // What a concrete transform decides.
    virtual HRESULT CheckInputType(const CMediaType* in) = 0;
    virtual HRESULT CheckTransform(const CMediaType* in, const CMediaType* out) = 0;
    virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;
    virtual HRESULT GetMediaType(int position, CMediaType* mt) = 0;
    // Fills out from in; S_FALSE drops the sample.
    virtual HRESULT Transform(IMediaSample* in, IMediaSample* out) { return E_UNEXPECTED; }

    virtual HRESULT StartStreaming() { return S_OK; }
    virtual HRESULT StopStreaming() { return S_OK; }
    virtual HRESULT SetMediaType(PIN_DIRECTION dir, const CMediaType* mt) { return S_OK; }
    virtual HRESULT CheckConnect(PIN_DIRECTION dir, IPin* pin) { return S_OK; }
    virtual HRESULT CompleteConnect(PIN_DIRECTION dir, IPin* pin) { return S_OK; }
    virtual HRESULT BreakConnect(PIN_DIRECTION dir) { return S_OK; }

    // Streaming entry points, called by the pins.
    virtual HRESULT Receive(IMediaSample* sample);
    virtual HRESULT EndOfStream();
    virtual HRESULT BeginFlush();
    virtual HRESULT EndFlush();
    virtual HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

    // Allocator policy; the in-place transform passes the downstream allocator up.
    virtual HRESULT GetInputAllocator(IMemAllocator** allocator) { return m_input->BaseGetAllocator(allocator); }
    virtual HRESULT DecideOutputAllocator(IMemInputPin* pin, IMemAllocator** allocator)
    {
        return m_output->BaseDecideAllocator(pin, allocator);
    }

    CTransformInputPin* InputPin() const { return m_input; }
    CTransformOutputPin* OutputPin() const { return m_output; }

protected:
    // A delivery buffer carrying the input sample's times and flags.
    HRESULT InitializeOutputSample(IMediaSample* in, IMediaSample** out);
    // Delivers a transformed sample (S_OK), drops it (S_FALSE), or stops taking samples (an error).
    HRESULT DeliverTransformed(HRESULT transformResult, IMediaSample* sample);

    CCritSec m_csFilter;    // state lock
    CCritSec m_csReceive;   // streaming lock
    CTransformInputPin* m_input;
    CTransformOutputPin* m_output;
    bool m_eosDelivered = false;
};
