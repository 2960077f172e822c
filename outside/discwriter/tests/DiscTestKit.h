// Helpers of the disc-library tests: the writer file of the test process,
// source files and CD-format WAVs, and a waiter for the completion callback.
#pragma once
#include <windows.h>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace disctest {

// The writer file of this test process (named to the libraries through their
// variable while the object lives); removed again at the end of a test.
class CWriterIni {
public:
    CWriterIni();
    ~CWriterIni();
    // One [WriterN] section per call, from "Key=Value" lines.
    void AddWriter(const std::vector<std::wstring>& lines);
    void WriteEmpty();   // a file without writers
    std::wstring Value(int writer, const wchar_t* key) const;
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path, m_previous;
    bool m_hadPrevious = false;
    int m_count = 0;
};

// Folder of the test program (the libraries sit there too).
std::wstring ProgramFolder();
// A fresh, empty folder under the temporary folder.
std::wstring FreshFolder(const std::wstring& name);
void RemoveTree(const std::wstring& folder);
bool WriteBytes(const std::wstring& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> ReadBytes(const std::wstring& path);
bool Exists(const std::wstring& path);
std::vector<std::wstring> FilesIn(const std::wstring& folder);

// A PCM WAV of a distinct, deterministic signal (`seed` tells them apart).
std::vector<unsigned char> MakeWav(double seconds, int rate = 44100, int channels = 2, int bits = 16, int seed = 1);

// The completion callback's record: how often, on which thread, with what.
class CBurnWaiter {
public:
    static void Callback(int status, void* context);
    // True when the callback came within `ms`.
    bool WaitDone(DWORD ms);
    int Calls() const { return m_calls; }
    int Status() const { return m_status; }
    DWORD Thread() const { return m_thread; }
    bool CameDuringStart() const { return m_duringStart; }

    // Wrap the start call: a callback while it runs is recorded as early.
    template <class F> int Start(F start)
    {
        std::unique_lock<std::recursive_timed_mutex> lock(m_startLock);
        m_inStart = true;
        const int started = start();
        m_inStart = false;
        return started;
    }

private:
    std::mutex m_lock;
    std::recursive_timed_mutex m_startLock;
    std::condition_variable m_done;
    bool m_inStart = false;
    bool m_duringStart = false;
    int m_calls = 0;
    int m_status = -1;
    DWORD m_thread = 0;
};

}  // namespace disctest
