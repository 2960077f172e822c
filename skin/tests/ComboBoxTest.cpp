// The skinned combo box as a window: the arrow cell from the test skin, placed for
// the control's height.
#include <gtest/gtest.h>
#include "BComboBox.h"
#include "TestHost.h"

using namespace testhost;

TEST(BComboBox, ArrowCellIsCentredForItsHeight)
{
    struct Case { int height; int arrowTop; } cases[] = {{27, 0}, {21, 0}, {33, 3}};
    for (const Case& c : cases) {
        Host host;
        CBComboBox combo(Skin(), IDB_TEST_COMBO);
        HWND hCombo = MakeChild(host, L"COMBOBOX", CBS_DROPDOWNLIST, 10, 10, 120, 200, 31);
        ::SendMessageW(hCombo, CB_SETITEMHEIGHT, (WPARAM)-1, c.height - 6);
        ASSERT_TRUE(combo.SubclassWindow(hCombo));
        CRect client;
        combo.GetClientRect(&client);
        if (client.Height() != c.height) continue;  // the platform chose another field height
        combo.Invalidate();
        int x = client.right - 8;
        EXPECT_EQ(PixelOf(combo, x, c.arrowTop + 1), Flat(IDB_TEST_COMBO, 0)) << c.height;
        if (c.arrowTop > 1) {
            EXPECT_NE(PixelOf(combo, x, c.arrowTop - 1), Flat(IDB_TEST_COMBO, 0)) << c.height;
        }
        combo.EnableWindow(FALSE);
        EXPECT_EQ(combo.CurrentCell(), 2);
        EXPECT_EQ(PixelOf(combo, x, c.arrowTop + 1), Flat(IDB_TEST_COMBO, 2));
    }
}
