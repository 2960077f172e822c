// RegionFromColorKey against a per-pixel check of the same bitmap.
#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include "RegionFromColorKey.h"

namespace {
HBITMAP MakeBitmap(int w, int h, const std::function<COLORREF(int, int)>& colour)
{
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ::SetPixelV(dc, x, y, colour(x, y));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return bitmap;
}

bool InKey(COLORREF c, COLORREF key, COLORREF tol)
{
    auto in = [](int v, int low, int t) { return v >= low && v <= std::min(low + t, 255); };
    return in(GetRValue(c), GetRValue(key), GetRValue(tol)) && in(GetGValue(c), GetGValue(key), GetGValue(tol)) &&
           in(GetBValue(c), GetBValue(key), GetBValue(tol));
}

// Every pixel: inside the region exactly when its colour is outside the key range.
int Mismatches(int w, int h, const std::function<COLORREF(int, int)>& colour, COLORREF key, COLORREF tol)
{
    HBITMAP bitmap = MakeBitmap(w, h, colour);
    HRGN region = RegionFromColorKey(bitmap, key, tol);
    int bad = region ? 0 : -1;
    for (int y = 0; region && y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((::PtInRegion(region, x, y) != 0) == InKey(colour(x, y), key, tol)) ++bad;
    if (region) ::DeleteObject(region);
    ::DeleteObject(bitmap);
    return bad;
}
} // namespace

TEST(RegionFromColorKey, MatchesThePerPixelCheck)
{
    const COLORREF red = RGB(255, 0, 0);
    struct Case {
        const char* name;
        int w, h;
        std::function<COLORREF(int, int)> colour;
        COLORREF key, tolerance;
    } cases[] = {
        {"no key pixel", 20, 10, [](int, int) { return RGB(10, 20, 30); }, red, 0},
        {"all key", 20, 10, [=](int, int) { return red; }, red, 0},
        {"circle", 40, 40, [=](int x, int y) { return (x - 20) * (x - 20) + (y - 20) * (y - 20) < 300 ? RGB(0, 0, 0) : red; }, red, 0},
        {"near miss stays", 10, 10, [](int x, int) { return x % 2 ? RGB(255, 0, 1) : RGB(255, 0, 0); }, red, 0},
        {"tolerance range", 16, 16, [](int x, int y) { return RGB(200 + x, 10 * y, 0); }, RGB(205, 40, 0), RGB(5, 60, 0)},
        // More than 2000 runs: a 307 x 46 frame striped every other pixel.
        {"many runs", 307, 46, [=](int x, int) { return x % 2 ? red : RGB(1, 2, 3); }, red, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(Mismatches(c.w, c.h, c.colour, c.key, c.tolerance), 0) << c.name;
}

TEST(RegionFromColorKey, AllKeyIsEmptyAndNullBitmapIsNoRegion)
{
    HBITMAP bitmap = MakeBitmap(8, 8, [](int, int) { return RGB(255, 0, 0); });
    HRGN region = RegionFromColorKey(bitmap, RGB(255, 0, 0), 0);
    ASSERT_NE(region, nullptr);
    RECT box;
    EXPECT_EQ(::GetRgnBox(region, &box), NULLREGION);
    ::DeleteObject(region);
    ::DeleteObject(bitmap);
    EXPECT_EQ(RegionFromColorKey(nullptr, 0, 0), nullptr);
}
