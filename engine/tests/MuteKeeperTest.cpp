#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "CoreAudioCtrl.h"
#include "OSVersion.h"
#include "ScriptedMixer.h"
#include "MutePath.h"
#include "TopologyDouble.h"

namespace {

class MuteKeeper : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (GetOSVersionCode() < OS_VISTA) GTEST_SKIP() << "the core-audio path needs Vista or later";
        ASSERT_TRUE(topology.Ok());
        render = topology.WineEndpoints(0);
        ASSERT_GE(render.size(), 2u);
        topology.defaultRender = render[1];
        topology.paths[render[1]] = main.path;
        topology.paths[render[0]] = other.path;
    }
    CTopologyDouble topology;
    std::vector<std::wstring> render;
    MutePath main, other;
    CNVCoreAudio coreAudio;
    CMixerControl mixer;
    CCoreAudioCtrl keeper{coreAudio, mixer};
};

// Runs a copy of this test program as Windows XP (Wine's per-program version) with
// a filter; returns its exit code.
int RunCopyAsWindowsXp(const wchar_t* filter)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder = self;
    folder.resize(folder.rfind(L'\\') + 1);
    std::wstring exe = L"engine_tests_xp" + std::to_wstring(GetCurrentProcessId()) + L".exe";
    std::wstring copy = folder + exe;
    if (!CopyFileW(self, copy.c_str(), FALSE)) return -1;
    std::wstring key = L"Software\\Wine\\AppDefaults\\" + exe;
    HKEY k = nullptr;
    DWORD code = (DWORD)-2;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) == 0) {
        RegSetValueExW(k, L"Version", 0, REG_SZ, (const BYTE*)L"winxp", 12);
        RegCloseKey(k);
        std::wstring command = L"\"" + copy + L"\" --gtest_filter=" + filter;
        STARTUPINFOW si = {sizeof si};
        PROCESS_INFORMATION pi = {};
        if (CreateProcessW(copy.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
            if (WaitForSingleObject(pi.hProcess, 120000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        }
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    for (int i = 0; i < 50 && !DeleteFileW(copy.c_str()); ++i) Sleep(100);
    return (int)code;
}

} // namespace

TEST_F(MuteKeeper, MutesThePathAndRestoresWhatWasMutedBefore)
{
    main.mutes[1]->mute = TRUE;   // muted by the user before start
    keeper.SaveMute();
    EXPECT_EQ(1, keeper.GetEndpointIndex());
    EXPECT_EQ(0, main.Sets());
    keeper.ApplyMute(1);
    for (TopologyNode* m : main.mutes) EXPECT_EQ(TRUE, m->mute);
    keeper.ApplyMute(0);
    EXPECT_EQ(FALSE, main.mutes[0]->mute);
    EXPECT_EQ(TRUE, main.mutes[1]->mute) << "stays as the user left it";
    EXPECT_EQ(FALSE, main.mutes[2]->mute);
    keeper.ApplyMute(0);
    EXPECT_EQ(TRUE, main.mutes[1]->mute);
    EXPECT_EQ(0, other.Sets()) << "only the default endpoint's path";
}

TEST_F(MuteKeeper, AnItemWhoseStateWasNotReadIsLeftAlone)
{
    main.mutes[2]->muteReadFails = true;
    main.mutes[2]->mute = TRUE;
    keeper.SaveMute();
    keeper.ApplyMute(1);
    keeper.ApplyMute(0);
    EXPECT_EQ(0, main.mutes[2]->muteSets);
    EXPECT_EQ(TRUE, main.mutes[2]->mute);
    EXPECT_EQ(2, main.mutes[0]->muteSets);
}

TEST_F(MuteKeeper, WithoutPlaybackEndpointsNothingChanges)
{
    for (const std::wstring& name : render) topology.removed.insert(name);
    keeper.SaveMute();
    topology.removed.clear();
    keeper.ApplyMute(1);
    keeper.ApplyMute(0);
    EXPECT_EQ(0, main.Sets());
    EXPECT_EQ(0, other.Sets());
}

TEST_F(MuteKeeper, RestoresOnlyTheSavedEndpoint)
{
    topology.defaultRender = render[0];
    std::swap(topology.paths[render[0]], topology.paths[render[1]]);   // main path on render[0]
    keeper.SaveMute();
    EXPECT_EQ(0, keeper.GetEndpointIndex());
    keeper.ApplyMute(1);
    ASSERT_EQ(TRUE, main.mutes[0]->mute);

    // The saved endpoint goes away: another one now holds its position.
    topology.removed.insert(render[0]);
    keeper.ApplyMute(0);
    EXPECT_EQ(0, other.Sets());
    EXPECT_EQ(TRUE, main.mutes[0]->mute);

    // Back, though listed elsewhere now: restored there.
    topology.removed.clear();
    topology.addedRender = 1;
    keeper.ApplyMute(0);
    for (TopologyNode* m : main.mutes) EXPECT_EQ(FALSE, m->mute);
}

// Before Vista the keeper works on the speaker sources of the playback mixer.
TEST(MuteKeeperBeforeVista, MutesOutsideSourcesThroughTheMixer)
{
    if (GetOSVersionCode() >= OS_VISTA) {
        EXPECT_EQ(0, RunCopyAsWindowsXp(L"MuteKeeperBeforeVista.*"));
        return;
    }
    CTopologyDouble topology;
    MutePath path;
    topology.paths[topology.WineDefault(0)] = path.path;
    CScriptedMixer scripted;
    scripted.mixers = {CScriptedMixer::SoundCard(L"Scripted Card")};
    ScriptedDestination* speakers = scripted.mixers[0].Destination(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
    auto mute = [&](const wchar_t* line) { return speakers->Source(line)->Control(MIXERCONTROL_CONTROLTYPE_MUTE); };
    mute(L"CD Player")->value = 1;   // muted by the user before start

    CNVCoreAudio coreAudio;
    CMixerControl mixer;
    CCoreAudioCtrl keeper(coreAudio, mixer);
    ASSERT_TRUE(mixer.Open());
    keeper.SaveMute();
    keeper.ApplyMute(1);
    for (const wchar_t* line : {L"Line In", L"Microphone", L"CD Player", L"Aux", L"Digital"})
        EXPECT_EQ(1, mute(line)->value) << line;
    EXPECT_EQ(0, mute(L"Wave Out")->value);
    EXPECT_EQ(0, mute(L"Wave Out")->sets) << "the PC's own playback keeps playing";
    keeper.ApplyMute(0);
    for (const wchar_t* line : {L"Line In", L"Microphone", L"Aux", L"Digital", L"Wave Out"})
        EXPECT_EQ(0, mute(line)->value) << line;
    EXPECT_EQ(1, mute(L"CD Player")->value) << "stays as the user left it";
    EXPECT_EQ(0, path.Sets()) << "no core audio before Vista";
    mixer.Close();
}
