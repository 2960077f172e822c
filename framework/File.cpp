#include "File.h"

BOOL CFile::Open(const wchar_t* path, UINT flags)
{
    Close();
    if (!path || !*path) return FALSE;

    DWORD access = GENERIC_READ;
    if ((flags & 3) == modeWrite) access = GENERIC_WRITE;
    else if ((flags & 3) == modeReadWrite) access = GENERIC_READ | GENERIC_WRITE;

    DWORD share;
    switch (flags & 0x70) {
    case shareExclusive: share = 0; break;
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    case shareDenyNone: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;   // compatibility mode
    }

    DWORD disposition = OPEN_EXISTING;
    if (flags & modeCreate) disposition = (flags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;

    // Never inherited: programs we start must not hold our files open.
    m_hFile = CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE) return FALSE;
    m_path = path;
    return TRUE;
}

void CFile::Close()
{
    if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_path.Empty();
}

UINT CFile::Read(void* buffer, UINT count)
{
    DWORD got = 0;
    if (!IsOpen() || !buffer || !count) return 0;
    if (!ReadFile(m_hFile, buffer, count, &got, nullptr)) return 0;
    return got;
}

BOOL CFile::Write(const void* buffer, UINT count)
{
    if (!IsOpen()) return FALSE;
    if (!count) return TRUE;
    DWORD put = 0;
    return WriteFile(m_hFile, buffer, count, &put, nullptr) && put == count;
}

LONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    LARGE_INTEGER dist, pos;
    dist.QuadPart = offset;
    if (!IsOpen() || !SetFilePointerEx(m_hFile, dist, &pos, from)) return -1;
    return pos.QuadPart;
}

LONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER zero = {}, pos;
    if (!IsOpen() || !SetFilePointerEx(m_hFile, zero, &pos, FILE_CURRENT)) return -1;
    return pos.QuadPart;
}

LONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!IsOpen() || !GetFileSizeEx(m_hFile, &size)) return -1;
    return size.QuadPart;
}

BOOL CFile::SetLength(LONGLONG length)
{
    LONGLONG keep = GetPosition();
    if (keep < 0 || Seek(length, begin) < 0) return FALSE;
    BOOL ok = SetEndOfFile(m_hFile);
    Seek(keep < length ? keep : length, begin);
    return ok;
}

BOOL CFile::Flush()
{
    return IsOpen() && FlushFileBuffers(m_hFile);
}

CString CFile::GetFileName() const
{
    int cut = m_path.ReverseFind(L'\\');
    int slash = m_path.ReverseFind(L'/');
    if (slash > cut) cut = slash;
    return m_path.Mid(cut + 1);
}

CString CFile::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot >= 0 ? name.Left(dot) : name;
}
