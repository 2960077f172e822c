// The main window hosted in the test process, with the skin pictures the program
// carries: the pictures keep the sizes, frames and key colours the window relies
// on, and what the window shows are those pictures, page by page.
#include "MainWindowSkinIds.h"
#include "PageCapture.h"
#include "PageEdit.h"
#include "SonelleDlg.h"
#include "SonelleGlobals.h"
#include <gtest/gtest.h>

namespace {

const COLORREF kKeyRed = RGB(255, 0, 0);

// One bitmap of the program's own skin, readable pixel by pixel.
class SkinPicture {
public:
    explicit SkinPicture(UINT id)
        : m_bitmap(LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id))), m_dc(CreateCompatibleDC(nullptr))
    {
        if (m_bitmap) {
            GetObjectW(m_bitmap, sizeof(m_info), &m_info);
            m_old = SelectObject(m_dc, m_bitmap);
        }
    }
    ~SkinPicture()
    {
        if (m_old) SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
        if (m_bitmap) DeleteObject(m_bitmap);
    }
    bool Loaded() const { return m_bitmap != nullptr; }
    int Width() const { return m_info.bmWidth; }
    int Height() const { return m_info.bmHeight; }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }

private:
    HBITMAP m_bitmap;
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
    BITMAP m_info = {};
};

COLORREF WindowPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

void Pump()
{
    MSG msg;
    for (int round = 0; round < 3; ++round) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

}  // namespace

TEST(MainWindowPictures, SizesFramesAndKeyColoursFitTheWindow)
{
    const struct {
        UINT id;
        int width, height, frames;  // frames 0: a plain picture
    } pictures[] = {
        {IDB_MAIN_BACKGROUND, MAIN_WINDOW_WIDTH, MAIN_WINDOW_HEIGHT, 0},
        {IDB_MAIN_HELP, 39, 39, 5}, {IDB_MAIN_MINIMIZE, 39, 39, 5}, {IDB_MAIN_EXIT, 39, 39, 5},
        {IDB_MAIN_LEFT_TAB, 307, 46, 5}, {IDB_MAIN_RIGHT_TAB, 307, 46, 5},
        {IDB_PAGE_RECORD_BACK, MAIN_PAGE_WIDTH, MAIN_PAGE_HEIGHT, 0},
        {IDB_PAGE_EDIT_BACK, MAIN_PAGE_WIDTH, MAIN_PAGE_HEIGHT, 0},
    };
    for (const auto& p : pictures) {
        SCOPED_TRACE(p.id);
        SkinPicture picture(p.id);
        ASSERT_TRUE(picture.Loaded());
        EXPECT_EQ(p.width * (p.frames ? p.frames : 1), picture.Width());
        EXPECT_EQ(p.height, picture.Height());
        if (!p.frames) continue;
        // The mask frame: key red in the corners, the button's own colour in the middle;
        // no other frame uses the key colour, so nothing else is cut away.
        EXPECT_EQ(kKeyRed, picture.At(p.width, 0));
        EXPECT_EQ(kKeyRed, picture.At(2 * p.width - 1, p.height - 1));
        EXPECT_NE(kKeyRed, picture.At(p.width + p.width / 2, p.height / 2));
        for (int frame : {0, 2, 3, 4})
            for (int y = 0; y < p.height; ++y)
                for (int x = 0; x < p.width; ++x)
                    ASSERT_NE(kKeyRed, picture.At(frame * p.width + x, y)) << frame << " " << x << "," << y;
    }
    // The title sits on the background above the page area.
    SkinPicture title(IDB_MAIN_TITLE);
    ASSERT_TRUE(title.Loaded());
    EXPECT_LE(3 + title.Width(), MAIN_HELP_X);
    EXPECT_LT(title.Height(), MAIN_PAGE_Y);
}

