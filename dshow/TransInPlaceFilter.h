// CTransInPlaceFilter: changes samples where they are. The downstream pin's
// allocator is offered upstream and the upstream allocator is handed on, so a
// sample normally passes through without a copy; where the allocators differ
// (or upstream's buffers are read-only and the filter writes) it is copied into
// a buffer of the output's own allocator first.
#pragma once
#include "TransformFilter.h"

class CTransInPlaceFilter : public CTransformFilter {
public:
    // modifiesData: the filter writes into the samples (read-only buffers are then copied).
    CTransInPlaceFilter(const wchar_t* name, REFCLSID clsid, bool modifiesData);

    // Works on one sample in place; S_FALSE drops it.
    virtual HRESULT Transform(IMediaSample* sample) = 0;

    // Defaults: the output offers and accepts exactly the input's type.
    HRESULT CheckTransform(const CMediaType* in, const CMediaType* out) override;
    HRESULT GetMediaType(int position, CMediaType* mt) override;
    // Used only when the output needs its own allocator: the input's buffer layout.
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

    HRESULT Receive(IMediaSample* sample) override;
    HRESULT GetInputAllocator(IMemAllocator** allocator) override;
    HRESULT DecideOutputAllocator(IMemInputPin* pin, IMemAllocator** allocator) override;

    // True while samples go through without a copy.
    bool PassesThrough() const;

protected:
    bool m_modifiesData;

private:
    HRESULT CopySample(IMediaSample* in, IMediaSample** out);
};
