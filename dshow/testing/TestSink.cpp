#include <initguid.h>
#include "TestSink.h"

CTestSinkInputPin::CTestSinkInputPin(CTestSink* sink, CCritSec* lock)
    : CBaseInputPin(sink, lock, L"In"), m_sink(sink)
{
}

STDMETHODIMP CTestSinkInputPin::Receive(IMediaSample* sample)
{
    HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK)
        return hr;
    return m_sink->OnSample(sample);
}

STDMETHODIMP CTestSinkInputPin::EndOfStream()
{
    HRESULT hr = CheckStreaming();
    if (hr != S_OK)
        return hr;
    return m_sink->OnEndOfStream();
}

STDMETHODIMP CTestSinkInputPin::BeginFlush()
{
    return CBaseInputPin::BeginFlush();
}

HRESULT CTestSinkInputPin::CheckMediaType(const CMediaType* mt)
{
    return mt->MatchesPartial(m_sink->Accepted()) ? S_OK : S_FALSE;
}

HRESULT CTestSinkInputPin::GetMediaType(int position, CMediaType* mt)
{
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0 || !m_sink->Accepted().IsFullySpecified())
        return VFW_S_NO_MORE_ITEMS;
    *mt = m_sink->Accepted();
    return S_OK;
}

CTestSink* CTestSink::Create(const AM_MEDIA_TYPE* accepted)
{
    auto* sink = new CTestSink(accepted);
    sink->AddRef();
    return sink;
}

CTestSink::CTestSink(const AM_MEDIA_TYPE* accepted)
    : CBaseFilter(L"Test Sink", &m_csFilter, CLSID_TestSink, true), m_pin(this, &m_csFilter)
{
    if (accepted)
        m_accepted = *accepted;
    else
        m_accepted.lSampleSize = 0;
    m_eosEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

CTestSink::~CTestSink() { CloseHandle(m_eosEvent); }

CBasePin* CTestSink::GetPin(int n) { return n == 0 ? &m_pin : nullptr; }

HRESULT CTestSink::OnSample(IMediaSample* sample)
{
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    long length = sample->GetActualDataLength();
    SampleInfo info = {length, false, 0, 0, data};
    info.timed = sample->GetTime(&info.start, &info.stop) != VFW_E_SAMPLE_TIME_NOT_SET;
    CAutoLock lock(&m_csData);
    if (data && length > 0)
        m_bytes.insert(m_bytes.end(), data, data + length);
    m_samples.push_back(info);
    return S_OK;
}

HRESULT CTestSink::OnEndOfStream()
{
    {
        CAutoLock lock(&m_csData);
        m_eos = true;
    }
    SetEvent(m_eosEvent);
    NotifyEndOfStream();
    return S_OK;
}

std::vector<BYTE> CTestSink::Bytes()
{
    CAutoLock lock(&m_csData);
    return m_bytes;
}

std::vector<CTestSink::SampleInfo> CTestSink::Samples()
{
    CAutoLock lock(&m_csData);
    return m_samples;
}

bool CTestSink::EndOfStreamSeen()
{
    CAutoLock lock(&m_csData);
    return m_eos;
}

void CTestSink::ClearReceived()
{
    CAutoLock lock(&m_csData);
    m_bytes.clear();
    m_samples.clear();
    m_eos = false;
    ResetEvent(m_eosEvent);
}

bool CTestSink::WaitForEndOfStream(DWORD timeoutMs)
{
    return WaitForSingleObject(m_eosEvent, timeoutMs) == WAIT_OBJECT_0;
}
