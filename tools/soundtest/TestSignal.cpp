#include "TestSignal.h"
#include <windows.h>
#include <cmath>
#include <cstring>
#include <algorithm>

namespace testsignal {

Channel Extract(const std::vector<unsigned char>& pcm, int channels, int bits, int rate, int channel)
{
    Channel c;
    c.rate = rate;
    int bytes = bits / 8;
    size_t frame = (size_t)channels * bytes;
    if (!frame) return c;
    for (size_t off = 0; off + frame <= pcm.size(); off += frame) {
        const unsigned char* p = &pcm[off + (size_t)channel * bytes];
        if (bits == 8) c.samples.push_back(((int)p[0] - 128) / 128.0);
        else c.samples.push_back((short)(p[0] | (p[1] << 8)) / 32768.0);
    }
    return c;
}

std::vector<double> WindowPeaks(const Channel& c, double windowSeconds)
{
    std::vector<double> peaks;
    size_t w = (size_t)(c.rate * windowSeconds);
    for (size_t i = 0; w && i + w <= c.samples.size(); i += w) {
        double m = 0;
        for (size_t j = i; j < i + w; ++j) m = std::max(m, std::fabs(c.samples[j]));
        peaks.push_back(m);
    }
    return peaks;
}

double ZeroCrossingHz(const Channel& c, size_t start, size_t count)
{
    if (count < 2 || start + count > c.samples.size()) return 0;
    int crossings = 0;
    for (size_t i = start + 1; i < start + count; ++i)
        if ((c.samples[i - 1] < 0) != (c.samples[i] < 0)) ++crossings;
    return crossings / 2.0 * c.rate / (double)count;
}

double LongestRun(const std::vector<double>& peaks, double windowSeconds, bool tone, double on, double off)
{
    int best = 0, run = 0;
    for (double p : peaks) {
        bool match = tone ? p > on : p < off;
        run = match ? run + 1 : 0;
        best = std::max(best, run);
    }
    return best * windowSeconds;
}

double MeasureToneHz(const Channel& c)
{
    size_t w = (size_t)(c.rate / 10);
    std::vector<double> hz;
    for (size_t i = 0; w && i + w <= c.samples.size(); i += w) {
        double peak = 0;
        for (size_t j = i; j < i + w; ++j) peak = std::max(peak, std::fabs(c.samples[j]));
        if (peak > ToneAmplitude * 0.8) hz.push_back(ZeroCrossingHz(c, i, w));
    }
    if (hz.empty()) return 0;
    std::sort(hz.begin(), hz.end());
    return hz[hz.size() / 2];
}

bool HasCleanToneWindows(const Channel& c, double hz, double tolerance, int windows)
{
    size_t w = (size_t)(c.rate / 10);
    int clean = 0;
    for (size_t i = 0; w && i + w <= c.samples.size(); i += w) {
        double peak = 0;
        for (size_t j = i; j < i + w; ++j) peak = std::max(peak, std::fabs(c.samples[j]));
        if (peak > ToneAmplitude * 0.8 && std::fabs(ZeroCrossingHz(c, i, w) - hz) <= tolerance) ++clean;
    }
    return clean >= windows;
}

bool FindTone(const Channel& c, size_t& start, size_t& count)
{
    const double window = 0.05;
    std::vector<double> peaks = WindowPeaks(c, window);
    size_t w = (size_t)(c.rate * window);
    int best = 0, bestEnd = 0, run = 0;
    for (size_t i = 0; i < peaks.size(); ++i) {
        run = peaks[i] > ToneAmplitude / 2 ? run + 1 : 0;
        if (run > best) { best = run; bestEnd = (int)i + 1; }
    }
    if (best < 3) return false;
    // Leave out the edge windows, which may hold the fade of the start or end.
    start = (size_t)(bestEnd - best + 1) * w;
    count = (size_t)(best - 2) * w;
    return true;
}

bool ReadWav(const std::wstring& path, WavFile& wav)
{
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size = {};
    GetFileSizeEx(f, &size);
    std::vector<unsigned char> all((size_t)size.QuadPart);
    DWORD got = 0;
    BOOL ok = all.empty() || ReadFile(f, all.data(), (DWORD)all.size(), &got, nullptr);
    CloseHandle(f);
    if (!ok || got != all.size() || all.size() < 12) return false;
    wav.fileSize = size.QuadPart;
    if (memcmp(&all[0], "RIFF", 4) || memcmp(&all[8], "WAVE", 4)) return false;
    memcpy(&wav.riffSize, &all[4], 4);
    size_t pos = 12;
    bool haveFormat = false;
    while (pos + 8 <= all.size()) {
        unsigned len;
        memcpy(&len, &all[pos + 4], 4);
        const unsigned char* body = &all[pos + 8];
        if (!memcmp(&all[pos], "fmt ", 4) && len >= 16 && pos + 8 + 16 <= all.size()) {
            wav.formatTag = body[0] | (body[1] << 8);
            wav.channels = body[2] | (body[3] << 8);
            memcpy(&wav.rate, body + 4, 4);
            memcpy(&wav.byteRate, body + 8, 4);
            wav.blockAlign = body[12] | (body[13] << 8);
            wav.bits = body[14] | (body[15] << 8);
            haveFormat = true;
        } else if (!memcmp(&all[pos], "data", 4)) {
            wav.dataSize = len;
            size_t avail = all.size() - (pos + 8);
            wav.data.assign(body, body + std::min<size_t>(len, avail));
            return haveFormat;
        }
        pos += 8 + len + (len & 1);
    }
    return false;
}

std::wstring TempPath(const wchar_t* name)
{
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

} // namespace testsignal
