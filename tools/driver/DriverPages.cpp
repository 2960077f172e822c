#include "DriverPages.h"
#include "DriverWindows.h"
#include <vector>

namespace drv {

HWND ShownPage(HWND dialog)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[32] = {};
        GetClassNameW(child, cls, 32);
        if (wcscmp(cls, L"#32770") == 0 && IsWindowVisible(child)) return child;
    }
    return nullptr;
}

HWND PageWithControl(HWND dialog, int id)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[32] = {};
        GetClassNameW(child, cls, 32);
        if (wcscmp(cls, L"#32770") == 0 && GetDlgItem(child, id)) return child;
    }
    return nullptr;
}

bool ClickOnPage(HWND dialog, int id)
{
    HWND page = ShownPage(dialog);
    return page && ClickControl(page, id);
}

bool PickComboText(HWND parent, int id, const std::wstring& text, bool closeUp)
{
    HWND combo = GetDlgItem(parent, id);
    if (!combo || !IsWindowVisible(combo) || !IsWindowEnabled(combo)) return false;
    DWORD_PTR found = CB_ERR;
    if (!SendMessageTimeoutW(combo, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text.c_str(), SMTO_ABORTIFHUNG, 5000,
                             &found) ||
        (LRESULT)found == CB_ERR)
        return false;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(combo, CB_SETCURSEL, found, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    if (!PostMessageW(parent, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)combo)) return false;
    return !closeUp || PostMessageW(parent, WM_COMMAND, MAKEWPARAM(id, CBN_CLOSEUP), (LPARAM)combo) != FALSE;
}

bool SaveWindowPicture(HWND window, const std::wstring& path)
{
    RECT rc;
    if (!GetWindowRect(window, &rc)) return false;
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (w <= 0 || h <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((DWORD)w * 3 + 3) & ~3u, size = stride * (DWORD)h;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + size;
    bool ok = false;
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ok = WriteFile(out, &file, sizeof(file), &written, nullptr) &&
             WriteFile(out, &info.bmiHeader, sizeof(info.bmiHeader), &written, nullptr) &&
             WriteFile(out, bits, size, &written, nullptr) && written == size;
        CloseHandle(out);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

}  // namespace drv
