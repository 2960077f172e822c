// Capture boxes and video capture devices through the capture device: our test
// box and crossbars listed in the video-input category (by the test enumerator,
// or registered there), the box's sound recorded only with its crossbar routed to
// composite, the last of two boxes opened beside an audio device, the lookup of
// the device to record a box from, and open-close cycles that leave nothing held.
#include <gtest/gtest.h>
#include <windows.h>
#include <dshow.h>
#include <string>
#include <utility>
#include <vector>
#include "CaptureBoxTable.h"
#include "CaptureDevice.h"
#include "ComPtr.h"
#include "EngineTestSupport.h"
#include "FakeCaptureBox.h"
#include "FakeCaptureDevices.h"
#include "ModuleLoader.h"
#include "TestSignal.h"

using namespace testsignal;

namespace {

using RouteLog = std::vector<std::pair<long, long>>;

ULONG RefCount(IUnknown* unk)
{
    unk->AddRef();
    return unk->Release();
}

bool Has(const std::vector<std::wstring>& names, const wchar_t* name)
{
    for (auto& n : names)
        if (n == name) return true;
    return false;
}

FakeDeviceSpec BoxDevice(const wchar_t* name, FakeBoxSpec box)
{
    FakeDeviceSpec d{name, CLSID_VideoInputDeviceCategory};
    d.make = [box] { return CreateFakeCaptureBox(box).Detach(); };
    return d;
}

FakeBoxSpec BoxWith(CComPtr<IBaseFilter> crossbar, bool audioPin = true)
{
    FakeBoxSpec spec;
    spec.audioPin = audioPin;
    if (crossbar) spec.crossbars = {crossbar};
    return spec;
}

CComPtr<IBaseFilter> FilterNamed(IGraphBuilder* graph, const wchar_t* name)
{
    CComPtr<IBaseFilter> filter;
    if (graph) graph->FindFilterByName(name, &filter);
    return filter;
}

class CaptureBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (const wchar_t* m : {L"SonelleCapture.ax", L"Vossel.ax", L"NVNoiseReduction.ax", L"NVAudioAnalyer.ax"})
            ASSERT_TRUE(RegisterModule(m)) << m;
    }
    void SetUp() override
    {
        m_window = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    }
    void TearDown() override { DestroyWindow(m_window); }

    HWND m_window = nullptr;
};

} // namespace

