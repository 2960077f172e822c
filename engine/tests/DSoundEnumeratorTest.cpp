#include <gtest/gtest.h>
#include <windows.h>
#include "DSoundEnumerator.h"
#include "DSoundDeviceDouble.h"
#include "TestSignal.h"
#include "WaveInId.h"
#include <mmsystem.h>
#include <algorithm>

namespace {

struct ComScope {
    ComScope() { CoInitialize(nullptr); }
    ~ComScope() { CoUninitialize(); }
};


} // namespace

TEST(DSoundEnumerator, CutsVidPidFromInterfacePaths)
{
    struct Case { const wchar_t* path; const wchar_t* expected; } cases[] = {
        {L"\\\\?\\USB#VID_0d8c&PID_0121&MI_00#6&1a2b3c4d&0&0000#{65e8773d-8f56-11d0-a3b9-00a0c9223196}\\global",
         L"VID_0D8C&PID_0121"},
        {L"\\\\?\\usb#vid_0c76&pid_1606#5&1&0#{guid}", L"VID_0C76&PID_1606"},
        {L"\\\\?\\USB#VID_0D8C&PID_0121", L"NULL"},                       // no "#{"
        {L"\\\\?\\HDAUDIO#FUNC_01&VEN_10EC&DEV_0662#4&1&0001#{guid}", L"NULL"},  // onboard
        {L"\\\\?\\USB#VID_0D8C#{guid}", L"NULL"},                         // no PID
        {L"\\\\?\\USB#VID_0D8C&PID_01#{guid}", L"NULL"},                  // PID cut short
        {L"\\\\?\\USB#PID_0121&VID_0D8C#{guid}", L"NULL"},                // PID before VID
        {L"", L"NULL"},
        {nullptr, L"NULL"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.expected, CDSoundEnumerator::VidPidFromInterfacePath(c.path).GetString())
            << (c.path ? c.path : L"(null)");
}

TEST(DSoundEnumerator, ListsTheSandboxDevicesWithWaveIds)
{
    ComScope com;
    CDSoundEnumerator e;
    e.Enumerate();
    // The capture feed, the monitoring output's monitor and PulseAudio's default.
    ASSERT_GE(e.GetCaptureDevices().size(), 2u);
    ASSERT_GE(e.GetRenderDevices().size(), 1u);
    std::vector<int> ids;
    for (const DSoundDevice* d : e.GetCaptureDevices()) {
        EXPECT_NE(GUID_NULL, d->guid);
        EXPECT_GE(d->waveDeviceId, 0);
        EXPECT_LT(d->waveDeviceId, (int)waveInGetNumDevs());
        // Wine's device paths carry no USB ids.
        EXPECT_STREQ(L"NULL", d->vidPid.GetString());
        ids.push_back(d->waveDeviceId);
    }
    EXPECT_NE(ids.end(), std::find(ids.begin(), ids.end(), testsignal::WaveInId(testsignal::CaptureDeviceName)));
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids.end(), std::adjacent_find(ids.begin(), ids.end())) << "wave ids repeat";

    // Enumerating again replaces the lists instead of growing them.
    size_t count = e.GetCaptureDevices().size();
    e.Enumerate();
    EXPECT_EQ(count, e.GetCaptureDevices().size());
}

TEST(DSoundEnumerator, MapsVidPidToTheDirectShowDeviceByWaveId)
{
    ComScope com;
    int feedId = testsignal::WaveInId(testsignal::CaptureDeviceName);
    ASSERT_GE(feedId, 0);
    CDSoundEnumerator e;
    e.AddCaptureDevice(MakeDSoundDevice(feedId, L"\\\\?\\USB#VID_0D8C&PID_0121&MI_00#6&1&0#{guid}\\global"));
    e.AddCaptureDevice(MakeDSoundDevice(feedId + 100, L"\\\\?\\USB#VID_0C76&PID_1606#5&1&0#{guid}"));

    EXPECT_EQ(feedId, e.GetWaveInIdByVidPid(L"vid_0d8c&pid_0121"));
    EXPECT_STREQ(testsignal::CaptureDeviceName, e.GetFriendlyNameByVidPid(L"VID_0D8C&PID_0121").GetString());
    // A wave id that DirectShow does not list gives no name.
    EXPECT_STREQ(L"", e.GetFriendlyNameByVidPid(L"VID_0C76&PID_1606").GetString());
    EXPECT_STREQ(L"", e.GetFriendlyNameByVidPid(L"VID_1234&PID_5678").GetString());
    // "NULL" and empty name no device, even one whose path happens to contain them.
    e.AddCaptureDevice(MakeDSoundDevice(feedId, L"\\\\?\\ROOT#NULL#0000#{guid}"));
    EXPECT_EQ(-1, e.GetWaveInIdByVidPid(L"NULL"));
    EXPECT_EQ(-1, e.GetWaveInIdByVidPid(L""));

    // And back: the DirectShow name (any letter case) gives the device's VID/PID.
    CString upper = testsignal::CaptureDeviceName;
    upper.MakeUpper();
    EXPECT_STREQ(L"VID_0D8C&PID_0121", e.GetVidPidByFriendlyName(upper).GetString());
    EXPECT_STREQ(L"NULL", e.GetVidPidByFriendlyName(L"No Such Device").GetString());
    EXPECT_STREQ(L"NULL", e.GetVidPidByFriendlyName(L"").GetString());
}

TEST(DSoundEnumerator, KnownUsbDeviceOfTheLowerRowWins)
{
    ComScope com;
    int feedId = testsignal::WaveInId(testsignal::CaptureDeviceName);
    ASSERT_GE(feedId, 0);
    CDSoundEnumerator none;
    none.Enumerate();
    EXPECT_STREQ(L"", none.FindKnownUsbDevice().GetString());

    // Rows 2 and 1 present; row 1 wins although listed second.
    CDSoundEnumerator e;
    e.AddCaptureDevice(MakeDSoundDevice(0, L"\\\\?\\USB#VID_0D8C&PID_0121#1#{guid}"));
    e.AddCaptureDevice(MakeDSoundDevice(feedId, L"\\\\?\\USB#VID_0C76&PID_1600#1#{guid}"));
    EXPECT_STREQ(testsignal::CaptureDeviceName, e.FindKnownUsbDevice().GetString());
}

TEST(DSoundEnumerator, RealDeviceNamesHaveNoVidPidHere)
{
    ComScope com;
    CDSoundEnumerator e;
    e.Enumerate();
    EXPECT_STREQ(L"NULL", e.GetVidPidByFriendlyName(testsignal::CaptureDeviceName).GetString());
}
