#include "DropDownList.h"

void FitDropDownList(HWND combo, int rows)
{
    if (!combo) return;
    // Closed, the window is the field: the list is a window of its own.
    RECT field = {};
    if (!GetWindowRect(combo, &field)) return;
    const LRESULT item = SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0);
    if (item == CB_ERR || item <= 0) return;
    // The list's frame takes a pixel above and below.
    const int height = (field.bottom - field.top) + rows * (int)item + 2;
    SetWindowPos(combo, nullptr, 0, 0, field.right - field.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
