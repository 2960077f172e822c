// The Record page on the sandbox's fed capture device (1 s of 1000 Hz at half
// scale, 0.5 s of silence): device choice, meters, input level, device removal.
#include "RecordPageSupport.h"
#include "DiscTestKit.h"
#include "PublishDlg.h"
#include "RecorderCaptureDevice.h"
#include "SonelleSettings.h"
#include "TestSignal.h"

namespace {

struct Levels {
    int highest = -1, lowest = 1000;
    bool leftGraphLit = false, rightGraphLit = false;
};

// Watches the page's meters for a while.
Levels Watch(TestPage& page, DWORD ms)
{
    Levels seen;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        Pump(20);
        int value = page.m_barLeft.GetValue();
        seen.highest = std::max(seen.highest, value);
        seen.lowest = std::min(seen.lowest, value);
        for (int i = 0; i < 30; ++i) {
            if (page.m_graphLeft.Levels().level[i] > 0) seen.leftGraphLit = true;
            if (page.m_graphRight.Levels().level[i] > 0) seen.rightGraphLit = true;
        }
    }
    return seen;
}

class RecordPage : public RecordPageFixture {};

}  // namespace

TEST_F(RecordPage, MonitorsTheSavedDeviceWithMetersThatFollowTheToneAndTheInputLevel)
{
    ASSERT_TRUE(Open());
    EXPECT_STREQ(testsignal::CaptureDeviceName, g_Settings.szAudioDeviceName);
    EXPECT_TRUE(page.m_nLevelTimer != 0);
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(page.m_hWnd, CPageCapture::IDC_REC)));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(page.m_hWnd, CPageCapture::IDC_STOP)));
    EXPECT_EQ(HIGH_PRIORITY_CLASS, GetPriorityClass(GetCurrentProcess()));

    // Half scale is +10.97 dB on the analyzer's scale: (10.97 + 30) x 2 = 81.
    Levels first = Watch(page, 3000);
    EXPECT_NEAR(81, first.highest, 1);
    EXPECT_EQ(0, first.lowest) << "the silences show 0";
    EXPECT_TRUE(first.leftGraphLit);
    EXPECT_TRUE(first.rightGraphLit);

    // The slider at -20: input level 20, gain 2.0 (+6 dB).
    EXPECT_EQ(0, page.SendMessage(WM_SLIDER_TRACKING, CPageCapture::IDC_LEVEL, (LPARAM)-20));
    EXPECT_EQ(20u, g_Settings.nLevel);
    Pump(600);
    Levels louder = Watch(page, 3000);
    EXPECT_NEAR(93, louder.highest, 1);
}

TEST_F(RecordPage, TheSliderStartsAtTheSavedInputLevel)
{
    g_Settings.nLevel = 35;
    ASSERT_TRUE(Open());
    EXPECT_EQ(-35, page.m_level.GetPos());
}

TEST_F(RecordPage, AUsbDeviceNamedOnTheCommandLineWinsOnceAndIsSaved)
{
    CDSoundEnumerator::SetDeviceSource(FakeUsbDevices);
    lstrcpynW(g_Settings.szAudioDeviceName, L"PulseAudio", 100);
    page.m_strCmdLine = L"VID_0D8C&PID_0121";
    ASSERT_TRUE(Open());
    EXPECT_STREQ(testsignal::CaptureDeviceName, g_Settings.szAudioDeviceName);
    EXPECT_TRUE(g_CaptureDevice.IsSameDevice(kFedUsbVidPid));
    EXPECT_TRUE(page.m_strCmdLine.IsEmpty()) << "the command line is used once";
}

TEST_F(RecordPage, AnAbsentUsbDeviceOnTheCommandLineKeepsTheSavedDevice)
{
    CDSoundEnumerator::SetDeviceSource(FakeUsbDevices);
    page.m_strCmdLine = L"VID_1234&PID_5678";
    ASSERT_TRUE(Open());
    EXPECT_STREQ(testsignal::CaptureDeviceName, g_Settings.szAudioDeviceName);
    EXPECT_TRUE(page.m_strCmdLine.IsEmpty());
}

TEST_F(RecordPage, ASavedDeviceThatIsGoneGivesTheFirstInputWhichIsSaved)
{
    lstrcpynW(g_Settings.szAudioDeviceName, L"No Such Device 4711", 100);
    ASSERT_TRUE(Open());
    wchar_t names[CCaptureDevice::DeviceListSize][CCaptureDevice::DeviceNameLength] = {};
    ASSERT_GT(CCaptureDevice::GetAudioDeviceNames(names), 0);
    EXPECT_STREQ(names[0], g_Settings.szAudioDeviceName);
}

