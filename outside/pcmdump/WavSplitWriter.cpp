#include "WavSplitWriter.h"
#include "ContinuationName.h"
#include <cstring>

namespace {

const DWORD kHeaderBytes = 44;

void Put32(uint8_t* p, uint32_t v) { memcpy(p, &v, 4); }
void Put16(uint8_t* p, uint16_t v) { memcpy(p, &v, 2); }

void MakeHeader(uint8_t* h, const PcmLayout& f, uint32_t dataBytes)
{
    memcpy(h, "RIFF", 4);
    Put32(h + 4, 36 + dataBytes);
    memcpy(h + 8, "WAVEfmt ", 8);
    Put32(h + 16, 16);
    Put16(h + 20, 1);
    Put16(h + 22, (uint16_t)f.channels);
    Put32(h + 24, (uint32_t)f.rate);
    Put32(h + 28, (uint32_t)(f.rate * f.BlockAlign()));
    Put16(h + 32, (uint16_t)f.BlockAlign());
    Put16(h + 34, (uint16_t)f.bits);
    memcpy(h + 36, "data", 4);
    Put32(h + 40, dataBytes);
}

} // namespace

uint64_t CWavSplitWriter::MaxDataBytes(int blockAlign)
{
    uint64_t max = 0xFFFFFFFFull - 36;
    return blockAlign > 0 ? max - max % (uint64_t)blockAlign : max;
}

std::wstring CWavSplitWriter::ContinuationPath(const std::wstring& path, int index)
{
    return ContinuationName(path, index, L".wav");
}

void CWavSplitWriter::SetSplit(bool enabled, uint64_t limitBytes)
{
    m_splitEnabled = enabled;
    m_limit = limitBytes;
}

bool CWavSplitWriter::Open(const std::wstring& path, const PcmLayout& format)
{
    Finish();
    m_path = path;
    m_format = format;
    m_total = 0;
    m_continuations = 0;
    m_failed = false;
    m_error = 0;
    m_continuationTaken = false;
    m_file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
    if (m_file == INVALID_HANDLE_VALUE) {
        Fail();
        return false;
    }
    m_created = GetLastError() != ERROR_ALREADY_EXISTS;
    // An empty file holds nothing to keep: it is the caller's reservation of the
    // name (a recording creates its file before naming it) and becomes a WAV even
    // when no sound comes.
    LARGE_INTEGER size = {};
    m_empty = m_created || (GetFileSizeEx(m_file, &size) && size.QuadPart == 0);
    m_filePath = path;
    m_fileBytes = 0;
    m_committed = false;
    return true;
}

bool CWavSplitWriter::Start(const std::wstring& path, const PcmLayout& format)
{
    return Open(path, format) && Commit();
}

bool CWavSplitWriter::Commit()
{
    if (m_committed) return true;
    LARGE_INTEGER zero = {};
    uint8_t header[kHeaderBytes];
    MakeHeader(header, m_format, 0);
    if (!SetFilePointerEx(m_file, zero, nullptr, FILE_BEGIN) || !SetEndOfFile(m_file) ||
        !WriteRaw(header, kHeaderBytes)) {
        Fail();
        // A file without its whole header is no WAV: one we created is not left behind.
        CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
        if (m_created) DeleteFileW(m_filePath.c_str());
        return false;
    }
    m_committed = true;
    if (m_listener) m_listener->FileStarted(m_filePath, m_format);
    return true;
}

bool CWavSplitWriter::OpenContinuation()
{
    const std::wstring next = ContinuationPath(m_path, m_continuations + 1);
    HANDLE h = CreateFileW(next.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS) {
            // An older file has the name: it is kept, and the sound goes on in the
            // current file as far as a WAV can hold.
            m_continuationTaken = true;
            return true;
        }
        Fail();
        return false;
    }
    CloseFile();
    m_file = h;
    m_filePath = next;
    m_created = true;
    m_empty = true;
    m_committed = false;
    m_fileBytes = 0;
    if (!Commit()) return false;
    ++m_continuations;
    return true;
}

void CWavSplitWriter::Fail()
{
    if (!m_failed) m_error = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
    m_failed = true;
}

