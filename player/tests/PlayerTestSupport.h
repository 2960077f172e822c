// Helpers of the player tests: where the build and the sox/lame fixtures are, a
// notify window that records what the player posts, the sink probe that hears
// what the player plays, and measurements of that sound.
#pragma once
#include <windows.h>
#include <atomic>
#include <string>
#include <thread>
#include <vector>
#include "TestSignal.h"

namespace playertest {

// The build's bin folder (ending in "\"): the tests run from it and Tunlet.exe is there.
std::wstring BinFolder();
// A file made by make-fixtures.sh.
std::wstring Fixture(const wchar_t* name);

// Handles this thread's messages for about `ms` milliseconds.
void PumpFor(DWORD ms);
// Pumps until done() or the time is up; true when done() became true.
template <class Done>
bool PumpUntil(Done done, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (done()) return true;
        if (GetTickCount64() >= end) return false;
        PumpFor(10);
    }
}

// A hidden top-level window that records the messages posted to it.
class CNotifyWindow {
public:
    struct Received {
        UINT message;
        WPARAM wParam;
        ULONGLONG tick;
    };
    CNotifyWindow();
    ~CNotifyWindow();
    HWND Handle() const { return m_hWnd; }
    void Destroy();
    // Pumps until a message with this number (and wParam, unless -1) arrived after
    // the index `from`; its index, or -1 after the time-out.
    int WaitFor(UINT message, int wParam, DWORD timeoutMs, size_t from = 0);
    int Count(UINT message, int wParam = -1) const;
    const std::vector<Received>& Messages() const { return m_received; }

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND m_hWnd = nullptr;
    std::vector<Received> m_received;
};

// Records "Monitor of Sonelle_Monitor_Out" (what the sink plays) on a thread of its
// own, 44100 Hz, 16 bits, stereo. The test process plays nothing itself.
class CSinkProbe {
public:
    ~CSinkProbe();
    bool Start();
    // Stops and returns the left channel; `startTick` is when recording began.
    testsignal::Channel Stop();
    ULONGLONG StartTick() const { return m_startTick; }

private:
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    HANDLE m_abort = nullptr;
    std::vector<unsigned char> m_pcm;
    ULONGLONG m_startTick = 0;
    bool m_ok = false;
};

// Wave-in id of the device with that name, or -1.
int WaveInDevice(const wchar_t* name);

// The longest stretch whose 20 ms windows have an RMS above `threshold`.
struct SoundRun {
    double startSeconds = 0, seconds = 0;
    size_t start = 0, count = 0;  // samples
};
SoundRun FindSound(const testsignal::Channel& c, double threshold);
// Measures over the middle of a run (its edges may hold fades).
double RunHz(const testsignal::Channel& c, const SoundRun& run);
double RunRms(const testsignal::Channel& c, const SoundRun& run);
// Mean power of the frequencies lo..hi Hz (step Hz apart) over the middle of a run,
// and the power of one frequency, by the Goertzel filter.
double BandPower(const testsignal::Channel& c, const SoundRun& run, double lo, double hi, double step);
double TonePower(const testsignal::Channel& c, const SoundRun& run, double hz);
double Decibels(double ratio);

// The filter modules the player creates by class id, registered in the sandbox.
void RegisterPlayerFilters();

// Process id of a window's owner.
DWORD WindowProcess(HWND wnd);
// Waits for a process to end; true when it ended in time.
bool WaitProcessEnd(DWORD pid, DWORD timeoutMs);
// Player windows of every process.
std::vector<HWND> PlayerWindows();
// Ends every player still running (tests start from none).
void EndAllPlayers();

} // namespace playertest
