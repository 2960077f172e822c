#include "PlayerTestSupport.h"
#include <mmsystem.h>
#include <algorithm>
#include <cmath>
#include "ModuleLoader.h"
#include "PlayerProtocol.h"
#include "WaveInId.h"
#include "WaveInReader.h"

namespace playertest {

std::wstring BinFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.rfind(L'\\') + 1);
}

std::wstring Fixture(const wchar_t* name)
{
    return BinFolder() + L"..\\testdata\\player\\" + name;
}

void PumpFor(DWORD ms)
{
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        ULONGLONG now = GetTickCount64();
        if (now >= end) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, (DWORD)(end - now), QS_ALLINPUT);
    }
}

// ---- notify window --------------------------------------------------------------

CNotifyWindow::CNotifyWindow()
{
    static const wchar_t kClass[] = L"SonellePlayerTestNotify";
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    m_hWnd = CreateWindowExW(0, kClass, L"player test notify", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                             wc.hInstance, this);
}

CNotifyWindow::~CNotifyWindow()
{
    Destroy();
}

void CNotifyWindow::Destroy()
{
    if (m_hWnd) DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

LRESULT CALLBACK CNotifyWindow::Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hWnd, GWLP_USERDATA, (LONG_PTR)cs->lpCreateParams);
    }
    auto* self = reinterpret_cast<CNotifyWindow*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (self && (message == WM_PLAYER_STATUS || message == WM_PLAYER_ENDED)) {
        self->m_received.push_back({message, wParam, GetTickCount64()});
        return 0;
    }
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

