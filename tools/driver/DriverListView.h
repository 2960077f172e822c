// Reading and selecting the rows of another program's list view, and choosing an
// item of the popup menu it opens. A list view's item messages carry pointers that
// are not copied across processes, so their records live in the target's memory.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace drv {

int ListRowCount(HWND list);
// Text of one cell; empty when the row or column is missing.
std::wstring ListCellText(HWND list, int row, int column);
// Every row's first `columns` cells.
std::vector<std::vector<std::wstring>> ListRows(HWND list, int columns);
// State of a row's check box.
bool ListRowChecked(HWND list, int row);
// Toggles a row's check box as a user does: scrolls the row into view and clicks
// (button down and up) at the row's check box, found by the list's own hit test.
// False when the list has no check box at that row or did not answer.
bool ClickListRowCheckBox(HWND list, int row);
// Selects exactly these rows (none for an empty list), as a user's clicks would.
bool SelectListRows(HWND list, const std::vector<int>& rows);
// Waits for the process's popup menu, moves down `downs` items (separators are
// passed over) and chooses the one reached with Enter.
bool ChoosePopupMenuItem(DWORD processId, int downs, DWORD timeoutMs);

}  // namespace drv
