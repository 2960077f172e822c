// Replacing the window procedure of a window we do not own (the tip parent, the
// window inside a scroll frame). The previous procedure is kept in a window
// property under the hook's name, so it can always be found and called, whatever
// else happens to the window's user data or object.
#pragma once
#include <windows.h>

class WindowHook {
public:
    // Puts `hook` in front of the window's procedure; false when it is already there.
    static bool Install(HWND hWnd, const wchar_t* name, WNDPROC hook);
    // Takes the hook out again where possible (nobody chained in front of it).
    static void Remove(HWND hWnd, const wchar_t* name, WNDPROC hook);
    static WNDPROC Previous(HWND hWnd, const wchar_t* name);
    static LRESULT CallPrevious(HWND hWnd, const wchar_t* name, UINT message, WPARAM wParam, LPARAM lParam);
};
