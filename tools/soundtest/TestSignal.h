// What the sandbox feeds into the capture device (scripts/signal-feed.sh): 1.0 s
// of a 1000 Hz sine at half full scale, then 0.5 s of silence, repeated. These
// helpers measure recorded samples against that pattern.
#pragma once
#include <vector>
#include <string>

namespace testsignal {

const double ToneHz = 1000.0;
const double ToneSeconds = 1.0;
const double SilenceSeconds = 0.5;
const double ToneAmplitude = 0.5;               // of full scale
const wchar_t* const CaptureDeviceName = L"Monitor of Sonelle_Capture_Feed";

// Mono samples as doubles in [-1, 1].
struct Channel {
    std::vector<double> samples;
    int rate = 0;
};

// One channel of interleaved 8-bit (unsigned) or 16-bit (signed) PCM.
Channel Extract(const std::vector<unsigned char>& pcm, int channels, int bits, int rate, int channel);

// Windows of `windowSeconds`: peak of each window.
std::vector<double> WindowPeaks(const Channel& c, double windowSeconds);

// Frequency by zero crossings over [start, start + count) samples.
double ZeroCrossingHz(const Channel& c, size_t start, size_t count);

// Longest run of windows with peak above `on` (tone) and below `off` (silence), in seconds.
double LongestRun(const std::vector<double>& peaks, double windowSeconds, bool tone, double on, double off);

// Median zero-crossing frequency of the 0.1 s windows that hold the tone; 0 if none.
double MeasureToneHz(const Channel& c);

// Live recordings on a busy machine may carry gaps; a clean 0.1 s window still
// shows the true pitch. True when at least `windows` tone windows measure hz ± tolerance.
bool HasCleanToneWindows(const Channel& c, double hz, double tolerance, int windows = 3);

// Index of the first sample of the longest tone run (whole windows), and its length.
bool FindTone(const Channel& c, size_t& start, size_t& count);

// A plain PCM WAV file: format and the data chunk. False when it does not parse.
struct WavFile {
    int formatTag = 0, channels = 0, rate = 0, bits = 0, blockAlign = 0, byteRate = 0;
    unsigned riffSize = 0, dataSize = 0;
    long long fileSize = 0;
    std::vector<unsigned char> data;
};
bool ReadWav(const std::wstring& path, WavFile& wav);

// A file of this name in the temporary folder.
std::wstring TempPath(const wchar_t* name);

} // namespace testsignal
