// Writes one recording as a PCM WAV file and, past a size limit, as continuation
// files "<drive><folder><title>_<n>.wav" (n = 1, 2, ...). The header of the open
// file is rewritten at every split, after every write and when the recording
// ends, so a process that dies leaves playable files that declare all their sound.
// A write that fails (a full disk) keeps the whole frames that reached the file,
// cuts off the rest and leaves a header that describes exactly what is there.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include "PcmConverter.h"
#include "WavFileListener.h"

class CWavSplitWriter {
public:
    CWavSplitWriter() = default;
    CWavSplitWriter(const CWavSplitWriter&) = delete;
    CWavSplitWriter& operator=(const CWavSplitWriter&) = delete;
    ~CWavSplitWriter() { Finish(); }

    // limitBytes 0: no limit chosen (files still end before the 4 GB a WAV can hold).
    void SetSplit(bool enabled, uint64_t limitBytes);
    // Set before Start; nullptr for none.
    void SetListener(IWavFileListener* listener) { m_listener = listener; }
    // Opens the first file without changing it; false when it cannot be opened or
    // created. An existing file is cut and given its header only when the first
    // sound arrives (or, for a file this writer created, when the recording ends),
    // so a recording that never starts leaves an older file as it was.
    bool Open(const std::wstring& path, const PcmLayout& format);
    // Open, then the header at once.
    bool Start(const std::wstring& path, const PcmLayout& format);
    // Appends sound bytes (whole frames are kept together in one file); false on a
    // write error, after which nothing more is written.
    bool Write(const uint8_t* data, size_t bytes);
    // Writes the current sizes into the open file's header.
    void RefreshHeader();
    // Final header and close.
    void Finish();

    bool IsOpen() const { return m_file != INVALID_HANDLE_VALUE; }
    // The first file did not exist before Open.
    bool CreatedFile() const { return m_created; }
    bool Failed() const { return m_failed; }
    // The system's error code of the failed write or creation (0 while none failed).
    DWORD LastError() const { return m_error; }
    int ContinuationCount() const { return m_continuations; }
    uint64_t TotalBytes() const { return m_total; }

    static std::wstring ContinuationPath(const std::wstring& path, int index);
    // Largest sound data one WAV file can describe, in whole frames.
    static uint64_t MaxDataBytes(int blockAlign);

private:
    // Writes the header of the open file from its start, cutting what was there.
    bool Commit();
    // A continuation file: created new, never over an older file.
    bool OpenContinuation();
    void CloseFile();
    DWORD WriteAll(const void* data, DWORD bytes);
    bool WriteRaw(const void* data, DWORD bytes);
    bool WriteSound(const uint8_t* data, DWORD bytes);
    void Fail();

    HANDLE m_file = INVALID_HANDLE_VALUE;
    std::wstring m_filePath;        // the open file
    bool m_created = false;
    bool m_empty = false;           // the open file was empty (or new) when opened
    bool m_committed = false;       // the open file has its header
    bool m_continuationTaken = false;   // the next continuation name belongs to an older file
    std::wstring m_path;
    PcmLayout m_format;
    bool m_splitEnabled = false;
    uint64_t m_limit = 0;
    uint64_t m_fileBytes = 0;       // sound bytes in the open file
    uint64_t m_total = 0;           // sound bytes over all files
    int m_continuations = 0;
    bool m_failed = false;
    DWORD m_error = 0;
    IWavFileListener* m_listener = nullptr;
};
