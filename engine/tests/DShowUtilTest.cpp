#include "DShowUtil.h"
#include "DeviceEnumOverride.h"
#include "EngineTestSupport.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <memory>

namespace {

std::wstring PinName(IPin* pin)
{
    PIN_INFO info = {};
    if (!pin || FAILED(pin->QueryPinInfo(&info))) return L"";
    if (info.pFilter) info.pFilter->Release();
    return info.achName;
}

class DShowUtilGraph : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(g.graph && g.builder);
        util.Init(g.graph, g.builder);
    }
    void BuildChain(const wchar_t* firstNullName = L"Null A")
    {
        ASSERT_EQ(S_OK, chain.Build(util, wav.Path(), firstNullName));
        source = chain.source, parser = chain.parser, tee = chain.tee, nullA = chain.nullA, nullB = chain.nullB;
    }

    CGraphFixture g;
    CTempWav wav;
    CDShowUtil util;
    CTestChain chain;
    CComPtr<IBaseFilter> source, parser, tee, nullA, nullB;
};

TEST_F(DShowUtilGraph, AddFilterTwiceWithOneSlotLeavesTheSecond)
{
    CComPtr<IBaseFilter> slot;
    ASSERT_EQ(S_OK, util.AddFilterByCLSID(CLSID_NullRenderer, &slot, L"First"));
    ASSERT_EQ(S_OK, util.AddFilterByCLSID(CLSID_NullRenderer, &slot, L"Second"));
    EXPECT_EQ(std::vector<std::wstring>{L"Second"}, g.FilterNames());

    const CLSID unknown = {0x5a0bd0e1, 0x1111, 0x4222, {0x83, 0x33, 0x44, 0x44, 0x55, 0x55, 0x66, 0x66}};
    EXPECT_EQ(REGDB_E_CLASSNOTREG, util.AddFilterByCLSID(unknown, &slot, L"Nothing"));
    EXPECT_FALSE(slot);
    EXPECT_TRUE(g.FilterNames().empty());
}

TEST_F(DShowUtilGraph, WithoutAGraphEverythingFails)
{
    CDShowUtil unbound;
    CComPtr<IBaseFilter> slot;
    EXPECT_EQ(E_FAIL, unbound.AddFilterByCLSID(CLSID_NullRenderer, &slot, L"X"));
    EXPECT_FALSE(slot);
    BuildChain();
    EXPECT_EQ(E_FAIL, unbound.ConnectFilters(tee, 0, nullA, 0));
    EXPECT_EQ(E_FAIL, unbound.ConnectFiltersDirect(tee, 0, nullA, 0));
    CLogCapture log;
    unbound.RemoveDownstream(source);
    unbound.RemoveDownstreamOfMediaType(tee, MEDIATYPE_Audio);
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_EQ(5u, g.FilterNames().size());
}

TEST_F(DShowUtilGraph, PinsByDirectionAndPosition)
{
    BuildChain();
    // The tee lists its input pin first; it does not count toward an output index.
    EXPECT_EQ(L"Input", PinName(util.GetInPin(tee, 0)));
    EXPECT_EQ(L"Capture", PinName(util.GetOutPin(tee, 0)));
    EXPECT_EQ(L"Preview", PinName(util.GetOutPin(tee, 1)));
    EXPECT_FALSE(util.GetOutPin(tee, 2));
    EXPECT_FALSE(util.GetInPin(tee, 1));
    EXPECT_FALSE(util.GetOutPin(nullA, 0));
    EXPECT_FALSE(util.GetOutPin(tee, -1));
    EXPECT_FALSE(util.GetOutPin(nullptr, 0));

    // The caller owns the pin: it stays valid after the filter went away.
    CComPtr<IPin> pin = util.GetOutPin(tee, 1);
    g.graph->RemoveFilter(tee);
    tee.Release();
    chain.tee.Release();
    EXPECT_EQ(L"Preview", PinName(pin));
}

