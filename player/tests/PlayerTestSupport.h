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
    // When the frame (sample index of the returned channel) reached the probe,
    // from the arrival of its block: lost blocks before it do not shift it.
    double FrameTick(size_t frame) const;

private:
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    HANDLE m_abort = nullptr;
    std::vector<unsigned char> m_pcm;
    std::vector<std::pair<size_t, ULONGLONG>> m_arrivals;  // frames so far, tick of arrival
    ULONGLONG m_startTick = 0;
    bool m_ok = false;
};

// What the sink played, cut into 50 ms windows; the windows whose RMS is above a
// threshold hold sound. A busy machine makes gaps in the sink (a late renderer)
// and loses blocks in the probe, so the measures take medians over the sound
// windows and lengths are sums of them, not one unbroken run.
struct Heard {
    static constexpr double kWindowSeconds = 0.05;
    testsignal::Channel channel;
    std::vector<size_t> windows;   // first sample of each sound window
    size_t windowSamples = 0;
    double SoundSeconds() const { return windows.size() * kWindowSeconds; }
    // Time of the first sound window from the start of the recording; -1 without sound.
    double FirstSoundSeconds() const;
};
Heard Analyze(const testsignal::Channel& c, double threshold);
// Medians over the sound windows whose neighbours hold sound too (edges and gaps
// left out).
double MedianHz(const Heard& h);
double MedianRms(const Heard& h);
// Power of one frequency, and the mean power of lo..hi Hz (`step` apart), in a
// Hann-weighted window by the Goertzel filter; medians over the windows.
double MedianTonePower(const Heard& h, double hz);
double MedianBandPower(const Heard& h, double lo, double hi, double step);
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
