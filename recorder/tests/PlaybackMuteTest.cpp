// The main window mutes the playback path while it is open and puts it back as it
// found it when it closes, on the scripted mixer card and the topology double.
#include "AudioControls.h"
#include "MutePath.h"
#include "NvDropDialog.h"
#include "PageCapture.h"
#include "PageEdit.h"
#include "ScriptedMixer.h"
#include "SonelleDlg.h"
#include "SonelleGlobals.h"
#include "TopologyDouble.h"
#include <gtest/gtest.h>

namespace {

class RefusingRecordPage : public CPageCapture {
public:
    BOOL OnQueryClose() override { return mayLeave; }
    BOOL mayLeave = TRUE;
};

void PumpMessages()
{
    MSG msg;
    for (int round = 0; round < 3; ++round) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

class PlaybackMute : public ::testing::Test {
protected:
    void SetUp() override
    {
        OleInitialize(nullptr);
        ASSERT_TRUE(topology.Ok());
        topology.paths[topology.WineDefault(0)] = path.path;
        scripted.mixers = {CScriptedMixer::SoundCard(L"Scripted Card")};
        speakersMute = scripted.mixers[0].Destination(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS)
                           ->Control(MIXERCONTROL_CONTROLTYPE_MUTE);
        speakersMute->value = 1;
        g_hSkinModule = GetModuleHandleW(nullptr);
        g_hResourceModule = GetModuleHandleW(nullptr);
        g_hExtra2Module = nullptr;
        g_szWindowTitle = L"Sonelle in the test";
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        g_szAppPath = CString(temp) + L"SonelleNoModules\\";
        path.mutes[1]->mute = TRUE;   // muted by the user before start
        dialog.SetPlaceholder(CSonelleDlg::IDC_PLACEHOLDER);
        dialog.AddPage(&record, CPageCapture::IDD);
        dialog.AddPage(&edit, CPageEdit::IDD);
        ASSERT_TRUE(dialog.Create(CSonelleDlg::IDD, nullptr));
        dialog.ShowWindow(SW_SHOWNOACTIVATE);
        PumpMessages();
    }
    void TearDown() override
    {
        record.mayLeave = TRUE;
        if (dialog.m_hWnd && ::IsWindowVisible(dialog.m_hWnd)) dialog.SendMessage(WM_CLOSE);
        if (dialog.m_hWnd) dialog.DestroyWindow();
        PumpMessages();
        OleUninitialize();
    }
    void Exit()
    {
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(CSonelleDlg::IDC_EXIT, BN_CLICKED),
                           (LPARAM)::GetDlgItem(dialog.m_hWnd, CSonelleDlg::IDC_EXIT));
        PumpMessages();
    }

    CTopologyDouble topology;
    CScriptedMixer scripted;
    MutePath path;
    ScriptedControl* speakersMute = nullptr;
    CSonelleDlg dialog;
    RefusingRecordPage record;
    CPageEdit edit;
};

} // namespace

TEST_F(PlaybackMute, ThePathIsMutedWhileOpenAndAsFoundAfterClosing)
{
    for (TopologyNode* m : path.mutes) EXPECT_EQ(TRUE, m->mute);
    EXPECT_EQ(0, speakersMute->value) << "the speakers themselves are heard (Vista and later)";
    EXPECT_EQ(1, scripted.OpenHandles()) << "the mixer stays open while the window is";

    Exit();
    EXPECT_EQ(FALSE, path.mutes[0]->mute);
    EXPECT_EQ(TRUE, path.mutes[1]->mute) << "stays as the user left it";
    EXPECT_EQ(FALSE, path.mutes[2]->mute);
    EXPECT_EQ(0, scripted.OpenHandles());
    EXPECT_FALSE(::IsWindowVisible(dialog.m_hWnd));
}

TEST_F(PlaybackMute, AClosePageRefusesChangesNothing)
{
    record.mayLeave = FALSE;
    Exit();
    dialog.SendMessage(WM_CLOSE);
    PumpMessages();
    EXPECT_TRUE(::IsWindowVisible(dialog.m_hWnd)) << "the window stays open";
    for (TopologyNode* m : path.mutes) EXPECT_EQ(TRUE, m->mute);
    EXPECT_EQ(1, scripted.OpenHandles());
    const int sets = path.Sets();

    record.mayLeave = TRUE;
    Exit();
    EXPECT_EQ(FALSE, path.mutes[0]->mute);
    EXPECT_EQ(TRUE, path.mutes[1]->mute);
    EXPECT_EQ(sets + 3, path.Sets()) << "restored once, item by item";
    EXPECT_EQ(0, scripted.OpenHandles());
}