TEST_F(DShowUtilGraph, ConnectWithAMissingPinFails)
{
    BuildChain();
    EXPECT_EQ(E_FAIL, util.ConnectFilters(tee, 2, nullA, 0));
    EXPECT_EQ(E_FAIL, util.ConnectFiltersDirect(nullA, 0, nullB, 0));
    // Both pins there but already connected: the graph's own answer comes back.
    EXPECT_EQ(VFW_E_ALREADY_CONNECTED, util.ConnectFiltersDirect(tee, 0, nullB, 0));
}

TEST_F(DShowUtilGraph, FindAudioOutPin)
{
    BuildChain();
    EXPECT_EQ(0, util.FindAudioOutPin(parser));
    EXPECT_EQ(0, util.FindAudioOutPin(tee));
    EXPECT_EQ(-1, util.FindAudioOutPin(nullA));
    // The file source's only output offers a stream type, not audio.
    EXPECT_EQ(-1, util.FindAudioOutPin(source));
}

TEST_F(DShowUtilGraph, RemoveDownstreamTakesTheChainApartFromItsFarEnd)
{
    BuildChain();
    CLogCapture log;
    util.RemoveDownstream(nullA);   // nothing connected downstream: nothing logged
    EXPECT_TRUE(log.Lines().empty());

    util.RemoveDownstream(source);
    const std::vector<std::string> expected = {
        "remove Filter: [Null A]", "remove Filter: [Null B]",
        "remove Filter: [Smart Tee]", "remove Filter: [Wave Parser]"};
    EXPECT_EQ(expected, log.Lines());
    EXPECT_EQ(std::vector<std::wstring>{L"Source"}, g.FilterNames());
    CComPtr<IPin> out = util.GetOutPin(source, 0), peer;
    EXPECT_EQ(VFW_E_NOT_CONNECTED, out->ConnectedTo(&peer));
}

TEST_F(DShowUtilGraph, RemovedNamesPassThroughTheAnsiCodePage)
{
    BuildChain(L"Null \x0416");
    CLogCapture log;
    util.RemoveDownstream(tee);
    const std::vector<std::string> expected = {"remove Filter: [Null ?]", "remove Filter: [Null B]"};
    EXPECT_EQ(expected, log.Lines());
}

TEST_F(DShowUtilGraph, RemoveDownstreamOfMediaTypeCutsOneBranch)
{
    BuildChain();
    CLogCapture log;
    util.RemoveDownstreamOfMediaType(tee, MEDIATYPE_Audio);
    // The direct neighbour itself is removed without a line.
    EXPECT_TRUE(log.Lines().empty());
    const auto names = g.FilterNames();
    EXPECT_EQ(4u, names.size());
    EXPECT_EQ(names.end(), std::find(names.begin(), names.end(), L"Null A"));

    util.RemoveDownstreamOfMediaType(tee, MEDIATYPE_Video);   // no such pin
    EXPECT_EQ(4u, g.FilterNames().size());
}

// Shows a real filter through a pin enumerator that falls out of step once, as
// one does when the filter's pins change during the walk.
class COutOfSyncFilter : public IBaseFilter {
public:
    explicit COutOfSyncFilter(IBaseFilter* inner) : m_inner(inner) {}

    class CEnum : public IEnumPins {
    public:
        CEnum(IEnumPins* inner, std::atomic<int>* failures) : m_inner(inner), m_failures(failures) {}
        virtual ~CEnum() = default;
        STDMETHODIMP QueryInterface(REFIID iid, void** out) override
        {
            if (iid == IID_IUnknown || iid == IID_IEnumPins) { *out = this; AddRef(); return S_OK; }
            *out = nullptr;
            return E_NOINTERFACE;
        }
        STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
        STDMETHODIMP_(ULONG) Release() override { ULONG r = --m_refs; if (!r) delete this; return r; }
        STDMETHODIMP Next(ULONG n, IPin** pins, ULONG* fetched) override
        {
            if (m_failures->load() > 0) { --*m_failures; return VFW_E_ENUM_OUT_OF_SYNC; }
            return m_inner->Next(n, pins, fetched);
        }
        STDMETHODIMP Skip(ULONG n) override { return m_inner->Skip(n); }
        STDMETHODIMP Reset() override { ++resets; return m_inner->Reset(); }
        STDMETHODIMP Clone(IEnumPins**) override { return E_NOTIMPL; }
        int resets = 0;

