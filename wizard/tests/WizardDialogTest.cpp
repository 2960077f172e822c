// The wizard dialog hosted in the test process with its nine pages: where Back
// and Next lead, which buttons each page shows, the busy state, the help menu,
// and what start-up takes and every way out gives back.
#include "AudioCaptureWizApp.h"
#include "CaptureDevice.h"
#include "Driver.h"
#include "WizGlobals.h"
#include "WizSettings.h"
#include "WizardTestSupport.h"
#include <gtest/gtest.h>

using namespace wiztest;

namespace {

class WizardDialog : public ::testing::Test {
protected:
    void SetUp() override { ResetWizardGlobals(); }
    void TearDown() override
    {
        CaptureDevice().Close();
        g_WizProduct = WizProduct{};
    }
};

// What each page answers to Back and Next, as the wizard's table has it; 0 is
// the neighbour in the page list, -1 stays.
struct TargetCase {
    int kind;
    UINT page;
    LRESULT back;
};

}  // namespace

TEST_F(WizardDialog, TheWindowAndItsClassCarryTheProgramIcon)
{
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    // Taskbar, Alt+Tab and the minimised window ask the window first, then its class.
    EXPECT_NE(0, SendMessageW(wizard.dialog.m_hWnd, WM_GETICON, ICON_BIG, 0));
    EXPECT_NE(0, SendMessageW(wizard.dialog.m_hWnd, WM_GETICON, ICON_SMALL, 0));
    EXPECT_NE(0u, GetClassLongPtrW(wizard.dialog.m_hWnd, GCLP_HICON));
}

TEST_F(WizardDialog, PagesComeInTheWizardOrderAndTheDeviceStepIsFirst)
{
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    EXPECT_EQ(9, wizard.dialog.GetPageCount());
    EXPECT_EQ(129u, wizard.Active());
    const UINT order[] = {129, 195, 203, 342, 343, 344, 196, 345, 346};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(order[i], wizard.dialog.FindPage(order[i])->m_nDialogID);
    EXPECT_EQ(wizard.dialog.FindPage(129), wizard.dialog.GetFirstPage());
    EXPECT_EQ(wizard.dialog.FindPage(346), wizard.dialog.GetLastPage());
    EXPECT_EQ(L"Step 1-1. Connect Your Audio Device", drv::ControlText(wizard.dialog.m_hWnd, 1001));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(wizard.dialog.m_hWnd, CNewWizDialog::ID_WIZBACK)));
}

TEST_F(WizardDialog, BackTargetsFollowTheTableForBothKindsOfProduct)
{
    const TargetCase cases[] = {
        {0, 129, -1}, {0, 195, 0}, {0, 203, 129}, {0, 342, 203}, {0, 343, 0},
        {5, 129, 129}, {5, 342, 129}, {4, 342, 203}, {4, 129, -1},
    };
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    for (const TargetCase& c : cases) {
        g_WizProduct.kind = c.kind;
        EXPECT_EQ(c.back, wizard.dialog.FindPage(c.page)->OnWizardBack()) << "kind " << c.kind << " page " << c.page;
    }
}

TEST_F(WizardDialog, BackAndNextWalkThroughTheListWhereThePagesNameNoTarget)
{
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    CNewWizDialog& dialog = wizard.dialog;
    ASSERT_TRUE(dialog.ActivatePage(dialog.FindPage(343)));
    dialog.OnWizardNext();
    EXPECT_EQ(344u, wizard.Active());
    EXPECT_EQ(L"Step 4. Record", drv::ControlText(dialog.m_hWnd, 1001));
    dialog.OnWizardBack();
    EXPECT_EQ(343u, wizard.Active());
    dialog.OnWizardBack();
    EXPECT_EQ(342u, wizard.Active()) << "the settings step goes back to the level step";
    EXPECT_EQ(L"Step 2. Volume Settings", drv::ControlText(dialog.m_hWnd, 1001));
    dialog.OnWizardBack();
    EXPECT_EQ(203u, wizard.Active()) << "sound-card kinds go back to the selection page";

    ASSERT_TRUE(dialog.ActivatePage(dialog.FindPage(195)));
    dialog.OnWizardBack();
    EXPECT_EQ(129u, wizard.Active()) << "the no-device page goes back to its neighbour";
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog.m_hWnd, CNewWizDialog::ID_WIZBACK)));
    dialog.OnWizardBack();
    EXPECT_EQ(129u, wizard.Active()) << "Back on the first page stays";

    ASSERT_TRUE(dialog.ActivatePage(dialog.FindPage(346)));
    dialog.OnWizardNext();
    EXPECT_EQ(346u, wizard.Active()) << "Next from the last page stays";
}

