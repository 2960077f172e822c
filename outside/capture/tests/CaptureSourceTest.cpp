// The capture source against the sandbox's fed capture device, in real graphs
// with the graph's clock.
#include <gtest/gtest.h>
#include <windows.h>
#include <dshow.h>
#include <cmath>
#include <algorithm>
#include <mutex>
#include <vector>
#include "ComPtr.h"
#include "InputPin.h"
#include "OutsideFilters.h"
#include "TestComObject.h"
#include "TestSink.h"
#include "TestSignal.h"
#include "ModuleLoader.h"
#include "WaitUntil.h"

namespace {

const wchar_t* const kFeed = testsignal::CaptureDeviceName;

struct ComScope {
    ComScope() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComScope() { CoUninitialize(); }
};

IBaseFilter* CreateCapture()
{
    return (IBaseFilter*)testsignal::CreateFromModule(L"SonelleCapture.ax", CLSID_SonelleAudioCapture, IID_IBaseFilter);
}

// A property bag holding one friendly name, as a device moniker's would.
class CNameBag : public IPropertyBag {
public:
    explicit CNameBag(const wchar_t* name) : m_name(name) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IPropertyBag) { *ppv = this; return S_OK; }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP Read(LPCOLESTR prop, VARIANT* v, IErrorLog*) override
    {
        if (wcscmp(prop, L"FriendlyName")) return E_INVALIDARG;
        v->vt = VT_BSTR;
        v->bstrVal = SysAllocString(m_name);
        return S_OK;
    }
    STDMETHODIMP Write(LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }

private:
    const wchar_t* m_name;
};

CComPtr<IPin> OutputPin(IBaseFilter* f)
{
    CComPtr<IEnumPins> pins;
    CComPtr<IPin> pin;
    if (SUCCEEDED(f->EnumPins(&pins))) pins->Next(1, &pin, nullptr);
    return pin;
}

struct Graph {
    ComScope com;
    CComPtr<IGraphBuilder> graph;
    CComPtr<IMediaControl> control;
    CComPtr<IBaseFilter> capture;
    CTestSink* sink = nullptr;
    CComPtr<IBaseFilter> sinkFilter;

    Graph()
    {
        graph.CoCreateInstance(CLSID_FilterGraph);
        graph->QueryInterface(IID_IMediaControl, (void**)&control);
        capture.Attach(CreateCapture());
        sink = CTestSink::Create();
        sinkFilter.Attach(sink);
    }
    bool Build(const wchar_t* device = kFeed)
    {
        if (!capture) return false;
        CComQIPtr<IPersistPropertyBag> persist(capture);
        CNameBag bag(device);
        if (!persist || FAILED(persist->Load(&bag, nullptr))) return false;
        return SUCCEEDED(graph->AddFilter(capture, L"Audio Capture Device")) &&
               SUCCEEDED(graph->AddFilter(sinkFilter, L"Sink")) &&
               SUCCEEDED(graph->ConnectDirect(OutputPin(capture), sink->InputPin(), nullptr));
    }
    ~Graph()
    {
        if (control) control->Stop();
    }
};

// A memory allocator that grants at most 4 buffers of 2048 bytes, whatever is asked.
class CCappedAllocator : public CTestComObject<IMemAllocator> {
public:
    CCappedAllocator() : CTestComObject(IID_IMemAllocator) { m_real.CoCreateInstance(CLSID_MemoryAllocator); }
    STDMETHODIMP SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual) override
    {
        ALLOCATOR_PROPERTIES capped = *request;
        capped.cBuffers = std::min(capped.cBuffers, 4L);
        capped.cbBuffer = std::min(capped.cbBuffer, 2048L);
        return m_real->SetProperties(&capped, actual);
    }
    STDMETHODIMP GetProperties(ALLOCATOR_PROPERTIES* props) override { return m_real->GetProperties(props); }
    STDMETHODIMP Commit() override { return m_real->Commit(); }
    STDMETHODIMP Decommit() override { return m_real->Decommit(); }
    STDMETHODIMP GetBuffer(IMediaSample** s, REFERENCE_TIME* a, REFERENCE_TIME* b, DWORD f) override
    {
        return m_real->GetBuffer(s, a, b, f);
    }
    STDMETHODIMP ReleaseBuffer(IMediaSample* s) override { return m_real->ReleaseBuffer(s); }

private:
    CComPtr<IMemAllocator> m_real;
};

