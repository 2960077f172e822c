// The Record page's recording run on the fed capture device: REC and Stop, the
// requested time, the disk reserve, continuation files and the time fields.
#include <gtest/gtest.h>
#include <regex>
#include "FullVolume.h"
#include "RecordPageSupport.h"
#include "RecorderCaptureDevice.h"
#include "SonelleSettings.h"
#include "TestSignal.h"

using namespace testsignal;

namespace {

// Sound takes real time to arrive, longer on a busy machine: waits for an amount
// of it end when it is there, or after this long.
const DWORD kArrivalLimitMs = 30000;

class RecordRun : public RecordPageFixture {
protected:
    bool Recording() { return page.IsRecording() != FALSE; }
    // The writer's count of the running recording (0 when none runs).
    int RecordedBytes()
    {
        int bytes = 0;
        return g_CaptureDevice.GetRecordedBytes(&bytes) ? bytes : 0;
    }
    bool WaitUntilRecorded(int bytes) { return PumpUntil([&] { return RecordedBytes() >= bytes; }, kArrivalLimitMs); }
    void SetTime(int h, int m, int s)
    {
        page.SetDlgItemInt(CPageCapture::IDC_HOURS, h);
        page.SetDlgItemInt(CPageCapture::IDC_MINUTES, m);
        page.SetDlgItemInt(CPageCapture::IDC_SECONDS, s);
    }
};

}  // namespace

TEST_F(RecordRun, RecAndStopRecordTheFedSignalAndListTheFileChecked)
{
    ASSERT_TRUE(Open());
    Pump(500);
    Click(page, CPageCapture::IDC_REC);
    ASSERT_TRUE(PumpUntil([&] { return Recording(); }, 5000));
    DWORD started = GetTickCount();
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(page.m_hWnd, CPageCapture::IDC_REC)));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(page.m_hWnd, CPageCapture::IDC_STOP)));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(page.m_hWnd, CPageCapture::IDC_OPTION)));
    EXPECT_FALSE(page.FileList().IsMouseEnabled());
    ASSERT_TRUE(WaitUntilRecorded(176400 * 3)) << "3 s of sound did not arrive";
    EXPECT_TRUE(PumpUntil([&] { return Text(page, CPageCapture::IDC_RECORDED_SIZE) != L"0.0 KB"; }, kArrivalLimitMs))
        << "the size grows while recording";
    int counted = RecordedBytes();
    DWORD stopping = GetTickCount();
    Click(page, CPageCapture::IDC_STOP);
    double stopSeconds = (GetTickCount() - stopping) / 1000.0;
    ASSERT_TRUE(PumpUntil([&] { return page.FileList().GetItemCount() == 1; }, kArrivalLimitMs));
    EXPECT_FALSE(Recording());
    EXPECT_TRUE(g_CaptureDevice.IsPreviewing()) << "monitoring goes on";
    EXPECT_EQ(L"00 : 00 : 00", Text(page, CPageCapture::IDC_ELAPSED));
    EXPECT_EQ(L"0.0 KB", Text(page, CPageCapture::IDC_RECORDED_SIZE));
    EXPECT_EQ(L"0 %", Text(page, CPageCapture::IDC_PERCENT));

    std::wstring path = page.FileList().Row(0)->path.GetString();
    EXPECT_TRUE(page.FileList().GetCheck(0));
    EXPECT_TRUE(std::regex_match(path, std::wregex(std::regex_replace(folder, std::wregex(L"\\\\"), L"\\\\") +
                                                   L"Take_[0-9]{6}\\.wav")))
        << std::string(path.begin(), path.end());
    WavFile wav;
    ASSERT_TRUE(ReadWav(path, wav));
    EXPECT_EQ(2, wav.channels);
    EXPECT_EQ(44100, wav.rate);
    EXPECT_EQ(16, wav.bits);
    // Every byte counted before the stop is in the file; after it, no more than
    // the stop's time and the graph's buffers (under half a second) let in.
    EXPECT_GE(wav.dataSize, (unsigned)counted);
    EXPECT_LE(wav.dataSize / 176400.0, counted / 176400.0 + stopSeconds + 1.0);
    EXPECT_LE(wav.dataSize / 176400.0, (GetTickCount() - started) / 1000.0) << "more sound than time";
    Channel left = Extract(wav.data, 2, 16, 44100, 0);
    EXPECT_TRUE(HasCleanToneWindows(left, 1000.0, 10.0)) << MeasureToneHz(left);
}

