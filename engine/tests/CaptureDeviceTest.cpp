// The capture device on the sandbox's fed capture device: monitoring into the
// null sink, recording WAV files in the requested format, stop messages.
#include <gtest/gtest.h>
#include <windows.h>
#include <dshow.h>
#include <string>
#include <vector>
#include <atomic>
#include <thread>
#include "CaptureDevice.h"
#include "ComPtr.h"
#include "EngineTestSupport.h"
#include "FakeCaptureDevices.h"
#include "FakeRenderer.h"
#include "FullVolume.h"
#include "ModuleLoader.h"
#include "Mp3FileCheck.h"
#include "OutsideFilters.h"
#include "TestSignal.h"
#include "WaitUntil.h"

using namespace testsignal;

namespace {

bool Has(const std::vector<std::wstring>& names, const wchar_t* name)
{
    for (auto& n : names) if (n == name) return true;
    return false;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& text)
{
    for (auto& l : lines) if (l.find(text) != std::string::npos) return true;
    return false;
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Closes the first property frame of this process (a modal "#32770" dialog)
// with Cancel; gives up after the time limit (then nothing was shown). The
// frame is found by process: Wine gives it no owner (docs/wine.md).
class CFrameCloser {
public:
    CFrameCloser()
        : m_thread([this] {
              for (DWORD start = GetTickCount(); GetTickCount() - start < 10000 && !m_stop;) {
                  HWND frame = nullptr;
                  while ((frame = FindWindowExW(nullptr, frame, L"#32770", nullptr)) != nullptr) {
                      DWORD pid = 0;
                      GetWindowThreadProcessId(frame, &pid);
                      if (pid != GetCurrentProcessId() || !IsWindowVisible(frame)) continue;
                      m_closed = true;
                      PostMessageW(frame, WM_COMMAND, IDCANCEL, 0);
                      return;
                  }
                  Sleep(20);
              }
          })
    {
    }
    ~CFrameCloser()
    {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
    }
    bool Closed()
    {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
        return m_closed;
    }

private:
    std::atomic<bool> m_stop{false}, m_closed{false};
    std::thread m_thread;
};

// Sound takes real time to arrive, longer on a busy machine: a recording is
// stopped once it holds what a test needs, or after this long.
const DWORD kArrivalLimitMs = 30000;

// A recording stopped once the writer had counted enough: its count just before
// StopRecord, and how long the stop took (sound still arrives meanwhile).
struct StoppedRecording {
    bool arrived = false;
    bool stopped = false;
    int counted = 0;
    double stopSeconds = 0;
};

StoppedRecording StopWhenRecorded(CCaptureDevice& dev, int bytes)
{
    StoppedRecording r;
    r.arrived = WaitUntil([&] { return dev.GetRecordedBytes(&r.counted) && r.counted >= bytes; }, kArrivalLimitMs, 50);
    DWORD before = GetTickCount();
    dev.GetRecordedBytes(&r.counted);
    r.stopped = dev.StopRecord() != FALSE;
    r.stopSeconds = (GetTickCount() - before) / 1000.0;
    return r;
}

// The file keeps every byte counted before the stop, and holds no more than the
// stop's time and the graph's buffers (under half a second) let in after it.
void ExpectFileHoldsTheCount(const WavFile& wav, const StoppedRecording& r, int byteRate)
{
    EXPECT_GE((long long)wav.dataSize, r.counted);
    EXPECT_LE(wav.dataSize, r.counted + (r.stopSeconds + 1.0) * byteRate);
    EXPECT_EQ(0u, wav.blockAlign ? wav.dataSize % wav.blockAlign : 0u) << "a part of a sample frame";
}

bool FileHoldsAtLeast(const std::wstring& path, long long bytes)
{
    WIN32_FILE_ATTRIBUTE_DATA a = {};
    return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &a) &&
           ((long long)a.nFileSizeHigh << 32 | a.nFileSizeLow) >= bytes;
}

CComPtr<IUnknown> FilterIdentity(IGraphBuilder* graph, const wchar_t* name)
{
    CComPtr<IBaseFilter> filter;
    CComPtr<IUnknown> identity;
    if (graph && SUCCEEDED(graph->FindFilterByName(name, &filter)))
        filter->QueryInterface(IID_IUnknown, (void**)&identity);
    return identity;
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
    bool levels = WaitUntil([&] { return dev.GetAnalyzerData(record) != FALSE; }, kArrivalLimitMs, 100);
    EXPECT_TRUE(levels) << "no analyzer record while monitoring";

    ASSERT_TRUE(dev.StartRecordWav(file.c_str(), 2, 16, 44100, 2047));
    EXPECT_TRUE(dev.IsRecording());
    EXPECT_TRUE(dev.StartRecordWav(L"ignored.wav", 1, 8, 8000, 1)) << "a running recording is left alone";
    EXPECT_EQ(file, std::wstring(dev.GetOutputFile()));
    ASSERT_TRUE(WaitUntil([&] { int n = 0; return dev.GetRecordedBytes(&n) && n >= 176400; }, kArrivalLimitMs, 50));
    int bytes = 0;
    LONGLONG bytes64 = 0;
    EXPECT_TRUE(dev.GetRecordedBytes(&bytes));
    EXPECT_TRUE(dev.GetRecordedBytes64(&bytes64));
    EXPECT_GE(bytes64, bytes) << "the 64-bit count is behind the 32-bit one";
    StoppedRecording take = StopWhenRecorded(dev, 176400 * 3);
    ASSERT_TRUE(take.arrived) << "3 s of sound did not arrive";
    ASSERT_TRUE(take.stopped);
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
    ExpectFileHoldsTheCount(wav, take, 176400);
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
    StoppedRecording take = StopWhenRecorded(dev, 22050 * 2);
    ASSERT_TRUE(take.arrived) << "2 s of sound did not arrive";
    ASSERT_TRUE(take.stopped);
    dev.Close();
    WavFile wav;
    ASSERT_TRUE(ReadWav(file, wav));
    EXPECT_EQ(1, wav.channels);
    EXPECT_EQ(8, wav.bits);
    EXPECT_EQ(22050, wav.rate);
    EXPECT_EQ(1, wav.blockAlign);
    EXPECT_EQ(22050, wav.byteRate);
    ExpectFileHoldsTheCount(wav, take, 22050);
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
    EXPECT_TRUE(WaitUntil([&] { return FileHoldsAtLeast(next, 44 + 176400 / 2); }, kArrivalLimitMs, 50))
        << "no half second of sound in a continuation file";
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

// A start whose Pause fails part-way (the renderer refuses once) leaves nothing in
// the way: the next monitoring start and a recording start both work.
TEST_F(CaptureDeviceTest, AFailedMonitoringStartLeavesTheDeviceAbleToStartAgain)
{
    CFakeRendererClass renderer;
    ASSERT_TRUE(renderer.Ok());
    CCaptureDevice dev;
    dev.SetRendererClasses(CLSID_FakeFailingRenderer, CLSID_FakeFailingRenderer);
    ASSERT_TRUE(dev.InitFilterGraph(m_window, L"", CaptureDeviceName, 1));
    ASSERT_EQ(4, dev.GetDeviceMode());
    g_fakeRenderer.failedPauses = 0;
    g_fakeRenderer.failPauses = 1;
    EXPECT_FALSE(dev.StartRendering());
    EXPECT_EQ(1, g_fakeRenderer.failedPauses.load()) << "the renderer was not asked to pause";
    EXPECT_FALSE(dev.IsPreviewing());
    EXPECT_EQ(std::vector<std::wstring>{L"Audio Capture Device"}, FilterNames(dev.Graph()))
        << "the failed chain stayed in the graph";

    ASSERT_TRUE(dev.StartRendering()) << "the capture pin is still held by the failed chain";
    EXPECT_TRUE(Has(FilterNames(dev.Graph()), L"DirectSound Render"));
    BYTE record[88];
    bool levels = WaitUntil([&] { return dev.GetAnalyzerData(record) != FALSE; }, kArrivalLimitMs, 100);
    EXPECT_TRUE(levels) << "no analyzer record after the restart";

    std::wstring file = TempPath(L"capture_after_failed_start.wav");
    DeleteFileW(file.c_str());
    ASSERT_TRUE(dev.StartRecordWav(file.c_str(), 2, 16, 44100, 2047));
    EXPECT_TRUE(dev.IsRecording());
    StoppedRecording take = StopWhenRecorded(dev, 176400);
    ASSERT_TRUE(take.arrived) << "1 s of sound did not arrive";
    ASSERT_TRUE(take.stopped);
    EXPECT_EQ(1u, StopMessages().size());
    dev.Close();
    WavFile wav;
    ASSERT_TRUE(ReadWav(file, wav));
    ExpectFileHoldsTheCount(wav, take, 176400);
    DeleteFileW(file.c_str());
}

// A recording whose graph fails to run, on a path that can be written: monitoring
// comes back, a file that was not there before is gone again, and a file that was
// there keeps every byte (the recording never got to write into it).
TEST_F(CaptureDeviceTest, AFailedRecordingStartOnAWritablePathKeepsAnOlderFileAndLeavesNoNewOne)
{
    CFakeRendererClass renderer;
    ASSERT_TRUE(renderer.Ok());
    std::wstring fresh = TempPath(L"capture_fresh_take.wav");
    std::wstring older = TempPath(L"capture_older_take.wav");
    DeleteFileW(fresh.c_str());
    const char kept[] = "an older recording the user keeps";
    HANDLE h = CreateFileW(older.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD n = 0;
    WriteFile(h, kept, sizeof kept, &n, nullptr);
    CloseHandle(h);

    CLogCapture log;
    CCaptureDevice dev;
    dev.SetRendererClasses(CLSID_FakeFailingRenderer, CLSID_FakeFailingRenderer);
    ASSERT_TRUE(dev.InitFilterGraph(m_window, L"", CaptureDeviceName, 1));
    ASSERT_TRUE(dev.StartRendering());
    for (const std::wstring& target : {fresh, older}) {
        SCOPED_TRACE(testing::Message() << std::string(target.begin(), target.end()));
        g_fakeRenderer.failPauses = 1;
        EXPECT_FALSE(dev.StartRecordWav(target.c_str(), 2, 16, 44100, 2047));
        EXPECT_FALSE(dev.IsRecording());
        EXPECT_TRUE(dev.IsPreviewing()) << "monitoring is restored";
        EXPECT_FALSE(Has(FilterNames(dev.Graph()), L"NV PCM Dump Filter"));
    }
    EXPECT_TRUE(HasLine(log.Lines(), "Start is failed"));
    EXPECT_FALSE(FileExists(fresh)) << "the failed start left its file";
    std::string content;
    h = CreateFileW(older.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h) << "the older file was deleted";
    char buf[256];
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n) content.append(buf, n);
    CloseHandle(h);
    EXPECT_EQ(std::string(kept, sizeof kept), content) << "the older file was changed";
    EXPECT_TRUE(StopMessages().empty());

    // The device records again afterwards, over the older file as asked.
    ASSERT_TRUE(dev.StartRecordWav(older.c_str(), 2, 16, 44100, 2047));
    StoppedRecording take = StopWhenRecorded(dev, 176400 / 2);
    ASSERT_TRUE(take.arrived) << "half a second of sound did not arrive";
    ASSERT_TRUE(take.stopped);
    dev.Close();
    WavFile wav;
    ASSERT_TRUE(ReadWav(older, wav));
    ExpectFileHoldsTheCount(wav, take, 176400);
    DeleteFileW(older.c_str());
}

// The identity of the open device comes from the device that was bound, also
// when the requested name only contains its name.
TEST_F(CaptureDeviceTest, TheIdentityIsTheBoundDevicesEvenForAContainedName)
{
    struct CNamedIdentities : CCaptureDevice {
        std::vector<std::wstring> asked;
        CString LookUpDeviceIdentity(const CString& name) override
        {
            asked.push_back(name.GetString());
            return name == CaptureDeviceName ? L"VID_0D8C&PID_0121" : L"NULL";
        }
    } dev;
    std::wstring requested = std::wstring(L"Front ") + CaptureDeviceName + L" #2";
    ASSERT_TRUE(dev.InitFilterGraph(m_window, L"", requested.c_str(), 2));
    EXPECT_EQ(std::vector<std::wstring>{CaptureDeviceName}, dev.asked);
    EXPECT_TRUE(dev.IsSameDevice(L"vid_0d8c&pid_0121")) << "a removal of the open device would go unseen";
    EXPECT_FALSE(dev.IsSameDevice(L"VID_0C76&PID_1606"));
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

// A capture pin that refuses the 20 x 4096 buffer suggestion, or has no way to
// take one: the chain without a renderer goes on with the pin's own buffers and
// records; the chains with a renderer fail cleanly.
TEST_F(CaptureDeviceTest, ARefusedBufferSuggestionRecordsWithoutARendererAndFailsWithOne)
{
    const struct { const wchar_t* name; BufferSuggestion suggestion; const char* logged; } cases[] = {
        {L"Fake Refusing Capture", BufferSuggestion::Refused, "capture pin refused 20 x 4096 buffers hr:[0x80004005]"},
        {L"Fake Plain Capture", BufferSuggestion::NotOffered, "capture pin refused 20 x 4096 buffers hr:[0x80004002]"},
    };
    std::vector<FakeDeviceSpec> specs;
    for (const auto& c : cases) specs.push_back({c.name, CLSID_AudioInputDeviceCategory, c.suggestion, false});
    CFakeDeviceList devices(specs);
    ASSERT_TRUE(devices.Ok());
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (int)c.suggestion);
        std::wstring file = TempPath(L"capture_refused.wav");
        DeleteFileW(file.c_str());
        {
            // Not heard (device mode 1): monitoring and recording go on.
            CLogCapture log;
            CCaptureDevice dev;
            ASSERT_TRUE(dev.InitFilterGraph(m_window, L"", c.name, 2));
            ASSERT_EQ(1, dev.GetDeviceMode());
            ASSERT_TRUE(dev.StartRendering());
            EXPECT_TRUE(Has(FilterNames(dev.Graph()), L"NULL Renderer"));
            EXPECT_TRUE(HasLine(log.Lines(), c.logged));
            ASSERT_TRUE(dev.StartRecordWav(file.c_str(), 2, 16, 44100, 2047));
            EXPECT_TRUE(dev.IsRecording());
            StoppedRecording take = StopWhenRecorded(dev, 176400 * 3 / 2);
            ASSERT_TRUE(take.arrived) << "1.5 s of sound did not arrive";
            ASSERT_TRUE(take.stopped);
            std::vector<LPARAM> stops = StopMessages();
            ASSERT_EQ(1u, stops.size());
            EXPECT_EQ(0, stops[0]);
            dev.Close();
            WavFile wav;
            ASSERT_TRUE(ReadWav(file, wav));
            EXPECT_EQ(2, wav.channels);
            EXPECT_EQ(44100, wav.rate);
            ExpectFileHoldsTheCount(wav, take, 176400);
            Channel left = Extract(wav.data, 2, 16, 44100, 0);
            EXPECT_TRUE(HasCleanToneWindows(left, 1000.0, 10.0)) << MeasureToneHz(left);
            DeleteFileW(file.c_str());
        }
        {
            // Heard (device mode 4): neither monitoring nor recording starts, and
            // nothing of the chains stays in the graph.
            CLogCapture log;
            CCaptureDevice dev;
            ASSERT_TRUE(dev.InitFilterGraph(m_window, L"", c.name, 1));
            ASSERT_EQ(4, dev.GetDeviceMode());
            EXPECT_FALSE(dev.StartRendering());
            EXPECT_FALSE(dev.IsPreviewing());
            EXPECT_EQ(std::vector<std::wstring>{L"Audio Capture Device"}, FilterNames(dev.Graph()));
            EXPECT_FALSE(dev.StartRecordWav(file.c_str(), 2, 16, 44100, 2047));
            EXPECT_FALSE(dev.IsRecording());
            EXPECT_FALSE(FileExists(file));
            EXPECT_EQ(std::vector<std::wstring>{L"Audio Capture Device"}, FilterNames(dev.Graph()));
            std::vector<std::string> lines = log.Lines();
            EXPECT_TRUE(HasLine(lines, c.logged));
            EXPECT_TRUE(HasLine(lines, "CaptureGraphRenderAudioDeviceWav is failed"));
            EXPECT_TRUE(StopMessages().empty());
        }
    }
}

TEST_F(CaptureDeviceTest, PropertyPagesOfTheOpenDeviceInAModalFrame)
{
    CFakeDeviceList devices({{L"Fake Audio With Page", CLSID_AudioInputDeviceCategory, BufferSuggestion::Accepted, true},
                             {L"Fake Video With Page", CLSID_VideoInputDeviceCategory, BufferSuggestion::Accepted, true}});
    ASSERT_TRUE(devices.Ok());
    // A real top-level owner, as the pages have (the frame is modal to it on Windows).
    HWND owner = CreateWindowW(L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(owner);
    const struct { const wchar_t* video; const wchar_t* audio; const wchar_t* source; bool audioPages; } cases[] = {
        {L"", L"Fake Audio With Page", L"Audio Capture Device", true},
        {L"Fake Video With Page", L"", L"Video Capture", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.audioPages ? "audio" : "video"));
        g_fakePageLog.created = g_fakePageLog.activated = g_fakePageLog.objects = 0;
        g_fakePageLog.object = nullptr;
        CCaptureDevice dev;
        ASSERT_TRUE(dev.InitFilterGraph(owner, c.video, c.audio, 2));
        CComPtr<IUnknown> source = FilterIdentity(dev.Graph(), c.source);
        ASSERT_TRUE(source);
        {
            CFrameCloser closer;
            EXPECT_TRUE(c.audioPages ? dev.ShowAudioDeviceProperties() : dev.ShowVideoDeviceProperties());
            EXPECT_TRUE(closer.Closed()) << "no property frame was shown";
        }
        EXPECT_EQ(1, g_fakePageLog.created.load());
        EXPECT_EQ(1, g_fakePageLog.activated.load());
        EXPECT_EQ(1, g_fakePageLog.objects.load());
        EXPECT_EQ(source.p, g_fakePageLog.object.load()) << "the page was not given the device's filter";
        // The other kind of source is not open: nothing to show.
        EXPECT_FALSE(c.audioPages ? dev.ShowVideoDeviceProperties() : dev.ShowAudioDeviceProperties());
    }
    DestroyWindow(owner);
}

TEST_F(CaptureDeviceTest, PropertyPagesOfAFilterWithoutPagesShowNothing)
{
    CCaptureDevice dev;
    EXPECT_FALSE(dev.ShowAudioDeviceProperties()) << "no device open";
    EXPECT_FALSE(dev.ShowVideoDeviceProperties());
    g_fakePageLog.created = 0;
    // The fed device is our capture source, which offers no pages.
    ASSERT_TRUE(dev.InitFilterGraph(m_window, L"", CaptureDeviceName, 2));
    DWORD start = GetTickCount();
    EXPECT_TRUE(dev.ShowAudioDeviceProperties());
    EXPECT_LT(GetTickCount() - start, 2000u) << "something modal was shown";
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"#32770", nullptr)) != nullptr;) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        EXPECT_NE(GetCurrentProcessId(), pid) << "a dialog was left open";
    }
    EXPECT_FALSE(dev.ShowVideoDeviceProperties());
}

