// The client's side of the player protocol against a window of the player's class
// in this process that records what it receives and answers like a player.
#include <gtest/gtest.h>
#include "PlayerProtocol.h"
#include "PlayerTestSupport.h"
#include "Registry.h"
#include "RemoteTunlet.h"
#include "StandInPlayer.h"

using namespace playertest;

namespace {

struct ProtocolCase {
    const char* name;
    void (*call)(CRemoteTunlet&);
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

const ProtocolCase kCases[] = {
    {"Play", [](CRemoteTunlet& r) { r.Play(); }, 0x401, 0, 0},
    {"Pause", [](CRemoteTunlet& r) { r.Pause(); }, 0x402, 0, 0},
    {"Stop", [](CRemoteTunlet& r) { r.Stop(); }, 0x403, 0, 0},
    {"Seek 12.345", [](CRemoteTunlet& r) { r.Seek(12.345); }, 0x404, 0, 1234},
    {"Seek 1.0", [](CRemoteTunlet& r) { r.Seek(1.0); }, 0x404, 0, 100},
    {"Duration", [](CRemoteTunlet& r) { double d; r.GetDuration(&d); }, 0x405, 0, 0},
    {"Position", [](CRemoteTunlet& r) { double d; r.GetPosition(&d); }, 0x406, 0, 0},
    {"State", [](CRemoteTunlet& r) { r.GetState(); }, 0x407, 0, 0},
    {"Volume", [](CRemoteTunlet& r) { r.SetVolume(40000); }, 0x408, 0, 40000},
    {"Gain 1.5", [](CRemoteTunlet& r) { r.SetAmplifyGain(1.5f); }, 0x410, 0, 150},
    {"Gain 0.5", [](CRemoteTunlet& r) { r.SetAmplifyGain(0.5f); }, 0x410, 0, 50},
    {"Reduction 30", [](CRemoteTunlet& r) { r.SetNoiseReductionLevel(30.0f); }, 0x411, 0, 3000},
    {"Open plain", [](CRemoteTunlet& r) { r.OpenPlain(); }, 0x4E0, 0, 0},
    {"Open analyzer", [](CRemoteTunlet& r) { r.OpenWithAnalyzer(); }, 0x4E0, 1, 0},
    {"Open reduction", [](CRemoteTunlet& r) { r.OpenWithNoiseReduction(); }, 0x4E0, 2, 0},
    {"Close", [](CRemoteTunlet& r) { r.Close(); }, 0x4EF, 0, 0},
};

TEST(RemoteProtocol, EachCallSendsItsMessageAndParameters)
{
    for (const ProtocolCase& c : kCases) {
        SCOPED_TRACE(c.name);
        CRecordingPlayer player;
        CRemoteTunlet remote;
        ASSERT_TRUE(remote.FindPlayer());
        EXPECT_EQ(player.m_hWnd, remote.GetPlayerWnd());
        c.call(remote);
        ASSERT_EQ(1u, player.sent.size());
        EXPECT_EQ(c.message, player.sent[0].message);
        EXPECT_EQ(c.wParam, player.sent[0].wParam);
        EXPECT_EQ(c.lParam, player.sent[0].lParam);
    }
}

TEST(RemoteProtocol, AnswersInHundredthsBecomeSeconds)
{
    CRecordingPlayer player;
    CRemoteTunlet remote;
    ASSERT_TRUE(remote.FindPlayer());
    player.answer = 6550;
    double seconds = 0;
    EXPECT_TRUE(remote.GetDuration(&seconds));
    EXPECT_DOUBLE_EQ(65.5, seconds);
    player.answer = 123;
    EXPECT_TRUE(remote.GetPosition(&seconds));
    EXPECT_DOUBLE_EQ(1.23, seconds);
    player.answer = 2;
    EXPECT_EQ(2, remote.GetState());
    player.answer = 0;
    EXPECT_FALSE(remote.Play());
    EXPECT_FALSE(remote.OpenPlain());
}

TEST(RemoteProtocol, WithoutPlayerEveryCallGivesZero)
{
    CRemoteTunlet remote;
    EXPECT_FALSE(remote.FindPlayer());
    double seconds = 7;
    EXPECT_FALSE(remote.GetDuration(&seconds));
    EXPECT_EQ(0.0, seconds);
    seconds = 7;
    EXPECT_FALSE(remote.GetPosition(&seconds));
    EXPECT_EQ(0.0, seconds);
    EXPECT_EQ(0, remote.GetState());
    EXPECT_FALSE(remote.Pause());
    EXPECT_FALSE(remote.OpenWithAnalyzer());
}

TEST(RemoteProtocol, WindowThatIsGoneIsForgotten)
{
    CRemoteTunlet remote;
    {
        CRecordingPlayer player;
        ASSERT_TRUE(remote.FindPlayer());
    }
    EXPECT_EQ(0, remote.GetState());
    EXPECT_EQ(nullptr, remote.GetPlayerWnd());
}

TEST(RemoteProtocol, HungPlayerAnswersNothingAfterTheTimeOut)
{
    CHungPlayer hung;
    CRemoteTunlet remote;
    ASSERT_TRUE(remote.FindPlayer());
    ULONGLONG start = GetTickCount64();
    double seconds = 7;
    EXPECT_FALSE(remote.GetDuration(&seconds));
    ULONGLONG took = GetTickCount64() - start;
    EXPECT_EQ(0.0, seconds);
    EXPECT_LE(took, CRemoteTunlet::kSendTimeoutMs + 2000);
    // Forgotten: the next call does not wait again.
    EXPECT_EQ(nullptr, remote.GetPlayerWnd());
    start = GetTickCount64();
    EXPECT_EQ(0, remote.GetState());
    EXPECT_LT(GetTickCount64() - start, 1000u);
}

TEST(RemoteProtocol, LaunchWritesTheHandshakeAndFailsWithoutTheProgram)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring empty = std::wstring(temp) + L"sonelle-no-player\\";
    CreateDirectoryW(empty.c_str(), nullptr);
    CString saved = CRemoteTunlet::GetAppFolder();
    CRemoteTunlet::SetAppFolder(empty.c_str());

    CNotifyWindow notify;
    CRemoteTunlet remote;
    EXPECT_FALSE(remote.Launch(L"C:\\some where\\take.wav", notify.Handle()));
    DWORD hmsg = 0;
    CString file;
    EXPECT_TRUE(RegReadDword(HKEY_CURRENT_USER, kPlayerRegKey, kPlayerNotifyValue, hmsg, 0xFFFFFFFF));
    EXPECT_EQ((DWORD)HandleToLong(notify.Handle()), hmsg);
    EXPECT_TRUE(RegReadString(HKEY_CURRENT_USER, kPlayerRegKey, kPlayerFileValue, file, L""));
    EXPECT_STREQ(L"C:\\some where\\take.wav", file);

    double seconds = 7;
    EXPECT_FALSE(remote.GetDuration(&seconds));
    EXPECT_EQ(0.0, seconds);
    EXPECT_FALSE(remote.Play());
    EXPECT_EQ(0, remote.GetState());

    CRemoteTunlet::SetAppFolder(saved);
    RemoveDirectoryW(empty.c_str());
}

TEST(RemoteProtocol, AppFolderGetsItsBackslash)
{
    CString saved = CRemoteTunlet::GetAppFolder();
    CRemoteTunlet::SetAppFolder(L"C:\\suite");
    EXPECT_STREQ(L"C:\\suite\\", CRemoteTunlet::GetAppFolder());
    CRemoteTunlet::SetAppFolder(saved);
}

} // namespace