TEST_F(RecordRun, ARequestedTimeStopsTheRecordingByItself)
{
    ASSERT_TRUE(Open());
    SetTime(0, 0, 3);
    DWORD clicked = GetTickCount();
    Click(page, CPageCapture::IDC_REC);
    ASSERT_TRUE(PumpUntil([&] { return Recording(); }, 5000));
    EXPECT_EQ(3u, page.m_nLimitSeconds);
    ASSERT_TRUE(PumpUntil([&] { return !Recording(); }, kArrivalLimitMs));
    double ran = (GetTickCount() - clicked) / 1000.0;
    EXPECT_EQ(L"00 : 00 : 03", Text(page, CPageCapture::IDC_ELAPSED));
    EXPECT_EQ(L"100 %", Text(page, CPageCapture::IDC_PERCENT));
    ASSERT_TRUE(PumpUntil([&] { return page.FileList().GetItemCount() == 1; }, 3000));
    // The time runs from REC: the file holds the requested time, and no more than
    // the time from REC until the recording had ended (a busy machine's timer
    // may see the limit late, never early).
    WavFile wav;
    ASSERT_TRUE(ReadWav(page.FileList().Row(0)->path.GetString(), wav));
    EXPECT_GE(wav.dataSize / 176400.0, 2.75);
    EXPECT_LE(wav.dataSize / 176400.0, ran + 0.25);
}

TEST_F(RecordRun, TheStopMessageListsTheRecordingAndItsContinuationFiles)
{
    ASSERT_TRUE(Open());
    // A finished recording with two continuation files, as the writer reports it.
    Click(page, CPageCapture::IDC_REC);
    ASSERT_TRUE(PumpUntil([&] { return Recording(); }, 5000));
    ASSERT_TRUE(WaitUntilRecorded(176400)) << "1 s of sound did not arrive";
    Click(page, CPageCapture::IDC_STOP);
    ASSERT_TRUE(PumpUntil([&] { return page.FileList().GetItemCount() == 1; }, 5000));
    std::wstring first = page.FileList().Row(0)->path.GetString();
    std::wstring stem = first.substr(0, first.size() - 4);
    for (int i = 1; i <= 2; ++i) ASSERT_TRUE(CopyFileW(first.c_str(), (stem + L"_" + std::to_wstring(i) + L".wav").c_str(), FALSE));
    page.SendMessage(WM_CAPTURE_STOPPED, 16, 2);
    ASSERT_EQ(4, page.FileList().GetItemCount());
    EXPECT_EQ(first, std::wstring(page.FileList().Row(1)->path));
    EXPECT_EQ(stem + L"_1.wav", std::wstring(page.FileList().Row(2)->path));
    EXPECT_EQ(stem + L"_2.wav", std::wstring(page.FileList().Row(3)->path));
    for (int i = 1; i < 4; ++i) EXPECT_TRUE(page.FileList().GetCheck(i));
}

TEST_F(RecordRun, ARecordingNeverReplacesAnExistingFile)
{
    ASSERT_TRUE(Open());
    // Files for this and the next seconds exist already.
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::vector<std::wstring> taken;
    FILETIME ft;
    SystemTimeToFileTime(&now, &ft);
    for (int s = 0; s < 4; ++s) {
        ULARGE_INTEGER t = {{ft.dwLowDateTime, ft.dwHighDateTime}};
        t.QuadPart += (ULONGLONG)s * 10000000;
        FILETIME next = {t.LowPart, t.HighPart};
        SYSTEMTIME at;
        FileTimeToSystemTime(&next, &at);
        wchar_t name[64];
        swprintf(name, 64, L"Take_%02d%02d%02d.wav", at.wHour, at.wMinute, at.wSecond);
        taken.push_back(folder + name);
        HANDLE h = CreateFileW(taken.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, "keep", 4, &written, nullptr);
        CloseHandle(h);
    }
    Click(page, CPageCapture::IDC_REC);
    ASSERT_TRUE(PumpUntil([&] { return Recording(); }, 5000));
    ASSERT_TRUE(WaitUntilRecorded(176400 / 2)) << "half a second of sound did not arrive";
    Click(page, CPageCapture::IDC_STOP);
    ASSERT_TRUE(PumpUntil([&] { return page.FileList().GetItemCount() == 1; }, 5000));
    std::wstring path = page.FileList().Row(0)->path.GetString();
    EXPECT_NE(std::wstring::npos, path.find(L"-2.wav")) << std::string(path.begin(), path.end());
    for (const std::wstring& t : taken) {
        WavFile probe;
        EXPECT_FALSE(ReadWav(t, probe)) << "still the 4-byte file";
        EXPECT_EQ(4, (int)GetCompressedFileSizeW(t.c_str(), nullptr));
    }
}

