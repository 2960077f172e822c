// CFrameWnd: a program's top-level main window. Its class is registered under a
// fixed name of the program's choosing (other programs find the window by it).
// A frame lives on the heap and deletes itself once its window is gone; when it is
// the application's main window, its destruction ends the message loop.
#pragma once
#include "Wnd.h"

class CFrameWnd : public CWnd {
public:
    CFrameWnd() = default;

    // Registers the class once per module, with the framework's window procedure
    // behind the class's default one; FALSE when the name is taken by another module.
    static BOOL RegisterFrameClass(const wchar_t* className, UINT classStyle, HICON icon = nullptr,
                                   HCURSOR cursor = nullptr, HBRUSH background = nullptr);

    // A top-level window of the registered class, at the default position and size.
    BOOL Create(const wchar_t* className, const wchar_t* title, DWORD style = WS_OVERLAPPEDWINDOW,
                CWnd* parent = nullptr, HMENU menu = nullptr, DWORD exStyle = 0);

protected:
    void OnNcDestroy();
    void PostNcDestroy() override;

    DECLARE_MESSAGE_MAP()
};