    private:
        CComPtr<IEnumPins> m_inner;
        std::atomic<int>* m_failures;
        ULONG m_refs = 1;
    };

    std::atomic<int> failures{1};

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter || iid == IID_IBaseFilter) {
            *out = this; AddRef(); return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetClassID(CLSID* id) override { return m_inner->GetClassID(id); }
    STDMETHODIMP Stop() override { return m_inner->Stop(); }
    STDMETHODIMP Pause() override { return m_inner->Pause(); }
    STDMETHODIMP Run(REFERENCE_TIME t) override { return m_inner->Run(t); }
    STDMETHODIMP GetState(DWORD ms, FILTER_STATE* s) override { return m_inner->GetState(ms, s); }
    STDMETHODIMP SetSyncSource(IReferenceClock* c) override { return m_inner->SetSyncSource(c); }
    STDMETHODIMP GetSyncSource(IReferenceClock** c) override { return m_inner->GetSyncSource(c); }
    STDMETHODIMP EnumPins(IEnumPins** out) override
    {
        CComPtr<IEnumPins> inner;
        HRESULT hr = m_inner->EnumPins(&inner);
        if (FAILED(hr)) return hr;
        *out = new CEnum(inner, &failures);
        return S_OK;
    }
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override { return m_inner->FindPin(id, pin); }
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override { return m_inner->QueryFilterInfo(info); }
    STDMETHODIMP JoinFilterGraph(IFilterGraph* g, LPCWSTR name) override { return m_inner->JoinFilterGraph(g, name); }
    STDMETHODIMP QueryVendorInfo(LPWSTR* info) override { return m_inner->QueryVendorInfo(info); }

private:
    IBaseFilter* m_inner;
};

TEST_F(DShowUtilGraph, RemoveDownstreamStartsOverWhenThePinsChange)
{
    BuildChain();
    CLogCapture log;
    COutOfSyncFilter shifting(tee);
    util.RemoveDownstream(&shifting);
    const std::vector<std::string> expected = {"remove Filter: [Null A]", "remove Filter: [Null B]"};
    EXPECT_EQ(expected, log.Lines());
    EXPECT_EQ(3u, g.FilterNames().size());

    // Pin look-ups start their count over as well.
    shifting.failures = 1;
    EXPECT_EQ(L"Preview", PinName(util.GetOutPin(&shifting, 1)));

    // A filter that never settles ends the walk instead of looping.
    BuildChain();
    COutOfSyncFilter restless(tee);
    restless.failures = 1000;
    util.RemoveDownstream(&restless);
    EXPECT_LT(restless.failures.load(), 1000);
    EXPECT_GT(restless.failures.load(), 900);
}

TEST_F(DShowUtilGraph, SetSyncSource)
{
    CComQIPtr<IMediaFilter> mediaFilter(g.graph);
    ASSERT_TRUE(mediaFilter);
    CComPtr<IReferenceClock> clock, current;
    ASSERT_EQ(S_OK, clock.CoCreateInstance(CLSID_SystemClock));

    util.SetSyncSource(clock);
    ASSERT_EQ(S_OK, mediaFilter->GetSyncSource(&current));
    EXPECT_EQ((IReferenceClock*)clock, (IReferenceClock*)current);
    current.Release();

    util.SetSyncSource(nullptr);
    EXPECT_EQ(S_OK, mediaFilter->GetSyncSource(&current));
    EXPECT_FALSE(current);

    // An object that is no clock lets the graph pick its default clock.
    CComPtr<IBaseFilter> notAClock;
    ASSERT_EQ(S_OK, notAClock.CoCreateInstance(CLSID_NullRenderer));
    util.SetSyncSource(notAClock);
    EXPECT_EQ(S_OK, mediaFilter->GetSyncSource(&current));
    EXPECT_TRUE(current);
}

