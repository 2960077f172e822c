#include "Mp3FileSequence.h"
#include "ContinuationName.h"
#include <cstdlib>
#include <cwchar>

std::wstring CMp3FileSequence::ContinuationName(const std::wstring& path, int index)
{
    return ::ContinuationName(path, index, L".mp3");
}

bool CMp3FileSequence::Open(const std::wstring& path, DWORD disposition)
{
    m_file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
    if (m_file == INVALID_HANDLE_VALUE) {
        m_error = GetLastError();
        return false;
    }
    m_size = 0;
    return true;
}

bool CMp3FileSequence::Start(const std::wstring& path)
{
    Finish();
    m_path = path;
    m_continuations = 0;
    m_error = 0;
    // A graph started again writes its own file anew; anybody else's stays.
    const bool own = !m_created.empty() && _wcsicmp(m_created.c_str(), path.c_str()) == 0;
    if (!Open(path, own ? CREATE_ALWAYS : CREATE_NEW)) return false;
    m_created = path;
    return true;
}

bool CMp3FileSequence::StartNext()
{
    const std::wstring next = ContinuationName(m_path, m_continuations + 1);
    HANDLE current = m_file;
    const uint64_t size = m_size;
    m_file = INVALID_HANDLE_VALUE;
    if (!Open(next, CREATE_NEW)) {
        if (m_error != ERROR_FILE_EXISTS && m_error != ERROR_ALREADY_EXISTS) {
            if (current != INVALID_HANDLE_VALUE) CloseHandle(current);
            return false;
        }
        m_file = current;
        m_size = size;
        m_error = 0;
        return true;
    }
    if (current != INVALID_HANDLE_VALUE) CloseHandle(current);
    ++m_continuations;
    return true;
}

bool CMp3FileSequence::Write(const uint8_t* data, size_t bytes, const size_t* frameEnds, size_t frames)
{
    if (!IsOpen()) return false;
    size_t done = 0;
    while (done < bytes) {
        DWORD chunk = (DWORD)(bytes - done > 0x40000000 ? 0x40000000 : bytes - done);
        DWORD wrote = 0;
        BOOL ok = WriteFile(m_file, data + done, chunk, &wrote, nullptr);
        done += wrote;
        if (ok && wrote == chunk) continue;
        // A full disk first takes what fits and fails only the next write: ask
        // again for the reason, then keep whole frames only.
        if (ok) {
            ok = WriteFile(m_file, data + done, (DWORD)(bytes - done), &wrote, nullptr);
            done += wrote;
            if (ok && done == bytes) continue;
        }
        m_error = ok ? ERROR_DISK_FULL : GetLastError();
        size_t keep = 0;
        for (size_t i = 0; i < frames && frameEnds[i] <= done; ++i) keep = frameEnds[i];
        LARGE_INTEGER at;
        at.QuadPart = (LONGLONG)(m_size + keep);
        SetFilePointerEx(m_file, at, nullptr, FILE_BEGIN);
        SetEndOfFile(m_file);
        m_size += keep;
        return false;
    }
    m_size += bytes;
    return true;
}

void CMp3FileSequence::Finish()
{
    if (m_file != INVALID_HANDLE_VALUE) CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
}