DWORD CWavSplitWriter::WriteAll(const void* data, DWORD bytes)
{
    // A short write is tried on until the system names its error (a full disk
    // first takes what fits, then fails with ERROR_DISK_FULL).
    DWORD done = 0;
    while (done < bytes) {
        DWORD written = 0;
        SetLastError(0);
        if (!WriteFile(m_file, (const uint8_t*)data + done, bytes - done, &written, nullptr) || written == 0 ||
            written > bytes - done)
            break;
        done += written;
    }
    return done;
}

bool CWavSplitWriter::WriteRaw(const void* data, DWORD bytes)
{
    if (WriteAll(data, bytes) == bytes) return true;
    Fail();
    return false;
}

bool CWavSplitWriter::WriteSound(const uint8_t* data, DWORD bytes)
{
    DWORD done = WriteAll(data, bytes);
    if (done == bytes) {
        m_fileBytes += bytes;
        m_total += bytes;
        if (m_listener) m_listener->DataWritten(data, bytes);
        return true;
    }
    Fail();
    // Keep the whole frames that reached the file and cut off a partial one, so
    // the header describes the file exactly.
    uint64_t reached = m_fileBytes + done;
    uint64_t kept = reached - reached % (uint64_t)m_format.BlockAlign();
    if (m_listener && kept > m_fileBytes) m_listener->DataWritten(data, (size_t)(kept - m_fileBytes));
    m_total = m_total - m_fileBytes + kept;
    m_fileBytes = kept;
    LARGE_INTEGER end;
    end.QuadPart = (LONGLONG)(kHeaderBytes + m_fileBytes);
    if (SetFilePointerEx(m_file, end, nullptr, FILE_BEGIN)) SetEndOfFile(m_file);
    RefreshHeader();
    return false;
}

bool CWavSplitWriter::Write(const uint8_t* data, size_t bytes)
{
    if (!IsOpen() || m_failed) return false;
    uint64_t block = (uint64_t)m_format.BlockAlign();
    uint64_t maxBytes = MaxDataBytes((int)block);
    uint64_t limit = maxBytes;
    if (m_splitEnabled && m_limit) {
        limit = m_limit - m_limit % block;
        if (limit < block) limit = block;
        if (limit > maxBytes) limit = maxBytes;
    }
    if (!Commit()) return false;
    while (bytes) {
        if (m_continuationTaken) limit = maxBytes;
        if (m_fileBytes >= limit) {
            // Also without a split limit: a WAV cannot describe more, so going on in
            // a continuation file is the only way to keep the sound.
            if (m_continuationTaken || !OpenContinuation()) {
                if (m_continuationTaken) SetLastError(ERROR_FILE_EXISTS);
                Fail();
                return false;
            }
            continue;
        }
        uint64_t room = limit - m_fileBytes;
        DWORD now = (DWORD)(bytes < room ? bytes : room);
        if (!WriteSound(data, now)) return false;
        data += now;
        bytes -= now;
    }
    // At every write: a recording that is killed leaves a header that describes
    // all of its sound.
    RefreshHeader();
    return true;
}

void CWavSplitWriter::RefreshHeader()
{
    if (!IsOpen() || !m_committed) return;
    uint8_t header[kHeaderBytes];
    MakeHeader(header, m_format, (uint32_t)m_fileBytes);
    LARGE_INTEGER zero = {}, end = {};
    SetFilePointerEx(m_file, zero, &end, FILE_CURRENT);
    SetFilePointerEx(m_file, zero, nullptr, FILE_BEGIN);
    DWORD written = 0;
    WriteFile(m_file, header, kHeaderBytes, &written, nullptr);
    SetFilePointerEx(m_file, end, nullptr, FILE_BEGIN);
}

void CWavSplitWriter::CloseFile()
{
    if (!IsOpen()) return;
    // A file that got no sound: ours becomes an empty WAV, an older one stays untouched.
    if (!m_committed && m_empty && !Commit()) return;
    bool committed = m_committed;
    RefreshHeader();
    CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
    m_committed = false;
    if (committed && m_listener) m_listener->FileFinished();
}

void CWavSplitWriter::Finish()
{
    CloseFile();
}
