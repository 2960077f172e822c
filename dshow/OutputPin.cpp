#include "OutputPin.h"
#include "BaseFilter.h"

CBaseOutputPin::CBaseOutputPin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name)
    : CBasePin(filter, lock, name, PINDIR_OUTPUT)
{
}

CBaseOutputPin::~CBaseOutputPin()
{
    if (m_allocator)
        m_allocator->Release();
    if (m_inputPin)
        m_inputPin->Release();
}

HRESULT CBaseOutputPin::CheckConnect(IPin* pin)
{
    HRESULT hr = CBasePin::CheckConnect(pin);
    if (FAILED(hr))
        return hr;
    IMemInputPin* input = nullptr;
    hr = pin->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&input));
    if (FAILED(hr))
        return E_NOINTERFACE;
    if (m_inputPin)
        m_inputPin->Release();
    m_inputPin = input;
    return S_OK;
}

HRESULT CBaseOutputPin::CompleteConnect(IPin*)
{
    return DecideAllocator(m_inputPin, &m_allocator);
}

HRESULT CBaseOutputPin::BreakConnect()
{
    if (m_allocator) {
        m_allocator->Decommit();
        m_allocator->Release();
        m_allocator = nullptr;
    }
    if (m_inputPin) {
        m_inputPin->Release();
        m_inputPin = nullptr;
    }
    return S_OK;
}

HRESULT CBaseOutputPin::DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator)
{
    if (!pin || !allocator)
        return E_POINTER;
    if (*allocator) {
        (*allocator)->Release();
        *allocator = nullptr;
    }
    ALLOCATOR_PROPERTIES request = {};
    pin->GetAllocatorRequirements(&request);
    if (request.cbAlign == 0)
        request.cbAlign = 1;

    IMemAllocator* candidate = nullptr;
    HRESULT hr = pin->GetAllocator(&candidate);
    if (SUCCEEDED(hr)) {
        ALLOCATOR_PROPERTIES props = request;
        hr = DecideBufferSize(candidate, &props);
        if (SUCCEEDED(hr))
            hr = pin->NotifyAllocator(candidate, FALSE);
        if (SUCCEEDED(hr)) {
            *allocator = candidate;
            return S_OK;
        }
        candidate->Release();
        candidate = nullptr;
    }

    hr = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                          reinterpret_cast<void**>(&candidate));
    if (FAILED(hr))
        return hr;
    ALLOCATOR_PROPERTIES props = request;
    hr = DecideBufferSize(candidate, &props);
    if (SUCCEEDED(hr))
        hr = pin->NotifyAllocator(candidate, FALSE);
    if (FAILED(hr)) {
        candidate->Release();
        return hr;
    }
    *allocator = candidate;
    return S_OK;
}

HRESULT CBaseOutputPin::SetAllocatorProperties(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    if (request->cbAlign < 1)
        request->cbAlign = 1;
    ALLOCATOR_PROPERTIES actual = {};
    HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cBuffers < request->cBuffers || actual.cbBuffer < request->cbBuffer ? E_FAIL : S_OK;
}

HRESULT CBaseOutputPin::Active()
{
    return m_allocator ? m_allocator->Commit() : VFW_E_NO_ALLOCATOR;
}

HRESULT CBaseOutputPin::Inactive()
{
    return m_allocator ? m_allocator->Decommit() : VFW_E_NO_ALLOCATOR;
}

HRESULT CBaseOutputPin::GetDeliveryBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* stop,
                                          DWORD flags)
{
    if (!m_allocator)
        return VFW_E_NO_ALLOCATOR;
    return m_allocator->GetBuffer(sample, start, stop, flags);
}

HRESULT CBaseOutputPin::Deliver(IMediaSample* sample)
{
    if (!m_inputPin)
        return VFW_E_NOT_CONNECTED;
    return m_inputPin->Receive(sample);
}

HRESULT CBaseOutputPin::DeliverEndOfStream()
{
    return m_connected ? m_connected->EndOfStream() : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverBeginFlush()
{
    return m_connected ? m_connected->BeginFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverEndFlush()
{
    return m_connected ? m_connected->EndFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    return m_connected ? m_connected->NewSegment(start, stop, rate) : VFW_E_NOT_CONNECTED;
}
