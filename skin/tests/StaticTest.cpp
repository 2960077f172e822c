// The statics as windows: the link label on its parent's background, in its own
// font, colour and underline; the time display and the bitmap files dropped on it.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <algorithm>
#include <string>
#include <vector>
#include "Label.h"
#include "TestHost.h"
#include "xStatic.h"

using namespace testhost;

TEST(CLabel, DrawsOnWhatItsParentShows)
{
    Host host;
    CLabel label;
    ASSERT_TRUE(label.SubclassWindow(MakeChild(host, L"STATIC", 0, 20, 20, 200, 20, 91, L"https://x.example/")));
    label.SetTextColor(RGB(0, 0, 255)).SetFontUnderline(TRUE).SetLink(TRUE);
    EXPECT_TRUE(label.GetStyle() & SS_NOTIFY);
    ::RedrawWindow(host.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(PixelOf(label, 195, 10), kHostBackground) << "no box of the label's own colour";
    bool blue = false;
    for (int x = 0; x < 120 && !blue; ++x)
        for (int y = 0; y < 20 && !blue; ++y) blue = PixelOf(label, x, y) == RGB(0, 0, 255);
    EXPECT_TRUE(blue) << "the text in the label's colour";
    label.SetLink(FALSE);
    EXPECT_FALSE(label.GetStyle() & SS_NOTIFY);
}

namespace {

// Where a label's ink of one colour lies: its rows and columns, and how many
// pixels of its lowest row carry it.
struct Ink {
    int top = -1, bottom = -1, left = -1, right = -1, lowestRowCount = 0;
};

Ink InkOf(CWnd& wnd, COLORREF colour)
{
    CRect rc;
    wnd.GetClientRect(&rc);
    ::UpdateWindow(wnd.m_hWnd);
    HDC dc = ::GetDC(wnd.m_hWnd);
    Ink ink;
    for (int y = 0; y < rc.bottom; ++y) {
        int count = 0;
        for (int x = 0; x < rc.right; ++x) {
            if (::GetPixel(dc, x, y) != colour) continue;
            ++count;
            if (ink.left < 0 || x < ink.left) ink.left = x;
            ink.right = std::max(ink.right, x);
        }
        if (!count) continue;
        if (ink.top < 0) ink.top = y;
        ink.bottom = y;
        ink.lowestRowCount = count;
    }
    ::ReleaseDC(wnd.m_hWnd, dc);
    return ink;
}

} // namespace

TEST(CLabel, LinkIsUnderlinedAtItsFontSize)
{
    // The About box's link: the label's own font reaches the static's painting.
    const COLORREF linkColour = RGB(0, 0, 255);
    Ink sizes[2];
    const int fontSizes[2] = {12, 24};
    for (int i = 0; i < 2; ++i) {
        Host host;
        CLabel label;
        // A dialog gives its statics its own font first.
        HWND statik = MakeChild(host, L"STATIC", SS_NOTIFY, 20, 20, 300, 40, 93, L"www.norvane.com");
        ::SendMessageW(statik, WM_SETFONT, (WPARAM)::GetStockObject(DEFAULT_GUI_FONT), FALSE);
        ASSERT_TRUE(label.SubclassWindow(statik));
        label.SetLink(TRUE);
        label.SetTextColor(linkColour);
        label.SetFontSize(fontSizes[i]);
        label.SetFontUnderline(TRUE);
        ::RedrawWindow(host.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        sizes[i] = InkOf(label, linkColour);
        SCOPED_TRACE(fontSizes[i]);
        ASSERT_GE(sizes[i].left, 0) << "the text is drawn in the link colour";
        int width = sizes[i].right - sizes[i].left + 1;
        EXPECT_GE(sizes[i].lowestRowCount * 10, width * 9) << "the lowest inked row is one line under the whole text";
        EXPECT_LE(sizes[i].bottom - sizes[i].top + 1, fontSizes[i] + 3) << "no taller than its font";
    }
    EXPECT_GE(sizes[1].right - sizes[1].left, (sizes[0].right - sizes[0].left) * 3 / 2) << "the size changes the text";
}

namespace {

// A folder of its own under the temporary folder, removed at the end.
class TempFolder {
public:
    TempFolder()
    {
        wchar_t base[MAX_PATH];
        ::GetTempPathW(MAX_PATH, base);
        m_path = std::wstring(base) + L"skin-drop-" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~TempFolder()
    {
        for (const std::wstring& f : m_files) ::DeleteFileW(f.c_str());
        ::RemoveDirectoryW(m_path.c_str());
    }
    std::wstring File(const wchar_t* name)
    {
        m_files.push_back(m_path + L"\\" + name);
        return m_files.back();
    }

private:
    std::wstring m_path;
    std::vector<std::wstring> m_files;
};

// A 24-bit bitmap file of one colour.
void WriteFlatBmp(const std::wstring& path, int w, int h, COLORREF colour)
{
    int row = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + (DWORD)(row * h);
    std::vector<BYTE> pixels((size_t)(row * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            BYTE* p = &pixels[(size_t)(y * row + x * 3)];
            p[0] = GetBValue(colour);
            p[1] = GetGValue(colour);
            p[2] = GetRValue(colour);
        }
    HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(f, &file, sizeof(file), &written, nullptr);
    ::WriteFile(f, &info, sizeof(info), &written, nullptr);
    ::WriteFile(f, pixels.data(), (DWORD)pixels.size(), &written, nullptr);
    ::CloseHandle(f);
}

// The block the shell hands over for dropped files: a DROPFILES record and the
// wide file names, each ending in 0, with one more 0 at the end.
HDROP MakeDrop(const std::vector<std::wstring>& files)
{
    size_t chars = 1;
    for (const std::wstring& f : files) chars += f.size() + 1;
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* drop = (DROPFILES*)::GlobalLock(block);
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    wchar_t* names = (wchar_t*)(drop + 1);
    for (const std::wstring& f : files) {
        memcpy(names, f.c_str(), f.size() * sizeof(wchar_t));
        names += f.size() + 1;
    }
    ::GlobalUnlock(block);
    return (HDROP)block;
}

} // namespace

TEST(CxStatic, TakesOneDroppedBitmapFileAsItsBackground)
{
    TempFolder folder;
    const COLORREF picture = RGB(30, 90, 210), other = RGB(200, 40, 60);
    std::wstring lower = folder.File(L"back.bmp"), upper = folder.File(L"BACK2.BMP"),
                 second = folder.File(L"other.bmp"), wrongKind = folder.File(L"back.bmp.txt"),
                 broken = folder.File(L"broken.bmp");
    WriteFlatBmp(lower, 8, 4, picture);
    WriteFlatBmp(upper, 8, 4, picture);
    WriteFlatBmp(second, 8, 4, other);
    WriteFlatBmp(wrongKind, 8, 4, other);
    HANDLE f = ::CreateFileW(broken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(f, "BM not a picture", 16, &written, nullptr);
    ::CloseHandle(f);

    struct Case {
        const char* name;
        std::vector<std::wstring> files;
        bool taken;
    } cases[] = {
        {"one .bmp file", {lower}, true},
        {"upper-case extension", {upper}, true},
        {"two bitmap files", {lower, second}, false},
        {"another extension after .bmp", {wrongKind}, false},
        {"no file", {}, false},
        {"a .bmp that is no picture", {broken}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Host host;
        CxStatic display;
        ASSERT_TRUE(display.SubclassWindow(MakeChild(host, L"STATIC", SS_CENTER, 10, 10, 120, 20, 1023, L"00:00")));
        EXPECT_TRUE(display.GetExStyle() & WS_EX_ACCEPTFILES) << "accepts files from the shell";
        display.SetBitmap(Skin(), IDB_TEST_CHANNEL, TRUE);
        ASSERT_TRUE(display.HasBitmap());
        ASSERT_EQ(PixelOf(display, 115, 2), Flat(IDB_TEST_CHANNEL, 0));

        display.SendMessage(WM_DROPFILES, (WPARAM)MakeDrop(c.files));
        display.Invalidate();
        CRect rc;
        display.GetWindowRect(&rc);
        EXPECT_EQ(rc.Width(), 120) << "the size stays";
        EXPECT_EQ(rc.Height(), 20);
        if (c.taken) {
            EXPECT_EQ(display.BitmapFile(), c.files[0].c_str()) << "the control remembers the file";
            EXPECT_EQ(PixelOf(display, 115, 2), picture);
        } else {
            EXPECT_TRUE(display.BitmapFile().IsEmpty());
            EXPECT_EQ(PixelOf(display, 115, 2), Flat(IDB_TEST_CHANNEL, 0)) << "the background stays";
        }
        EXPECT_EQ(display.Text(), L"00:00");
    }
}

namespace {

// Every pixel of a window's client area, as it shows now.
std::vector<COLORREF> Pixels(CWnd& wnd)
{
    CRect rc;
    wnd.GetClientRect(&rc);
    ::UpdateWindow(wnd.m_hWnd);
    HDC dc = ::GetDC(wnd.m_hWnd);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < rc.bottom; ++y)
        for (int x = 0; x < rc.right; ++x) pixels.push_back(::GetPixel(dc, x, y));
    ::ReleaseDC(wnd.m_hWnd, dc);
    return pixels;
}

} // namespace

TEST(CxStatic, ShowsANewTextWithoutAnyOtherRepaint)
{
    // The Edit page's time display: the text changes while nothing else on the
    // page repaints it.
    struct Case {
        const char* name;
        void (*set)(CxStatic&, const wchar_t*);
    } cases[] = {
        {"window text (WM_SETTEXT)", [](CxStatic& s, const wchar_t* t) { ::SetWindowTextW(s.m_hWnd, t); }},
        {"the control's own setter", [](CxStatic& s, const wchar_t* t) { s.SetWindowText(t); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Host host;
        CxStatic display;
        ASSERT_TRUE(display.SubclassWindow(
            MakeChild(host, L"STATIC", SS_CENTER, 10, 10, 230, 15, 1023, L"00:00:00.00 / 00:00:00.00")));
        display.SetBitmap(Skin(), IDB_TEST_CHANNEL, TRUE);
        display.SetTextColor(0x01FEFE);
        display.SetFont(L"Arial", 16, 700);
        const std::vector<COLORREF> before = Pixels(display);

        c.set(display, L"00:00:40.00 / 00:00:40.00");
        host.Pump();
        const std::vector<COLORREF> shown = Pixels(display);
        ::RedrawWindow(display.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const std::vector<COLORREF> repainted = Pixels(display);
        EXPECT_EQ(display.Text(), L"00:00:40.00 / 00:00:40.00");
        EXPECT_NE(before, repainted) << "the new text looks different";
        EXPECT_TRUE(shown == repainted) << "the display shows the new text, not the old one";
    }
}