// A sink that keeps the bytes it receives and offers only the capped allocator.
class CCappedSink : public CBaseFilter {
public:
    CCappedSink() : CBaseFilter(L"Capped Sink", &m_csFilter, CLSID_TestSink, true), m_pin(this, &m_csFilter) {}
    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &m_pin : nullptr; }
    IPin* InputPin() { return &m_pin; }
    std::vector<BYTE> Bytes()
    {
        std::lock_guard<std::mutex> lock(m_data);
        return m_bytes;
    }
    long LargestSample()
    {
        std::lock_guard<std::mutex> lock(m_data);
        return m_largest;
    }

private:
    class CPin : public CBaseInputPin {
    public:
        CPin(CCappedSink* sink, CCritSec* lock) : CBaseInputPin(sink, lock, L"In"), m_sink(sink) {}
        HRESULT CheckMediaType(const CMediaType* mt) override { return mt->majortype == MEDIATYPE_Audio ? S_OK : S_FALSE; }
        STDMETHODIMP GetAllocator(IMemAllocator** allocator) override
        {
            if (!allocator) return E_POINTER;
            CAutoLock lock(m_lock);
            if (!m_allocator) {
                m_allocator = new CCappedAllocator;
                m_allocator->AddRef();
            }
            *allocator = m_allocator;
            m_allocator->AddRef();
            return S_OK;
        }
        STDMETHODIMP Receive(IMediaSample* sample) override
        {
            HRESULT hr = CBaseInputPin::Receive(sample);
            if (hr != S_OK) return hr;
            BYTE* data = nullptr;
            sample->GetPointer(&data);
            long n = sample->GetActualDataLength();
            std::lock_guard<std::mutex> lock(m_sink->m_data);
            m_sink->m_bytes.insert(m_sink->m_bytes.end(), data, data + n);
            m_sink->m_largest = std::max(m_sink->m_largest, n);
            return S_OK;
        }

    private:
        CCappedSink* m_sink;
    };

    CCritSec m_csFilter;
    CPin m_pin;
    std::mutex m_data;
    std::vector<BYTE> m_bytes;
    long m_largest = 0;
};

// Sound takes real time to arrive and a busy machine may take longer: every
// wait for an amount of it ends when it is there, or after this long.
const DWORD kArrivalLimitMs = 30000;

// Seconds since `start` (GetTickCount), read after the graph has stopped: the
// most sound the device can have captured meanwhile.
double SecondsSince(DWORD start)
{
    return (GetTickCount() - start) / 1000.0;
}

bool HasTone(const std::vector<BYTE>& pcm, int channels, int rate)
{
    return testsignal::HasCleanToneWindows(testsignal::Extract(pcm, channels, 16, rate, 0), 1000.0, 15.0);
}

} // namespace

TEST(CaptureSource, DeliversTheFedSignalWithClockTimes)
{
    Graph g;
    ASSERT_TRUE(g.Build());
    DWORD start = GetTickCount();
    ASSERT_TRUE(SUCCEEDED(g.control->Run()));
    bool arrived = testsignal::WaitUntil([&] { return g.sink->Bytes().size() >= 176400u * 2; }, kArrivalLimitMs, 50);
    g.control->Stop();
    double ran = SecondsSince(start);
    ASSERT_TRUE(arrived) << "2 s of sound did not arrive";

    std::vector<BYTE> bytes = g.sink->Bytes();
    // 176400 bytes a second: never more than the time the graph ran allows.
    EXPECT_LE(bytes.size() / 176400.0, ran + 0.25);
    EXPECT_TRUE(HasTone(bytes, 2, 44100));
    int peak = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) peak = std::max(peak, std::abs((int)*(const short*)&bytes[i]));
    EXPECT_NEAR(16384, peak, 600);

    auto samples = g.sink->Samples();
    ASSERT_GT(samples.size(), 10u);
    REFERENCE_TIME last = -1;
    for (auto& s : samples) {
        ASSERT_TRUE(s.timed);
        EXPECT_GE(s.start, last);
        EXPECT_EQ((REFERENCE_TIME)s.length * 10000000 / 176400, s.stop - s.start);
        last = s.stop;
    }
    // Stamps follow the clock: the gapless samples end no earlier than their
    // bytes last, and no later than the time the graph ran.
    EXPECT_GE(last / 1e7, bytes.size() / 176400.0 - 0.001);
    EXPECT_LE(last / 1e7, ran + 0.1);
}

