// The shape and place the suite's borderless main windows share.
#include <gtest/gtest.h>
#include <windows.h>
#include "SuiteWindows.h"

TEST(SuiteWindows, TheProgramIconIsTheWindowsAndItsClasss)
{
    // The main windows are dialogs: a window of the dialog class stands in for them.
    HWND window = CreateWindowExW(0, L"#32770", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    HICON icon = LoadIconW(nullptr, (LPCWSTR)IDI_APPLICATION);
    SetProgramIcon(window, icon);
    EXPECT_EQ((LRESULT)icon, SendMessageW(window, WM_GETICON, ICON_BIG, 0)) << "taskbar, Alt+Tab";
    EXPECT_EQ((LRESULT)icon, SendMessageW(window, WM_GETICON, ICON_SMALL, 0)) << "caption";
    EXPECT_EQ((ULONG_PTR)icon, GetClassLongPtrW(window, GCLP_HICON)) << "the shell's fallback";
    EXPECT_NE(0u, GetClassLongPtrW(window, GCLP_HICONSM));
    DestroyWindow(window);
}

TEST(SuiteWindows, CentreWithRoundCornersPutsTheWindowInTheMiddleAndCutsItsCorners)
{
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    CentreWithRoundCorners(window, SIZE{300, 200});
    RECT placed = {};
    GetWindowRect(window, &placed);
    EXPECT_EQ((GetSystemMetrics(SM_CXFULLSCREEN) - 300) / 2, placed.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYFULLSCREEN) - 200) / 2, placed.top);
    EXPECT_EQ(300, placed.right - placed.left);
    EXPECT_EQ(200, placed.bottom - placed.top);

    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, GetWindowRgn(window, shape));
    EXPECT_FALSE(PtInRegion(shape, 0, 0)) << "the corner is cut";
    EXPECT_TRUE(PtInRegion(shape, 3, 0));
    EXPECT_TRUE(PtInRegion(shape, 150, 100));
    EXPECT_TRUE(PtInRegion(shape, 0, 100));
    EXPECT_FALSE(PtInRegion(shape, 150, 200));
    DeleteObject(shape);
    DestroyWindow(window);
}