TEST_F(RecordRun, ANearlyFullVolumeRefusesRecAndStartsNoFile)
{
    CFullVolume volume(L'V', 64 * 1024);
    if (!volume.Ok()) GTEST_SKIP() << volume.Why();
    lstrcpynW(g_Settings.szRecordFolder, volume.Path(L"").c_str(), 260);
    ASSERT_TRUE(Open());
    CMessageBoxAnswerer answerer;
    Click(page, CPageCapture::IDC_REC);
    Pump(1000);
    EXPECT_FALSE(Recording());
    EXPECT_EQ(0, page.MaxSeconds());
    ASSERT_EQ(1u, answerer.Texts().size());
    EXPECT_EQ(L"Hard disk is full.", answerer.Texts()[0]);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(volume.Path(L"*.wav").c_str(), &data);
    EXPECT_EQ(INVALID_HANDLE_VALUE, find) << "no recording file";
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

TEST_F(RecordRun, TheDiskReserveStopsARunningRecordingAndKeepsWhatWasWritten)
{
    // Room for about three seconds above the reserve.
    CFullVolume volume(L'R', (51200ull + 3 * 176) * 1024);
    if (!volume.Ok()) GTEST_SKIP() << volume.Why();
    lstrcpynW(g_Settings.szRecordFolder, volume.Path(L"").c_str(), 260);
    ASSERT_TRUE(Open());
    EXPECT_NEAR(3, page.MaxSeconds(), 1);
    CMessageBoxAnswerer answerer;
    Click(page, CPageCapture::IDC_REC);
    ASSERT_TRUE(PumpUntil([&] { return Recording(); }, 5000));
    ASSERT_TRUE(PumpUntil([&] { return !Recording(); }, kArrivalLimitMs * 2));
    ASSERT_TRUE(PumpUntil([&] { return page.FileList().GetItemCount() == 1; }, 5000));
    Pump(500);
    std::vector<std::wstring> boxes = answerer.Texts();
    WavFile wav;
    ASSERT_TRUE(ReadWav(page.FileList().Row(0)->path.GetString(), wav));
    EXPECT_EQ((long long)wav.dataSize + 44, wav.fileSize) << "the header matches the file";
    EXPECT_GT(wav.dataSize, 176400u);
}

TEST_F(RecordRun, TheRequestedTimeKeepsWithinTheLongestRecording)
{
    ASSERT_TRUE(Open());
    ASSERT_GT(page.MaxSeconds(), 7200) << "the test folder's disk has room for two hours";
    SetTime(0, 75, 0);
    EXPECT_EQ(59, page.m_nMinutes) << "minutes stop at 59 below the maximum's hours";
    SetTime(0, 59, 0);
    page.SendMessage(WM_COMMAND, MAKEWPARAM(CPageCapture::IDC_MINUTES, EN_SETFOCUS),
                     (LPARAM)::GetDlgItem(page.m_hWnd, CPageCapture::IDC_MINUTES));
    EXPECT_EQ(1, page.m_nActiveField);
    NMUPDOWN up = {};
    up.hdr.hwndFrom = ::GetDlgItem(page.m_hWnd, CPageCapture::IDC_SPIN);
    up.hdr.idFrom = CPageCapture::IDC_SPIN;
    up.hdr.code = UDN_DELTAPOS;
    up.iDelta = 1;
    page.SendMessage(WM_NOTIFY, CPageCapture::IDC_SPIN, (LPARAM)&up);
    EXPECT_EQ(59, page.m_nMinutes) << "59 is the top";
    SetTime(0, 10, 0);
    up.iDelta = -1;
    page.SendMessage(WM_NOTIFY, CPageCapture::IDC_SPIN, (LPARAM)&up);
    EXPECT_EQ(9, page.m_nMinutes);
    EXPECT_EQ(L"9", Text(page, CPageCapture::IDC_MINUTES));
    SetTime(0, 0, 0);
    page.SetDlgItemText(CPageCapture::IDC_SECONDS, L"");
    EXPECT_EQ(L"0", Text(page, CPageCapture::IDC_SECONDS)) << "an emptied field shows 0";
}
