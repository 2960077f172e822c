// CBaseOutputPin: an output pin that agrees an allocator with the downstream
// input pin and delivers samples, end of stream, flushes and segments to it.
#pragma once
#include "BasePin.h"

class CBaseOutputPin : public CBasePin {
public:
    CBaseOutputPin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name);
    ~CBaseOutputPin() override;

    // IPin: an output pin takes no stream calls.
    STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
    STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }

    HRESULT CheckConnect(IPin* pin) override;
    HRESULT CompleteConnect(IPin* pin) override;
    HRESULT BreakConnect() override;
    HRESULT Active() override;     // commits the allocator
    HRESULT Inactive() override;   // decommits it, which also frees a thread waiting for a buffer

    // Sizes the buffers of the allocator that was agreed on.
    virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;
    // Takes the downstream pin's allocator, else a memory allocator of our own.
    virtual HRESULT DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator);

    HRESULT GetDeliveryBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* stop, DWORD flags);
    HRESULT Deliver(IMediaSample* sample);
    HRESULT DeliverEndOfStream();
    HRESULT DeliverBeginFlush();
    HRESULT DeliverEndFlush();
    HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

    IMemAllocator* Allocator() const { return m_allocator; }   // no reference added
    IMemInputPin* InputPin() const { return m_inputPin; }       // no reference added

    // Asks the allocator for the request (alignment at least 1); E_FAIL when it
    // grants fewer or smaller buffers.
    static HRESULT SetAllocatorProperties(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request);

protected:
    IMemAllocator* m_allocator = nullptr;
    IMemInputPin* m_inputPin = nullptr;
};