TEST(CaptureSource, IsLiveNothingWhilePausedAndRunPauseStopNeverHangs)
{
    Graph g;
    ASSERT_TRUE(g.Build());
    DWORD t0 = GetTickCount();
    EXPECT_TRUE(SUCCEEDED(g.control->Pause()));
    OAFilterState state;
    EXPECT_EQ(VFW_S_CANT_CUE, g.control->GetState(1000, &state));
    Sleep(300);
    EXPECT_TRUE(g.sink->Samples().empty()) << "delivered while paused";
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(SUCCEEDED(g.control->Run()));
        EXPECT_TRUE(testsignal::WaitUntil([&] { return g.sink->Samples().size() >= 3; }, kArrivalLimitMs))
            << "nothing delivered while running";
        g.control->Pause();
        Sleep(50);
        size_t n = g.sink->Samples().size();
        EXPECT_GT(n, 0u);
        Sleep(300);
        EXPECT_LE(g.sink->Samples().size(), n + 1) << "delivered while paused";
        g.control->Stop();
        g.sink->ClearReceived();
    }
    EXPECT_LT(GetTickCount() - t0, 8000u);
}

TEST(CaptureSource, HonoursTheSuggestedBuffersAndRefusesWhenConnected)
{
    Graph g;
    ASSERT_TRUE(g.capture);
    CComQIPtr<IAMBufferNegotiation> neg(OutputPin(g.capture));
    ASSERT_TRUE(neg);
    ALLOCATOR_PROPERTIES bad = {0, 4096, 1, 0};
    EXPECT_TRUE(FAILED(neg->SuggestAllocatorProperties(&bad)));
    ALLOCATOR_PROPERTIES want = {20, 4096, 1, 0};
    ASSERT_EQ(S_OK, neg->SuggestAllocatorProperties(&want));
    ASSERT_TRUE(g.Build());
    ALLOCATOR_PROPERTIES got = {};
    ASSERT_EQ(S_OK, neg->GetAllocatorProperties(&got));
    EXPECT_EQ(20, got.cBuffers);
    EXPECT_EQ(4096, got.cbBuffer);
    EXPECT_EQ(VFW_E_ALREADY_CONNECTED, neg->SuggestAllocatorProperties(&want));
    ASSERT_TRUE(SUCCEEDED(g.control->Run()));
    bool arrived = testsignal::WaitUntil([&] { return g.sink->Samples().size() >= 10; }, kArrivalLimitMs);
    g.control->Stop();
    ASSERT_TRUE(arrived) << "10 buffers did not arrive";
    auto samples = g.sink->Samples();
    for (auto& s : samples) EXPECT_LE(s.length, 4096);
}

// The pin's suggestion is 20 x 4096; an allocator downstream that grants only
// 4 x 2048 is what the pin streams with, and the sound still arrives whole.
TEST(CaptureSource, StreamsWithTheBuffersADownstreamAllocatorGrants)
{
    Graph g;
    ASSERT_TRUE(g.capture);
    CComQIPtr<IAMBufferNegotiation> neg(OutputPin(g.capture));
    ALLOCATOR_PROPERTIES want = {20, 4096, 1, 0};
    ASSERT_EQ(S_OK, neg->SuggestAllocatorProperties(&want));
    CComQIPtr<IPersistPropertyBag> persist(g.capture);
    CNameBag bag(kFeed);
    ASSERT_TRUE(persist && SUCCEEDED(persist->Load(&bag, nullptr)));
    CCappedSink* sink = new CCappedSink;
    CComPtr<IBaseFilter> sinkFilter(sink);
    ASSERT_TRUE(SUCCEEDED(g.graph->AddFilter(g.capture, L"Audio Capture Device")));
    ASSERT_TRUE(SUCCEEDED(g.graph->AddFilter(sinkFilter, L"Capped Sink")));
    ASSERT_TRUE(SUCCEEDED(g.graph->ConnectDirect(OutputPin(g.capture), sink->InputPin(), nullptr)));
    ALLOCATOR_PROPERTIES got = {};
    ASSERT_EQ(S_OK, neg->GetAllocatorProperties(&got));
    EXPECT_EQ(4, got.cBuffers);
    EXPECT_EQ(2048, got.cbBuffer);
    DWORD start = GetTickCount();
    ASSERT_TRUE(SUCCEEDED(g.control->Run()));
    bool arrived = testsignal::WaitUntil([&] { return sink->Bytes().size() >= 176400u * 2; }, kArrivalLimitMs, 50);
    g.control->Stop();
    double ran = SecondsSince(start);
    ASSERT_TRUE(arrived) << "2 s of sound did not arrive in buffers of 2048 bytes";
    std::vector<BYTE> bytes = sink->Bytes();
    EXPECT_LE(sink->LargestSample(), 2048);
    EXPECT_LE(bytes.size() / 176400.0, ran + 0.25);
    EXPECT_TRUE(HasTone(bytes, 2, 44100));
}

