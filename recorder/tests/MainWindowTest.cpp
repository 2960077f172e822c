// The main window hosted in the test process, with the skin pictures the program
// carries: the pictures keep the sizes, frames and key colours the window relies
// on, and what the window shows are those pictures, page by page.
#include "DropRecord.h"
#include "MainWindowSkinIds.h"
#include "SkinIds.h"
#include "NvDropTarget.h"
#include "PageCapture.h"
#include "PageEdit.h"
#include "SonelleDlg.h"
#include "SonelleGlobals.h"
#include <gtest/gtest.h>
#include <shlobj.h>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

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

TEST(SkinPictures, KeyedPicturesHaveNoFringeOfTheKeyColour)
{
    // Check boxes and slider thumbs are cut out by magenta: their edges must blend
    // with the dark surface they stand on, not with the key (a purple rim).
    const COLORREF magenta = RGB(255, 0, 255);
    for (UINT id : {IDB_REC_LEVEL_THUMB, IDB_REC_VOLUME_THUMB, IDB_REC_CHECK_MP3FILE, IDB_REC_CHECK_AUDIOCD,
                    IDB_REC_CHECK_MP3CD}) {
        SCOPED_TRACE(id);
        SkinPicture picture(id);
        ASSERT_TRUE(picture.Loaded());
        EXPECT_EQ(magenta, picture.At(0, 0)) << "the key colour is read from the corner";
        int keyed = 0;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) {
                COLORREF c = picture.At(x, y);
                if (c == magenta) {
                    ++keyed;
                    continue;
                }
                int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
                ASSERT_FALSE(r - g > 40 && b - g > 40) << "purple at " << x << "," << y << ": " << r << " " << g << " " << b;
            }
        EXPECT_GT(keyed, 0);
    }
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

// The main window with its OLE drag notifications counted.
class ObservedSonelleDlg : public CSonelleDlg {
public:
    IDropTarget* Target() const { return reinterpret_cast<IDropTarget*>(m_dropTarget); }
    void OnDragLeave() override { ++leaves; }
    BOOL OnDrop(IDataObject* data, DROPEFFECT effect, POINT point) override
    {
        ++drops;
        return CSonelleDlg::OnDrop(data, effect, point);
    }
    int leaves = 0, drops = 0;
};

// The main window as start-up builds it, shown, with the program's own pictures and
// an installation without filter modules (the registrations find nothing).
// The Edit page, noting what reaches its OpenFile instead of loading it.
class RecordingEditPage : public CPageEdit {
public:
    void OpenFile(const wchar_t* path) override { opened = path; }
    std::wstring opened;
};

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        OleInitialize(nullptr);
        g_hSkinModule = GetModuleHandleW(nullptr);
        g_hResourceModule = GetModuleHandleW(nullptr);
        g_hExtra2Module = nullptr;
        g_szWindowTitle = L"Sonelle in the test";
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        m_temp = temp;
        g_szAppPath = CString(temp) + L"SonelleNoModules\\";
        g_DropWindows.RemoveAll();
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
        g_DropWindows.RemoveAll();
        OleUninitialize();
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

    ObservedSonelleDlg dialog;
    CPageCapture record;
    RecordingEditPage edit;
    std::wstring m_temp;
};

}  // namespace

TEST_F(MainWindow, TheWindowAndItsClassCarryTheProgramIcon)
{
    // Taskbar, Alt+Tab and the minimised window ask the window first, then its class.
    EXPECT_NE(0, SendMessageW(dialog.m_hWnd, WM_GETICON, ICON_BIG, 0));
    EXPECT_NE(0, SendMessageW(dialog.m_hWnd, WM_GETICON, ICON_SMALL, 0));
    EXPECT_NE(0u, GetClassLongPtrW(dialog.m_hWnd, GCLP_HICON));
}