TEST(MainWindowPictures, PageButtonsMeetTheBackgroundOutsideTheirShape)
{
    // The two page buttons overlap by 61 pixels; both show the window background
    // there, so neither covers the other whichever is painted last.
    SkinPicture background(IDB_MAIN_BACKGROUND), left(IDB_MAIN_LEFT_TAB), right(IDB_MAIN_RIGHT_TAB);
    for (int frame : {0, 2, 3, 4})
        for (int y = 0; y < MAIN_TAB_HEIGHT; y += 3)
            for (int x = MAIN_RIGHT_TAB_X; x < MAIN_LEFT_TAB_X + MAIN_TAB_WIDTH; ++x) {
                COLORREF under = background.At(x, MAIN_TAB_Y + y);
                ASSERT_EQ(under, left.At(frame * MAIN_TAB_WIDTH + x - MAIN_LEFT_TAB_X, y)) << frame << " " << x;
                ASSERT_EQ(under, right.At(frame * MAIN_TAB_WIDTH + x - MAIN_RIGHT_TAB_X, y)) << frame << " " << x;
            }
}

namespace {

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_hSkinModule = GetModuleHandleW(nullptr);
        g_hResourceModule = GetModuleHandleW(nullptr);
        g_hExtra2Module = nullptr;
        g_szWindowTitle = L"Sonelle in the test";
        // An installation without filter modules: the registrations find nothing.
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        g_szAppPath = CString(temp) + L"SonelleNoModules\\";
        dialog.SetPlaceholder(CSonelleDlg::IDC_PLACEHOLDER);
        dialog.AddPage(&record, CPageCapture::IDD);
        dialog.AddPage(&edit, CPageEdit::IDD);
        ASSERT_TRUE(dialog.Create(CSonelleDlg::IDD, nullptr));
        dialog.ShowWindow(SW_SHOWNOACTIVATE);
        Redraw();
    }
    void TearDown() override
    {
        dialog.PreventSleep(FALSE);
        if (dialog.m_hWnd) dialog.DestroyWindow();
        Pump();
    }
    void Redraw()
    {
        RedrawWindow(dialog.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
    }
    void Click(int id)
    {
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)::GetDlgItem(dialog.m_hWnd, id));
        Redraw();
    }
    HWND Item(int id) const { return ::GetDlgItem(dialog.m_hWnd, id); }

    CSonelleDlg dialog;
    CPageCapture record;
    CPageEdit edit;
};

}  // namespace

TEST_F(MainWindow, ShowsItsPicturesAndThoseOfTheShownPage)
{
    SkinPicture background(IDB_MAIN_BACKGROUND), title(IDB_MAIN_TITLE), left(IDB_MAIN_LEFT_TAB),
        right(IDB_MAIN_RIGHT_TAB), exitButton(IDB_MAIN_EXIT), recordBack(IDB_PAGE_RECORD_BACK),
        editBack(IDB_PAGE_EDIT_BACK);
    RECT frame = {};
    ::GetWindowRect(dialog.m_hWnd, &frame);
    EXPECT_EQ(MAIN_WINDOW_WIDTH, frame.right - frame.left);
    EXPECT_EQ(MAIN_WINDOW_HEIGHT, frame.bottom - frame.top);

    // Background below the page area, the title's mark, the exit button's face.
    EXPECT_EQ(background.At(500, MAIN_WINDOW_HEIGHT - 5), WindowPixel(dialog.m_hWnd, 500, MAIN_WINDOW_HEIGHT - 5));
    EXPECT_EQ(title.At(36, 38), WindowPixel(dialog.m_hWnd, 3 + 36, 38));
    EXPECT_EQ(exitButton.At(19, 8), WindowPixel(Item(CSonelleDlg::IDC_EXIT), 19, 8));

    // Record shown first: its button shows the shown-page frame (4), Edit the idle one (0).
    const int tx = 80, ty = 8;  // on the button, clear of the caption
    EXPECT_EQ(left.At(4 * MAIN_TAB_WIDTH + tx, ty), WindowPixel(Item(CSonelleDlg::IDC_RECORD_PAGE), tx, ty));
    EXPECT_EQ(right.At(tx, ty), WindowPixel(Item(CSonelleDlg::IDC_EDIT_PAGE), tx, ty));
    ASSERT_TRUE(record.m_hWnd);
    EXPECT_EQ(recordBack.At(30, 30), WindowPixel(record.m_hWnd, 30, 30));
    EXPECT_EQ(recordBack.At(900, 500), WindowPixel(record.m_hWnd, 900, 500));

    Click(CSonelleDlg::IDC_EDIT_PAGE);
    ASSERT_EQ((UINT)CPageEdit::IDD, dialog.GetActivePageID());
    ASSERT_TRUE(edit.m_hWnd);
    EXPECT_FALSE(record.IsWindowVisible());
    EXPECT_EQ(editBack.At(30, 30), WindowPixel(edit.m_hWnd, 30, 30));
    EXPECT_EQ(editBack.At(900, 500), WindowPixel(edit.m_hWnd, 900, 500));
    EXPECT_EQ(left.At(tx, ty), WindowPixel(Item(CSonelleDlg::IDC_RECORD_PAGE), tx, ty));
    EXPECT_EQ(right.At(4 * MAIN_TAB_WIDTH + tx, ty), WindowPixel(Item(CSonelleDlg::IDC_EDIT_PAGE), tx, ty));
}

