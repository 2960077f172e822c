// Burn from the recording step and the burner step (pages 196 and 345): no
// writer leads to the no-writer page, which holds the user; the writer list
// takes the saved writer or, when it is gone, the first one, whose name then
// replaces the saved one; the output kind follows its two boxes.
#include "WizardTestSupport.h"
#include "DiscTestKit.h"
#include "Driver.h"
#include "WizGlobals.h"
#include "WizSettings.h"
#include <gtest/gtest.h>

using namespace wiztest;

namespace {

class BurnerStep : public ::testing::Test {
protected:
    void SetUp() override { ResetWizardGlobals(); }

    // The wizard on the recording step, then Burn.
    void PressBurn(HostedWizard& wizard)
    {
        ASSERT_TRUE(wizard.Ok());
        ASSERT_TRUE(wizard.dialog.ActivatePage(&wizard.pages->step4));
        wizard.dialog.OnWizardNext();
        Pump(300);
    }

    void Click(CWnd& page, UINT id)
    {
        SendMessageW(page.m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(page.m_hWnd, id));
    }
};

}  // namespace

TEST_F(BurnerStep, WithoutAWriterBurnShowsTheNoWriterPageWhoseNextStaysAndBackRecords)
{
    disctest::CWriterIni ini;
    ini.WriteEmpty();
    HostedWizard wizard;
    PressBurn(wizard);
    ASSERT_EQ(196u, wizard.Active());
    EXPECT_EQ(L"Information", drv::ControlText(wizard.dialog.m_hWnd, 1001));
    std::wstring text = drv::ControlText(wizard.pages->noWriter.m_hWnd, CNoCDWriter::IDC_TEXT);
    EXPECT_EQ(0u, text.find(L"No CD writer available.")) << std::string(text.begin(), text.end());
    EXPECT_TRUE(Shown(wizard.dialog.m_hWnd, 12323)) << "only Back and Finish show";
    EXPECT_FALSE(Shown(wizard.dialog.m_hWnd, 12324));
    wizard.dialog.OnWizardNext();
    EXPECT_EQ(196u, wizard.Active()) << "Next holds the user here";
    wizard.dialog.OnWizardBack();
    EXPECT_EQ(344u, wizard.Active());
    EXPECT_FALSE(wizard.dialog.IsDiscLibraryReady() && wizard.dialog.DataDisc().GetDriveCount() > 0);
}

TEST_F(BurnerStep, AStaleWriterNameSelectsTheFirstWriterAndIsReplaced)
{
    disctest::CWriterIni ini;
    ini.AddWriter({L"Name=First Image Writer", L"Medium=cdr"});
    ini.AddWriter({L"Name=Second Image Writer", L"Medium=cdrw"});
    g_WizSettings.strBurnDeviceName = L"Writer Unplugged Long Ago";
    HostedWizard wizard;
    PressBurn(wizard);
    ASSERT_EQ(345u, wizard.Active());
    EXPECT_EQ(L"Step 5. Burn Settings", drv::ControlText(wizard.dialog.m_hWnd, 1001));
    CStep5Dlg& page = wizard.pages->step5;
    for (int i = 0; i < 40 && !page.IsListFilled(); ++i) Pump(50);
    ASSERT_TRUE(page.IsListFilled());
    EXPECT_EQ(2, page.m_writers.GetCount());
    EXPECT_EQ(0, page.m_writers.GetCurSel());
    EXPECT_EQ(CString(L"First Image Writer"), g_WizSettings.strBurnDeviceName);
    EXPECT_GE(drv::DroppedRows(page.m_writers.m_hWnd), 2) << "the list drops to show both writers";
    while (page.m_writers.GetCount() < 12) page.m_writers.AddString(L"Another Image Writer");
    EXPECT_GE(drv::DroppedRows(page.m_writers.m_hWnd), 8) << "and eight of many";
    page.FillWriters();

    // The saved writer, in any letter case, is selected next time.
    g_WizSettings.strBurnDeviceName = L"second image WRITER";
    page.FillWriters();
    EXPECT_EQ(1, page.m_writers.GetCurSel());
    EXPECT_EQ(CString(L"Second Image Writer"), g_WizSettings.strBurnDeviceName);

    // The output kind follows its boxes; Back passes over the no-writer page.
    EXPECT_EQ(0, g_WizSettings.nWizOutputType);
    EXPECT_EQ(BST_CHECKED, page.m_audioCheck.SendMessage(BM_GETCHECK));
    Click(page, CStep5Dlg::IDC_MP3_CD);
    EXPECT_EQ(1, g_WizSettings.nWizOutputType);
    EXPECT_EQ(BST_UNCHECKED, page.m_audioCheck.SendMessage(BM_GETCHECK));
    EXPECT_EQ(BST_CHECKED, page.m_mp3Check.SendMessage(BM_GETCHECK));
    Click(page, CStep5Dlg::IDC_AUDIO_CD);
    EXPECT_EQ(0, g_WizSettings.nWizOutputType);
    wizard.dialog.OnWizardBack();
    EXPECT_EQ(344u, wizard.Active());
}
