// The wizard's own controls: the needle meter's tables and its pixels, and the
// skinned static text drawn over its section of a page picture.
#include "BStatic.h"
#include "VolumeGauge.h"
#include "WizGlobals.h"
#include "WizardTestSupport.h"
#include <gtest/gtest.h>
#include <cmath>

using namespace wiztest;

TEST(VolumeGauge, AngleTable)
{
    EXPECT_DOUBLE_EQ(90.0, NV_VolumeGauge::AngleOf(0.0f));
    EXPECT_DOUBLE_EQ(144.0, NV_VolumeGauge::AngleOf(-9.0f));
    EXPECT_DOUBLE_EQ(36.0, NV_VolumeGauge::AngleOf(9.0f));
}

struct LevelCase {
    double decibels;
    float value;
};

TEST(VolumeGauge, DecibelsToNeedleValue)
{
    const LevelCase cases[] = {{-80.0, -9.0f}, {-20.01, -9.0f}, {-20.0, -5.4f}, {0.0, 1.8f},
                               {20.0, 9.0f},   {25.0, 9.0f},    {40.0, 9.0f}};
    for (const LevelCase& c : cases)
        EXPECT_NEAR(c.value, NV_VolumeGauge::ValueFromLevel(c.decibels), 1e-5) << c.decibels;
}

TEST(VolumeGauge, FromTheTopTheNeedleFallsToTheLeftEndIn36Ticks)
{
    float value = 9.0f;
    int ticks = 0;
    while (value > -9.0f) {
        value = NV_VolumeGauge::Fall(value);
        ++ticks;
    }
    EXPECT_EQ(36, ticks);
    EXPECT_FLOAT_EQ(-9.0f, NV_VolumeGauge::Fall(value)) << "it rests at the left end";
}

TEST(VolumeGauge, NeedleStaysAboveItsPivotAtEveryValue)
{
    for (float value = -9.0f; value <= 9.0f; value += 0.5f) {
        POINT tip, middle;
        NV_VolumeGauge::NeedleLine(value, 213, 213, tip, middle);
        EXPECT_LT(tip.y, 213 / 2 + 50) << value << ": a needle below its pivot is not drawn";
    }
    POINT tip, middle;
    NV_VolumeGauge::NeedleLine(0.0f, 213, 213, tip, middle);
    EXPECT_EQ(106, tip.x);
    EXPECT_EQ(51, tip.y);
}

namespace {

// A popup holding one control, with the program's own resources.
class ControlHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWizardGlobals();
        m_host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_host);
    }
    void TearDown() override { DestroyWindow(m_host); }

    // What the control draws, read back through WM_PRINTCLIENT-free painting:
    // erase and paint into a memory bitmap.
    COLORREF PixelAfterErase(HWND control, int x, int y)
    {
        RECT rc;
        GetClientRect(control, &rc);
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
        HGDIOBJ old = SelectObject(memory, bitmap);
        SendMessageW(control, WM_ERASEBKGND, (WPARAM)memory, 0);
        COLORREF colour = GetPixel(memory, x, y);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        return colour;
    }

    HWND m_host = nullptr;
};

// A picture of two halves: left red, right blue, with a green square at 40, 40.
HBITMAP TwoHalves()
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 100);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT left = {0, 0, 100, 100}, right = {100, 0, 200, 100}, square = {40, 40, 50, 50};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0)), blue = CreateSolidBrush(RGB(0, 0, 255)),
           green = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(memory, &left, red);
    FillRect(memory, &right, blue);
    FillRect(memory, &square, green);
    DeleteObject(red);
    DeleteObject(blue);
    DeleteObject(green);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

}  // namespace

TEST_F(ControlHost, SkinnedStaticDrawsItsSectionOfThePicture)
{
    HWND control = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 60, 30, m_host,
                                   (HMENU)100, nullptr, nullptr);
    CBStatic text;
    ASSERT_TRUE(text.SubclassWindow(control));
    CBitmap picture;
    picture.Attach(TwoHalves());
    text.SetBkBitmap(&picture);
    text.SetBkRect(30, 30, 100, 100);
    EXPECT_EQ(RGB(255, 0, 0), PixelAfterErase(control, 0, 0));
    EXPECT_EQ(RGB(0, 255, 0), PixelAfterErase(control, 12, 12)) << "the square at 40, 40 of the picture";
    text.SetBkRect(90, 0, 20, 10);
    EXPECT_EQ(RGB(255, 0, 0), PixelAfterErase(control, 5, 5));
    EXPECT_EQ(RGB(0, 0, 255), PixelAfterErase(control, 15, 5));
    text.UnsubclassWindow();
}

// The column where the text's ink starts in an erased control of width w.
static int FirstInkColumn(HDC dc, int w, int h, COLORREF back)
{
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y)
            if (GetPixel(dc, x, y) != back) return x;
    return -1;
}

TEST_F(ControlHost, RightAlignedTextStandsAtTheRightEdge)
{
    HWND control = CreateWindowExW(0, L"STATIC", L"Less", WS_CHILD | WS_VISIBLE | SS_RIGHT, 0, 0, 100, 20, m_host,
                                   (HMENU)101, nullptr, nullptr);
    CBStatic text;
    ASSERT_TRUE(text.SubclassWindow(control));
    EXPECT_EQ((UINT)(DT_RIGHT | DT_WORDBREAK), text.GetTextFormat());
    EXPECT_EQ(CString(L"Less"), text.GetText());
    CBitmap picture;
    picture.Attach(TwoHalves());
    text.SetBkBitmap(&picture);
    text.SetBkRect(100, 0, 100, 20);
    text.SetTextColor(RGB(255, 255, 255));

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 100, 20);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageW(control, WM_ERASEBKGND, (WPARAM)memory, 0);
    int first = FirstInkColumn(memory, 100, 20, RGB(0, 0, 255));
    EXPECT_GT(first, 60) << "right-aligned: the ink starts near the right edge";
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(memory, 2, 10));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    text.UnsubclassWindow();
}
