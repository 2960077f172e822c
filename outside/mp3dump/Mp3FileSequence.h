// The files of one MP3 recording: the named file, then continuation files named
// "%s%s%s_%d.mp3" (drive, folder, title of the named file, 1, 2, ...). Only
// whole frames are stored: when the disk fills up in the middle of a write, the
// file is cut back to the last whole frame, so it decodes to its end. Every file
// is created anew: a file that is already there is never written over.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

class CMp3FileSequence {
public:
    ~CMp3FileSequence() { Finish(); }

    // Creates the named file; fails (ERROR_FILE_EXISTS) when a file of that name is
    // there, unless it is the one this sequence created last, which starts again.
    bool Start(const std::wstring& path);
    // Closes the current file and goes on in the next continuation file. When a
    // file has that name already, it stays as it is and the sound goes on in the
    // current file (the continuation count stays, so the names stay consecutive).
    bool StartNext();
    // Frames ending at the given offsets of `data` (ascending, the last one = bytes).
    bool Write(const uint8_t* data, size_t bytes, const size_t* frameEnds, size_t frames);
    void Finish();

    bool IsOpen() const { return m_file != INVALID_HANDLE_VALUE; }
    int ContinuationCount() const { return m_continuations; }
    DWORD LastError() const { return m_error; }

    static std::wstring ContinuationName(const std::wstring& path, int index);

private:
    bool Open(const std::wstring& path, DWORD disposition);

    std::wstring m_path;
    std::wstring m_created;   // the named file this sequence created last
    HANDLE m_file = INVALID_HANDLE_VALUE;
    uint64_t m_size = 0;
    int m_continuations = 0;
    DWORD m_error = 0;
};
