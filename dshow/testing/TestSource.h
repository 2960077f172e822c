// CTestSource: a push source for tests that delivers a fixed byte string in
// samples of a chosen size, with a chosen media type, then ends the stream.
// For audio types the samples carry time stamps from the byte rate.
#pragma once
#include "Source.h"
#include <vector>

// {5E0C7A31-2C4B-4B7E-9D1F-6A3B2C1D0E02}
DEFINE_GUID(CLSID_TestSource, 0x5e0c7a31, 0x2c4b, 0x4b7e, 0x9d, 0x1f, 0x6a, 0x3b, 0x2c, 0x1d, 0x0e, 0x02);

class CTestSource;

class CTestSourceStream : public CSourceStream {
public:
    CTestSourceStream(CTestSource* filter);
    HRESULT FillBuffer(IMediaSample* sample) override;
    HRESULT OnThreadCreate() override;   // each run starts at the first byte
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT CheckMediaType(const CMediaType* mt) override;
    HRESULT GetMediaType(int position, CMediaType* mt) override;

private:
    CTestSource* m_owner;
};

class CTestSource : public CSource {
public:
    // Created with one reference.
    static CTestSource* Create(const CMediaType& type, std::vector<BYTE> data, long sampleBytes,
                               bool live = false);

    IPin* OutputPin() { return m_stream; }
    // Samples delivered since the last stop (read after the stream ended).
    long SamplesDelivered() const { return m_delivered; }
    // When set, each FillBuffer waits this long: lets tests stop a graph mid-stream.
    void SetDelayPerSample(DWORD ms) { m_delayMs = ms; }

private:
    friend class CTestSourceStream;
    CTestSource(const CMediaType& type, std::vector<BYTE> data, long sampleBytes, bool live);

    CTestSourceStream* m_stream;
    CMediaType m_type;
    std::vector<BYTE> m_data;
    long m_sampleBytes;
    size_t m_position = 0;
    volatile long m_delivered = 0;
    DWORD m_delayMs = 0;
};
