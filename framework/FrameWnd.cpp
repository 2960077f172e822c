#include "FrameWnd.h"
#include "WinApp.h"

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

BOOL CFrameWnd::RegisterFrameClass(const wchar_t* className, UINT classStyle, HICON icon, HCURSOR cursor,
                                   HBRUSH background)
{
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    WNDCLASSW wc = {};
    if (::GetClassInfoW(module, className, &wc)) return TRUE;
    wc.style = classStyle;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = module;
    wc.hIcon = icon;
    wc.hCursor = cursor ? cursor : ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background ? background : (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    return ::RegisterClassW(&wc) != 0;
}

BOOL CFrameWnd::Create(const wchar_t* className, const wchar_t* title, DWORD style, CWnd* parent, HMENU menu,
                       DWORD exStyle)
{
    return CreateEx(exStyle, className, title, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, parent ? parent->m_hWnd : nullptr, menu);
}

void CFrameWnd::OnNcDestroy()
{
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    Default();
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}
