#include "MergeMp3.h"

namespace {

const DWORD CopyBlock = 102400;

uint64_t SizeOf(const CString& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return 0;
    return (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

CMergeMp3::~CMergeMp3() { Wait(); }

BOOL CMergeMp3::Start(HWND owner, const std::vector<CString>* sources, const CString& output)
{
    Wait();
    m_owner = owner;
    m_sources = sources;
    m_percent = 0;
    m_cancel = 0;
    m_created = false;
    m_output = output;
    m_thread = CreateThread(nullptr, 0, &CMergeMp3::ThreadMain, this, 0, nullptr);
    return m_thread != nullptr;
}

void CMergeMp3::Wait()
{
    m_cancel = 1;
    while (m_thread) {
        DWORD code = 0;
        if (GetExitCodeThread(m_thread, &code) && code != STILL_ACTIVE) {
            CloseHandle(m_thread);
            m_thread = nullptr;
            break;
        }
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(50);
    }
}

DWORD WINAPI CMergeMp3::ThreadMain(void* self)
{
    static_cast<CMergeMp3*>(self)->Run();
    return 0;
}

void CMergeMp3::Run()
{
    int result = 0;
    HANDLE out = CreateFileW(m_output, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out != INVALID_HANDLE_VALUE) {
        m_created = true;
        bool writeFailed = false;
        m_total = 0;
        m_copied = 0;
        for (const CString& source : *m_sources) m_total += SizeOf(source);
        std::vector<char> buffer(CopyBlock);
        for (const CString& source : *m_sources) {
            uint64_t size = SizeOf(source);
            HANDLE in = CreateFileW(source, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
            if (in == INVALID_HANDLE_VALUE) continue;   // left out; the others are still joined
            while (size > 0 && !m_cancel) {
                DWORD got = 0;
                const DWORD want = DWORD(size < CopyBlock ? size : CopyBlock);
                if (!ReadFile(in, buffer.data(), want, &got, nullptr) || got < 1) break;
                DWORD put = 0;
                if (!WriteFile(out, buffer.data(), got, &put, nullptr) || put != got) {
                    writeFailed = true;   // a full disk: the merged file is not whole
                    break;
                }
                size -= got;
                m_copied += got;
                m_percent = m_total ? int(m_copied * 100 / m_total) : 100;
            }
            CloseHandle(in);
            if (m_cancel || writeFailed) break;
        }
        CloseHandle(out);
        result = m_cancel || writeFailed ? 0 : 1;
    }
    PostMessageW(m_owner, WM_MERGE_DONE, (WPARAM)result, 0);
}
