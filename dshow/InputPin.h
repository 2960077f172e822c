// CBaseInputPin: an input pin that takes samples through IMemInputPin.
#pragma once
#include "BasePin.h"

class CBaseInputPin : public CBasePin, public IMemInputPin {
public:
    CBaseInputPin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name);
    ~CBaseInputPin() override;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return NonDelegatingQueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return NonDelegatingAddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return NonDelegatingRelease(); }
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IPin
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    // IMemInputPin
    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override { return E_NOTIMPL; }
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long count, long* processed) override;
    STDMETHODIMP ReceiveCanBlock() override { return S_OK; }

    HRESULT CheckConnect(IPin* pin) override;
    HRESULT BreakConnect() override;
    HRESULT Inactive() override;

    // S_OK while samples may be taken, S_FALSE while flushing, an error otherwise.
    HRESULT CheckStreaming();
    bool IsFlushing() const { return m_flushing; }
    bool IsReadOnly() const { return m_readOnly; }
    IMemAllocator* Allocator() const { return m_allocator; }   // no reference added
    // After a fatal streaming error no more samples are accepted until a stop or flush.
    void SetRunTimeError() { m_runTimeError = true; }

protected:
    IMemAllocator* m_allocator = nullptr;
    bool m_readOnly = false;
    volatile bool m_flushing = false;
    volatile bool m_runTimeError = false;
};
