// The window-test fixture of the skin tests: a visible top-level parent that
// paints a known background and records what its children tell it, and pixel
// read-back helpers. Runs under Wine's null graphics driver.
#pragma once
#include <gtest/gtest.h>
#include <utility>
#include <vector>
#include "BitmapSlider.h"
#include "SkinScrollBar.h"
#include "TestSkin.h"
#include "Wnd.h"

namespace testhost {

inline HINSTANCE Skin() { return ::GetModuleHandleW(nullptr); }

inline COLORREF Flat(int id, int index)
{
    testskin::Colour c = testskin::FrameColour(id, index);
    return RGB(c.r, c.g, c.b);
}

// The parent's own background: a colour no skin frame uses.
const COLORREF kHostBackground = RGB(12, 200, 140);

class Host : public CWnd {
public:
    Host()
    {
        m_background.CreateSolidBrush(kHostBackground);
        EXPECT_TRUE(CreateEx(0, nullptr, L"host", WS_POPUP | WS_VISIBLE, 100, 100, 500, 400, nullptr, nullptr));
    }
    ~Host() override { DestroyWindow(); }
    std::vector<UINT> clicks;
    std::vector<std::pair<UINT, UINT>> commands;  // control id, notification code
    std::vector<std::pair<UINT, LPARAM>> posted;
    std::vector<UINT> notifications;  // list-view codes, in order
    // What scroll bars sent: WM_VSCROLL / WM_HSCROLL / WM_SKINSCROLL_POSITION and their parameters.
    struct Scroll {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Scroll> scrolls;
    int itemChanged = 0;

    void Pump()
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.hwnd == m_hWnd && (msg.message == WM_SLIDER_TRACKING || msg.message == WM_SLIDER_RELEASED))
                posted.emplace_back(msg.message, msg.lParam);
            ::DispatchMessageW(&msg);
        }
    }
    // Above every other program's windows: for controls that look up the window
    // under a screen point while other test programs share the desktop.
    void Topmost()
    {
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    size_t Count(UINT code) const
    {
        size_t n = 0;
        for (UINT c : notifications) n += c == code;
        return n;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_VSCROLL || message == WM_HSCROLL || message == WM_SKINSCROLL_POSITION)
            scrolls.push_back(Scroll{message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (HIWORD(wParam) == BN_CLICKED) clicks.push_back(LOWORD(wParam));
        commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
        return CWnd::OnCommand(wParam, lParam);
    }
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        UINT code = ((NMHDR*)lParam)->code;
        if (code == LVN_ITEMCHANGED) ++itemChanged;
        notifications.push_back(code);
        return CWnd::OnNotify(wParam, lParam, result);
    }
    BOOL OnEraseBkgnd(CDC* dc)
    {
        CRect rc;
        GetClientRect(&rc);
        dc->FillRect(&rc, &m_background);
        return TRUE;
    }
    CBrush m_background;
    DECLARE_MESSAGE_MAP()
};

inline COLORREF PixelOf(CWnd& wnd, int x, int y)
{
    ::UpdateWindow(wnd.m_hWnd);
    HDC dc = ::GetDC(wnd.m_hWnd);
    COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(wnd.m_hWnd, dc);
    return c;
}

inline HWND MakeChild(Host& host, const wchar_t* cls, DWORD style, int x, int y, int w, int h, int id,
                      const wchar_t* text = L"")
{
    return ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, host.m_hWnd,
                             (HMENU)(INT_PTR)id, nullptr, nullptr);
}

} // namespace testhost