TEST_F(MainWindow, ButtonsAreCutToTheirShapesAndPlacedAsTheWindowExpects)
{
    const struct {
        int id, x, y, w, h;
    } buttons[] = {
        {CSonelleDlg::IDC_RECORD_PAGE, MAIN_LEFT_TAB_X, MAIN_TAB_Y, MAIN_TAB_WIDTH, MAIN_TAB_HEIGHT},
        {CSonelleDlg::IDC_EDIT_PAGE, MAIN_RIGHT_TAB_X, MAIN_TAB_Y, MAIN_TAB_WIDTH, MAIN_TAB_HEIGHT},
        {CSonelleDlg::IDC_HELP_BUTTON, MAIN_HELP_X, 14, 39, 39},
        {CSonelleDlg::IDC_MINIMIZE, MAIN_MINIMIZE_X, 14, 39, 39},
        {CSonelleDlg::IDC_EXIT, MAIN_EXIT_X, 14, 39, 39},
    };
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.id);
        HWND button = Item(b.id);
        ASSERT_TRUE(button);
        EXPECT_TRUE(::IsWindowVisible(button));
        RECT place = {};
        ::GetWindowRect(button, &place);
        ::MapWindowPoints(nullptr, dialog.m_hWnd, reinterpret_cast<POINT*>(&place), 2);
        EXPECT_EQ(b.x, place.left);
        EXPECT_EQ(b.y, place.top);
        EXPECT_EQ(b.w, place.right - place.left);
        EXPECT_EQ(b.h, place.bottom - place.top);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_EQ(COMPLEXREGION, GetWindowRgn(button, region)) << "the strip was loaded and its mask applied";
        EXPECT_TRUE(PtInRegion(region, b.w / 2, b.h / 2));
        EXPECT_FALSE(PtInRegion(region, 0, 0));
        EXPECT_FALSE(PtInRegion(region, b.w - 1, b.h - 1));
        DeleteObject(region);
    }
    // The page buttons' shapes do not overlap.
    HRGN left = CreateRectRgn(0, 0, 0, 0), right = CreateRectRgn(0, 0, 0, 0);
    GetWindowRgn(Item(CSonelleDlg::IDC_RECORD_PAGE), left);
    GetWindowRgn(Item(CSonelleDlg::IDC_EDIT_PAGE), right);
    OffsetRgn(left, MAIN_LEFT_TAB_X, 0);
    OffsetRgn(right, MAIN_RIGHT_TAB_X, 0);
    HRGN both = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(NULLREGION, CombineRgn(both, left, right, RGN_AND));
    DeleteObject(both);
    DeleteObject(left);
    DeleteObject(right);
}