int CNotifyWindow::WaitFor(UINT message, int wParam, DWORD timeoutMs, size_t from)
{
    int found = -1;
    PumpUntil(
        [&] {
            for (size_t i = from; i < m_received.size(); ++i) {
                if (m_received[i].message == message && (wParam < 0 || m_received[i].wParam == (WPARAM)wParam)) {
                    found = (int)i;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

int CNotifyWindow::Count(UINT message, int wParam) const
{
    int n = 0;
    for (const Received& r : m_received)
        if (r.message == message && (wParam < 0 || r.wParam == (WPARAM)wParam)) ++n;
    return n;
}

// ---- sink probe -----------------------------------------------------------------

CSinkProbe::~CSinkProbe()
{
    Stop();
}

bool CSinkProbe::Start()
{
    int device = testsignal::WaveInId(L"Monitor of Sonelle_Monitor_Out");
    if (device < 0) return false;
    m_abort = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_stop = false;
    m_pcm.clear();
    m_arrivals.clear();
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_ok = false;
    m_thread = std::thread([this, device, ready] {
        WAVEFORMATEX format = {WAVE_FORMAT_PCM, 2, 44100, 44100 * 4, 4, 16, 0};
        CWaveInReader reader;
        const DWORD bytes = 4096;
        m_ok = reader.Open((UINT)device, format, 32, bytes) == MMSYSERR_NOERROR;
        m_startTick = GetTickCount64();
        SetEvent(ready);
        if (!m_ok) return;
        std::vector<BYTE> block(bytes);
        while (!m_stop) {
            long got = reader.Read(block.data(), bytes, m_abort);
            if (got <= 0) break;
            m_pcm.insert(m_pcm.end(), block.begin(), block.begin() + got);
            m_arrivals.emplace_back(m_pcm.size() / 4, GetTickCount64());
        }
        reader.Close();
    });
    WaitForSingleObject(ready, 10000);
    CloseHandle(ready);
    return m_ok;
}

testsignal::Channel CSinkProbe::Stop()
{
    if (m_thread.joinable()) {
        m_stop = true;
        SetEvent(m_abort);
        m_thread.join();
    }
    if (m_abort) CloseHandle(m_abort);
    m_abort = nullptr;
    return testsignal::Extract(m_pcm, 2, 16, 44100, 0);
}

double CSinkProbe::FrameTick(size_t frame) const
{
    for (const auto& arrival : m_arrivals)
        if (frame < arrival.first) return (double)arrival.second - (double)(arrival.first - frame) * 1000.0 / 44100;
    return -1;
}

// ---- measurements ---------------------------------------------------------------

Heard Analyze(const testsignal::Channel& c, double threshold)
{
    Heard h;
    h.channel = c;
    h.windowSamples = (size_t)(c.rate * Heard::kWindowSeconds);
    const size_t w = h.windowSamples;
    for (size_t i = 0; w && i + w <= c.samples.size(); i += w) {
        double sum = 0;
        for (size_t j = i; j < i + w; ++j) sum += c.samples[j] * c.samples[j];
        if (std::sqrt(sum / w) > threshold) h.windows.push_back(i);
    }
    return h;
}

double Heard::FirstSoundSeconds() const
{
    return windows.empty() || !channel.rate ? -1.0 : (double)windows.front() / channel.rate;
}

namespace {

// Sound windows with sound on both sides.
std::vector<size_t> InnerWindows(const Heard& h)
{
    std::vector<size_t> inner;
    for (size_t k = 1; k + 1 < h.windows.size(); ++k)
        if (h.windows[k - 1] + h.windowSamples == h.windows[k] && h.windows[k] + h.windowSamples == h.windows[k + 1])
            inner.push_back(h.windows[k]);
    return inner;
}

double Median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double HannGoertzel(const testsignal::Channel& c, size_t start, size_t count, double hz)
{
    const double pi = 3.14159265358979;
    const double k = 2 * std::cos(2 * pi * hz / c.rate);
    double s1 = 0, s2 = 0;
    for (size_t i = 0; i < count; ++i) {
        double weight = 0.5 - 0.5 * std::cos(2 * pi * i / (count - 1));
        double s = c.samples[start + i] * weight + k * s1 - s2;
        s2 = s1;
        s1 = s;
    }
    return (s1 * s1 + s2 * s2 - k * s1 * s2) / ((double)count * count);
}

} // namespace

double MedianHz(const Heard& h)
{
    std::vector<double> hz;
    for (size_t start : InnerWindows(h)) hz.push_back(testsignal::ZeroCrossingHz(h.channel, start, h.windowSamples));
    return Median(hz);
}

double MedianRms(const Heard& h)
{
    std::vector<double> rms;
    for (size_t start : InnerWindows(h)) {
        double sum = 0;
        for (size_t i = start; i < start + h.windowSamples; ++i) sum += h.channel.samples[i] * h.channel.samples[i];
        rms.push_back(std::sqrt(sum / h.windowSamples));
    }
    return Median(rms);
}

double MedianTonePower(const Heard& h, double hz)
{
    std::vector<double> power;
    for (size_t start : InnerWindows(h)) power.push_back(HannGoertzel(h.channel, start, h.windowSamples, hz));
    return Median(power);
}

double MedianBandPower(const Heard& h, double lo, double hi, double step)
{
    std::vector<double> power;
    for (size_t start : InnerWindows(h)) {
        double sum = 0;
        int n = 0;
        for (double f = lo; f <= hi; f += step, ++n) sum += HannGoertzel(h.channel, start, h.windowSamples, f);
        power.push_back(n ? sum / n : 0);
    }
    return Median(power);
}

double Decibels(double ratio)
{
    return ratio > 0 ? 20 * std::log10(ratio) : -1000;
}

void RegisterPlayerFilters()
{
    testsignal::RegisterModule(L"NVAudioAnalyer.ax");
    testsignal::RegisterModule(L"NVNoiseReduction.ax");
}

// ---- processes ------------------------------------------------------------------

DWORD WindowProcess(HWND wnd)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    return pid;
}

bool WaitProcessEnd(DWORD pid, DWORD timeoutMs)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return true;  // already gone
    bool ended = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

std::vector<HWND> PlayerWindows()
{
    std::vector<HWND> found;
    for (HWND wnd = FindWindowExW(nullptr, nullptr, kPlayerWndClass, kPlayerWndTitle); wnd;
         wnd = FindWindowExW(nullptr, wnd, kPlayerWndClass, kPlayerWndTitle))
        found.push_back(wnd);
    return found;
}

void EndAllPlayers()
{
    for (HWND wnd : PlayerWindows()) {
        DWORD pid = WindowProcess(wnd);
        if (pid == GetCurrentProcessId()) continue;
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
        if (!process) continue;
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

} // namespace playertest
