// The kit's filters in real graphs of the platform's graph manager.
#include "ClassFactory.h"
#include "TestGraph.h"
#include "TestSink.h"
#include "TestSource.h"
#include "TransInPlaceFilter.h"
#include "TransformFilter.h"
#include <gtest/gtest.h>
#include <initguid.h>

// {5E0C7A31-2C4B-4B7E-9D1F-6A3B2C1D0E10}
DEFINE_GUID(CLSID_InvertFilter, 0x5e0c7a31, 0x2c4b, 0x4b7e, 0x9d, 0x1f, 0x6a, 0x3b, 0x2c, 0x1d, 0x0e, 0x10);
// {5E0C7A31-2C4B-4B7E-9D1F-6A3B2C1D0E11}
DEFINE_GUID(CLSID_AddOneFilter, 0x5e0c7a31, 0x2c4b, 0x4b7e, 0x9d, 0x1f, 0x6a, 0x3b, 0x2c, 0x1d, 0x0e, 0x11);

namespace {

// In place: every byte inverted.
class CInvertFilter : public CTransInPlaceFilter {
public:
    CInvertFilter() : CTransInPlaceFilter(L"Invert", CLSID_InvertFilter, true) {}
    HRESULT CheckInputType(const CMediaType* in) override
    {
        return in->majortype == MEDIATYPE_Audio ? S_OK : E_FAIL;
    }
    HRESULT Transform(IMediaSample* sample) override
    {
        BYTE* p = nullptr;
        sample->GetPointer(&p);
        for (long i = 0; i < sample->GetActualDataLength(); i++)
            p[i] = BYTE(~p[i]);
        samples++;
        return S_OK;
    }
    int samples = 0;
};

// Into a buffer of its own: every byte plus one.
class CAddOneFilter : public CTransformFilter {
public:
    CAddOneFilter() : CTransformFilter(L"Add One", CLSID_AddOneFilter) {}
    HRESULT CheckInputType(const CMediaType* in) override
    {
        return in->majortype == MEDIATYPE_Audio ? S_OK : E_FAIL;
    }
    HRESULT CheckTransform(const CMediaType* in, const CMediaType* out) override
    {
        return *in == *out ? S_OK : E_FAIL;
    }
    HRESULT GetMediaType(int position, CMediaType* mt) override
    {
        if (position < 0)
            return E_INVALIDARG;
        if (position > 0)
            return VFW_S_NO_MORE_ITEMS;
        *mt = InputPin()->CurrentMediaType();
        return S_OK;
    }
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override
    {
        request->cBuffers = 2;
        request->cbBuffer = 8192;
        request->cbAlign = 1;
        ALLOCATOR_PROPERTIES actual;
        return allocator->SetProperties(request, &actual);
    }
    HRESULT Transform(IMediaSample* in, IMediaSample* out) override
    {
        BYTE *src = nullptr, *dst = nullptr;
        in->GetPointer(&src);
        out->GetPointer(&dst);
        long n = in->GetActualDataLength();
        for (long i = 0; i < n; i++)
            dst[i] = BYTE(src[i] + 1);
        out->SetActualDataLength(n);
        return S_OK;
    }
};

std::vector<BYTE> Pattern(size_t n)
{
    std::vector<BYTE> v(n);
    for (size_t i = 0; i < n; i++)
        v[i] = BYTE(i * 7 + (i >> 8));
    return v;
}

class FilterKit : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(graph.Ok()); }
    CTestGraph graph;
    CMediaType pcm = CMediaType::Pcm(44100, 2, 16);
};

TEST_F(FilterKit, SourceToSinkDeliversEveryByteWithTimesAndCompletes)
{
    std::vector<BYTE> data = Pattern(100000);
    CComPtr<CTestSource> source;
    source.Attach(CTestSource::Create(pcm, data, 4096));
    CComPtr<CTestSink> sink;
    sink.Attach(CTestSink::Create());
    ASSERT_EQ(S_OK, graph.Chain({source, sink}));

    EXPECT_EQ(EC_COMPLETE, graph.RunToCompletion(10000));
    EXPECT_EQ(data, sink->Bytes());
    auto samples = sink->Samples();
    ASSERT_EQ(25u, samples.size());   // 24 full samples and 1696 bytes
    EXPECT_EQ(1696, samples.back().length);
    ASSERT_TRUE(samples[1].timed);
    EXPECT_EQ(4096LL * 10000000 / 176400, samples[1].start);
    EXPECT_TRUE(sink->EndOfStreamSeen());
    graph.Stop();
}

