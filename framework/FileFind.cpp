#include "FileFind.h"
#include "DateTime.h"

BOOL CFileFind::FindFile(const wchar_t* pattern)
{
    Close();
    CString pat = (pattern && *pattern) ? CString(pattern) : CString(L"*.*");
    int cut = pat.ReverseFind(L'\\');
    int slash = pat.ReverseFind(L'/');
    if (slash > cut) cut = slash;
    m_root = pat.Left(cut + 1);

    m_find = FindFirstFileW(pat, &m_next);
    m_hasNext = m_find != INVALID_HANDLE_VALUE;
    return m_hasNext;
}

BOOL CFileFind::FindNextFile()
{
    if (!m_hasNext) return FALSE;
    m_current = m_next;
    m_hasCurrent = true;
    m_hasNext = ::FindNextFileW(m_find, &m_next) != 0;
    return m_hasNext;
}

void CFileFind::Close()
{
    if (m_find != INVALID_HANDLE_VALUE) FindClose(m_find);
    m_find = INVALID_HANDLE_VALUE;
    m_hasCurrent = m_hasNext = false;
    m_current = WIN32_FIND_DATAW{};
    m_root.Empty();
}

CString CFileFind::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot >= 0 ? name.Left(dot) : name;
}

BOOL CFileFind::GetLastWriteTime(FILETIME* time) const
{
    if (!m_hasCurrent || !time) return FALSE;
    *time = m_current.ftLastWriteTime;
    return TRUE;
}

BOOL CFileFind::GetLastWriteTime(CTime& time) const
{
    if (!m_hasCurrent) return FALSE;
    time = CTime(m_current.ftLastWriteTime);
    return TRUE;
}

BOOL CFileFind::IsDots() const
{
    const wchar_t* n = m_current.cFileName;
    return IsDirectory() && n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0));
}
