// CFileFind: walks the entries that match a pattern. FindFile starts the search;
// each FindNextFile makes the next entry current and returns FALSE when that entry
// is the last one (which is then still valid):
//     BOOL more = finder.FindFile(pattern);
//     while (more) { more = finder.FindNextFile(); ... finder.GetFilePath() ... }
#pragma once
#include <windows.h>
#include "String.h"

class CTime;

class CFileFind {
public:
    CFileFind() = default;
    virtual ~CFileFind() { Close(); }
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    BOOL FindFile(const wchar_t* pattern = nullptr);
    BOOL FindNextFile();
    void Close();

    CString GetFileName() const { return m_current.cFileName; }
    CString GetFilePath() const { return m_root + m_current.cFileName; }
    CString GetFileTitle() const;
    // The folder searched, ending in "\".
    CString GetRoot() const { return m_root; }
    ULONGLONG GetLength() const
    {
        return ((ULONGLONG)m_current.nFileSizeHigh << 32) | m_current.nFileSizeLow;
    }
    BOOL GetLastWriteTime(FILETIME* time) const;
    BOOL GetLastWriteTime(CTime& time) const;
    BOOL IsDirectory() const { return (m_current.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    BOOL IsDots() const;
    BOOL IsReadOnly() const { return (m_current.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0; }
    BOOL IsHidden() const { return (m_current.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0; }

private:
    HANDLE m_find = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW m_current = {};
    WIN32_FIND_DATAW m_next = {};
    bool m_hasCurrent = false;
    bool m_hasNext = false;
    CString m_root;
};
