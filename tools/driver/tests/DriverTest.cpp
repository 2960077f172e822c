// The driver against real processes, windows, message boxes and registry keys.
#include "Driver.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <string>
#include <atomic>
#include <thread>

namespace {

std::wstring SystemProgram(const wchar_t* name)
{
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
}

// A dialog-class window with an edit box (100) and two buttons (IDOK, and 101
// disabled) on a thread of its own, as another program's window would be.
class TargetWindow {
public:
    explicit TargetWindow(const wchar_t* title) : m_thread([this, title] { Run(title); })
    {
        while (!m_ready) Sleep(10);
    }
    ~TargetWindow()
    {
        if (IsWindow(m_window)) PostMessageW(m_window, WM_CLOSE, 0, 0);
        m_thread.join();
    }
    HWND Window() const { return m_window; }
    int Clicks(int id) const { return id == IDOK ? m_okClicks.load() : m_otherClicks.load(); }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        TargetWindow* self = reinterpret_cast<TargetWindow*>(GetPropW(window, L"target"));
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            (LOWORD(wParam) == IDOK ? self->m_okClicks : self->m_otherClicks)++;
            return 0;
        }
        if (message == WM_CLOSE) { DestroyWindow(window); return 0; }
        if (message == WM_DESTROY) PostQuitMessage(0);
        return CallWindowProcW(self->m_base, window, message, wParam, lParam);
    }

    void Run(const wchar_t* title)
    {
        m_window = CreateWindowExW(0, L"#32770", title, WS_POPUP | WS_VISIBLE, 0, 0, 200, 100,
                                   nullptr, nullptr, nullptr, nullptr);
        CreateWindowExW(0, L"EDIT", L"first", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, m_window,
                        reinterpret_cast<HMENU>(100), nullptr, nullptr);
        CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 0, 30, 50, 20, m_window,
                        reinterpret_cast<HMENU>(IDOK), nullptr, nullptr);
        CreateWindowExW(0, L"BUTTON", L"Off", WS_CHILD | WS_VISIBLE | WS_DISABLED, 60, 30, 50, 20,
                        m_window, reinterpret_cast<HMENU>(101), nullptr, nullptr);
        SetPropW(m_window, L"target", this);
        m_base = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
        m_ready = true;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    }

    HWND m_window = nullptr;
    WNDPROC m_base = nullptr;
    std::atomic<bool> m_ready{false};
    std::atomic<int> m_okClicks{0}, m_otherClicks{0};
    std::thread m_thread;
};

}  // namespace

TEST(DriverProcess, StartsAProgramAndReadsItsExitCode)
{
    drv::Process process;
    ASSERT_TRUE(process.Start(SystemProgram(L"cmd.exe"), L"/c exit 7"));
    ASSERT_TRUE(process.WaitForExit(10000));
    EXPECT_EQ(7u, process.ExitCode());
    EXPECT_FALSE(process.Running());
}

TEST(DriverProcess, MissingProgramIsReported)
{
    drv::Process process;
    EXPECT_FALSE(process.Start(L"C:\\no\\such\\program.exe"));
}

TEST(DriverWindows, FindsWindowsByClassTitleAndProcess)
{
    TargetWindow target(L"Driver target");
    EXPECT_EQ(target.Window(), drv::WaitForWindow(L"#32770", L"Driver target", 0, 2000));
    EXPECT_EQ(target.Window(), drv::WaitForWindow(L"#32770", L"Driver target", GetCurrentProcessId(), 0));
    EXPECT_EQ(nullptr, drv::WaitForWindow(L"#32770", L"Driver target", GetCurrentProcessId() + 4, 0));
    EXPECT_EQ(nullptr, drv::WaitForWindow(L"Edit", L"Driver target", 0, 100));
    EXPECT_EQ(nullptr, drv::WaitForWindow(L"#32770", L"Driver targe", 0, 100));
}

TEST(DriverWindows, ReadsSetsAndClicks)
{
    TargetWindow target(L"Driver clicks");
    HWND window = target.Window();
    EXPECT_EQ(L"Driver clicks", drv::WindowText(window));
    EXPECT_EQ(L"first", drv::ControlText(window, 100));
    ASSERT_TRUE(drv::SetControlText(window, 100, L"second \x00e9"));
    EXPECT_EQ(L"second \x00e9", drv::ControlText(window, 100));
    EXPECT_FALSE(drv::SetControlText(window, 555, L"x"));

    EXPECT_TRUE(drv::ClickControl(window, IDOK));
    EXPECT_FALSE(drv::ClickControl(window, 101)) << "a disabled button cannot be clicked";
    EXPECT_FALSE(drv::ClickControl(window, 555));
    for (int i = 0; i < 100 && target.Clicks(IDOK) == 0; ++i) Sleep(10);
    EXPECT_EQ(1, target.Clicks(IDOK));
    EXPECT_EQ(0, target.Clicks(101));

    drv::CloseWindow(window);
    EXPECT_TRUE(drv::WaitForWindowGone(window, 2000));
}

TEST(DriverMessageBox, ReadsAndAnswersAMessageBox)
{
    std::atomic<int> answer{0};
    std::thread asker([&] { answer = MessageBoxW(nullptr, L"Keep the take?", L"Driver box", MB_YESNO); });
    drv::MessageBoxInfo box = drv::WaitForMessageBox(GetCurrentProcessId(), 5000);
    ASSERT_NE(nullptr, box.window);
    EXPECT_EQ(L"Driver box", box.title);
    EXPECT_EQ(L"Keep the take?", box.text);
    EXPECT_TRUE(drv::AnswerMessageBox(box, IDNO));
    asker.join();
    EXPECT_EQ(IDNO, answer.load());
}

