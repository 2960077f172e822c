// The capture device on the sandbox's fed capture device: monitoring into the
// null sink, recording WAV files in the requested format, stop messages.
#include <gtest/gtest.h>
#include <windows.h>
#include <dshow.h>
#include <string>
#include <vector>
#include "CaptureDevice.h"
#include "ComPtr.h"
#include "ModuleLoader.h"
#include "TestSignal.h"

using namespace testsignal;

namespace {

std::wstring TempPath(const wchar_t* name)
{
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

std::vector<std::wstring> FilterNames(IGraphBuilder* graph)
{
    std::vector<std::wstring> names;
    CComPtr<IEnumFilters> filters;
    if (!graph || FAILED(graph->EnumFilters(&filters))) return names;
    for (;;) {
        CComPtr<IBaseFilter> f;
        if (filters->Next(1, &f, nullptr) != S_OK) break;
        FILTER_INFO info = {};
        f->QueryFilterInfo(&info);
        if (info.pGraph) info.pGraph->Release();
        names.push_back(info.achName);
    }
    return names;
}

bool Has(const std::vector<std::wstring>& names, const wchar_t* name)
{
    for (auto& n : names) if (n == name) return true;
    return false;
}

class CaptureDeviceTest : public ::testing::Test {
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

    // The WM_CAPTURE_STOPPED messages waiting for the window: their lParams.
    std::vector<LPARAM> StopMessages()
    {
        std::vector<LPARAM> out;
        MSG msg;
        while (PeekMessageW(&msg, m_window, WM_CAPTURE_STOPPED, WM_CAPTURE_STOPPED, PM_REMOVE)) {
            EXPECT_EQ(16u, msg.wParam);
            out.push_back(msg.lParam);
        }
        return out;
    }

    HWND m_window = nullptr;
};

} // namespace

TEST_F(CaptureDeviceTest, MatchesDeviceNamesExactlyThenCutThenLongestContained)
{
    static const std::wstring s_cut(79, L'x');
    CString names[] = {L"Line In (USB Audio CODEC)", L"Line", L"Microphone (High Definition Audio Device)",
                       CString(L'x', 90), L"NULL"};
    struct Case { const wchar_t* requested; int expected; } cases[] = {
        {L"line in (usb audio codec)", 0},
        {L"Line", 1},
        {L"Front Line In (USB Audio CODEC) #2", 0},       // longest contained name
        {L"Microphone (High Definition Audio Device) - 1", 2},
        {s_cut.c_str(), 3},                                // the list's cut name
        {L"", -1},
        {L"Speakers", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, CCaptureDevice::MatchDeviceName(c.requested, names, 5)) << c.requested;
    EXPECT_EQ(-1, CCaptureDevice::MatchDeviceName(nullptr, names, 5));
}

TEST_F(CaptureDeviceTest, OpensMonitorsRecordsAndReportsTheStop)
{
    std::wstring file = TempPath(L"capture_3s.wav");
    CCaptureDevice dev;
    ASSERT_TRUE(dev.InitFilterGraph(m_window, L"", CaptureDeviceName, 1));
    EXPECT_EQ(4, dev.GetDeviceMode());
    EXPECT_STREQ(L"NULL", dev.GetDeviceIdentity().GetString());
    EXPECT_FALSE(dev.IsSameDevice(L"NULL"));
    ASSERT_TRUE(dev.StartRendering());
    auto names = FilterNames(dev.Graph());
    for (const wchar_t* n : {L"Audio Capture Device", L"Noise Reduction", L"NV Audio Analyzer", L"SmartTee Audio"})
        EXPECT_TRUE(Has(names, n)) << n;
    EXPECT_TRUE(Has(names, L"DirectSound Render") || Has(names, L"WavOut Render"));
    BYTE record[88];
    bool levels = false;
    for (int i = 0; i < 20 && !levels; ++i) { Sleep(100); levels = dev.GetAnalyzerData(record) != FALSE; }
    EXPECT_TRUE(levels) << "no analyzer record while monitoring";

    ASSERT_TRUE(dev.StartRecordWav(file.c_str(), 2, 16, 44100, 2047));
    EXPECT_TRUE(dev.IsRecording());
    EXPECT_TRUE(dev.StartRecordWav(L"ignored.wav", 1, 8, 8000, 1)) << "a running recording is left alone";
    EXPECT_EQ(file, std::wstring(dev.GetOutputFile()));
    Sleep(3000);
    int bytes = 0;
    LONGLONG bytes64 = 0;
    EXPECT_TRUE(dev.GetRecordedBytes(&bytes));
    EXPECT_TRUE(dev.GetRecordedBytes64(&bytes64));
    EXPECT_GT(bytes, 176400 * 2);
    ASSERT_TRUE(dev.StopRecord());
    EXPECT_TRUE(dev.IsPreviewing()) << "monitoring resumes after the stop";
    std::vector<LPARAM> stops = StopMessages();
    ASSERT_EQ(1u, stops.size());
    EXPECT_EQ(0, stops[0]);

    WavFile wav;
    ASSERT_TRUE(ReadWav(file, wav));
    EXPECT_EQ(1, wav.formatTag);
    EXPECT_EQ(2, wav.channels);
    EXPECT_EQ(44100, wav.rate);
    EXPECT_EQ(16, wav.bits);
    EXPECT_EQ(wav.dataSize + 36, wav.riffSize);
    EXPECT_EQ((long long)wav.dataSize + 44, wav.fileSize);
    EXPECT_NEAR(3.0, wav.dataSize / 176400.0, 0.6);
    Channel left = Extract(wav.data, 2, 16, 44100, 0);
    std::vector<double> peaks = WindowPeaks(left, 0.05);
    EXPECT_GE(LongestRun(peaks, 0.05, true, 0.4, 0.01), 0.6) << "no tone recorded";
    EXPECT_GE(LongestRun(peaks, 0.05, false, 0.4, 0.01), 0.35) << "no silence recorded";
    EXPECT_TRUE(HasCleanToneWindows(left, 1000.0, 10.0)) << MeasureToneHz(left);
    dev.Close();
    EXPECT_TRUE(StopMessages().empty()) << "closing posts no stop";
    DeleteFileW(file.c_str());
}

TEST_F(CaptureDeviceTest, RecordsTheRequestedFormatMonoEightBit22050)
{
    std::wstring file = TempPath(L"capture_mono8.wav");
    CCaptureDevice dev;
    ASSERT_TRUE(dev.InitFilterGraph(m_window, L"", CaptureDeviceName, 2));
    EXPECT_EQ(1, dev.GetDeviceMode());
    ASSERT_TRUE(dev.StartRendering());
    EXPECT_TRUE(Has(FilterNames(dev.Graph()), L"NULL Renderer"));
    ASSERT_TRUE(dev.StartRecordWav(file.c_str(), 1, 8, 22050, 2047));
    Sleep(2000);
    ASSERT_TRUE(dev.StopRecord());
    dev.Close();
    WavFile wav;
    ASSERT_TRUE(ReadWav(file, wav));
    EXPECT_EQ(1, wav.channels);
    EXPECT_EQ(8, wav.bits);
    EXPECT_EQ(22050, wav.rate);
    EXPECT_EQ(1, wav.blockAlign);
    EXPECT_EQ(22050, wav.byteRate);
    EXPECT_NEAR(2.0, wav.dataSize / 22050.0, 0.6);
    Channel mono = Extract(wav.data, 1, 8, 22050, 0);
    EXPECT_TRUE(HasCleanToneWindows(mono, 1000.0, 10.0)) << MeasureToneHz(mono);
    DeleteFileW(file.c_str());
}

TEST_F(CaptureDeviceTest, ASmallSplitLimitGivesContinuationFilesAndTheirCount)
{
    std::wstring file = TempPath(L"capture_split.wav");
    std::wstring next = TempPath(L"capture_split_1.wav");
    CCaptureDevice dev;
    ASSERT_TRUE(dev.InitFilterGraph(m_window, L"", CaptureDeviceName, 2));
    ASSERT_TRUE(dev.StartRendering());
    // 1 MB of 176400 bytes a second: one continuation after 6 s.
    ASSERT_TRUE(dev.StartRecordWav(file.c_str(), 2, 16, 44100, 1));
    Sleep(7000);
    ASSERT_TRUE(dev.StopRecord());
    std::vector<LPARAM> stops = StopMessages();
    ASSERT_EQ(1u, stops.size());
    EXPECT_EQ(1, stops[0]);
    dev.Close();
    WavFile a, b;
    ASSERT_TRUE(ReadWav(file, a));
    ASSERT_TRUE(ReadWav(next, b));
    EXPECT_EQ(1048576u, a.dataSize);
    EXPECT_GT(b.dataSize, 0u);
    DeleteFileW(file.c_str());
    DeleteFileW(next.c_str());
}

TEST_F(CaptureDeviceTest, StopWhileOnlyMonitoringPostsNothing)
{
    CCaptureDevice dev;
    ASSERT_TRUE(dev.InitFilterGraph(m_window, L"", CaptureDeviceName, 2));
    ASSERT_TRUE(dev.StartRendering());
    EXPECT_TRUE(dev.StopRecord());
    EXPECT_TRUE(dev.StopRendering());
    EXPECT_TRUE(StopMessages().empty());
    int bytes = 0;
    EXPECT_FALSE(dev.GetRecordedBytes(&bytes));
}

TEST_F(CaptureDeviceTest, AFailedRecordingStartRestoresMonitoringAndLeavesNoFile)
{
    CCaptureDevice dev;
    ASSERT_TRUE(dev.InitFilterGraph(m_window, L"", CaptureDeviceName, 2));
    ASSERT_TRUE(dev.StartRendering());
    EXPECT_FALSE(dev.StartRecordWav(L"Q:\\no such folder\\take.wav", 2, 16, 44100, 2047));
    EXPECT_TRUE(dev.IsPreviewing());
    EXPECT_FALSE(dev.IsRecording());
    auto names = FilterNames(dev.Graph());
    EXPECT_FALSE(Has(names, L"NV PCM Dump Filter")) << "half-built chain left behind";
    EXPECT_TRUE(StopMessages().empty());
}

TEST_F(CaptureDeviceTest, FallsBackToTheWaveOutRenderer)
{
    const CLSID missing = {0x1b2c3d4e, 0x0000, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 1}};
    CCaptureDevice dev;
    dev.SetRendererClasses(missing, CLSID_AudioRender);
    ASSERT_TRUE(dev.InitFilterGraph(m_window, L"", CaptureDeviceName, 1));
    ASSERT_TRUE(dev.StartRendering());
    auto names = FilterNames(dev.Graph());
    EXPECT_TRUE(Has(names, L"WavOut Render"));
    EXPECT_FALSE(Has(names, L"DirectSound Render"));
}

TEST_F(CaptureDeviceTest, UnknownOrEmptyNamesOpenNothing)
{
    CCaptureDevice dev;
    EXPECT_FALSE(dev.InitFilterGraph(m_window, L"", L"No Such Microphone", 0));
    EXPECT_FALSE(dev.m_bInit);
    EXPECT_TRUE(dev.InitFilterGraph(m_window, L"", L"", 0));
    EXPECT_FALSE(dev.m_bInit);
    EXPECT_FALSE(dev.StartRendering());
    EXPECT_FALSE(dev.StartRecordWav(L"x.wav", 2, 16, 44100, 2047));
}

TEST_F(CaptureDeviceTest, TenOpenReleaseCyclesLeaveNoFiltersAndStopsNeverHang)
{
    DWORD start = GetTickCount();
    for (int i = 0; i < 10; ++i) {
        CCaptureDevice dev;
        ASSERT_TRUE(dev.InitFilterGraph(m_window, L"", CaptureDeviceName, i % 2 ? 1 : 2)) << i;
        ASSERT_TRUE(dev.StartRendering()) << i;
        Sleep(50);
        ASSERT_TRUE(dev.StopRendering()) << i;
        dev.Close();
    }
    EXPECT_LT(GetTickCount() - start, 20000u) << "run, pause and stop took too long";
    // Every object of our modules is gone again.
    for (const wchar_t* m : {L"SonelleCapture.ax", L"Vossel.ax", L"NVNoiseReduction.ax", L"NVAudioAnalyer.ax"}) {
        HMODULE h = GetModuleHandleW(m);
        if (!h) continue;
        typedef HRESULT(STDAPICALLTYPE * CanUnloadFn)();
        auto canUnload = (CanUnloadFn)(void*)GetProcAddress(h, "DllCanUnloadNow");
        ASSERT_TRUE(canUnload);
        EXPECT_EQ(S_OK, canUnload()) << m;
    }
    EXPECT_TRUE(StopMessages().empty());
}
