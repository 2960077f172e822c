// The crossbar router in real graphs of our test crossbars and capture box: the
// routes it finds, the Route calls it makes, its ends at loops, depth and bad
// indexes, and the crossbar references it holds.
#include <gtest/gtest.h>
#include <windows.h>
#include <dshow.h>
#include <utility>
#include <vector>
#include "ComPtr.h"
#include "CrossbarRouter.h"
#include "EngineTestSupport.h"
#include "FakeCaptureBox.h"

namespace {

using RouteLog = std::vector<std::pair<long, long>>;

CComPtr<IPin> Pin(IBaseFilter* filter, const wchar_t* name)
{
    CComPtr<IPin> pin;
    filter->FindPin(name, &pin);
    return pin;
}

ULONG RefCount(IUnknown* unk)
{
    unk->AddRef();
    return unk->Release();
}

std::vector<int> RouteTypes(const CCrossbarRouter& router)
{
    int count = 0;
    router.GetInputCount(&count);
    std::vector<int> types;
    for (int i = 0; i < count; ++i) {
        int type = -1;
        EXPECT_EQ(S_OK, router.GetInputType(i, &type));
        types.push_back(type);
    }
    return types;
}

} // namespace

// Inner crossbar next to the box, outer one (Composite, S-Video, Tuner) in front.
TEST(CrossbarRouter, TwoCrossbarsInSeriesGiveRoutesThroughBothAndRouteTheirAudio)
{
    CGraphFixture g;
    CComPtr<IBaseFilter> inner = CreateFakeCrossbar(FakeCrossbarSpec::Inner());
    CComPtr<IBaseFilter> outer = CreateFakeCrossbar(FakeCrossbarSpec::Standard());
    FakeBoxSpec spec;
    spec.crossbars = {inner, outer};
    CComPtr<IBaseFilter> box = CreateFakeCaptureBox(spec);
    ASSERT_EQ(S_OK, g.graph->AddFilter(box, L"Box"));
    ASSERT_EQ(3u, g.FilterNames().size()) << "the box brings both crossbars";

    HRESULT hr = E_UNEXPECTED;
    CCrossbarRouter router(Pin(box, L"Analog Video In"), &hr);
    EXPECT_EQ(S_OK, hr);
    EXPECT_EQ((std::vector<int>{PhysConn_Video_Composite, PhysConn_Video_SVideo, PhysConn_Video_Tuner}),
              RouteTypes(router));

    EXPECT_EQ(S_OK, router.SetInputIndex(0));
    // Video decoder output 0 from the input, audio decoder output 1 from the
    // input's related audio connector, on each crossbar.
    EXPECT_EQ((RouteLog{{0, 0}, {1, 1}}), CrossbarRouteLog(inner));
    EXPECT_EQ((RouteLog{{0, 0}, {1, 3}}), CrossbarRouteLog(outer));
    ClearCrossbarRouteLog(inner);
    ClearCrossbarRouteLog(outer);
    EXPECT_EQ(S_OK, router.SetInputIndex(2));
    EXPECT_EQ((RouteLog{{0, 0}, {1, 1}}), CrossbarRouteLog(inner));
    EXPECT_EQ((RouteLog{{0, 2}, {1, 4}}), CrossbarRouteLog(outer));
}

TEST(CrossbarRouter, IndexesOutsideTheListFailAndRouteNothing)
{
    CGraphFixture g;
    CComPtr<IBaseFilter> crossbar = CreateFakeCrossbar(FakeCrossbarSpec::Standard());
    FakeBoxSpec spec;
    spec.crossbars = {crossbar};
    CComPtr<IBaseFilter> box = CreateFakeCaptureBox(spec);
    ASSERT_EQ(S_OK, g.graph->AddFilter(box, L"Box"));
    HRESULT hr = E_UNEXPECTED;
    CCrossbarRouter router(Pin(box, L"Analog Video In"), &hr);
    ASSERT_EQ(S_OK, hr);
    int count = 0, type = 77;
    EXPECT_EQ(S_OK, router.GetInputCount(&count));
    EXPECT_EQ(3, count);
    for (int bad : {3, 4, -1, 1000}) {
        EXPECT_EQ(E_FAIL, router.GetInputType(bad, &type)) << bad;
        EXPECT_EQ(E_FAIL, router.SetInputIndex(bad)) << bad;
    }
    EXPECT_EQ(77, type);
    EXPECT_TRUE(CrossbarRouteLog(crossbar).empty());
}

TEST(CrossbarRouter, AnAnalogInputFedByNoCrossbarGivesNoRoutes)
{
    CGraphFixture g;
    CComPtr<IBaseFilter> box = CreateFakeCaptureBox(FakeBoxSpec());
    ASSERT_EQ(S_OK, g.graph->AddFilter(box, L"Box"));
    HRESULT hr = S_OK;
    CCrossbarRouter router(Pin(box, L"Analog Video In"), &hr);
    EXPECT_EQ(E_FAIL, hr);
    int count = -1;
    router.GetInputCount(&count);
    EXPECT_EQ(0, count);
    EXPECT_EQ(E_FAIL, router.SetInputIndex(0));
}

