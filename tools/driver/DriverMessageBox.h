// Message boxes of another program: find one, read its title and text, answer it.
#pragma once
#include <windows.h>
#include <string>

namespace drv {

struct MessageBoxInfo {
    HWND window = nullptr;
    std::wstring title;
    std::wstring text;
};

// Waits up to timeoutMs for a message box of the process (0 = any process).
// A message box is a "#32770" dialog with the static text control 0xFFFF.
MessageBoxInfo WaitForMessageBox(DWORD processId, DWORD timeoutMs);
// Presses the button with this id (IDOK, IDYES, IDNO, ...).
bool AnswerMessageBox(const MessageBoxInfo& box, int buttonId);

}  // namespace drv
