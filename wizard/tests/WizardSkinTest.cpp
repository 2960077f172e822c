// The wizard's own pictures and icon: what a skin module lacks comes from the
// program, the program carries its icon, and the settings page's picture leaves
// the strength text on the page's face.
#include "AudioCaptureWizApp.h"
#include "CaptureDevice.h"
#include "Driver.h"
#include "WizGlobals.h"
#include "WizardTestSupport.h"
#include <gtest/gtest.h>
#include <vector>

using namespace wiztest;

namespace {

COLORREF WindowPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

void Sample(HWND window, int step, std::vector<COLORREF>& samples)
{
    RECT client = {};
    GetClientRect(window, &client);
    for (int y = 0; y < client.bottom; y += step)
        for (int x = 0; x < client.right; x += step) samples.push_back(WindowPixel(window, x, y));
}

// The pixels the wizard shows on its device step and its settings step (the
// window around the page, its buttons and the page), with `skin` as skin module.
std::vector<COLORREF> WizardSamples(HINSTANCE skin)
{
    ResetWizardGlobals();
    g_hSkinModule = skin;
    std::vector<COLORREF> samples;
    {
        HostedWizard wizard;
        if (!wizard.Ok()) return samples;
        for (UINT page : {129u, 343u}) {
            if (!wizard.dialog.ActivatePage(wizard.dialog.FindPage(page))) return {};
            wizard.dialog.ShowWindow(SW_SHOWNOACTIVATE);
            RedrawWindow(wizard.dialog.m_hWnd, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            Pump(200);
            Sample(wizard.dialog.m_hWnd, 13, samples);
            for (HWND child = GetWindow(wizard.dialog.m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                if (IsWindowVisible(child)) Sample(child, 7, samples);
        }
    }
    CaptureDevice().Close();
    Pump(100);
    return samples;
}

}  // namespace

TEST(WizardSkin, ASkinModuleWithoutPicturesShowsTheProgramsOwn)
{
    // A module that holds none of the skin's pictures.
    HMODULE pictureless = GetModuleHandleW(L"kernel32.dll");
    ASSERT_EQ(nullptr, FindResourceW(pictureless, MAKEINTRESOURCEW(179), MAKEINTRESOURCEW(2)));
    std::vector<COLORREF> own = WizardSamples(GetModuleHandleW(nullptr));
    std::vector<COLORREF> fallback = WizardSamples(pictureless);
    ResetWizardGlobals();
    ASSERT_GT(own.size(), 1000u);
    ASSERT_EQ(own.size(), fallback.size());
    size_t differ = 0;
    for (size_t i = 0; i < own.size(); ++i) differ += own[i] != fallback[i];
    EXPECT_EQ(0u, differ) << "of " << own.size() << " samples";
}

TEST(WizardSkin, TheProgramCarriesItsIcon)
{
    HMODULE program = LoadLibraryExW((drv::OwnFolder() + L"SonelleWiz.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, program);
    for (int size : {16, 32}) {
        SCOPED_TRACE(size);
        HICON icon = (HICON)LoadImageW(program, MAKEINTRESOURCEW(128), IMAGE_ICON, size, size, 0);
        ASSERT_NE(nullptr, icon) << "the window, the taskbar and the minimised window show it";
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour = {};
        GetObjectW(info.hbmColor, sizeof(colour), &colour);
        EXPECT_EQ(size, colour.bmWidth) << "an image drawn for this size";
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    FreeLibrary(program);
}

TEST(WizardSkin, TheSettingsPictureLeavesTheStrengthTextOnThePagesFace)
{
    // The strength text (343, 115, 60 x 15) is black: the picture under it must be
    // the light face, not the dark bar of the noise-reduction title.
    HBITMAP picture = (HBITMAP)LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(179), IMAGE_BITMAP, 0, 0,
                                          LR_CREATEDIBSECTION);
    ASSERT_NE(nullptr, picture);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, picture);
    int dark = 0;
    for (int y = 115; y < 130; ++y)
        for (int x = 343; x < 403; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            dark += GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 160;
        }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(picture);
    EXPECT_EQ(0, dark) << "dark pixels under the strength text";
}
