// CBasePin: IPin with media-type agreement and connection bookkeeping. Pins
// live inside their filter and share its reference count.
#pragma once
#include "MediaType.h"
#include <string>

class CBaseFilter;
class CCritSec;

class CBasePin : public IPin {
public:
    CBasePin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name, PIN_DIRECTION dir);
    virtual ~CBasePin();
    CBasePin(const CBasePin&) = delete;
    CBasePin& operator=(const CBasePin&) = delete;

    virtual HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv);
    ULONG NonDelegatingAddRef();
    ULONG NonDelegatingRelease();
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return NonDelegatingQueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return NonDelegatingAddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return NonDelegatingRelease(); }

    // IPin
    STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt) override;
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* mt) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* dir) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* mt) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
    STDMETHODIMP EndOfStream() override { return S_OK; }
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    // Hooks for derived pins.
    virtual HRESULT CheckMediaType(const CMediaType* mt) = 0;          // S_OK accepts
    virtual HRESULT GetMediaType(int position, CMediaType* mt);          // preferred types
    virtual HRESULT SetMediaType(const CMediaType* mt);
    virtual HRESULT CheckConnect(IPin* pin);
    virtual HRESULT CompleteConnect(IPin* pin) { return S_OK; }
    virtual HRESULT BreakConnect() { return S_OK; }
    // Filter state changes, for connected pins.
    virtual HRESULT Active() { return S_OK; }
    virtual HRESULT Inactive() { return S_OK; }
    virtual HRESULT Run(REFERENCE_TIME start) { return S_OK; }
    virtual HRESULT PauseFromRun() { return S_OK; }

    bool IsConnected() const { return m_connected != nullptr; }
    IPin* GetConnected() const { return m_connected; }   // no reference added
    const CMediaType& CurrentMediaType() const { return m_mt; }
    const std::wstring& Name() const { return m_name; }
    PIN_DIRECTION Direction() const { return m_dir; }
    CBaseFilter* Filter() const { return m_filter; }

protected:
    HRESULT CanConnect() const;   // not connected yet and the filter stopped
    HRESULT AgreeMediaType(IPin* receivePin, const CMediaType* mt);
    HRESULT AttemptConnection(IPin* receivePin, const CMediaType* mt);
    HRESULT TryMediaTypes(IPin* receivePin, const CMediaType* partial, IEnumMediaTypes* types);

    CBaseFilter* m_filter;
    CCritSec* m_lock;
    std::wstring m_name;
    PIN_DIRECTION m_dir;
    IPin* m_connected = nullptr;
    CMediaType m_mt;
    REFERENCE_TIME m_segmentStart = 0;
    REFERENCE_TIME m_segmentStop = 0;
    double m_segmentRate = 1.0;
};
