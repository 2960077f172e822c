// The Edit page hosted in the test process: the main dialog's page frame with the
// page, the player program from the build folder, a folder of its own, WAV files
// written by the tests, and helpers for the page's modal dialogs.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>
#include "NewWizDialog.h"
#include "PageEdit.h"
#include "RecordPageSupport.h"

// Interleaved 16-bit samples of `channels` channels.
struct Pcm {
    int channels = 2, rate = 44100, bits = 16;
    std::vector<uint8_t> bytes;
    int64_t Frames() const { return (int64_t)bytes.size() / (channels * bits / 8); }
};
// A sine at `amplitude` of full scale (silence when 0), `seconds` long.
Pcm Tone(double hz, double seconds, double amplitude, int channels = 2, int rate = 44100, int bits = 16);
void Append(Pcm& to, const Pcm& more);
// Writes a plain PCM WAV (44-byte header).
bool WriteWav(const std::wstring& path, const Pcm& pcm);
std::vector<uint8_t> ReadAll(const std::wstring& path);
bool Exists(const std::wstring& path);
FILETIME WriteTime(const std::wstring& path);
void SetWriteTime(const std::wstring& path, const FILETIME& time);
// The data chunk of a WAV file (its header walked).
std::vector<uint8_t> WavData(const std::wstring& path);

// Runs `answer` on a helper thread while the test thread runs a modal step.
class CHelperThread {
public:
    explicit CHelperThread(std::function<void()> work) : m_thread(std::move(work)) {}
    ~CHelperThread() { m_thread.join(); }

private:
    std::thread m_thread;
};

// The visible top-level dialog ("#32770") of this process that has control `id`
// and, when given, the caption; null when none showed within the time.
HWND WaitForDialog(int id, const wchar_t* caption, DWORD timeoutMs);
// Clicks a button of a dialog of another thread.
void PressButton(HWND dialog, int id);
// Waits for a message box of this process and answers it; its text, or empty.
std::wstring AnswerMessageBox(int button, DWORD timeoutMs);

class EditPageFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;
    std::wstring Path(const wchar_t* name) const { return folder + name; }
    // Opens through the page, answering any message box with OK; the boxes' texts.
    std::vector<std::wstring> Open(const std::wstring& path);
    std::wstring TimeText() { return Text(page, CPageEdit::IDC_TIME); }
    std::wstring Cell(int row, int column);

    CNewWizDialog host{102};
    CPageEdit page;
    std::wstring folder;   // ending in "\"
};