TEST_F(FilterKit, InPlaceTransformPassesTheUpstreamBuffersThrough)
{
    std::vector<BYTE> data = Pattern(50000);
    CComPtr<CTestSource> source;
    source.Attach(CTestSource::Create(pcm, data, 4000));
    CComPtr<CInvertFilter> invert;
    invert = new CInvertFilter;
    CComPtr<CTestSink> sink;
    sink.Attach(CTestSink::Create());
    ASSERT_EQ(S_OK, graph.Chain({source, invert, sink}));
    EXPECT_TRUE(invert->PassesThrough());

    EXPECT_EQ(EC_COMPLETE, graph.RunToCompletion(10000));
    std::vector<BYTE> expected = data;
    for (BYTE& b : expected)
        b = BYTE(~b);
    EXPECT_EQ(expected, sink->Bytes());
    EXPECT_EQ(13, invert->samples);

    // The output pin's media type is the input's.
    AM_MEDIA_TYPE mt;
    CComPtr<IPin> out;
    out.Attach(CTestGraph::FindPin(invert, PINDIR_OUTPUT, false));
    ASSERT_EQ(S_OK, out->ConnectionMediaType(&mt));
    EXPECT_TRUE(CMediaType(mt) == pcm);
    FreeMediaType(mt);
}

TEST_F(FilterKit, TransformWithItsOwnAllocatorCopiesIntoNewBuffers)
{
    std::vector<BYTE> data = Pattern(30000);
    CComPtr<CTestSource> source;
    source.Attach(CTestSource::Create(pcm, data, 3000));
    CComPtr<CAddOneFilter> addOne;
    addOne = new CAddOneFilter;
    CComPtr<CTestSink> sink;
    sink.Attach(CTestSink::Create());
    ASSERT_EQ(S_OK, graph.Chain({source, addOne, sink}));
    EXPECT_NE(addOne->InputPin()->Allocator(), addOne->OutputPin()->Allocator());

    EXPECT_EQ(EC_COMPLETE, graph.RunToCompletion(10000));
    std::vector<BYTE> expected = data;
    for (BYTE& b : expected)
        b = BYTE(b + 1);
    EXPECT_EQ(expected, sink->Bytes());
    auto samples = sink->Samples();
    ASSERT_EQ(10u, samples.size());
    EXPECT_EQ(3000LL * 10000000 / 176400, samples[1].start);   // times carried over
}

TEST_F(FilterKit, RefusedTypeFailsTheConnection)
{
    CMediaType video;
    video.majortype = MEDIATYPE_Video;
    video.subtype = MEDIASUBTYPE_RGB24;
    CComPtr<CTestSource> source;
    source.Attach(CTestSource::Create(video, Pattern(10), 10));
    CComPtr<CInvertFilter> invert;
    invert = new CInvertFilter;
    graph.Add(source, L"source");
    graph.Add(invert, L"invert");
    EXPECT_TRUE(FAILED(graph.ConnectDirect(source, invert)));
    EXPECT_FALSE(invert->InputPin()->IsConnected());
}

TEST_F(FilterKit, StopAtRandomMomentsNeverHangsAndARunAfterwardsIsComplete)
{
    std::vector<BYTE> data = Pattern(40000);
    CComPtr<CTestSource> source;
    source.Attach(CTestSource::Create(pcm, data, 1000));
    CComPtr<CInvertFilter> invert;
    invert = new CInvertFilter;
    CComPtr<CTestSink> sink;
    sink.Attach(CTestSink::Create());
    ASSERT_EQ(S_OK, graph.Chain({source, invert, sink}));

    source->SetDelayPerSample(1);
    DWORD begin = GetTickCount();
    for (int i = 0; i < 15; i++) {
        ASSERT_TRUE(SUCCEEDED(graph.Run()));
        Sleep(i % 5);
        ASSERT_TRUE(SUCCEEDED(graph.Stop()));
    }
    EXPECT_LT(GetTickCount() - begin, 10000u);

    source->SetDelayPerSample(0);
    sink->ClearReceived();
    EXPECT_EQ(EC_COMPLETE, graph.RunToCompletion(10000));
    EXPECT_EQ(data.size(), sink->Bytes().size());
}