// A page of the list that answers what the test says.
class ScriptedPage : public CNewWizPage {
public:
    explicit ScriptedPage(UINT id) : CNewWizPage(id) {}
    LRESULT OnWizardNext() override { return next; }
    BOOL OnQueryClose() override { return mayClose; }
    LRESULT next = 0;
    BOOL mayClose = TRUE;
};

TEST_F(WizardDialog, UnknownTargetsAndRefusingPagesKeepTheWizardWhereItIs)
{
    CAudioCaptureWizDlg dialog;
    ScriptedPage first(344), second(196);
    dialog.AddPage(&first, 344);
    dialog.AddPage(&second, 196);
    ASSERT_TRUE(dialog.Create(CAudioCaptureWizDlg::IDD, nullptr));
    EXPECT_EQ(344u, dialog.GetActivePageID());

    first.next = 999;
    dialog.OnWizardNext();
    EXPECT_EQ(344u, dialog.GetActivePageID()) << "an id that no page has";
    first.next = -1;
    dialog.OnWizardNext();
    EXPECT_EQ(344u, dialog.GetActivePageID());
    first.next = 0;
    first.mayClose = FALSE;
    dialog.OnWizardNext();
    EXPECT_EQ(344u, dialog.GetActivePageID()) << "the page refused to close";
    dialog.OnWizardFinish();
    EXPECT_TRUE(IsWindow(dialog.m_hWnd)) << "nor does the wizard end";
    first.mayClose = TRUE;
    dialog.OnWizardNext();
    EXPECT_EQ(196u, dialog.GetActivePageID());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog.m_hWnd, CNewWizDialog::ID_WIZNEXT))) << "the last page";
    dialog.DestroyWindow();
}

struct LayoutCase {
    UINT page;
    int shown[6];   // Back 12323, Next 12324, Burn 1061, Back 1062, Exit 1063, Finish 12325
};

TEST_F(WizardDialog, EachPageShowsOnlyItsButtonsAndHidesTheRestOutsideTheWindow)
{
    const int ids[6] = {12323, 12324, 1061, 1062, 1063, 12325};
    const RECT places[6] = {{550, 523, 648, 581}, {655, 523, 753, 581}, {676, 523, 764, 581},
                            {581, 523, 669, 581}, {516, 523, 574, 581}, {654, 523, 752, 581}};
    const LayoutCase cases[] = {
        {129, {1, 1, 0, 0, 0, 0}}, {203, {1, 1, 0, 0, 0, 0}}, {342, {1, 1, 0, 0, 0, 0}},
        {343, {1, 1, 0, 0, 0, 0}}, {345, {1, 1, 0, 0, 0, 0}}, {195, {1, 0, 0, 0, 0, 1}},
        {196, {1, 0, 0, 0, 0, 1}}, {346, {1, 0, 0, 0, 0, 1}}, {344, {0, 0, 1, 1, 1, 0}},
    };
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    HWND window = wizard.dialog.m_hWnd;
    for (const LayoutCase& c : cases) {
        wizard.dialog.LayoutButtons(c.page);
        for (int i = 0; i < 6; ++i) {
            RECT rc = ControlRect(window, ids[i]);
            if (c.shown[i]) {
                EXPECT_TRUE(Shown(window, ids[i])) << c.page << " " << ids[i];
                EXPECT_TRUE(EqualRect(&rc, &places[i])) << c.page << " " << ids[i];
            } else {
                EXPECT_FALSE(Shown(window, ids[i])) << c.page << " " << ids[i] << ": Tab and Space must not reach it";
                EXPECT_EQ(823, rc.top) << c.page << " " << ids[i];
                EXPECT_EQ(0, rc.right - rc.left) << c.page << " " << ids[i];
            }
        }
    }
}

