#include "DriverWindows.h"

namespace drv {

namespace {
struct Search {
    const std::wstring* cls;
    const std::wstring* title;
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    Search* search = reinterpret_cast<Search*>(param);
    if (search->processId) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid != search->processId) return TRUE;
    }
    if (!search->cls->empty() && WindowClass(window) != *search->cls) return TRUE;
    if (!search->title->empty() && WindowText(window) != *search->title) return TRUE;
    search->found.push_back(window);
    return TRUE;
}
}  // namespace

std::vector<HWND> FindTopWindows(const std::wstring& cls, const std::wstring& title,
                                 DWORD processId)
{
    Search search{&cls, &title, processId, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(const std::wstring& cls, const std::wstring& title, DWORD processId,
                   DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        std::vector<HWND> found = FindTopWindows(cls, title, processId);
        if (!found.empty()) return found.front();
        if (GetTickCount() - start >= timeoutMs) return nullptr;
        Sleep(50);
    }
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

namespace {
struct DescendantSearch {
    const std::wstring* cls;
    HWND found;
};

BOOL CALLBACK CheckDescendant(HWND child, LPARAM param)
{
    DescendantSearch* search = reinterpret_cast<DescendantSearch*>(param);
    if (WindowClass(child) != *search->cls) return TRUE;
    search->found = child;
    return FALSE;
}
}  // namespace

HWND FindDescendant(HWND parent, const std::wstring& cls)
{
    DescendantSearch search{&cls, nullptr};
    EnumChildWindows(parent, CheckDescendant, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowText(HWND window)
{
    // WM_GETTEXT is marshalled across processes, unlike reading another
    // process's memory.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return L"";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                             SMTO_ABORTIFHUNG, 2000, &copied))
        return L"";
    text.resize(copied);
    return text;
}

std::wstring WindowClass(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring ControlText(HWND parent, int id)
{
    HWND control = GetDlgItem(parent, id);
    return control ? WindowText(control) : L"";
}

bool SetControlText(HWND parent, int id, const std::wstring& text)
{
    HWND control = GetDlgItem(parent, id);
    DWORD_PTR result = 0;
    return control && SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                          SMTO_ABORTIFHUNG, 2000, &result);
}

HWND WaitUntilShown(HWND window, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); window && !IsWindowVisible(window) && GetTickCount() - start < timeoutMs;)
        Sleep(50);
    return window;
}

bool ClickControl(HWND parent, int id)
{
    HWND control = GetDlgItem(parent, id);
    if (!control || !IsWindowVisible(control) || !IsWindowEnabled(control)) return false;
    // A control of no size cannot be clicked by a user either.
    RECT rc = {};
    if (!GetWindowRect(control, &rc) || rc.right <= rc.left || rc.bottom <= rc.top) return false;
    return PostMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(control)) != FALSE;
}

bool SendMenuCommand(HWND window, int id)
{
    return IsWindow(window) && PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0) != FALSE;
}

bool HoverControl(HWND parent, int id)
{
    HWND control = GetDlgItem(parent, id);
    RECT rc = {};
    if (!control || !GetWindowRect(control, &rc)) return false;
    return SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2) != FALSE;
}

bool HasWindowShape(HWND window)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    int kind = GetWindowRgn(window, region);
    DeleteObject(region);
    return kind == SIMPLEREGION || kind == COMPLEXREGION;
}

void CloseWindow(HWND window)
{
    PostMessageW(window, WM_CLOSE, 0, 0);
}

void Pause(DWORD ms)
{
    Sleep(ms);
}

int DroppedRows(HWND combo)
{
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetComboBoxInfo(combo, &info) || !info.hwndList) return 0;
    DWORD_PTR item = 0, ignored = 0;
    if (!SendMessageTimeoutW(combo, CB_GETITEMHEIGHT, 0, 0, SMTO_ABORTIFHUNG, 5000, &item) || (LRESULT)item <= 0)
        return 0;
    SendMessageTimeoutW(combo, CB_SHOWDROPDOWN, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    RECT list = {};
    GetClientRect(info.hwndList, &list);
    const bool shown = IsWindowVisible(info.hwndList) != FALSE;
    SendMessageTimeoutW(combo, CB_SHOWDROPDOWN, FALSE, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    return shown ? (int)(list.bottom / (LONG)item) : 0;
}

}  // namespace drv
