// Pictures of the Edit page and its dialogs for a person to look at: run by
// scripts/edit-page-tour.sh under Xvfb, which sets SONELLE_TOUR_DIR; skipped
// otherwise. Each picture is the screen area of the window, as shown.
#include "EditPageSupport.h"
#include "DriverMessageBox.h"
#include "EditProgressDlg.h"
#include "Mp3FileCheck.h"

namespace {

std::wstring TourFolder()
{
    wchar_t dir[MAX_PATH] = {};
    return GetEnvironmentVariableW(L"SONELLE_TOUR_DIR", dir, MAX_PATH) ? std::wstring(dir) + L"\\" : L"";
}

// The screen pixels under a window, as a 24-bit BMP.
bool SaveWindowPicture(HWND window, const std::wstring& path)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    RECT r;
    GetWindowRect(window, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB};
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, picture);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    DWORD stride = ((DWORD)w * 3 + 3) & ~3u, size = stride * (DWORD)h;
    BITMAPFILEHEADER file = {0x4D42, (DWORD)(sizeof(file) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                             (DWORD)(sizeof(file) + sizeof(BITMAPINFOHEADER))};
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done = 0;
    bool ok = f != INVALID_HANDLE_VALUE && WriteFile(f, &file, sizeof(file), &done, nullptr) &&
              WriteFile(f, &info.bmiHeader, sizeof(BITMAPINFOHEADER), &done, nullptr) &&
              WriteFile(f, bits, size, &done, nullptr);
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

}  // namespace

TEST_F(EditPageFixture, TourOfThePageAndItsDialogs)
{
    const std::wstring tour = TourFolder(), fixtures = testsignal::FixtureFolder();
    if (tour.empty() || fixtures.empty()) GTEST_SKIP() << "pictures only for scripts/edit-page-tour.sh";
    ::SetWindowPos(host.m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const std::wstring wav = Path(L"tones.wav");
    ASSERT_TRUE(CopyFileW((fixtures + L"tones.wav").c_str(), wav.c_str(), FALSE));
    {
        CHelperThread shot([&] {
            if (HWND d = WaitForDialog(CEditProgressDlg::IDC_STATUS, nullptr, 10000))
                SaveWindowPicture(d, tour + L"loading.bmp");
        });
        page.OpenFile(wav.c_str());
    }
    ASSERT_TRUE(page.IsFileOpen());
    {
        CHelperThread shot([&] {
            if (HWND d = WaitForDialog(CEditProgressDlg::IDC_STATUS, nullptr, 10000))
                SaveWindowPicture(d, tour + L"autosplit.bmp");
        });
        page.OnAutoSplit();
    }
    page.Tracks().SetCheck(1, FALSE);
    Pump(200);
    EXPECT_TRUE(SaveWindowPicture(host.m_hWnd, tour + L"page.bmp"));

    const struct { void (CPageEdit::*command)(); const wchar_t* caption; const wchar_t* file; } dialogs[] = {
        {&CPageEdit::OnAmplify, L"Amplify", L"amplify.bmp"},
        {&CPageEdit::OnFadeInOut, L"Fade In/Out", L"fade.bmp"},
        {&CPageEdit::OnNoiseReduction, L"Nosie Reduction", L"noise.bmp"},
    };
    for (const auto& d : dialogs) {
        CHelperThread shot([&] {
            HWND dialog = WaitForDialog(IDOK, d.caption, 10000);
            if (!dialog) return;
            SaveWindowPicture(dialog, tour + d.file);
            PressButton(dialog, d.command == &CPageEdit::OnAmplify ? IDOK : IDCANCEL);
            if (d.command == &CPageEdit::OnAmplify)
                if (HWND runner = WaitForDialog(CEditProgressDlg::IDC_STATUS, nullptr, 10000)) {
                    Sleep(150);
                    SaveWindowPicture(runner, tour + L"runner.bmp");
                }
        });
        (page.*d.command)();
        Pump(100);
    }
    EXPECT_TRUE(SaveWindowPicture(host.m_hWnd, tour + L"page-amplified.bmp"));

    // A mono recording, drawn over the whole time axis.
    const std::wstring mono = Path(L"tones_mono.wav");
    ASSERT_TRUE(CopyFileW((fixtures + L"tones_mono.wav").c_str(), mono.c_str(), FALSE));
    page.OpenFile(mono.c_str());
    ASSERT_TRUE(page.IsFileOpen());
    Pump(200);
    EXPECT_TRUE(SaveWindowPicture(host.m_hWnd, tour + L"page-mono.bmp"));

    // The message for a file whose path is too long to open.
    std::wstring longFolder = folder;
    for (wchar_t c : {L'a', L'b'}) {
        longFolder += std::wstring(130, c) + L"\\";
        CreateDirectoryW(longFolder.c_str(), nullptr);
    }
    const std::wstring longWav = longFolder + L"tones.wav";
    ASSERT_TRUE(CopyFileW(wav.c_str(), longWav.c_str(), FALSE));
    {
        CHelperThread shot([&] {
            drv::MessageBoxInfo box = drv::WaitForMessageBox(GetCurrentProcessId(), 10000);
            if (!box.window) return;
            SaveWindowPicture(box.window, tour + L"long-path.bmp");
            drv::AnswerMessageBox(box, IDOK);
        });
        page.OpenFile(longWav.c_str());
    }
    DeleteFileW(longWav.c_str());
}