// Drive V: is one of the sandbox's tiny volumes (the writer's own tests fill W:).
TEST_F(CaptureDeviceTest, ADiskThatFillsUpIsReportedAndTheRecordingKeepsWhatWasWritten)
{
    CFullVolume volume(L'V', 128 * 1024);
    if (!volume.Ok()) GTEST_SKIP() << volume.Why();
    std::wstring file = volume.Path(L"take.wav");
    CLogCapture log;
    CCaptureDevice dev;
    ASSERT_TRUE(dev.InitFilterGraph(m_window, L"", CaptureDeviceName, 2));
    ASSERT_TRUE(dev.StartRendering());
    ASSERT_TRUE(dev.StartRecordWav(file.c_str(), 2, 16, 44100, 2047));
    // Notifications of the start are not what this test is after.
    Sleep(100);
    MSG msg;
    while (PeekMessageW(&msg, m_window, WM_CAPTURE_GRAPHEVENT, WM_CAPTURE_GRAPHEVENT, PM_REMOVE)) {}
    // 128 KB take less than a second: wait until the count stands still.
    int bytes = -1, later = 0;
    for (DWORD start = GetTickCount(); bytes != later && GetTickCount() - start < 8000;) {
        bytes = later;
        Sleep(400);
        ASSERT_TRUE(dev.GetRecordedBytes(&later));
    }
    EXPECT_EQ(bytes, later) << "the recording never stopped growing";
    EXPECT_TRUE(PeekMessageW(&msg, m_window, WM_CAPTURE_GRAPHEVENT, WM_CAPTURE_GRAPHEVENT, PM_REMOVE))
        << "the owner heard nothing of the failed write";
    // Monitoring goes on meanwhile.
    BYTE record[88];
    bool levels = WaitUntil([&] { return dev.GetAnalyzerData(record) != FALSE; }, kArrivalLimitMs, 100);
    EXPECT_TRUE(levels) << "the analyzer stopped with the writer";
    ASSERT_TRUE(dev.StopRecord());
    std::vector<LPARAM> stops = StopMessages();
    ASSERT_EQ(1u, stops.size()) << "the recording is still listed";
    EXPECT_EQ(0, stops[0]);
    EXPECT_TRUE(HasLine(log.Lines(), "capture graph error hr:[0x80070070]"));
    dev.Close();

    WavFile wav;
    ASSERT_TRUE(ReadWav(file, wav));
    EXPECT_EQ((unsigned)bytes, wav.dataSize);
    EXPECT_EQ(36u + wav.dataSize, wav.riffSize);
    EXPECT_EQ(44 + (long long)wav.dataSize, wav.fileSize);
    EXPECT_GT(wav.dataSize, 64u * 1024);
    EXPECT_EQ(0u, wav.dataSize % 4);
}

