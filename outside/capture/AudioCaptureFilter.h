// "Sonelle Audio Capture": a live audio capture source over one wave-in device.
// One output pin "Capture" offers PCM in the format chosen through
// IAMStreamConfig (2 / 16 / 44100 by default), sizes its buffers as
// IAMBufferNegotiation suggested, names its category (capture) through
// IKsPropertySet, and stamps samples with the graph clock. Live: nothing is
// delivered while paused and GetState answers VFW_S_CANT_CUE then.
#pragma once
#include "Source.h"
#include "WaveInReader.h"
#include <ocidl.h>

class CAudioCaptureFilter;

class CAudioCapturePin : public CSourceStream, public IAMBufferNegotiation, public IAMStreamConfig,
                         public IKsPropertySet {
public:
    explicit CAudioCapturePin(CAudioCaptureFilter* filter);
    ~CAudioCapturePin() override;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return NonDelegatingQueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return NonDelegatingAddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return NonDelegatingRelease(); }
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // Pin
    HRESULT CheckMediaType(const CMediaType* mt) override;
    HRESULT GetMediaType(int position, CMediaType* mt) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT FillBuffer(IMediaSample* sample) override;
    HRESULT OnThreadCreate() override;
    HRESULT OnThreadDestroy() override;
    HRESULT OnThreadStartPlay() override;
    HRESULT Active() override;
    HRESULT Inactive() override;
    HRESULT Run(REFERENCE_TIME start) override;
    HRESULT PauseFromRun() override;

    // IAMBufferNegotiation
    STDMETHODIMP SuggestAllocatorProperties(const ALLOCATOR_PROPERTIES* props) override;
    STDMETHODIMP GetAllocatorProperties(ALLOCATOR_PROPERTIES* props) override;
    // IAMStreamConfig
    STDMETHODIMP SetFormat(AM_MEDIA_TYPE* mt) override;
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** mt) override;
    STDMETHODIMP GetNumberOfCapabilities(int* count, int* size) override;
    STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE** mt, BYTE* caps) override;
    // IKsPropertySet (DirectShow's method order)
    STDMETHODIMP Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength, LPVOID data,
                     DWORD dataLength) override;
    STDMETHODIMP Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength, LPVOID data,
                     DWORD dataLength, DWORD* returned) override;
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

    // The formats offered through GetStreamCaps, most wanted first.
    static const int FormatCount = 12;
    static WAVEFORMATEX FormatAt(int index);

private:
    CAudioCaptureFilter* m_capture;
    WAVEFORMATEX m_format;                  // what the pin delivers
    ALLOCATOR_PROPERTIES m_suggested;       // cBuffers / cbBuffer -1: no suggestion
    ALLOCATOR_PROPERTIES m_actual = {};
    CWaveInReader m_reader;
    HANDLE m_abort;                         // ends a wait for the device at stop
    REFERENCE_TIME m_lastStop = 0;
    LONGLONG m_bytesDelivered = 0;
    bool m_threadRunning = false;           // the streaming thread got its first run
};

class CAudioCaptureFilter : public CSource, public IPersistPropertyBag {
public:
    static CUnknown* CreateInstance(HRESULT* result);

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_SOURCE; }
    STDMETHODIMP GetClassID(CLSID* clsid) override { return CBaseFilter::GetClassID(clsid); }

    // IPersistPropertyBag: the device moniker's bag names the wave-in device.
    STDMETHODIMP InitNew() override { return S_OK; }
    STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
    STDMETHODIMP Save(IPropertyBag*, BOOL, BOOL) override { return E_NOTIMPL; }

    UINT Device() const { return m_device; }
    IReferenceClock* Clock() const { return m_clock; }

private:
    CAudioCaptureFilter();
    UINT m_device = WAVE_MAPPER;
    CAudioCapturePin* m_pin;
};

// Wave-in device whose name (cut to the caps' 31 characters) begins the name.
UINT FindWaveInByName(const wchar_t* name);
