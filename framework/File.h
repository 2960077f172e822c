// CFile: a binary file over a Win32 handle. Nothing throws: operations report
// failure through their result and the handle is closed by the destructor.
#pragma once
#include <windows.h>
#include "String.h"

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };
    enum SeekPosition { begin = FILE_BEGIN, current = FILE_CURRENT, end = FILE_END };

    CFile() = default;
    virtual ~CFile() { Close(); }
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // modeCreate truncates an existing file unless modeNoTruncate is given.
    virtual BOOL Open(const wchar_t* path, UINT flags);
    virtual void Close();
    BOOL IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }

    // Bytes read; 0 at the end or on failure.
    UINT Read(void* buffer, UINT count);
    // TRUE only when every byte was written.
    BOOL Write(const void* buffer, UINT count);
    // New position, or -1 on failure.
    LONGLONG Seek(LONGLONG offset, UINT from);
    LONGLONG SeekToEnd() { return Seek(0, end); }
    BOOL SeekToBegin() { return Seek(0, begin) == 0; }
    LONGLONG GetPosition() const;
    // Length in bytes, or -1 when unknown.
    LONGLONG GetLength() const;
    BOOL SetLength(LONGLONG length);
    BOOL Flush();

    CString GetFilePath() const { return m_path; }
    CString GetFileName() const;
    CString GetFileTitle() const;

    static BOOL Remove(const wchar_t* path) { return DeleteFileW(path); }
    static BOOL Rename(const wchar_t* from, const wchar_t* to) { return MoveFileW(from, to); }

    HANDLE m_hFile = INVALID_HANDLE_VALUE;

protected:
    CString m_path;
};