// Without its encoder module the MP3 chain fails cleanly: a recording start fails, names the missing filter in the log and leaves
// no file (an existing file of that name is not touched).
TEST_F(CaptureDeviceTest, MP3RecordingWithoutItsFiltersFailsCleanly)
{
    // The encoder's module is taken out of the registry for this test only.
    ASSERT_TRUE(UnregisterModule(L"NVMp3Enc.ax"));
    struct Reregister {
        ~Reregister() { RegisterModule(L"NVMp3Enc.ax"); }
    } reregister;
    CComPtr<IBaseFilter> encoder;
    ASSERT_FALSE(SUCCEEDED(encoder.CoCreateInstance(CLSID_NVMP3EncFilter)));
    std::wstring file = TempPath(L"capture_take.mp3");
    std::wstring existing = TempPath(L"capture_existing.mp3");
    HANDLE h = CreateFileW(existing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD n = 0;
    WriteFile(h, "keep", 4, &n, nullptr);
    CloseHandle(h);
    DeleteFileW(file.c_str());
    CLogCapture log;
    CCaptureDevice dev;
    ASSERT_TRUE(dev.InitFilterGraph(m_window, L"", CaptureDeviceName, 2));
    ASSERT_TRUE(dev.StartRendering());
    for (const std::wstring& target : {file, existing}) {
        EXPECT_FALSE(dev.StartRecordMp3(target.c_str()));
        EXPECT_FALSE(dev.IsRecording());
        EXPECT_TRUE(dev.IsPreviewing()) << "monitoring is restored";
        auto names = FilterNames(dev.Graph());
        EXPECT_FALSE(Has(names, L"MP3 Encoder"));
        EXPECT_FALSE(Has(names, L"NV MP3 Dump"));
    }
    EXPECT_FALSE(FileExists(file));
    WIN32_FILE_ATTRIBUTE_DATA a = {};
    EXPECT_TRUE(GetFileAttributesExW(existing.c_str(), GetFileExInfoStandard, &a));
    EXPECT_EQ(4u, a.nFileSizeLow) << "a file the recording never opened was touched";
    EXPECT_TRUE(HasLine(log.Lines(), "[CaptureGraphRenderAudioDeviceMp3] MP3 Encoder fail hr:[0x80040154]"));
    EXPECT_TRUE(StopMessages().empty());
    dev.Close();
    DeleteFileW(existing.c_str());
}

namespace {

// The fed signal recorded as MP3: 48 kHz, 192 kbps, stereo frames of the tone. With
// automatic split every file after a split begins at an onset of the tone and
// decodes on its own (the oracle step decodes each).
TEST_F(CaptureDeviceTest, RecordsMp3AndSplitsAtTheOnsetsOfSound)
{
    for (const wchar_t* m : {L"NVMp3Enc.ax", L"Tarrow.ax"}) ASSERT_TRUE(RegisterModule(m)) << m;
    std::wstring folder = FixtureFolder();
    std::wstring file = (folder.empty() ? TempPath(L"") : folder) + L"capture_take.mp3";
    CCaptureDevice dev;
    ASSERT_TRUE(dev.InitFilterGraph(m_window, L"", CaptureDeviceName, 1));
    ASSERT_TRUE(dev.StartRendering());
    ASSERT_TRUE(dev.StartRecordMp3(file.c_str()));
    EXPECT_TRUE(dev.IsRecording());
    dev.SetSplitParams(TRUE, 3000, 10, 1);
    // A split starts file _1; half a second of 192 kbps in it is enough to check.
    std::wstring second = file.substr(0, file.size() - 4) + L"_1.mp3";
    EXPECT_TRUE(WaitUntil([&] { return FileHoldsAtLeast(second, 12000); }, kArrivalLimitMs, 50))
        << "no split in the tone bursts";
    ASSERT_TRUE(dev.StopRecord());
    std::vector<LPARAM> stops = StopMessages();
    ASSERT_EQ(1u, stops.size());
    int count = (int)stops[0];
    EXPECT_GE(count, 1) << "no split in 5 s of tone bursts";
    for (int i = 0; i <= count; ++i) {
        std::wstring name = i == 0 ? file : file.substr(0, file.size() - 4) + L"_" + std::to_wstring(i) + L".mp3";
        Mp3FileInfo info;
        ASSERT_TRUE(ReadMp3Frames(name, info)) << i;
        ASSERT_FALSE(info.frames.empty()) << i;
        EXPECT_EQ(info.framedBytes, info.fileSize) << i;
        EXPECT_EQ(info.frames[0].mainDataBegin, 0) << i;
        for (const Mp3Frame& f : info.frames) {
            ASSERT_EQ(f.header.sampleRate, 48000);
            ASSERT_EQ(f.header.bitrateKbps, 192);
            ASSERT_EQ(f.header.channelMode, 0);
        }
        std::wstring leaf = name.substr(name.find_last_of(L'\\') + 1);
        if (!folder.empty())
            AddOracleCheck(leaf, i == 0 ? "rate=48000 channels=2 bitrate=192"
                                        : "rate=48000 channels=2 bitrate=192 sound_at_start=1");
    }
    dev.Close();
}

} // namespace
