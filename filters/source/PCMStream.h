// The output pin "PCM" of the PCM source: offers the open file's format and
// delivers its bytes from the filter's streaming thread.
#pragma once
#include "Source.h"

class Wavrill;

class PCMStream : public CSourceStream {
public:
    explicit PCMStream(Wavrill* filter);

    HRESULT GetMediaType(int position, CMediaType* mt) override;
    HRESULT CheckMediaType(const CMediaType* mt) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT FillBuffer(IMediaSample* sample) override;
    HRESULT OnThreadCreate() override;

private:
    Wavrill* m_owner;
};
