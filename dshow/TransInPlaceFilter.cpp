#include "TransInPlaceFilter.h"
#include <algorithm>
#include <cstring>

CTransInPlaceFilter::CTransInPlaceFilter(const wchar_t* name, REFCLSID clsid, bool modifiesData)
    : CTransformFilter(name, clsid), m_modifiesData(modifiesData)
{
}

HRESULT CTransInPlaceFilter::CheckTransform(const CMediaType* in, const CMediaType* out)
{
    if (CheckInputType(in) != S_OK)
        return E_FAIL;
    return *in == *out ? S_OK : E_FAIL;
}

HRESULT CTransInPlaceFilter::GetMediaType(int position, CMediaType* mt)
{
    if (!m_input->IsConnected())
        return E_UNEXPECTED;
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    *mt = m_input->CurrentMediaType();
    return S_OK;
}

HRESULT CTransInPlaceFilter::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    ALLOCATOR_PROPERTIES upstream = {};
    IMemAllocator* input = m_input->Allocator();
    if (input && SUCCEEDED(input->GetProperties(&upstream)) && upstream.cBuffers > 0) {
        request->cBuffers = std::max(request->cBuffers, upstream.cBuffers);
        request->cbBuffer = std::max(request->cbBuffer, upstream.cbBuffer);
    }
    if (request->cBuffers < 1)
        request->cBuffers = 1;
    if (request->cbBuffer < 1)
        request->cbBuffer = 65536;
    return CBaseOutputPin::SetAllocatorProperties(allocator, request);
}

HRESULT CTransInPlaceFilter::GetInputAllocator(IMemAllocator** allocator)
{
    // Offer the downstream allocator so that upstream fills buffers we can pass on.
    IMemInputPin* downstream = m_output->InputPin();
    if (m_output->IsConnected() && downstream && SUCCEEDED(downstream->GetAllocator(allocator)))
        return S_OK;
    return CTransformFilter::GetInputAllocator(allocator);
}

HRESULT CTransInPlaceFilter::DecideOutputAllocator(IMemInputPin* pin, IMemAllocator** allocator)
{
    IMemAllocator* upstream = m_input->Allocator();
    bool mustCopy = m_modifiesData && m_input->IsReadOnly();
    if (upstream && !mustCopy) {
        if (*allocator) {
            (*allocator)->Release();
            *allocator = nullptr;
        }
        if (SUCCEEDED(pin->NotifyAllocator(upstream, m_input->IsReadOnly()))) {
            upstream->AddRef();
            *allocator = upstream;
            return S_OK;
        }
    }
    return CTransformFilter::DecideOutputAllocator(pin, allocator);
}

bool CTransInPlaceFilter::PassesThrough() const
{
    return m_input->Allocator() && m_input->Allocator() == m_output->Allocator();
}

HRESULT CTransInPlaceFilter::CopySample(IMediaSample* in, IMediaSample** out)
{
    HRESULT hr = InitializeOutputSample(in, out);
    if (FAILED(hr))
        return hr;
    BYTE* src = nullptr;
    BYTE* dst = nullptr;
    in->GetPointer(&src);
    (*out)->GetPointer(&dst);
    long length = in->GetActualDataLength();
    if (length > (*out)->GetSize()) {
        (*out)->Release();
        *out = nullptr;
        return VFW_E_BUFFER_OVERFLOW;
    }
    memcpy(dst, src, length);
    (*out)->SetActualDataLength(length);
    return S_OK;
}

HRESULT CTransInPlaceFilter::Receive(IMediaSample* sample)
{
    CAutoLock receive(&m_csReceive);
    HRESULT hr = m_input->CheckStreaming();
    if (hr != S_OK)
        return hr;
    IMediaSample* work = sample;
    bool copied = !PassesThrough();
    if (copied) {
        hr = CopySample(sample, &work);
        if (FAILED(hr)) {
            m_input->SetRunTimeError();
            return hr;
        }
    }
    hr = DeliverTransformed(Transform(work), work);
    if (copied)
        work->Release();
    return hr;
}
