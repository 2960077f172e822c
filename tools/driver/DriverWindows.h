// Finding top-level windows and working their controls from outside.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace drv {

// Top-level windows with this class and title (empty = any), optionally only
// those of one process (0 = any), visible or not.
std::vector<HWND> FindTopWindows(const std::wstring& cls, const std::wstring& title,
                                 DWORD processId = 0);
// Waits up to timeoutMs for the first such window; null when none appeared.
HWND WaitForWindow(const std::wstring& cls, const std::wstring& title, DWORD processId,
                   DWORD timeoutMs);
// Waits up to timeoutMs until the window is visible (a dialog has its caption
// before its initialisation is over and is shown after it); the window, or null.
HWND WaitUntilShown(HWND window, DWORD timeoutMs);
// Waits up to timeoutMs until the window is gone.
bool WaitForWindowGone(HWND window, DWORD timeoutMs);

// How many entries the combo box's list shows when dropped (0 when it cannot be
// dropped); the list is closed again afterwards.
int DroppedRows(HWND combo);

// The first window of this class among all descendants of `parent` (a control
// that a skin wrapped in a frame of its own is found inside that frame).
HWND FindDescendant(HWND parent, const std::wstring& cls);

std::wstring WindowText(HWND window);
std::wstring WindowClass(HWND window);
std::wstring ControlText(HWND parent, int id);
bool SetControlText(HWND parent, int id, const std::wstring& text);
// Clicks a button as a user would: refused (false) when the control is missing,
// hidden, disabled or of no size. The click is posted, so a modal loop it opens cannot block
// the driver.
bool ClickControl(HWND parent, int id);
// True when the window has a region of its own (a skinned shape).
bool HasWindowShape(HWND window);
// Posts WM_CLOSE, as the window's close command does.
// Posts a menu command (WM_COMMAND with the item id), as choosing the item does.
bool SendMenuCommand(HWND window, int id);
// Puts the mouse pointer over the middle of a control (tips show for it).
bool HoverControl(HWND parent, int id);
void CloseWindow(HWND window);
// Lets the target's posted work run (the driver keeps no windows of its own).
void Pause(DWORD ms);

}  // namespace drv