TEST_F(RecordPage, RemovingTheOpenUsbDeviceClosesItWithOneMessageAndOtherDevicesAreIgnored)
{
    CDSoundEnumerator::SetDeviceSource(FakeUsbDevices);
    ASSERT_TRUE(Open());
    ASSERT_TRUE(g_CaptureDevice.IsSameDevice(kFedUsbVidPid));
    Watch(page, 1500);
    CMessageBoxAnswerer answerer;

    std::vector<BYTE> other = RemovalBroadcast(kOtherUsbPath);
    page.SendMessage(WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, (LPARAM)other.data());
    EXPECT_TRUE(g_CaptureDevice.m_bInit) << "another device's removal leaves the page alone";

    // One device announces the removal of each of its interfaces.
    std::vector<BYTE> fed = RemovalBroadcast(kFedUsbPath);
    for (int i = 0; i < 3; ++i) page.SendMessage(WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, (LPARAM)fed.data());
    Pump(500);
    EXPECT_FALSE(g_CaptureDevice.m_bInit);
    std::vector<std::wstring> boxes = answerer.Texts();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(L"The USB device has been disconnected.", boxes[0]);
    EXPECT_EQ(0, page.m_barLeft.GetValue());
    EXPECT_EQ(0, page.m_barRight.GetValue());
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(page.m_hWnd, CPageCapture::IDC_REC)));
}

TEST_F(RecordPage, ABroadcastWithoutATerminatedNameIsReadWithinItsSize)
{
    CDSoundEnumerator::SetDeviceSource(FakeUsbDevices);
    ASSERT_TRUE(Open());
    CMessageBoxAnswerer answerer;
    // The name is cut right after "PID_01": no full identity within the size.
    std::wstring path = kFedUsbPath;
    std::vector<BYTE> cut = RemovalBroadcast(path);
    auto* b = (DEV_BROADCAST_DEVICEINTERFACE_W*)cut.data();
    b->dbcc_size = (DWORD)(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) +
                           (path.find(L"PID_") + 6) * sizeof(wchar_t));
    page.SendMessage(WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, (LPARAM)cut.data());
    Pump(200);
    EXPECT_TRUE(g_CaptureDevice.m_bInit);
    EXPECT_TRUE(answerer.Texts().empty());
}

TEST_F(RecordPage, PublishHandsTheCheckedRecordingsAndPausesMonitoringWhileItsDialogRuns)
{
    ASSERT_TRUE(Open());
    ASSERT_TRUE(::IsWindowEnabled(::GetDlgItem(page.m_hWnd, CPageCapture::IDC_PUBLISH)));
    const std::wstring checked = folder + L"Take checked.wav", unchecked = folder + L"Take unchecked.wav";
    for (const std::wstring& path : {checked, unchecked}) ASSERT_TRUE(disctest::WriteBytes(path, disctest::MakeWav(5.0)));
    page.m_list.DeleteAllItems();
    ASSERT_TRUE(page.m_list.AddFile(checked.c_str(), TRUE));
    ASSERT_TRUE(page.m_list.AddFile(unchecked.c_str(), FALSE));

    // Seen from a helper thread while the dialog runs modally on the page's thread.
    struct Seen {
        int rows = -1;
        std::wstring file;
        DWORD priority = 0;
        bool levelTimerStopped = false;
    } seen;
    std::thread helper([&] {
        HWND dialog = nullptr;
        for (int i = 0; i < 400 && !dialog; ++i) {
            Sleep(25);
            HWND found = FindWindowW(L"#32770", L"Publish");
            if (found && IsWindowVisible(found)) dialog = found;
        }
        if (!dialog) return;
        Sleep(300);
        HWND list = GetDlgItem(dialog, CPublishDlg::IDC_LIST);
        seen.rows = (int)SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
        wchar_t text[260] = L"";
        LVITEMW item = {};
        item.iSubItem = CPublishListCtrl::ColumnFile;
        item.pszText = text;
        item.cchTextMax = 260;
        SendMessageW(list, LVM_GETITEMTEXTW, 0, (LPARAM)&item);
        seen.file = text;
        seen.priority = GetPriorityClass(GetCurrentProcess());
        seen.levelTimerStopped = page.m_nLevelTimer == 0;
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    Click(page, CPageCapture::IDC_PUBLISH);
    PumpUntil([&] { return seen.rows >= 0 && !FindWindowW(L"#32770", L"Publish"); }, 20000);
    helper.join();
    EXPECT_EQ(1, seen.rows) << "only the checked recording";
    EXPECT_EQ(L"Take checked", seen.file);
    EXPECT_EQ(DWORD(NORMAL_PRIORITY_CLASS), seen.priority);
    EXPECT_TRUE(seen.levelTimerStopped) << "monitoring pauses";
    ASSERT_TRUE(PumpUntil([&] { return page.m_nLevelTimer != 0; }, 3000)) << "monitoring resumes";
    EXPECT_EQ(HIGH_PRIORITY_CLASS, GetPriorityClass(GetCurrentProcess()));
    Levels after = Watch(page, 2000);
    EXPECT_GT(after.highest, 50) << "the meters move again";
}