TEST(CaptureBoxTable, NamesBoxesByTheSixRowsInAnyCase)
{
    const struct { const wchar_t* name; bool box; } cases[] = {
        {L"USB2.0 KAPBOX", true},          {L"Usb2.0 Kapbox Video", true}, {L"USB2.0 LUMBOX", true},
        {L"my usb2.0 lum box", true},      {L"USB2.0 ORBBOX", true},       {L"Veltra VT 1160 Capture", true},
        {L"NV KAPBOX", true},              {L"USB 2.0 KAPBOX", false},     {L"USB2.0 LUM  BOX", false},
        {L"Webcam", false},                {L"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.box, IsCaptureBoxName(c.name)) << std::wstring(c.name).c_str();
}

// A video capture device used for its sound (device mode 3): its crossbar goes
// to composite, so the box's audio pin carries the tone into monitoring and into
// a recording; S-Video silences it, and an unknown connector type routes nothing.
TEST_F(CaptureBoxTest, AVideoDeviceRoutedToCompositeIsMonitoredAndRecorded)
{
    CComPtr<IBaseFilter> crossbar = CreateFakeCrossbar(FakeCrossbarSpec::Standard());
    CFakeDeviceList devices({BoxDevice(L"Fake TV Card", BoxWith(crossbar))});
    ASSERT_TRUE(devices.Ok());
    ASSERT_TRUE(CCaptureDevice::HasAudioPin(L"Fake TV Card"));

    std::wstring file = TempPath(L"capture_box.wav");
    DeleteFileW(file.c_str());
    CCaptureDevice dev;
    ASSERT_TRUE(dev.InitFilterGraph(m_window, L"Fake TV Card", L"", 0));
    EXPECT_EQ(3, dev.GetDeviceMode());
    EXPECT_EQ(3, dev.GetRouteCount());
    EXPECT_EQ((RouteLog{{0, 0}, {1, 3}}), CrossbarRouteLog(crossbar));
    std::vector<std::wstring> names = FilterNames(dev.Graph());
    for (const wchar_t* n : {L"Video Capture", L"Crossbar", L"NULL Renderer"}) EXPECT_TRUE(Has(names, n)) << n;

    ASSERT_TRUE(dev.StartRendering());
    CComPtr<IBaseFilter> box = FilterNamed(dev.Graph(), L"Video Capture");
    ASSERT_TRUE(box);
    EXPECT_TRUE(FakeBoxCarriesTone(box)) << "video running, composite routed";
    ASSERT_TRUE(dev.StartRecordWav(file.c_str(), 2, 16, 44100, 2047));
    Sleep(2000);
    ASSERT_TRUE(dev.StopRecord());
    EXPECT_TRUE(Has(FilterNames(dev.Graph()), L"NULL Renderer")) << "the video branch stays after a stop";

    EXPECT_TRUE(dev.RouteCrossbarToType(PhysConn_Video_SVideo));
    EXPECT_FALSE(FakeBoxCarriesTone(box));
    EXPECT_FALSE(dev.RouteCrossbarToType(PhysConn_Video_SerialDigital));
    EXPECT_FALSE(FakeBoxCarriesTone(box)) << "an unknown type leaves the route as it was";
    EXPECT_TRUE(dev.RouteCrossbarToType(PhysConn_Video_Composite));
    EXPECT_TRUE(FakeBoxCarriesTone(box));
    box.Release();
    dev.Close();

    WavFile wav;
    ASSERT_TRUE(ReadWav(file, wav));
    EXPECT_EQ(2, wav.channels);
    EXPECT_EQ(44100, wav.rate);
    EXPECT_NEAR(2.0, wav.dataSize / 176400.0, 0.6);
    Channel left = Extract(wav.data, 2, 16, 44100, 0);
    EXPECT_TRUE(HasCleanToneWindows(left, 1000.0, 10.0)) << MeasureToneHz(left);
    DeleteFileW(file.c_str());
}

TEST_F(CaptureBoxTest, AVideoDeviceWithoutCrossbarOpensWithoutRoutes)
{
    CFakeDeviceList devices({BoxDevice(L"Fake Plain Camera", BoxWith(nullptr))});
    ASSERT_TRUE(devices.Ok());
    CCaptureDevice dev;
    ASSERT_TRUE(dev.InitFilterGraph(m_window, L"Fake Plain Camera", L"", 0));
    EXPECT_EQ(0, dev.GetRouteCount());
    EXPECT_FALSE(dev.RouteCrossbarToType(PhysConn_Video_Composite));
    ASSERT_TRUE(dev.StartRendering());
    CComPtr<IBaseFilter> box = FilterNamed(dev.Graph(), L"Video Capture");
    ASSERT_TRUE(box);
    EXPECT_FALSE(FakeBoxCarriesTone(box)) << "nothing routes composite";
}

// Two boxes listed: the audio device opens with the one listed last, under the
// boxes' common name, behind a null renderer, its crossbar routed to composite.
// Stopping monitoring leaves the box's branch in the graph.
TEST_F(CaptureBoxTest, TheLastOfTwoBoxesJoinsTheAudioDevicesGraph)
{
    CComPtr<IBaseFilter> first = CreateFakeCrossbar(FakeCrossbarSpec::Standard());
    CComPtr<IBaseFilter> last = CreateFakeCrossbar(FakeCrossbarSpec::Standard());
    CFakeDeviceList devices({BoxDevice(L"USB2.0 KAPBOX Video", BoxWith(first, false)),
                             BoxDevice(L"nv kapbox 2", BoxWith(last, false)),
                             {L"USB Audio Of The Box", CLSID_AudioInputDeviceCategory}});
    ASSERT_TRUE(devices.Ok());
    CCaptureDevice dev;
    ASSERT_TRUE(dev.InitFilterGraph(m_window, L"", L"USB Audio Of The Box", 0));
    EXPECT_EQ(4, dev.GetDeviceMode());
    std::vector<std::wstring> names = FilterNames(dev.Graph());
    for (const wchar_t* n : {L"Audio Capture Device", L"USB 2.0 KAPBOX", L"Crossbar", L"NULL Renderer"})
        EXPECT_TRUE(Has(names, n)) << n;
    EXPECT_TRUE(CrossbarRouteLog(first).empty());
    EXPECT_EQ((RouteLog{{0, 0}, {1, 3}}), CrossbarRouteLog(last));
    EXPECT_EQ(3, dev.GetRouteCount());

    ASSERT_TRUE(dev.StartRendering());
    CComPtr<IBaseFilter> box = FilterNamed(dev.Graph(), CaptureBoxFilterName);
    ASSERT_TRUE(box);
    EXPECT_TRUE(FakeBoxCarriesTone(box)) << "the box's video runs with the audio device";
    ASSERT_TRUE(dev.StopRendering());
    names = FilterNames(dev.Graph());
    EXPECT_TRUE(Has(names, L"USB 2.0 KAPBOX"));
    EXPECT_TRUE(Has(names, L"NULL Renderer"));
    box.Release();
    dev.Close();
}

TEST_F(CaptureBoxTest, FindCaptureBoxDeviceTable)
{
    const struct Case {
        const char* what;
        std::vector<FakeDeviceSpec> devices;
        BOOL found;
        const wchar_t* name;
    } cases[] = {
        {"no video devices (Wine has none)", {}, FALSE, L"NO DEVICE"},
        {"a camera that is no box", {BoxDevice(L"Fake Webcam", BoxWith(nullptr))}, FALSE, L"NO DEVICE"},
        {"a box with its audio pin", {BoxDevice(L"Usb2.0 OrbBox Capture", BoxWith(nullptr))}, TRUE,
         L"Usb2.0 OrbBox Capture"},
        {"a box without audio pin and a USB audio input",
         {BoxDevice(L"USB2.0 KAPBOX", BoxWith(nullptr, false)),
          {L"Line (Fake Audio CODEC)", CLSID_AudioInputDeviceCategory},
          {L"Line In (usb Audio CODEC)", CLSID_AudioInputDeviceCategory}},
         TRUE, L"Line In (usb Audio CODEC)"},
        {"a box without audio pin and no USB audio input",
         {BoxDevice(L"USB2.0 KAPBOX", BoxWith(nullptr, false)), {L"Line (Fake Audio CODEC)", CLSID_AudioInputDeviceCategory}},
         FALSE, L"NO DEVICE"},
        {"a box without audio pin before one with",
         {BoxDevice(L"VELTRA VT 1160", BoxWith(nullptr, false)), BoxDevice(L"NV KAPBOX", BoxWith(nullptr)),
          {L"Fake USB Mic", CLSID_AudioInputDeviceCategory}},
         TRUE, L"NV KAPBOX"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CFakeDeviceList devices(c.devices);
        ASSERT_TRUE(devices.Ok());
        CString name = L"untouched";
        EXPECT_EQ(c.found, CCaptureDevice::FindCaptureBoxDevice(name));
        EXPECT_STREQ(c.name, name.GetString());
    }
}

// Ten open-close cycles of a box with two crossbars leave no box alive, no
// crossbar in a graph and each crossbar's reference count as before; opening
// another video device lets go of the first one's crossbars at once.
TEST_F(CaptureBoxTest, OpenCloseCyclesLeaveNothingHeld)
{
    CComPtr<IBaseFilter> inner = CreateFakeCrossbar(FakeCrossbarSpec::Inner());
    CComPtr<IBaseFilter> outer = CreateFakeCrossbar(FakeCrossbarSpec::Standard());
    FakeBoxSpec spec;
    spec.crossbars = {inner, outer};
    CComPtr<IBaseFilter> other = CreateFakeCrossbar(FakeCrossbarSpec::Standard());
    CFakeDeviceList devices({BoxDevice(L"Fake Tuner Box", spec), BoxDevice(L"Fake Other Card", BoxWith(other))});
    ASSERT_TRUE(devices.Ok());
    // The device list's own spec copies hold references: the baseline is now.
    ULONG innerBefore = RefCount(inner), outerBefore = RefCount(outer), otherBefore = RefCount(other);
    int liveBefore = FakeCaptureBoxesAlive();
    for (int i = 0; i < 10; ++i) {
        CCaptureDevice dev;
        ASSERT_TRUE(dev.InitFilterGraph(m_window, L"Fake Tuner Box", L"", 0)) << i;
        EXPECT_EQ(3, dev.GetRouteCount());
        EXPECT_GT(RefCount(inner), innerBefore);
        ASSERT_TRUE(dev.StartRendering()) << i;
        Sleep(30);
        if (i % 2) {
            dev.Close();
        } else {
            ASSERT_TRUE(dev.InitFilterGraph(m_window, L"Fake Other Card", L"", 0)) << i;
            EXPECT_EQ(innerBefore, RefCount(inner)) << i;
            EXPECT_EQ(outerBefore, RefCount(outer)) << i;
            EXPECT_GT(RefCount(other), otherBefore);
        }
    }
    EXPECT_EQ(liveBefore, FakeCaptureBoxesAlive());
    for (IBaseFilter* c : {inner.p, outer.p, other.p}) {
        FILTER_INFO info = {};
        ASSERT_EQ(S_OK, c->QueryFilterInfo(&info));
        EXPECT_EQ(nullptr, info.pGraph);
        if (info.pGraph) info.pGraph->Release();
    }
    EXPECT_EQ(innerBefore, RefCount(inner));
    EXPECT_EQ(outerBefore, RefCount(outer));
    EXPECT_EQ(otherBefore, RefCount(other));
}

namespace {

// Our box class registered in the platform's video-input category for the test:
// the system enumerator lists it by its friendly name (other processes too, so
// the test takes the capture devices' turn; see CMakeLists.txt).
class CRegisteredBox {
public:
    explicit CRegisteredBox(const wchar_t* name) : m_name(name)
    {
        m_mapper.CoCreateInstance(CLSID_FilterMapper2);
        if (!m_mapper) return;
        m_mapper->UnregisterFilter(&CLSID_VideoInputDeviceCategory, m_name.c_str(), CLSID_FakeCaptureBox);
        REGFILTER2 reg = {};
        reg.dwVersion = 1;
        reg.dwMerit = MERIT_DO_NOT_USE;
        m_ok = SUCCEEDED(m_mapper->RegisterFilter(CLSID_FakeCaptureBox, m_name.c_str(), nullptr,
                                                  &CLSID_VideoInputDeviceCategory, m_name.c_str(), &reg));
    }
    ~CRegisteredBox()
    {
        if (m_mapper) m_mapper->UnregisterFilter(&CLSID_VideoInputDeviceCategory, m_name.c_str(), CLSID_FakeCaptureBox);
    }
    bool Ok() const { return m_ok; }

private:
    std::wstring m_name;
    CComPtr<IFilterMapper2> m_mapper;
    bool m_ok = false;
};

} // namespace

TEST_F(CaptureBoxTest, ABoxRegisteredInTheVideoInputCategoryIsFoundAndRecordedFrom)
{
    CComPtr<IBaseFilter> crossbar = CreateFakeCrossbar(FakeCrossbarSpec::Standard());
    CFakeCaptureBoxClass boxClass(BoxWith(crossbar));
    ASSERT_TRUE(boxClass.Ok());
    const wchar_t* name = L"NV KAPBOX Registered";
    {
        CRegisteredBox registered(name);
        ASSERT_TRUE(registered.Ok());
        wchar_t videoNames[CCaptureDevice::DeviceListSize][CCaptureDevice::DeviceNameLength] = {};
        int count = CCaptureDevice::GetVideoDeviceNames(videoNames);
        std::vector<std::wstring> listed(videoNames, videoNames + count);
        EXPECT_TRUE(Has(listed, name));

        CString found;
        EXPECT_TRUE(CCaptureDevice::FindCaptureBoxDevice(found));
        EXPECT_STREQ(name, found.GetString());

        CCaptureDevice dev;
        ASSERT_TRUE(dev.InitFilterGraph(m_window, found, L"", 0));
        EXPECT_EQ(3, dev.GetDeviceMode());
        EXPECT_EQ((RouteLog{{0, 0}, {1, 3}}), CrossbarRouteLog(crossbar));
        ASSERT_TRUE(dev.StartRendering());
        CComPtr<IBaseFilter> box = FilterNamed(dev.Graph(), L"Video Capture");
        ASSERT_TRUE(box);
        EXPECT_TRUE(FakeBoxCarriesTone(box));
        BYTE record[88];
        bool levels = false;
        for (int i = 0; i < 30 && !levels; ++i) {
            Sleep(100);
            levels = dev.GetAnalyzerData(record) != FALSE;
        }
        EXPECT_TRUE(levels) << "no analyzer record from the box's sound";
        box.Release();
        dev.Close();
    }
    CString after;
    EXPECT_FALSE(CCaptureDevice::FindCaptureBoxDevice(after)) << "unregistered again";
}