TEST(DriverMessageBox, NoneShownMeansNoneFound)
{
    TargetWindow plainDialog(L"Not a message box");
    EXPECT_EQ(nullptr, drv::WaitForMessageBox(GetCurrentProcessId(), 200).window);
}

TEST(DriverRegistry, WritesReadsAndDeletes)
{
    const std::wstring key = L"software\\Norvane\\DriverTest";
    ASSERT_TRUE(drv::RegDeleteTree(HKEY_CURRENT_USER, key));
    EXPECT_FALSE(drv::RegValueExists(HKEY_CURRENT_USER, key, L"Name"));
    ASSERT_TRUE(drv::RegWriteString(HKEY_CURRENT_USER, key, L"Name", L"value"));
    ASSERT_TRUE(drv::RegWriteDword(HKEY_CURRENT_USER, key, L"Number", 0xFFFFFFFF));
    std::wstring text;
    DWORD number = 0;
    EXPECT_TRUE(drv::RegReadString(HKEY_CURRENT_USER, key, L"Name", &text));
    EXPECT_EQ(L"value", text);
    EXPECT_TRUE(drv::RegReadDword(HKEY_CURRENT_USER, key, L"Number", &number));
    EXPECT_EQ(0xFFFFFFFFu, number);
    EXPECT_FALSE(drv::RegReadDword(HKEY_CURRENT_USER, key, L"Name", &number)) << "wrong type";
    EXPECT_FALSE(drv::RegReadString(HKEY_CURRENT_USER, key, L"Number", &text)) << "wrong type";
    EXPECT_TRUE(drv::RegDeleteValue(HKEY_CURRENT_USER, key, L"Name"));
    EXPECT_FALSE(drv::RegValueExists(HKEY_CURRENT_USER, key, L"Name"));
    EXPECT_TRUE(drv::RegDeleteTree(HKEY_CURRENT_USER, key));
    EXPECT_FALSE(drv::RegValueExists(HKEY_CURRENT_USER, key, L"Number"));
}

namespace {

// A report list with check boxes and `rows` checked rows, in a window on a thread
// of its own, as another program's list would be.
class TargetList {
public:
    explicit TargetList(int rows) : m_thread([this, rows] { Run(rows); })
    {
        while (!m_ready) Sleep(10);
    }
    ~TargetList()
    {
        if (IsWindow(m_window)) PostMessageW(m_window, WM_CLOSE, 0, 0);
        m_thread.join();
    }
    HWND List() const { return m_list; }

private:
    void Run(int rows)
    {
        INITCOMMONCONTROLSEX init = {sizeof init, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&init);
        m_window = CreateWindowExW(0, L"#32770", L"Driver list", WS_POPUP | WS_VISIBLE, 0, 0, 300, 120, nullptr,
                                   nullptr, nullptr, nullptr);
        m_list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 300, 120, m_window,
                                 reinterpret_cast<HMENU>(100), nullptr, nullptr);
        SendMessageW(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 200;
        column.pszText = const_cast<wchar_t*>(L"Track");
        SendMessageW(m_list, LVM_INSERTCOLUMNW, 0, (LPARAM)&column);
        for (int i = 0; i < rows; ++i) {
            std::wstring text = L"Row " + std::to_wstring(i + 1);
            LVITEMW item = {};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = &text[0];
            SendMessageW(m_list, LVM_INSERTITEMW, 0, (LPARAM)&item);
            item.stateMask = LVIS_STATEIMAGEMASK;
            item.state = INDEXTOSTATEIMAGEMASK(2);
            SendMessageW(m_list, LVM_SETITEMSTATE, (WPARAM)i, (LPARAM)&item);
        }
        m_ready = true;
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0 && msg.message != WM_CLOSE) DispatchMessageW(&msg);
        DestroyWindow(m_window);
    }

    HWND m_window = nullptr, m_list = nullptr;
    std::atomic<bool> m_ready{false};
    std::thread m_thread;
};

bool WaitChecked(HWND list, int row, bool checked)
{
    for (int i = 0; i < 200; ++i, Sleep(10))
        if (drv::ListRowChecked(list, row) == checked) return true;
    return false;
}

}  // namespace

TEST(DriverListView, ClicksARowsCheckBoxLikeAUser)
{
    TargetList target(12);
    HWND list = target.List();
    ASSERT_TRUE(drv::ListRowChecked(list, 1));
    ASSERT_TRUE(drv::ClickListRowCheckBox(list, 1));
    EXPECT_TRUE(WaitChecked(list, 1, false));
    EXPECT_TRUE(drv::ListRowChecked(list, 0)) << "only the clicked row";
    EXPECT_TRUE(drv::ListRowChecked(list, 2));
    ASSERT_TRUE(drv::ClickListRowCheckBox(list, 1));
    EXPECT_TRUE(WaitChecked(list, 1, true)) << "a second click checks it again";
    // A row below the visible ones is scrolled to first.
    ASSERT_TRUE(drv::ClickListRowCheckBox(list, 11));
    EXPECT_TRUE(WaitChecked(list, 11, false));
    EXPECT_FALSE(drv::ClickListRowCheckBox(list, 12)) << "no such row";
}