// Devices of a category of our own, registered for the test and removed after.
class DeviceCategory {
public:
    explicit DeviceCategory(const GUID& category) : m_category(category)
    {
        m_mapper.CoCreateInstance(CLSID_FilterMapper2);
    }
    ~DeviceCategory()
    {
        for (const auto& d : m_devices)
            m_mapper->UnregisterFilter(&m_category, d.instance.c_str(), d.clsid);
    }
    HRESULT Add(const CLSID& clsid, const wchar_t* friendlyName, const wchar_t* instance)
    {
        REGFILTER2 rf = {};
        rf.dwVersion = 1;
        rf.dwMerit = MERIT_DO_NOT_USE;
        IMoniker* moniker = nullptr;
        HRESULT hr = m_mapper->RegisterFilter(clsid, friendlyName, &moniker, &m_category, instance, &rf);
        if (moniker) moniker->Release();
        if (SUCCEEDED(hr)) m_devices.push_back({clsid, instance});
        return hr;
    }

private:
    struct Device { CLSID clsid; std::wstring instance; };
    GUID m_category;
    CComPtr<IFilterMapper2> m_mapper;
    std::vector<Device> m_devices;
};

CLSID ClassOf(IBaseFilter* filter)
{
    CLSID id = GUID_NULL;
    if (filter) filter->GetClassID(&id);
    return id;
}

TEST_F(DShowUtilGraph, FindDeviceFilterBreaksTiesByDisplayName)
{
    // Two boxes of one model share a friendly name; the lower display name wins
    // whatever order the system lists them in.
    const GUID category = {0x7d3c1a10, 0x5b2e, 0x4f61, {0x9a, 0x01, 0x3e, 0x22, 0x71, 0x5c, 0x10, 0x01}};
    DeviceCategory devices(category);
    ASSERT_EQ(S_OK, devices.Add(CLSID_SmartTee, L"Sonelle Twin Box", L"Twin B"));
    ASSERT_EQ(S_OK, devices.Add(CLSID_NullRenderer, L"Sonelle Twin Box", L"Twin A"));
    ASSERT_EQ(S_OK, devices.Add(CLSID_AudioRender, L"Sonelle Other Box", L"Other"));

    for (int reversed = 0; reversed < 2; ++reversed) {
        SCOPED_TRACE(reversed);
        std::unique_ptr<CDeviceEnumOverride> reverse;
        if (reversed) {
            reverse.reset(new CDeviceEnumOverride(
                [](REFCLSID, MonikerList& list) { std::reverse(list.begin(), list.end()); }));
            ASSERT_TRUE(reverse->Ok());
        }
        CComPtr<IBaseFilter> slot;
        EXPECT_EQ(S_OK, util.FindDeviceFilter(L"sonelle twin BOX", &slot, category));
        EXPECT_EQ(CLSID_NullRenderer, ClassOf(slot));
        slot.Release();
        EXPECT_EQ(E_FAIL, util.FindDeviceFilter(L"Sonelle Twin", &slot, category));
        EXPECT_FALSE(slot);
    }
}

