#include "DriverMessageBox.h"
#include "DriverWindows.h"

namespace drv {

namespace {
const int kMessageTextId = 0xFFFF;
}

MessageBoxInfo WaitForMessageBox(DWORD processId, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        for (HWND window : FindTopWindows(L"#32770", L"", processId)) {
            HWND text = GetDlgItem(window, kMessageTextId);
            if (!text || !IsWindowVisible(window)) continue;
            MessageBoxInfo box;
            box.window = window;
            box.title = WindowText(window);
            box.text = WindowText(text);
            // A box whose owner is too busy to answer within the read's timeout
            // reads empty: look again rather than report a box without text.
            if (box.text.empty()) continue;
            return box;
        }
        if (GetTickCount() - start >= timeoutMs) return MessageBoxInfo();
        Sleep(50);
    }
}

bool AnswerMessageBox(const MessageBoxInfo& box, int buttonId)
{
    return box.window && ClickControl(box.window, buttonId);
}

}  // namespace drv
