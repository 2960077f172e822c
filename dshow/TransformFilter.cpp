#include "TransformFilter.h"

// ---- input pin ----

CTransformInputPin::CTransformInputPin(CTransformFilter* filter, CCritSec* lock)
    : CBaseInputPin(filter, lock, L"Input"), m_transform(filter)
{
}

STDMETHODIMP CTransformInputPin::GetAllocator(IMemAllocator** allocator)
{
    if (!allocator)
        return E_POINTER;
    return m_transform->GetInputAllocator(allocator);
}

STDMETHODIMP CTransformInputPin::Receive(IMediaSample* sample)
{
    if (!sample)
        return E_POINTER;
    return m_transform->Receive(sample);
}

STDMETHODIMP CTransformInputPin::EndOfStream() { return m_transform->EndOfStream(); }

STDMETHODIMP CTransformInputPin::BeginFlush()
{
    CAutoLock lock(m_lock);
    if (!IsConnected() || !m_transform->OutputPin()->IsConnected())
        return VFW_E_NOT_CONNECTED;
    HRESULT hr = CBaseInputPin::BeginFlush();
    if (FAILED(hr))
        return hr;
    return m_transform->BeginFlush();
}

STDMETHODIMP CTransformInputPin::EndFlush()
{
    CAutoLock lock(m_lock);
    if (!IsConnected() || !m_transform->OutputPin()->IsConnected())
        return VFW_E_NOT_CONNECTED;
    HRESULT hr = m_transform->EndFlush();
    if (FAILED(hr))
        return hr;
    return CBaseInputPin::EndFlush();
}

STDMETHODIMP CTransformInputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    CBasePin::NewSegment(start, stop, rate);
    return m_transform->NewSegment(start, stop, rate);
}

HRESULT CTransformInputPin::CheckMediaType(const CMediaType* mt)
{
    HRESULT hr = m_transform->CheckInputType(mt);
    if (hr != S_OK)
        return hr;
    // A reconnection must still suit the connected output.
    CTransformOutputPin* out = m_transform->OutputPin();
    if (out->IsConnected())
        return m_transform->CheckTransform(mt, &out->CurrentMediaType());
    return S_OK;
}

HRESULT CTransformInputPin::SetMediaType(const CMediaType* mt)
{
    HRESULT hr = CBaseInputPin::SetMediaType(mt);
    if (FAILED(hr))
        return hr;
    return m_transform->SetMediaType(PINDIR_INPUT, mt);
}

HRESULT CTransformInputPin::CheckConnect(IPin* pin)
{
    HRESULT hr = m_transform->CheckConnect(PINDIR_INPUT, pin);
    if (FAILED(hr))
        return hr;
    return CBaseInputPin::CheckConnect(pin);
}

HRESULT CTransformInputPin::CompleteConnect(IPin* pin)
{
    HRESULT hr = m_transform->CompleteConnect(PINDIR_INPUT, pin);
    if (FAILED(hr))
        return hr;
    return CBaseInputPin::CompleteConnect(pin);
}

HRESULT CTransformInputPin::BreakConnect()
{
    m_transform->BreakConnect(PINDIR_INPUT);
    return CBaseInputPin::BreakConnect();
}

// ---- output pin ----

CTransformOutputPin::CTransformOutputPin(CTransformFilter* filter, CCritSec* lock)
    : CBaseOutputPin(filter, lock, L"Output"), m_transform(filter), m_seeking(this, filter->InputPin())
{
}

HRESULT CTransformOutputPin::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IMediaSeeking)
        return GetInterface(static_cast<IMediaSeeking*>(&m_seeking), ppv);
    return CBaseOutputPin::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CTransformOutputPin::CheckMediaType(const CMediaType* mt)
{
    CTransformInputPin* in = m_transform->InputPin();
    if (!in->IsConnected())
        return E_UNEXPECTED;
    return m_transform->CheckTransform(&in->CurrentMediaType(), mt);
}

HRESULT CTransformOutputPin::GetMediaType(int position, CMediaType* mt)
{
    if (!m_transform->InputPin()->IsConnected())
        return E_UNEXPECTED;
    return m_transform->GetMediaType(position, mt);
}

HRESULT CTransformOutputPin::SetMediaType(const CMediaType* mt)
{
    HRESULT hr = CBaseOutputPin::SetMediaType(mt);
    if (FAILED(hr))
        return hr;
    return m_transform->SetMediaType(PINDIR_OUTPUT, mt);
}

HRESULT CTransformOutputPin::CheckConnect(IPin* pin)
{
    if (!m_transform->InputPin()->IsConnected())
        return E_UNEXPECTED;
    HRESULT hr = m_transform->CheckConnect(PINDIR_OUTPUT, pin);
    if (FAILED(hr))
        return hr;
    return CBaseOutputPin::CheckConnect(pin);
}

HRESULT CTransformOutputPin::CompleteConnect(IPin* pin)
{
    HRESULT hr = m_transform->CompleteConnect(PINDIR_OUTPUT, pin);
    if (FAILED(hr))
        return hr;
    return CBaseOutputPin::CompleteConnect(pin);
}

