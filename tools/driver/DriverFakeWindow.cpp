#include "DriverFakeWindow.h"

namespace drv {

FakeWindow::FakeWindow(const std::wstring& cls, const std::wstring& title)
    : m_thread([this, cls, title] {
          m_window = CreateWindowExW(0, cls.c_str(), title.c_str(), WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                                     nullptr);
          m_threadId = GetCurrentThreadId();
          m_ready = true;
          MSG msg;
          while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
          DestroyWindow(m_window);
      })
{
    while (!m_ready) Sleep(5);
}

FakeWindow::~FakeWindow()
{
    PostThreadMessageW(m_threadId, WM_QUIT, 0, 0);
    m_thread.join();
}

void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
            else DeleteFileW(path.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace drv