TEST_F(WizardDialog, HiddenNextCannotBePressedFromTheNoDevicePage)
{
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    ASSERT_TRUE(wizard.dialog.ActivatePage(wizard.dialog.FindPage(195)));
    EXPECT_FALSE(drv::ClickControl(wizard.dialog.m_hWnd, CNewWizDialog::ID_WIZNEXT));
    // Space on whatever control Tab reaches: never the hidden Next.
    for (int i = 0; i < 12; ++i) {
        wizard.dialog.NextDlgCtrl();
        HWND focus = GetFocus();
        EXPECT_NE(GetDlgItem(wizard.dialog.m_hWnd, CNewWizDialog::ID_WIZNEXT), focus);
    }
    Pump(50);
    EXPECT_EQ(195u, wizard.Active());
}

TEST_F(WizardDialog, BusyDisablesNavigationAndExitButNotMinimizeAndRefusesClosing)
{
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    HWND window = wizard.dialog.m_hWnd;
    const int navigation[] = {1004, 1002, 12323, 1062, 12324, 1061, 1063, 12325};
    wizard.dialog.SetBusy(2);
    for (int id : navigation) EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, id))) << id;
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, 1003)));
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window)) << "closing is refused while a page is busy";
    wizard.dialog.SetBusy(7);
    EXPECT_EQ(2, wizard.dialog.GetBusy()) << "unknown states change nothing";
    wizard.dialog.SetBusy(0);
    for (int id : navigation) EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, id))) << id;
}

TEST_F(WizardDialog, HelpMenuOffersOnlineSupportExceptInKindFive)
{
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    for (int kind : {0, 5}) {
        g_WizProduct.kind = kind;
        HMENU menu = wizard.dialog.BuildHelpMenu();
        ASSERT_NE(nullptr, menu);
        wchar_t text[100] = {};
        GetMenuStringW(menu, CAudioCaptureWizDlg::ID_HELP_ABOUT, text, 100, MF_BYCOMMAND);
        EXPECT_EQ(std::wstring((const wchar_t*)g_szWindowTitle), text);
        EXPECT_EQ(kind == 5 ? -1 : 0,
                  GetMenuStringW(menu, CAudioCaptureWizDlg::ID_HELP_SUPPORT, text, 100, MF_BYCOMMAND) ? 0 : -1);
        GetMenuStringW(menu, CAudioCaptureWizDlg::ID_HELP_SYSINFO, text, 100, MF_BYCOMMAND);
        EXPECT_STREQ(L"Check your computer spec", text);
        DestroyMenu(menu);
    }
}

TEST_F(WizardDialog, WindowTakesTheSizeOfItsBackgroundWithRoundedCorners)
{
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    RECT rc;
    GetWindowRect(wizard.dialog.m_hWnd, &rc);
    EXPECT_EQ(800, rc.right - rc.left);
    EXPECT_EQ(600, rc.bottom - rc.top);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(ERROR, GetWindowRgn(wizard.dialog.m_hWnd, region));
    EXPECT_FALSE(PtInRegion(region, 0, 0)) << "the corner is cut";
    EXPECT_TRUE(PtInRegion(region, 400, 300));
    DeleteObject(region);
    RECT page = ControlRect(wizard.dialog.m_hWnd, 1000);
    EXPECT_EQ(25, page.left);
    EXPECT_EQ(124, page.top);
}

TEST_F(WizardDialog, WithoutTheSkinsBackgroundTheProgramsOwnServes)
{
    // A module without bitmap 130 as skin: the window still gets a size.
    g_hSkinModule = GetModuleHandleW(L"kernel32.dll");
    HostedWizard wizard;
    ASSERT_TRUE(wizard.Ok());
    RECT rc;
    GetWindowRect(wizard.dialog.m_hWnd, &rc);
    EXPECT_EQ(800, rc.right - rc.left);
    EXPECT_EQ(600, rc.bottom - rc.top);
}
