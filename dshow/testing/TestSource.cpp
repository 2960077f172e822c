#include <initguid.h>
#include "TestSource.h"
#include <algorithm>
#include <cstring>

CTestSourceStream::CTestSourceStream(CTestSource* filter) : CSourceStream(filter, L"Out"), m_owner(filter) {}

HRESULT CTestSourceStream::OnThreadCreate()
{
    m_owner->m_position = 0;
    m_owner->m_delivered = 0;
    return S_OK;
}

HRESULT CTestSourceStream::FillBuffer(IMediaSample* sample)
{
    CTestSource& src = *m_owner;
    if (src.m_delayMs)
        Sleep(src.m_delayMs);
    if (src.m_position >= src.m_data.size())
        return S_FALSE;
    BYTE* out = nullptr;
    sample->GetPointer(&out);
    size_t count = std::min<size_t>({(size_t)src.m_sampleBytes, (size_t)sample->GetSize(),
                                     src.m_data.size() - src.m_position});
    memcpy(out, src.m_data.data() + src.m_position, count);
    sample->SetActualDataLength((long)count);
    const WAVEFORMATEX* wfx = src.m_type.WaveFormat();
    if (wfx && wfx->nAvgBytesPerSec) {
        REFERENCE_TIME start = (REFERENCE_TIME)src.m_position * 10000000 / wfx->nAvgBytesPerSec;
        REFERENCE_TIME stop = (REFERENCE_TIME)(src.m_position + count) * 10000000 / wfx->nAvgBytesPerSec;
        sample->SetTime(&start, &stop);
    } else {
        sample->SetTime(nullptr, nullptr);
    }
    sample->SetSyncPoint(TRUE);
    sample->SetDiscontinuity(src.m_position == 0);
    src.m_position += count;
    InterlockedIncrement(&src.m_delivered);
    return S_OK;
}

HRESULT CTestSourceStream::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    if (request->cBuffers < 4)
        request->cBuffers = 4;
    if (request->cbBuffer < m_owner->m_sampleBytes)
        request->cbBuffer = m_owner->m_sampleBytes;
    return SetAllocatorProperties(allocator, request);
}

HRESULT CTestSourceStream::CheckMediaType(const CMediaType* mt)
{
    return *mt == m_owner->m_type ? S_OK : S_FALSE;
}

HRESULT CTestSourceStream::GetMediaType(int position, CMediaType* mt)
{
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    *mt = m_owner->m_type;
    return S_OK;
}

CTestSource* CTestSource::Create(const CMediaType& type, std::vector<BYTE> data, long sampleBytes, bool live)
{
    auto* source = new CTestSource(type, std::move(data), sampleBytes, live);
    source->AddRef();
    return source;
}

CTestSource::CTestSource(const CMediaType& type, std::vector<BYTE> data, long sampleBytes, bool live)
    : CSource(L"Test Source", CLSID_TestSource, live), m_type(type), m_data(std::move(data)),
      m_sampleBytes(sampleBytes > 0 ? sampleBytes : 4096)
{
    m_stream = new CTestSourceStream(this);
}
