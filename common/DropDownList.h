// Drop-down lists that open to show their entries. A combo box's window height
// is its closed field plus the list it drops: placing one with the height of the
// field alone leaves a list a few pixels high that no entry fits in.
#pragma once
#include <windows.h>

// Entries a dropped list shows at least (all of them when there are fewer).
constexpr int kDropDownRows = 8;

// Gives `combo` (already placed, with its font) the height for its field and a
// list of `rows` entries; its place, width and field stay as they are.
void FitDropDownList(HWND combo, int rows = kDropDownRows);