// Crossbar A feeds the box from its first output; its second output feeds B,
// whose output comes back into A's second input. The search ends and finds the
// one real route, A's composite input.
TEST(CrossbarRouter, ACrossbarLoopEndsTheSearch)
{
    CGraphFixture g;
    FakeCrossbarSpec a;
    a.inputs = {{L"0: Video Composite", PhysConn_Video_Composite, -1}, {L"1: Video Loop", PhysConn_Video_VideoDecoder, -1}};
    a.outputs = {{L"0: Video Out", PhysConn_Video_VideoDecoder, -1}, {L"1: Video Out 2", PhysConn_Video_VideoDecoder, -1}};
    FakeCrossbarSpec b;
    b.inputs = {{L"0: Video In", PhysConn_Video_VideoDecoder, -1}};
    b.outputs = {{L"0: Video Out", PhysConn_Video_VideoDecoder, -1}};
    CComPtr<IBaseFilter> crossA = CreateFakeCrossbar(a), crossB = CreateFakeCrossbar(b);
    FakeBoxSpec spec;
    spec.crossbars = {crossA};
    CComPtr<IBaseFilter> box = CreateFakeCaptureBox(spec);
    ASSERT_EQ(S_OK, g.graph->AddFilter(box, L"Box"));
    ASSERT_EQ(S_OK, g.graph->AddFilter(crossB, L"Crossbar B"));
    ASSERT_EQ(S_OK, g.graph->ConnectDirect(Pin(crossA, L"1: Video Out 2"), Pin(crossB, L"0: Video In"), nullptr));
    // The graph refuses to close a loop (VFW_E_CIRCULAR_GRAPH): the pins are joined
    // directly, as a driver's own wiring could be.
    EXPECT_EQ(VFW_E_CIRCULAR_GRAPH,
              g.graph->ConnectDirect(Pin(crossB, L"0: Video Out"), Pin(crossA, L"1: Video Loop"), nullptr));
    ASSERT_EQ(S_OK, Pin(crossB, L"0: Video Out")->Connect(Pin(crossA, L"1: Video Loop"), nullptr));

    HRESULT hr = E_UNEXPECTED;
    CCrossbarRouter router(Pin(box, L"Analog Video In"), &hr);
    EXPECT_EQ(S_OK, hr);
    EXPECT_EQ(std::vector<int>{PhysConn_Video_Composite}, RouteTypes(router));
    EXPECT_EQ(S_OK, router.SetInputIndex(0));
    EXPECT_EQ((RouteLog{{0, 0}}), CrossbarRouteLog(crossA)) << "no related audio: video only";
}

// A chain of crossbars longer than the router follows: no route, and it returns.
TEST(CrossbarRouter, AChainBeyondTheDepthLimitGivesNoRoute)
{
    CGraphFixture g;
    FakeBoxSpec spec;
    for (int i = 0; i < CCrossbarRouter::MaxDepth; ++i) spec.crossbars.push_back(CreateFakeCrossbar(FakeCrossbarSpec::Inner()));
    spec.crossbars.push_back(CreateFakeCrossbar(FakeCrossbarSpec::Standard()));
    CComPtr<IBaseFilter> box = CreateFakeCaptureBox(spec);
    ASSERT_EQ(S_OK, g.graph->AddFilter(box, L"Box"));
    HRESULT hr = E_UNEXPECTED;
    CCrossbarRouter router(Pin(box, L"Analog Video In"), &hr);
    EXPECT_EQ(S_OK, hr);
    EXPECT_TRUE(RouteTypes(router).empty());

    // One crossbar less and the composite connector is reached again.
    FakeBoxSpec shorter;
    for (int i = 0; i < CCrossbarRouter::MaxDepth - 1; ++i) shorter.crossbars.push_back(CreateFakeCrossbar(FakeCrossbarSpec::Inner()));
    shorter.crossbars.push_back(CreateFakeCrossbar(FakeCrossbarSpec::Standard()));
    CGraphFixture g2;
    CComPtr<IBaseFilter> box2 = CreateFakeCaptureBox(shorter);
    ASSERT_EQ(S_OK, g2.graph->AddFilter(box2, L"Box"));
    CCrossbarRouter router2(Pin(box2, L"Analog Video In"), &hr);
    EXPECT_EQ((std::vector<int>{PhysConn_Video_Composite, PhysConn_Video_SVideo, PhysConn_Video_Tuner}),
              RouteTypes(router2));
}

TEST(CrossbarRouter, HoldsOneReferenceOnEachCrossbarPerRouteUntilDeleted)
{
    CGraphFixture g;
    CComPtr<IBaseFilter> inner = CreateFakeCrossbar(FakeCrossbarSpec::Inner());
    CComPtr<IBaseFilter> outer = CreateFakeCrossbar(FakeCrossbarSpec::Standard());
    FakeBoxSpec spec;
    spec.crossbars = {inner, outer};
    CComPtr<IBaseFilter> box = CreateFakeCaptureBox(spec);
    ASSERT_EQ(S_OK, g.graph->AddFilter(box, L"Box"));
    ULONG innerBefore = RefCount(inner), outerBefore = RefCount(outer);
    {
        HRESULT hr = E_UNEXPECTED;
        CCrossbarRouter router(Pin(box, L"Analog Video In"), &hr);
        EXPECT_EQ(innerBefore + 3, RefCount(inner));
        EXPECT_EQ(outerBefore + 3, RefCount(outer));
    }
    EXPECT_EQ(innerBefore, RefCount(inner));
    EXPECT_EQ(outerBefore, RefCount(outer));
}
