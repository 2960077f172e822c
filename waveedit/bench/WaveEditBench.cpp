// Prints the best and the median time of each file effect and of the peak build
// on one WAV, next to a plain one-thread 128 KB read+write copy written over an
// older output in place (as the effects write) and a plain 256 KB read of the
// same file, all measured in the same interleaved rounds.
// Usage: WaveEditBench <wav> <work folder> [--rounds n | job count]. Run by
// scripts/bench-waveedit.sh, one round per process between sox's runs of the same
// jobs; with a job name it runs only that job, count times back to back (for a
// profiler).
#include "Amplify.h"
#include "ByteFile.h"
#include "FadeInOut.h"
#include "NoiseReduction.h"
#include "Normalize.h"
#include "PeakFile.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

double Seconds(const std::function<bool()>& job, bool& ok)
{
    const auto start = std::chrono::steady_clock::now();
    ok = job();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Like for like with the effects: the previous job's output is written over in
// place and cut to length at the end (emptying it first waits for its write-back).
bool Copy(const std::wstring& from, const std::wstring& to)
{
    auto in = OpenByteFile(from, FileMode::ReadShared);
    auto out = OpenByteFile(to, FileMode::RewriteShared);
    if (!in || !out)
        return false;
    std::vector<uint8_t> block(131072);
    size_t got;
    while ((got = in->Read(block.data(), block.size())) > 0)
        if (!out->Write(block.data(), got))
            return false;
    return out->Truncate();
}

bool ReadAll(const std::wstring& from)
{
    auto in = OpenByteFile(from, FileMode::ReadShared);
    if (!in)
        return false;
    std::vector<uint8_t> block(0x40000);
    volatile uint8_t sink = 0;
    size_t got;
    while ((got = in->Read(block.data(), block.size())) > 0)
        sink = sink + block[0];
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        fwprintf(stderr, L"usage: WaveEditBench <wav> <work folder> [job count]\n");
        return 2;
    }
    const std::wstring wav = argv[1], dir = std::wstring(argv[2]) + L"\\";
    const std::wstring out = dir + L"bench.tm1", peak = EffectPeakPathFor(out);

    WaveHeaderInfo info;
    {
        auto f = OpenByteFile(wav, FileMode::ReadShared);
        if (!f || ReadWaveHeader(*f, info) != kWaveOk) {
            fwprintf(stderr, L"not a usable WAV: %s\n", wav.c_str());
            return 1;
        }
    }
    const int frames = (int)(info.dataSize / (uint32_t)WaveBlockAlign(info.header));
    const std::vector<CEffectTrack> whole = {{0, frames, 1}};

    AmplifyParam amplify;
    amplify.gain = 0.5f;
    amplify.tracks = whole;
    FadeInOutParam fade;
    fade.fadeIn = fade.fadeOut = 1;
    fade.duration = 5.0f;
    fade.tracks = whole;
    NormalizeParam normalize;
    normalize.targetLevel = 0.8f;
    normalize.tracks = whole;
    NoiseReductionParam noise;
    noise.level = 15.0f;
    noise.tracks = whole;

    auto runEffect = [&](CAudioEffect& e) { return e.Prepare(wav, out, peak) && e.Run(); };
    struct Job {
        const char* name;
        std::function<bool()> run;
    };
    std::vector<Job> jobs = {
        {"copy", [&] { return Copy(wav, out); }},
        {"read", [&] { return ReadAll(wav); }},
        {"amplify", [&] { CAmplify e; e.SetParam(&amplify); return runEffect(e); }},
        {"fade", [&] { CFadeInOut e; e.SetParam(&fade); return runEffect(e); }},
        {"normalize", [&] { CNormalize e; e.SetParam(&normalize); return runEffect(e); }},
        {"noisered", [&] { CNoiseReduction e; e.SetParam(&noise); return runEffect(e); }},
        {"peaks", [&] {
             NV_Peak p(info.header, info.dataSize, nullptr);
             return p.Build(wav, nullptr);
         }},
    };
    ReadAll(wav);  // warm the cache like the sox runs find it
    int rounds = 7;
    // Rounds run by the script, one per process, find the outputs of the last one.
    bool keepOutputs = false;
    if (argc >= 5 && std::wstring(argv[3]) == L"--rounds") {
        rounds = std::max(1, _wtoi(argv[4]));
        keepOutputs = true;
    } else if (argc >= 4) {
        const std::wstring only = argv[3];
        const int count = argc >= 5 ? _wtoi(argv[4]) : 1;
        for (const Job& job : jobs) {
            if (only != std::wstring(job.name, job.name + strlen(job.name)))
                continue;
            double total = 0;
            bool good = true;
            for (int i = 0; i < count && good; ++i)
                total += Seconds(job.run, good);
            printf("%s %.5f per run%s\n", job.name, total / std::max(count, 1), good ? "" : " FAILED");
            return good ? 0 : 1;
        }
        fwprintf(stderr, L"no job %s\n", only.c_str());
        return 2;
    }
    // Every job, the baselines included, meets the same conditions: rounds over
    // all jobs in an order shuffled anew each round (a fixed seed, so runs
    // compare), so that no job always follows the same writer, and the same pause
    // before each job so that the system's write-back of the previous job settles
    // alike.
    const size_t n = jobs.size();
    std::vector<std::vector<double>> times(n);
    std::vector<bool> ok(n, true);
    std::vector<size_t> order(n);
    for (size_t j = 0; j < n; ++j)
        order[j] = j;
    std::mt19937 shuffler(20261211);
    for (int round = 0; round < rounds; ++round) {
        std::shuffle(order.begin(), order.end(), shuffler);
        for (size_t j : order) {
            Sleep(300);
            bool good;
            times[j].push_back(Seconds(jobs[j].run, good));
            ok[j] = ok[j] && good;
        }
    }
    for (size_t j = 0; j < n; ++j) {
        std::vector<double>& t = times[j];
        std::sort(t.begin(), t.end());
        printf("%s %.5f %.5f %s\n", jobs[j].name, t.front(), t[t.size() / 2], ok[j] ? "ok" : "FAILED");
    }
    if (!keepOutputs) {
        DeleteFileW(out.c_str());
        DeleteFileW(peak.c_str());
        DeleteFileW(PeakPathFor(wav).c_str());
    }
    return 0;
}
