#include "DriverListView.h"
#include <commctrl.h>
#include <algorithm>
#include "DriverWindows.h"

namespace drv {

namespace {

// A block of the list's process's memory, given back at the end.
class RemoteBlock {
public:
    RemoteBlock(HWND window, size_t size) : m_size(size)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        m_process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (m_process) m_address = VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBlock()
    {
        if (m_address) VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
        if (m_process) CloseHandle(m_process);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    bool Ok() const { return m_address != nullptr; }
    BYTE* Address() const { return static_cast<BYTE*>(m_address); }
    bool Write(size_t offset, const void* data, size_t size)
    {
        SIZE_T done = 0;
        return offset + size <= m_size && WriteProcessMemory(m_process, Address() + offset, data, size, &done) &&
               done == size;
    }
    bool Read(size_t offset, void* data, size_t size)
    {
        SIZE_T done = 0;
        return offset + size <= m_size && ReadProcessMemory(m_process, Address() + offset, data, size, &done) &&
               done == size;
    }

private:
    HANDLE m_process = nullptr;
    void* m_address = nullptr;
    size_t m_size;
};

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr)
{
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &answer)) return false;
    if (result) *result = (LRESULT)answer;
    return true;
}

bool SetRowState(HWND list, RemoteBlock& block, int row, UINT state, UINT mask)
{
    LVITEMW item = {};
    item.stateMask = mask;
    item.state = state;
    return block.Write(0, &item, sizeof(item)) && Send(list, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)block.Address());
}

}  // namespace

int ListRowCount(HWND list)
{
    LRESULT count = 0;
    return Send(list, LVM_GETITEMCOUNT, 0, 0, &count) ? (int)count : 0;
}

std::wstring ListCellText(HWND list, int row, int column)
{
    const int capacity = 1024;
    RemoteBlock block(list, sizeof(LVITEMW) + capacity * sizeof(wchar_t));
    if (!block.Ok()) return L"";
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(block.Address() + sizeof(LVITEMW));
    item.cchTextMax = capacity;
    LRESULT length = 0;
    if (!block.Write(0, &item, sizeof(item)) ||
        !Send(list, LVM_GETITEMTEXTW, (WPARAM)row, (LPARAM)block.Address(), &length) || length <= 0)
        return L"";
    std::wstring text((size_t)length, L'\0');
    if (!block.Read(sizeof(LVITEMW), &text[0], (size_t)length * sizeof(wchar_t))) return L"";
    return text;
}

std::vector<std::vector<std::wstring>> ListRows(HWND list, int columns)
{
    std::vector<std::vector<std::wstring>> rows;
    for (int r = 0, count = ListRowCount(list); r < count; ++r) {
        std::vector<std::wstring> cells;
        for (int c = 0; c < columns; ++c) cells.push_back(ListCellText(list, r, c));
        rows.push_back(cells);
    }
    return rows;
}

bool ListRowChecked(HWND list, int row)
{
    LRESULT state = 0;
    return Send(list, LVM_GETITEMSTATE, (WPARAM)row, LVIS_STATEIMAGEMASK, &state) && ((state >> 12) & 0xF) == 2;
}

bool ClickListRowCheckBox(HWND list, int row)
{
    if (!IsWindowVisible(list) || !IsWindowEnabled(list)) return false;
    RemoteBlock block(list, sizeof(LVHITTESTINFO) + sizeof(RECT));
    if (!block.Ok() || !Send(list, LVM_ENSUREVISIBLE, (WPARAM)row, FALSE)) return false;
    RECT bounds = {LVIR_BOUNDS, 0, 0, 0};
    LRESULT ok = 0;
    if (!block.Write(0, &bounds, sizeof bounds) ||
        !Send(list, LVM_GETITEMRECT, (WPARAM)row, (LPARAM)block.Address(), &ok) || !ok ||
        !block.Read(0, &bounds, sizeof bounds))
        return false;
    // The check box is the row's state image, near the left edge of its first column.
    const int y = (bounds.top + bounds.bottom) / 2;
    for (int x = std::max(0, (int)bounds.left); x < bounds.left + 64; ++x) {
        LVHITTESTINFO hit = {};
        hit.pt = {x, y};
        LRESULT item = -1;
        if (!block.Write(0, &hit, sizeof hit) ||
            !Send(list, LVM_HITTEST, 0, (LPARAM)block.Address(), &item) || !block.Read(0, &hit, sizeof hit))
            return false;
        if (item != row || !(hit.flags & LVHT_ONITEMSTATEICON)) continue;
        // The middle of the box, not its edge.
        int right = x;
        for (;; ++right) {
            LVHITTESTINFO next = {};
            next.pt = {right + 1, y};
            if (!block.Write(0, &next, sizeof next) ||
                !Send(list, LVM_HITTEST, 0, (LPARAM)block.Address(), &item) ||
                !block.Read(0, &next, sizeof next) || item != row || !(next.flags & LVHT_ONITEMSTATEICON))
                break;
        }
        const LPARAM at = MAKELPARAM((x + right) / 2, y);
        return PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at) && PostMessageW(list, WM_LBUTTONUP, 0, at);
    }
    return false;
}

bool SelectListRows(HWND list, const std::vector<int>& rows)
{
    RemoteBlock block(list, sizeof(LVITEMW));
    if (!block.Ok() || !SetRowState(list, block, -1, 0, LVIS_SELECTED | LVIS_FOCUSED)) return false;
    for (int row : rows)
        if (!SetRowState(list, block, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED)) return false;
    return true;
}

bool ChoosePopupMenuItem(DWORD processId, int downs, DWORD timeoutMs)
{
    HWND menu = nullptr;
    for (DWORD start = GetTickCount(); !menu; Sleep(20)) {
        for (HWND candidate : FindTopWindows(L"#32768", L"", processId))
            if (IsWindowVisible(candidate)) menu = candidate;
        if (!menu && GetTickCount() - start >= timeoutMs) return false;
    }
    // The menu's own loop reads the keys from its thread's queue.
    for (int i = 0; i < downs; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    return WaitForWindowGone(menu, timeoutMs) || !IsWindowVisible(menu);
}

}  // namespace drv