TEST_F(MainWindow, ShowsItsPicturesAndThoseOfTheShownPage)
{
    SkinPicture background(IDB_MAIN_BACKGROUND), title(IDB_MAIN_TITLE), left(IDB_MAIN_LEFT_TAB),
        right(IDB_MAIN_RIGHT_TAB), exitButton(IDB_MAIN_EXIT), recordBack(IDB_PAGE_RECORD_BACK),
        editBack(IDB_PAGE_EDIT_BACK);
    RECT frame = {};
    ::GetWindowRect(dialog.m_hWnd, &frame);
    EXPECT_EQ(MAIN_WINDOW_WIDTH, frame.right - frame.left);
    EXPECT_EQ(MAIN_WINDOW_HEIGHT, frame.bottom - frame.top);
    EXPECT_NE(0, dialog.SendMessage(WM_GETICON, ICON_BIG)) << "the window, the task bar and the minimised window show it";
    EXPECT_NE(0, dialog.SendMessage(WM_GETICON, ICON_SMALL));

    // Background below the page area, the title's mark, the exit button's face.
    EXPECT_EQ(background.At(500, MAIN_WINDOW_HEIGHT - 5), WindowPixel(dialog.m_hWnd, 500, MAIN_WINDOW_HEIGHT - 5));
    EXPECT_EQ(title.At(36, 38), WindowPixel(dialog.m_hWnd, 3 + 36, 38));
    EXPECT_EQ(exitButton.At(19, 8), WindowPixel(Item(CSonelleDlg::IDC_EXIT), 19, 8));

    // Record shown first: its button shows the shown-page frame (4), Edit the idle one (0).
    const int tx = 80, ty = 8;  // on the button, clear of the caption
    EXPECT_EQ(left.At(4 * MAIN_TAB_WIDTH + tx, ty), WindowPixel(Item(CSonelleDlg::IDC_RECORD_PAGE), tx, ty));
    EXPECT_EQ(right.At(tx, ty), WindowPixel(Item(CSonelleDlg::IDC_EDIT_PAGE), tx, ty));
    ASSERT_TRUE(record.m_hWnd);
    // Points of the Record page that no control covers.
    EXPECT_EQ(recordBack.At(10, 290), WindowPixel(record.m_hWnd, 10, 290));
    EXPECT_EQ(recordBack.At(900, 20), WindowPixel(record.m_hWnd, 900, 20));

    Click(CSonelleDlg::IDC_EDIT_PAGE);
    ASSERT_EQ((UINT)CPageEdit::IDD, dialog.GetActivePageID());
    ASSERT_TRUE(edit.m_hWnd);
    EXPECT_FALSE(record.IsWindowVisible());
    // Points of the Edit page that no control covers.
    EXPECT_EQ(editBack.At(5, 5), WindowPixel(edit.m_hWnd, 5, 5));
    EXPECT_EQ(editBack.At(700, 292), WindowPixel(edit.m_hWnd, 700, 292));
    EXPECT_EQ(editBack.At(900, 440), WindowPixel(edit.m_hWnd, 900, 440));
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

// Files that reach the main window: shell drops (WM_DROPFILES), OLE drags, drop
// handles and registrations in WM_DROPDLG_REGISTRY, copies in WM_COPYDATA.
namespace {

// A drop handle as the shell makes it: DROPFILES followed by the wide names.
HDROP MakeDrop(const std::vector<std::wstring>& files)
{
    size_t chars = 1;
    for (const auto& f : files) chars += f.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    DROPFILES* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    wchar_t* name = reinterpret_cast<wchar_t*>(header + 1);
    for (const auto& f : files) {
        wcscpy(name, f.c_str());
        name += f.size() + 1;
    }
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

// An IDataObject as an OLE drag brings it: it holds one file as CF_HDROP.
class FileDataObject : public IDataObject {
public:
    explicit FileDataObject(const std::wstring& file) : m_file(file) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (iid != IID_IUnknown && iid != IID_IDataObject) return *object = nullptr, E_NOINTERFACE;
        *object = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = MakeDrop({m_file});
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override
    {
        return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    std::wstring m_file;
};

class MainWindowDrops : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        m_folder = m_temp + L"SonelleDrops" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(m_folder.c_str(), nullptr);
        m_file = m_folder + L"\\take one.wav";
        CloseHandle(CreateFileW(m_file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    void TearDown() override
    {
        MainWindow::TearDown();
        DeleteFileW(m_file.c_str());
        RemoveDirectoryW(m_folder.c_str());
    }
    void ShowPage(UINT id)
    {
        Click(id == CPageEdit::IDD ? CSonelleDlg::IDC_EDIT_PAGE : CSonelleDlg::IDC_RECORD_PAGE);
        ASSERT_EQ(id, dialog.GetActivePageID());
    }
    std::wstring Opened() const { return edit.m_hWnd ? edit.opened : std::wstring(); }

    std::wstring m_folder, m_file;
};

}  // namespace

TEST_F(MainWindowDrops, OneFileDroppedOnTheEditPageIsOpenedThere)
{
    EXPECT_TRUE(::GetWindowLongPtrW(dialog.m_hWnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    const struct {
        UINT page;
        std::vector<std::wstring> files;
        bool opens;
    } cases[] = {
        {CPageEdit::IDD, {m_file}, true},
        {CPageCapture::IDD, {m_file}, false},            // the Record page takes no drops
        {CPageEdit::IDD, {m_file, m_file}, false},       // several files
        {CPageEdit::IDD, {m_folder}, false},             // a folder
        {CPageEdit::IDD, {m_folder + L"\\."}, false},
        {CPageEdit::IDD, {m_folder + L"\\.."}, false},
        {CPageEdit::IDD, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.files.empty() ? std::string("no file") : std::string(c.files[0].begin(), c.files[0].end()));
        ShowPage(c.page);
        edit.OpenFile(L"");
        HDROP drop = MakeDrop(c.files);
        dialog.SendMessage(WM_DROPFILES, (WPARAM)drop, 0);
        EXPECT_EQ(c.opens ? m_file : std::wstring(), Opened());
        EXPECT_EQ(c.page, dialog.GetActivePageID());
        EXPECT_EQ(0u, GlobalSize(drop)) << "the drop handle is finished in every case";
    }
}

TEST_F(MainWindowDrops, OleDragsAreRefusedAndEndAsADragLeave)
{
    ShowPage(CPageEdit::IDD);
    IDropTarget* target = dialog.Target();
    ASSERT_NE(nullptr, target);
    FileDataObject data(m_file);
    const POINTL at = {300, 300};
    for (DWORD offered : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK}) {
        DWORD effect = offered;
        ASSERT_EQ(S_OK, target->DragEnter(&data, MK_LBUTTON, at, &effect));
        EXPECT_EQ((DWORD)DROPEFFECT_NONE, effect);
        effect = offered;
        ASSERT_EQ(S_OK, target->DragOver(MK_LBUTTON, at, &effect));
        EXPECT_EQ((DWORD)DROPEFFECT_NONE, effect);
        effect = offered;
        ASSERT_EQ(S_OK, target->Drop(&data, 0, at, &effect));
        EXPECT_EQ((DWORD)DROPEFFECT_NONE, effect);
    }
    EXPECT_EQ(3, dialog.leaves) << "each refused drop ends as a drag-leave";
    EXPECT_EQ(0, dialog.drops);
    EXPECT_EQ(std::wstring(), Opened());
}

TEST_F(MainWindowDrops, DropHandlesInTheRegistryMessageAreTakenOnlyFromThisProcess)
{
    ShowPage(CPageEdit::IDD);
    // A handle this process did not post (as one from another process would be):
    // not read, not finished.
    HDROP foreign = MakeDrop({m_file});
    dialog.SendMessage(WM_DROPDLG_REGISTRY, DROPDLG_DROPFILES, (LPARAM)foreign);
    EXPECT_EQ(std::wstring(), Opened());
    EXPECT_NE(0u, GlobalSize(foreign)) << "still the sender's";
    GlobalFree(foreign);

    HDROP own = MakeDrop({m_file});
    NotePostedHandle(own);
    dialog.PostMessage(WM_DROPDLG_REGISTRY, DROPDLG_DROPFILES, (LPARAM)own);
    Pump();
    EXPECT_EQ(m_file, Opened());

    // A registration block this process did not post is ignored as well.
    DropDlgRecord record = MakeDropRecord(reinterpret_cast<HWND>(0x1234), L"Peer.exe");
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(record));
    memcpy(GlobalLock(block), &record, sizeof(record));
    GlobalUnlock(block);
    dialog.SendMessage(WM_DROPDLG_REGISTRY, DROPDLG_REGISTER, (LPARAM)block);
    EXPECT_EQ(0, g_DropWindows.GetCount());
    EXPECT_EQ(sizeof(record), GlobalSize(block));
    GlobalFree(block);
    dialog.SendMessage(WM_DROPDLG_REGISTRY, DROPDLG_REGISTER, 0);
    dialog.SendMessage(WM_DROPDLG_REGISTRY, DROPDLG_UNREGISTER, 0);
    EXPECT_EQ(0, g_DropWindows.GetCount());
}

TEST_F(MainWindowDrops, CopiedRegistrationsMustHaveTheRecordsExactSize)
{
    DropDlgRecord record = MakeDropRecord(reinterpret_cast<HWND>(0x2468), L"Peer.exe");
    char longer[sizeof(record) + 1] = {};
    memcpy(longer, &record, sizeof(record));
    const struct {
        DWORD size;
        void* bytes;
        LRESULT answer;
    } cases[] = {{259, &record, FALSE}, {261, longer, FALSE}, {0, nullptr, FALSE}, {260, &record, TRUE}};
    for (const auto& c : cases) {
        COPYDATASTRUCT data = {WM_DROPDLG_REGISTRY, c.size, c.bytes};
        EXPECT_EQ(c.answer, dialog.SendMessage(WM_COPYDATA, 0, (LPARAM)&data)) << c.size;
    }
    ASSERT_EQ(1, g_DropWindows.GetCount());
    EXPECT_EQ(0x2468, g_DropWindows.GetAt(0).window);
    EXPECT_STREQ("Peer.exe", g_DropWindows.GetAt(0).program);
}

namespace {

// The pixels the main window shows, sampled on a grid: the window itself (where
// no child covers it), each of its five buttons and the shown page.
std::vector<COLORREF> MainWindowSamples(HINSTANCE skin)
{
    g_hSkinModule = skin;
    g_hResourceModule = GetModuleHandleW(nullptr);
    g_hExtra2Module = nullptr;
    g_szWindowTitle = L"Sonelle in the test";
    CSonelleDlg dialog;
    CPageCapture record;
    CPageEdit edit;
    dialog.SetPlaceholder(CSonelleDlg::IDC_PLACEHOLDER);
    dialog.AddPage(&record, CPageCapture::IDD);
    dialog.AddPage(&edit, CPageEdit::IDD);
    std::vector<COLORREF> samples;
    if (!dialog.Create(CSonelleDlg::IDD, nullptr)) return samples;
    dialog.ShowWindow(SW_SHOWNOACTIVATE);
    RedrawWindow(dialog.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    auto sample = [&samples](HWND window, int step) {
        RECT client = {};
        GetClientRect(window, &client);
        for (int y = 0; y < client.bottom; y += step)
            for (int x = 0; x < client.right; x += step) samples.push_back(WindowPixel(window, x, y));
    };
    for (int y = 2; y < MAIN_PAGE_Y - 2; y += 5)  // the bar with the title, left of the buttons
        for (int x = 2; x < MAIN_LEFT_TAB_X; x += 5) samples.push_back(WindowPixel(dialog.m_hWnd, x, y));
    for (int id : {CSonelleDlg::IDC_RECORD_PAGE, CSonelleDlg::IDC_EDIT_PAGE, CSonelleDlg::IDC_HELP_BUTTON,
                   CSonelleDlg::IDC_MINIMIZE, CSonelleDlg::IDC_EXIT})
        sample(GetDlgItem(dialog.m_hWnd, id), 3);
    sample(record.m_hWnd, 17);
    dialog.PreventSleep(FALSE);
    dialog.DestroyWindow();
    Pump();
    return samples;
}

}  // namespace

TEST(MainWindowSkin, ASkinModuleWithoutPicturesShowsTheProgramsOwn)
{
    OleInitialize(nullptr);
    wchar_t folder[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, folder, MAX_PATH);
    *wcsrchr(folder, L'\\') = 0;
    HMODULE pictureless = LoadLibraryW((std::wstring(folder) + L"\\PicturelessSkin.dll").c_str());
    ASSERT_NE(nullptr, pictureless);
    ASSERT_EQ(nullptr, FindResourceW(pictureless, MAKEINTRESOURCEW(IDB_MAIN_EXIT), MAKEINTRESOURCEW(2)));

    std::vector<COLORREF> own = MainWindowSamples(GetModuleHandleW(nullptr));
    std::vector<COLORREF> fallback = MainWindowSamples(pictureless);
    g_hSkinModule = GetModuleHandleW(nullptr);
    FreeLibrary(pictureless);
    OleUninitialize();

    ASSERT_FALSE(own.empty());
    ASSERT_EQ(own.size(), fallback.size());
    size_t differ = 0;
    for (size_t i = 0; i < own.size(); ++i) differ += own[i] != fallback[i];
    EXPECT_EQ(0u, differ) << "of " << own.size() << " samples";
}

TEST(MainWindowSkin, TheProgramCarriesItsIconAndTheListRowIcons)
{
    for (int id : {128, 144, 145}) {
        SCOPED_TRACE(id);
        for (int size : {16, 32}) {
            HICON icon = (HICON)LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0);
            ASSERT_NE(nullptr, icon);
            ICONINFO info = {};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP colour = {};
            GetObjectW(info.hbmColor, sizeof(colour), &colour);
            EXPECT_EQ(size, colour.bmWidth) << "an image drawn for this size";
            // Drawn on white, the icon covers its middle and leaves its corner.
            HDC screen = GetDC(nullptr);
            HDC dc = CreateCompatibleDC(screen);
            HBITMAP canvas = CreateCompatibleBitmap(screen, size, size);
            ReleaseDC(nullptr, screen);
            HGDIOBJ old = SelectObject(dc, canvas);
            RECT all = {0, 0, size, size};
            FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
            DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
            EXPECT_NE(RGB(255, 255, 255), GetPixel(dc, size / 2, size / 2));
            EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 0, 0));
            SelectObject(dc, old);
            DeleteObject(canvas);
            DeleteDC(dc);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
}

TEST_F(MainWindow, TheEditPagesPublishOpensTheDialogWithAnEmptyListWhileNoFileIsOpen)
{
    Click(CSonelleDlg::IDC_EDIT_PAGE);
    ASSERT_TRUE(edit.m_hWnd);
    HWND button = ::GetDlgItem(edit.m_hWnd, CPageEdit::IDC_PUBLISH);
    ASSERT_TRUE(button && ::IsWindowVisible(button) && ::IsWindowEnabled(button));
    int rows = -1;
    std::thread helper([&] {
        for (int i = 0; i < 400; ++i) {
            Sleep(25);
            HWND found = FindWindowW(L"#32770", L"Publish");
            if (!found || !IsWindowVisible(found)) continue;
            Sleep(200);
            rows = (int)SendMessageW(GetDlgItem(found, 1008), LVM_GETITEMCOUNT, 0, 0);
            PostMessageW(found, WM_COMMAND, IDCANCEL, 0);
            return;
        }
    });
    edit.SendMessage(WM_COMMAND, MAKEWPARAM(CPageEdit::IDC_PUBLISH, BN_CLICKED), (LPARAM)button);
    helper.join();
    EXPECT_EQ(0, rows);
}