TEST_F(FilterKit, LiveSourceDeliversOnlyWhileRunning)
{
    CComPtr<CTestSource> source;
    source.Attach(CTestSource::Create(pcm, Pattern(8000), 1000, true));
    CComPtr<CTestSink> sink;
    sink.Attach(CTestSink::Create());
    ASSERT_EQ(S_OK, graph.Chain({source, sink}));

    CComQIPtr<IMediaFilter> mf(graph.Graph());
    mf->SetSyncSource(nullptr);
    graph.Pause();
    Sleep(100);
    FILTER_STATE state;
    EXPECT_EQ(VFW_S_CANT_CUE, source->GetState(0, &state));
    EXPECT_EQ(State_Paused, state);
    EXPECT_TRUE(sink->Bytes().empty());

    EXPECT_EQ(EC_COMPLETE, graph.RunToCompletion(10000));
    EXPECT_EQ(8000u, sink->Bytes().size());
}

TEST_F(FilterKit, EnumeratorsWalkPinsAndTypes)
{
    CComPtr<CInvertFilter> invert;
    invert = new CInvertFilter;
    CComPtr<IEnumPins> pins;
    ASSERT_EQ(S_OK, invert->EnumPins(&pins));
    IPin* got[3] = {};
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, pins->Next(3, got, &fetched));
    EXPECT_EQ(2u, fetched);
    PIN_DIRECTION dir;
    got[0]->QueryDirection(&dir);
    EXPECT_EQ(PINDIR_INPUT, dir);
    got[1]->QueryDirection(&dir);
    EXPECT_EQ(PINDIR_OUTPUT, dir);
    got[0]->Release();
    got[1]->Release();

    pins->Reset();
    EXPECT_EQ(S_OK, pins->Skip(1));
    CComPtr<IEnumPins> clone;
    ASSERT_EQ(S_OK, pins->Clone(&clone));
    CComPtr<IPin> second;
    EXPECT_EQ(S_OK, clone->Next(1, &second, nullptr));
    EXPECT_EQ(S_FALSE, pins->Skip(5));

    // A source lists its one type; the unconnected transform's output none.
    CComPtr<CTestSource> source;
    source.Attach(CTestSource::Create(pcm, Pattern(10), 10));
    CComPtr<IEnumMediaTypes> types;
    ASSERT_EQ(S_OK, source->OutputPin()->EnumMediaTypes(&types));
    AM_MEDIA_TYPE* mt[2] = {};
    EXPECT_EQ(S_FALSE, types->Next(2, mt, &fetched));
    ASSERT_EQ(1u, fetched);
    EXPECT_TRUE(CMediaType(*mt[0]) == pcm);
    DeleteMediaType(mt[0]);

    CComPtr<IPin> found;
    EXPECT_EQ(S_OK, invert->FindPin(L"Output", &found));
    EXPECT_EQ(VFW_E_NOT_FOUND, invert->FindPin(L"Nothing", &second.p));
}

TEST_F(FilterKit, UnconnectedTransformOutputAnswersSeekingButHasNoUpstream)
{
    CComPtr<CInvertFilter> invert;
    invert = new CInvertFilter;
    CComPtr<IPin> out;
    invert->FindPin(L"Output", &out);
    CComQIPtr<IMediaSeeking> seeking(out.p);
    ASSERT_TRUE(seeking);
    LONGLONG duration = 0;
    EXPECT_EQ(VFW_E_NOT_CONNECTED, seeking->GetDuration(&duration));
}

CUnknown* CreateInvert(HRESULT* hr)
{
    *hr = S_OK;
    return new CInvertFilter;
}

const CFactoryTemplate kTemplates[] = {
    {L"Invert", &CLSID_InvertFilter, &CreateInvert, nullptr},
};

TEST_F(FilterKit, ClassFactoryCreatesByClassIdAndCountsObjects)
{
    LONG before = DShowObjectCount();
    CComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, DShowGetClassObject(kTemplates, 1, CLSID_InvertFilter, IID_IClassFactory,
                                        reinterpret_cast<void**>(&factory)));
    CComPtr<IBaseFilter> filter;
    EXPECT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter)));
    CLSID clsid;
    filter->GetClassID(&clsid);
    EXPECT_EQ(CLSID_InvertFilter, clsid);
    IUnknown* outer = filter;
    void* none = nullptr;
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(outer, IID_IUnknown, &none));
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IClassFactory, &none));
    EXPECT_EQ(S_FALSE, DShowCanUnloadNow());
    filter.Release();
    factory.Release();
    EXPECT_EQ(before, DShowObjectCount());
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE,
              DShowGetClassObject(kTemplates, 1, CLSID_AddOneFilter, IID_IClassFactory, &none));
}

}  // namespace
