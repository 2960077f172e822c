// SonelleDriver: the driver's command-line front end, for scripts and by hand.
//   SonelleDriver window <class> <title> [timeout ms]   prints the window handle
//   SonelleDriver click <window> <control id>
//   SonelleDriver text <window> [control id]            prints the text
//   SonelleDriver settext <window> <control id> <text>
//   SonelleDriver msgbox [timeout ms]                   prints title and text
//   SonelleDriver answer <button id> [timeout ms]
//   SonelleDriver close <window>
//   SonelleDriver command <window> <menu item id>       as choosing the menu item
//   SonelleDriver hover <window> <control id>           the pointer over the control
//   SonelleDriver key <window> <virtual key>            posts a key press (decimal)
//   SonelleDriver reg <HKLM|HKCU> <key> <value>          prints the value
//   SonelleDriver page <window>                         prints the shown page's handle
//   SonelleDriver pageclick <window> <control id>        clicks a control of the shown page
//   SonelleDriver combo <window> <control id> <text>     picks the entry with that text
//   SonelleDriver picture <window> <file.bmp>            saves what the window shows
//   SonelleDriver screensaver [0|1]                      sets it; the exit code is
//                                                        the screen saver's state
// Window handles are hexadecimal. Exit code 0 on success, 1 on failure, 2 on misuse.
#include "Driver.h"
#include <cstdio>
#include <cwchar>
#include <cstdlib>

namespace {
HWND ParseWindow(const wchar_t* text)
{
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(wcstoull(text, nullptr, 16)));
}

DWORD ParseTimeout(int argc, wchar_t** argv, int index)
{
    return argc > index ? (DWORD)wcstoul(argv[index], nullptr, 10) : 5000;
}

int Usage()
{
    fwprintf(stderr, L"usage: SonelleDriver window|click|text|settext|msgbox|answer|command|hover|key|close|reg|page|pageclick|combo|picture|screensaver ...\n");
    return 2;
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) return Usage();
    const std::wstring command = argv[1];
    if (command == L"window" && argc >= 4) {
        HWND window = drv::WaitForWindow(argv[2], argv[3], 0, ParseTimeout(argc, argv, 4));
        if (!window) return 1;
        wprintf(L"%I64x\n", (unsigned long long)reinterpret_cast<UINT_PTR>(window));
        return 0;
    }
    if (command == L"click" && argc >= 4)
        return drv::ClickControl(ParseWindow(argv[2]), _wtoi(argv[3])) ? 0 : 1;
    if (command == L"text" && argc >= 3) {
        HWND window = ParseWindow(argv[2]);
        std::wstring text = argc >= 4 ? drv::ControlText(window, _wtoi(argv[3])) : drv::WindowText(window);
        wprintf(L"%ls\n", text.c_str());
        return 0;
    }
    if (command == L"settext" && argc >= 5)
        return drv::SetControlText(ParseWindow(argv[2]), _wtoi(argv[3]), argv[4]) ? 0 : 1;
    if (command == L"msgbox") {
        drv::MessageBoxInfo box = drv::WaitForMessageBox(0, ParseTimeout(argc, argv, 2));
        if (!box.window) return 1;
        wprintf(L"%ls\n%ls\n", box.title.c_str(), box.text.c_str());
        return 0;
    }
    if (command == L"answer" && argc >= 3) {
        drv::MessageBoxInfo box = drv::WaitForMessageBox(0, ParseTimeout(argc, argv, 3));
        return drv::AnswerMessageBox(box, _wtoi(argv[2])) ? 0 : 1;
    }
    if (command == L"command" && argc >= 4)
        return drv::SendMenuCommand(ParseWindow(argv[2]), _wtoi(argv[3])) ? 0 : 1;
    if (command == L"hover" && argc >= 4)
        return drv::HoverControl(ParseWindow(argv[2]), _wtoi(argv[3])) ? 0 : 1;
    if (command == L"close" && argc >= 3) {
        drv::CloseWindow(ParseWindow(argv[2]));
        return 0;
    }
    if (command == L"key" && argc >= 4)
        return PostMessageW(ParseWindow(argv[2]), WM_KEYDOWN, (WPARAM)_wtoi(argv[3]), 0) ? 0 : 1;
    if (command == L"reg" && argc >= 5) {
        HKEY root = _wcsicmp(argv[2], L"HKLM") == 0 ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
        std::wstring text;
        DWORD number = 0;
        if (drv::RegReadString(root, argv[3], argv[4], &text))
            wprintf(L"%ls\n", text.c_str());
        else if (drv::RegReadDword(root, argv[3], argv[4], &number))
            wprintf(L"%lu\n", number);
        else
            return 1;
        return 0;
    }
    if (command == L"page" && argc >= 3) {
        HWND page = drv::ShownPage(ParseWindow(argv[2]));
        if (!page) return 1;
        wprintf(L"%I64x\n", (unsigned long long)reinterpret_cast<UINT_PTR>(page));
        return 0;
    }
    if (command == L"pageclick" && argc >= 4) return drv::ClickOnPage(ParseWindow(argv[2]), _wtoi(argv[3])) ? 0 : 1;
    if (command == L"combo" && argc >= 5) return drv::PickComboText(ParseWindow(argv[2]), _wtoi(argv[3]), argv[4]) ? 0 : 1;
    if (command == L"picture" && argc >= 4) return drv::SaveWindowPicture(ParseWindow(argv[2]), argv[3]) ? 0 : 1;
    if (command == L"screensaver") {
        // A fresh process sees the session's setting, not a cached copy.
        if (argc >= 3) SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, _wtoi(argv[2]) != 0, nullptr, 0);
        BOOL active = FALSE;
        if (!SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0)) return 2;
        return active ? 1 : 0;
    }
    return Usage();
}