TEST(CaptureSource, StreamConfigOffersAndDelivers48000)
{
    Graph g;
    ASSERT_TRUE(g.capture);
    CComQIPtr<IAMStreamConfig> config(OutputPin(g.capture));
    ASSERT_TRUE(config);
    int count = 0, size = 0;
    ASSERT_EQ(S_OK, config->GetNumberOfCapabilities(&count, &size));
    ASSERT_EQ((int)sizeof(AUDIO_STREAM_CONFIG_CAPS), size);
    bool have44 = false, have48 = false;
    for (int i = 0; i < count; ++i) {
        AM_MEDIA_TYPE* mt = nullptr;
        AUDIO_STREAM_CONFIG_CAPS caps;
        ASSERT_EQ(S_OK, config->GetStreamCaps(i, &mt, (BYTE*)&caps));
        WAVEFORMATEX* f = (WAVEFORMATEX*)mt->pbFormat;
        if (f->nChannels == 2 && f->wBitsPerSample == 16 && f->nSamplesPerSec == 44100) have44 = i == 0;
        if (f->nChannels == 2 && f->wBitsPerSample == 16 && f->nSamplesPerSec == 48000) have48 = true;
        CoTaskMemFree(mt->pbFormat);
        CoTaskMemFree(mt);
    }
    EXPECT_TRUE(have44) << "2/16/44100 is not offered first";
    EXPECT_TRUE(have48);

    AM_MEDIA_TYPE* mt = nullptr;
    ASSERT_EQ(S_OK, config->GetFormat(&mt));
    WAVEFORMATEX* f = (WAVEFORMATEX*)mt->pbFormat;
    f->nSamplesPerSec = 48000;
    f->nAvgBytesPerSec = 48000 * 4;
    EXPECT_EQ(S_OK, config->SetFormat(mt));
    f->nSamplesPerSec = 12345;
    EXPECT_TRUE(FAILED(config->SetFormat(mt)));
    CoTaskMemFree(mt->pbFormat);
    CoTaskMemFree(mt);

    ASSERT_TRUE(g.Build());
    DWORD start = GetTickCount();
    ASSERT_TRUE(SUCCEEDED(g.control->Run()));
    bool arrived = testsignal::WaitUntil([&] { return g.sink->Bytes().size() >= 192000u * 3 / 2; }, kArrivalLimitMs, 50);
    g.control->Stop();
    double ran = SecondsSince(start);
    ASSERT_TRUE(arrived) << "1.5 s of sound at 48000 Hz did not arrive";
    std::vector<BYTE> bytes = g.sink->Bytes();
    EXPECT_LE(bytes.size() / 192000.0, ran + 0.25);
    EXPECT_TRUE(HasTone(bytes, 2, 48000));
}

TEST(CaptureSource, CaptureGraphBuilderFindsThePinByCategory)
{
    ComScope com;
    CComPtr<IBaseFilter> capture;
    capture.Attach(CreateCapture());
    ASSERT_TRUE(capture);
    CComPtr<ICaptureGraphBuilder2> builder;
    builder.CoCreateInstance(CLSID_CaptureGraphBuilder2);
    CComPtr<IPin> pin;
    EXPECT_EQ(S_OK, builder->FindPin(capture, PINDIR_OUTPUT, &PIN_CATEGORY_CAPTURE, &MEDIATYPE_Audio, FALSE, 0, &pin));
    EXPECT_TRUE(pin);
}

TEST(CaptureSource, RegistersInTheAudioInputCategoryUnderItsOwnClassId)
{
    ComScope com;
    ASSERT_TRUE(testsignal::RegisterModule(L"SonelleCapture.ax"));

    CComPtr<ICreateDevEnum> devEnum;
    devEnum.CoCreateInstance(CLSID_SystemDeviceEnum);
    CComPtr<IEnumMoniker> monikers;
    ASSERT_EQ(S_OK, devEnum->CreateClassEnumerator(CLSID_AudioInputDeviceCategory, &monikers, 0));
    bool found = false;
    for (;;) {
        CComPtr<IMoniker> m;
        if (monikers->Next(1, &m, nullptr) != S_OK) break;
        CComPtr<IPropertyBag> bag;
        m->BindToStorage(nullptr, nullptr, IID_IPropertyBag, (void**)&bag);
        VARIANT v;
        VariantInit(&v);
        if (FAILED(bag->Read(L"FriendlyName", &v, nullptr))) continue;
        bool ours = !wcscmp(v.bstrVal, L"Sonelle Audio Capture");
        VariantClear(&v);
        if (!ours) continue;
        found = true;
        CComPtr<IBaseFilter> f;
        ASSERT_EQ(S_OK, m->BindToObject(nullptr, nullptr, IID_IBaseFilter, (void**)&f));
        CLSID clsid;
        f->GetClassID(&clsid);
        EXPECT_EQ(CLSID_SonelleAudioCapture, clsid);
        EXPECT_TRUE(OutputPin(f));
    }
    EXPECT_TRUE(found);
}
