#include "WindowHook.h"

bool WindowHook::Install(HWND hWnd, const wchar_t* name, WNDPROC hook)
{
    if (!hWnd || ::GetPropW(hWnd, name)) return false;
    WNDPROC previous = (WNDPROC)::GetWindowLongPtrW(hWnd, GWLP_WNDPROC);
    ::SetPropW(hWnd, name, (HANDLE)previous);
    ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)hook);
    return true;
}

void WindowHook::Remove(HWND hWnd, const wchar_t* name, WNDPROC hook)
{
    WNDPROC previous = Previous(hWnd, name);
    if (!previous) return;
    // With another procedure in front of ours the hook stays and keeps passing on.
    if ((WNDPROC)::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) != hook) return;
    ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)previous);
    ::RemovePropW(hWnd, name);
}

WNDPROC WindowHook::Previous(HWND hWnd, const wchar_t* name) { return (WNDPROC)::GetPropW(hWnd, name); }

LRESULT WindowHook::CallPrevious(HWND hWnd, const wchar_t* name, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC previous = Previous(hWnd, name);
    if (!previous) return ::DefWindowProcW(hWnd, message, wParam, lParam);
    LRESULT result = ::CallWindowProcW(previous, hWnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) ::RemovePropW(hWnd, name);
    return result;
}
