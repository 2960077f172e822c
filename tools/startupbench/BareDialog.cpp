// The floor of the start-up benchmark: a process that shows one dialog from an
// in-memory template and does nothing else, started under the same Wine as the
// suite's programs.
#include <windows.h>
#include <cstddef>

namespace {

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(window, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

// A DLGTEMPLATE with no menu, the default class, a title and one OK button.
struct alignas(4) DialogTemplate {
    DLGTEMPLATE dialog;
    WORD menu, windowClass;
    wchar_t title[12];
    WORD alignItem;
    DLGITEMTEMPLATE button;
    WORD buttonClass[2];
    wchar_t buttonText[3];
    WORD extra;
};

static_assert(offsetof(DialogTemplate, button) % 4 == 0, "items start on a DWORD boundary");

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, wchar_t*, int)
{
    static DialogTemplate t = {};
    t.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_CENTER | DS_MODALFRAME;
    t.dialog.cdit = 1;
    t.dialog.cx = 200;
    t.dialog.cy = 100;
    lstrcpyW(t.title, L"Bare dialog");
    t.button.style = WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON;
    t.button.x = 75;
    t.button.y = 70;
    t.button.cx = 50;
    t.button.cy = 14;
    t.button.id = IDOK;
    t.buttonClass[0] = 0xFFFF;
    t.buttonClass[1] = 0x0080;  // button
    lstrcpyW(t.buttonText, L"OK");
    return (int)DialogBoxIndirectParamW(instance, &t.dialog, nullptr, DialogProc, 0);
}