TEST_F(DShowUtilGraph, FindDeviceFilterInAnEmptyCategoryLeavesTheSlot)
{
    const GUID empty = {0x7d3c1a10, 0x5b2e, 0x4f61, {0x9a, 0x01, 0x3e, 0x22, 0x71, 0x5c, 0x10, 0xEE}};
    CComPtr<IBaseFilter> slot;
    ASSERT_EQ(S_OK, slot.CoCreateInstance(CLSID_NullRenderer));
    IBaseFilter* before = slot;
    EXPECT_EQ(S_FALSE, util.FindDeviceFilter(L"Anything", &slot, empty));
    EXPECT_EQ(before, (IBaseFilter*)slot);
}

TEST_F(DShowUtilGraph, FindDeviceFilterOverAudioInputs)
{
    // The sandbox's sound server gives Wine at least one capture device.
    CComPtr<ICreateDevEnum> devices;
    ASSERT_EQ(S_OK, devices.CoCreateInstance(CLSID_SystemDeviceEnum));
    CComPtr<IEnumMoniker> monikers;
    ASSERT_EQ(S_OK, devices->CreateClassEnumerator(CLSID_AudioInputDeviceCategory, &monikers, 0));
    // The first of Wine's own devices (our capture source may be registered too).
    std::wstring upper;
    for (;;) {
        CComPtr<IMoniker> moniker;
        ASSERT_EQ(S_OK, monikers->Next(1, &moniker, nullptr));
        CComPtr<IPropertyBag> bag;
        ASSERT_EQ(S_OK, moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, (void**)&bag));
        VARIANT clsid, name;
        VariantInit(&clsid);
        VariantInit(&name);
        CLSID id = GUID_NULL;
        if (SUCCEEDED(bag->Read(L"CLSID", &clsid, nullptr)) && clsid.vt == VT_BSTR) CLSIDFromString(clsid.bstrVal, &id);
        VariantClear(&clsid);
        if (id != CLSID_AudioRecord) continue;
        ASSERT_EQ(S_OK, bag->Read(L"FriendlyName", &name, nullptr));
        upper = name.bstrVal;
        VariantClear(&name);
        break;
    }
    CharUpperW(&upper[0]);

    CComPtr<IBaseFilter> slot;
    EXPECT_EQ(S_OK, util.FindDeviceFilter(upper.c_str(), &slot, CLSID_AudioInputDeviceCategory));
    EXPECT_EQ(CLSID_AudioRecord, ClassOf(slot));
    slot.Release();
    EXPECT_EQ(E_FAIL, util.FindDeviceFilter(L"No Such Microphone", &slot, CLSID_AudioInputDeviceCategory));
    EXPECT_FALSE(slot);
}

int g_handled = 0;

LRESULT CALLBACK CountingWndProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_APP) { ++g_handled; return 0; }
    return DefWindowProcW(h, m, w, l);
}

TEST(PumpOneMessage, HandlesOneMessageAndKeepsQuit)
{
    int& handled = g_handled;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = CountingWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PumpOneMessageTest";
    RegisterClassW(&wc);
    HWND wnd = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(wnd);

    PumpOneMessage();   // nothing waiting: returns at once
    PostMessageW(wnd, WM_APP, 0, 0);
    PostMessageW(wnd, WM_APP, 0, 0);
    PumpOneMessage();
    EXPECT_EQ(1, handled);
    PumpOneMessage();
    EXPECT_EQ(2, handled);

    PostQuitMessage(7);
    PumpOneMessage();
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ((UINT)WM_QUIT, msg.message);
    EXPECT_EQ(7u, msg.wParam);
    DestroyWindow(wnd);
}

TEST(PlatformGuids, MatchThePlatformsClasses)
{
    const CLSID nullRenderer = {0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
    EXPECT_EQ(nullRenderer, CLSID_NullRenderer);
    EXPECT_EQ(14u, PKEY_Device_FriendlyName.pid);
    CoInitialize(nullptr);
    CComPtr<IBaseFilter> parser;
    EXPECT_EQ(S_OK, parser.CoCreateInstance(CLSID_WAVEParser));
    CoUninitialize();
}

}  // namespace
