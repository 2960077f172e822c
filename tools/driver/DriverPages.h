// Working the pages of a page host (the wizard) from outside: the page shown in
// a dialog, its controls, combo boxes picked by text, and pictures of windows.
#pragma once
#include <windows.h>
#include <string>

namespace drv {

// The visible child dialog ("#32770") of `dialog`: the page it shows; null when none.
HWND ShownPage(HWND dialog);
// The page ("#32770" child of `dialog`, shown or not) that holds control `id`.
HWND PageWithControl(HWND dialog, int id);
// Clicks control `id` of the shown page (as ClickControl does).
bool ClickOnPage(HWND dialog, int id);
// Selects the entry with exactly this text in combo box `id` of `parent` and
// tells the parent, as a user's choice would (the selection change, then the
// closing of the list when `closeUp`); false when there is no such entry.
bool PickComboText(HWND parent, int id, const std::wstring& text, bool closeUp = false);
// Saves what the window shows on the screen as a 24-bit bitmap file.
bool SaveWindowPicture(HWND window, const std::wstring& path);

}  // namespace drv
