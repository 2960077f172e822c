// CMergeMp3: joins MP3 files byte for byte, in list order, into one file on a
// worker thread, and posts WM_MERGE_DONE to its owner when it ends. The merged
// file is created anew: a file already at its name is left alone (result 0).
#pragma once
#include "PublishMessages.h"
#include "String.h"

#include <atomic>
#include <cstdint>
#include <vector>

class CMergeMp3 {
public:
    CMergeMp3() = default;
    virtual ~CMergeMp3();
    CMergeMp3(const CMergeMp3&) = delete;
    CMergeMp3& operator=(const CMergeMp3&) = delete;

    // A previous worker is cancelled and awaited first. `sources` must stay
    // unchanged until WM_MERGE_DONE. TRUE when the worker started.
    BOOL Start(HWND owner, const std::vector<CString>* sources, const CString& output);
    // Cancels and returns when the worker has ended, dispatching messages meanwhile.
    void Wait();
    int GetPercent() const { return m_percent; }
    // Whether the last worker created its output file (read after WM_MERGE_DONE):
    // only then is a failed merge's file its own to delete.
    bool CreatedOutput() const { return m_created; }
    virtual void Run();

private:
    static DWORD WINAPI ThreadMain(void* self);

    CString m_output;
    HANDLE m_thread = nullptr;
    HWND m_owner = nullptr;
    std::atomic<int> m_percent{0};
    std::atomic<int> m_cancel{0};
    std::atomic<bool> m_created{false};
    const std::vector<CString>* m_sources = nullptr;
    uint64_t m_copied = 0, m_total = 0;
};
