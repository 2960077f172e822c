// A top-level window of the test process with a class and title of choice, on
// its own thread, as another suite program's main window would look to a
// program that searches for it.
#pragma once
#include <windows.h>
#include <atomic>
#include <string>
#include <thread>

namespace drv {

class FakeWindow {
public:
    FakeWindow(const std::wstring& cls, const std::wstring& title);
    ~FakeWindow();
    FakeWindow(const FakeWindow&) = delete;
    FakeWindow& operator=(const FakeWindow&) = delete;
    HWND Window() const { return m_window; }

private:
    HWND m_window = nullptr;
    DWORD m_threadId = 0;
    std::atomic<bool> m_ready{false};
    std::thread m_thread;
};

// Deletes a folder with everything in it; a missing folder is no error.
void RemoveTree(const std::wstring& folder);

}  // namespace drv