HRESULT CTransformOutputPin::BreakConnect()
{
    m_transform->BreakConnect(PINDIR_OUTPUT);
    return CBaseOutputPin::BreakConnect();
}

HRESULT CTransformOutputPin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    return m_transform->DecideBufferSize(allocator, request);
}

HRESULT CTransformOutputPin::DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator)
{
    return m_transform->DecideOutputAllocator(pin, allocator);
}

// ---- filter ----

CTransformFilter::CTransformFilter(const wchar_t* name, REFCLSID clsid) : CBaseFilter(name, &m_csFilter, clsid)
{
    m_input = new CTransformInputPin(this, &m_csFilter);
    m_output = new CTransformOutputPin(this, &m_csFilter);
}

CTransformFilter::~CTransformFilter()
{
    delete m_output;
    delete m_input;
}

CBasePin* CTransformFilter::GetPin(int n)
{
    if (n == 0)
        return m_input;
    if (n == 1)
        return m_output;
    return nullptr;
}

STDMETHODIMP CTransformFilter::Stop()
{
    CAutoLock lock(&m_csFilter);
    if (m_state == State_Stopped)
        return S_OK;
    if (!m_input->IsConnected() || !m_output->IsConnected()) {
        m_state = State_Stopped;
        m_eosDelivered = false;
        return S_OK;
    }
    // Refuse further samples first, then wait for the one in progress.
    m_input->Inactive();
    CAutoLock receive(&m_csReceive);
    m_output->Inactive();
    HRESULT hr = StopStreaming();
    if (SUCCEEDED(hr)) {
        m_state = State_Stopped;
        m_eosDelivered = false;
    }
    return hr;
}

STDMETHODIMP CTransformFilter::Pause()
{
    CAutoLock lock(&m_csFilter);
    if (m_state == State_Paused)
        return S_OK;
    if (!m_input->IsConnected()) {
        // Nothing will arrive: tell downstream at once so the graph can complete.
        if (m_output->IsConnected() && !m_eosDelivered) {
            m_output->DeliverEndOfStream();
            m_eosDelivered = true;
        }
        m_state = State_Paused;
        return S_OK;
    }
    if (!m_output->IsConnected()) {
        m_state = State_Paused;
        return S_OK;
    }
    if (m_state == State_Stopped) {
        CAutoLock receive(&m_csReceive);
        HRESULT hr = StartStreaming();
        if (FAILED(hr))
            return hr;
    }
    return CBaseFilter::Pause();
}

HRESULT CTransformFilter::InitializeOutputSample(IMediaSample* in, IMediaSample** out)
{
    *out = nullptr;
    REFERENCE_TIME start = 0, stop = 0;
    bool timed = in->GetTime(&start, &stop) != VFW_E_SAMPLE_TIME_NOT_SET;
    IMediaSample* sample = nullptr;
    HRESULT hr = m_output->GetDeliveryBuffer(&sample, timed ? &start : nullptr, timed ? &stop : nullptr, 0);
    if (FAILED(hr))
        return hr;
    if (timed)
        sample->SetTime(&start, &stop);
    else
        sample->SetTime(nullptr, nullptr);
    LONGLONG mediaStart = 0, mediaStop = 0;
    if (in->GetMediaTime(&mediaStart, &mediaStop) == S_OK)
        sample->SetMediaTime(&mediaStart, &mediaStop);
    else
        sample->SetMediaTime(nullptr, nullptr);
    sample->SetSyncPoint(in->IsSyncPoint() == S_OK);
    sample->SetDiscontinuity(in->IsDiscontinuity() == S_OK);
    sample->SetPreroll(in->IsPreroll() == S_OK);
    *out = sample;
    return S_OK;
}

HRESULT CTransformFilter::Receive(IMediaSample* sample)
{
    CAutoLock receive(&m_csReceive);
    HRESULT hr = m_input->CheckStreaming();
    if (hr != S_OK)
        return hr;
    IMediaSample* out = nullptr;
    hr = InitializeOutputSample(sample, &out);
    if (FAILED(hr))
        return hr;
    hr = DeliverTransformed(Transform(sample, out), out);
    out->Release();
    return hr;
}

HRESULT CTransformFilter::DeliverTransformed(HRESULT transformResult, IMediaSample* sample)
{
    if (transformResult == S_OK)
        return m_output->Deliver(sample);
    if (transformResult == S_FALSE)
        return S_OK;   // dropped on purpose
    m_input->SetRunTimeError();
    return transformResult;
}

HRESULT CTransformFilter::EndOfStream()
{
    CAutoLock receive(&m_csReceive);
    HRESULT hr = m_input->CheckStreaming();
    if (hr != S_OK)
        return hr;
    m_eosDelivered = true;
    return m_output->DeliverEndOfStream();
}

HRESULT CTransformFilter::BeginFlush() { return m_output->DeliverBeginFlush(); }

HRESULT CTransformFilter::EndFlush() { return m_output->DeliverEndFlush(); }

HRESULT CTransformFilter::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    return m_output->DeliverNewSegment(start, stop, rate);
}
