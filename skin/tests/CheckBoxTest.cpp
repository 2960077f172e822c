// The bitmap check box as a window: clicks and the space key toggle it, and each
// state shows its frame of the test skin.
#include <gtest/gtest.h>
#include "CheckBox.h"
#include "TestHost.h"

using namespace testhost;

TEST(CheckBox, ClicksToggleBeforeTheParentHears)
{
    Host host;
    CCheckBox check(Skin(), IDB_TEST_CHECK, 12);
    ASSERT_TRUE(check.SubclassWindow(MakeChild(host, L"BUTTON", BS_AUTOCHECKBOX, 10, 10, 120, 12, 21, L"Option")));
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), 0);
    EXPECT_EQ(PixelOf(check, 5, 5), Flat(IDB_TEST_CHECK, 1)) << "unchecked frame, inside the magenta border";
    EXPECT_NE(PixelOf(check, 0, 0), RGB(255, 0, 255)) << "magenta is transparent";

    check.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(check.CurrentFrame(), 3);
    check.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), 1);
    EXPECT_EQ(check.CurrentFrame(), 0);
    EXPECT_EQ(PixelOf(check, 5, 5), Flat(IDB_TEST_CHECK, 0));
    ASSERT_EQ(host.clicks.size(), 1u);

    // Press inside, leave, release outside: unchanged, unpushed.
    check.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    check.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 5));
    check.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(300, 5));
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), 1);
    EXPECT_EQ(check.CurrentFrame(), 0);

    check.SendMessage(BM_SETCHECK, BST_INDETERMINATE);
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), 0) << "indeterminate unchecks";
    check.EnableWindow(FALSE);
    EXPECT_EQ(check.CurrentFrame(), 5);
}

TEST(CheckBox, SpaceHeldThroughAClickTogglesTwice)
{
    Host host;
    CCheckBox check(Skin(), IDB_TEST_CHECK, 12);
    ASSERT_TRUE(check.SubclassWindow(MakeChild(host, L"BUTTON", BS_AUTOCHECKBOX, 10, 10, 120, 40, 22, L"Option")));
    check.SetWindowText(L"Changed later");  // the caption was read at subclassing
    EXPECT_EQ(PixelOf(check, 5, 20), Flat(IDB_TEST_CHECK, 1)) << "the row is centred in a taller control";
    check.SendMessage(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(check.CurrentFrame(), 3) << "unchecked, pushed";
    check.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 20));
    check.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 20));
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), 1) << "the release inside toggles";
    EXPECT_EQ(check.CurrentFrame(), 2) << "and keeps the pushed frame while space is down";
    check.SendMessage(WM_KEYUP, VK_SPACE);
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), 0) << "space coming up toggles again";
    EXPECT_EQ(check.CurrentFrame(), 1);
}
