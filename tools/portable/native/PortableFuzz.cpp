// A seeded mutation fuzzer over the portable core's readers of outside bytes:
// the WAV header walk (in memory and through a file), the effects on whatever
// WAV the walk accepts, the peak-file reader with its split list, and the split
// list itself driven by arbitrary operations. Every run starts from a valid
// seed and changes it a few times; the sanitizers report memory and undefined
// behaviour, and the checks below report broken promises (abort = finding).
// Usage: portable_fuzz [--runs N] [--seed S]
#include "Amplify.h"
#include "ByteFile.h"
#include "FadeInOut.h"
#include "NoiseReduction.h"
#include "Normalize.h"
#include "PeakFile.h"
#include "TrackList.h"
#include "WavHeader.h"
#include "WaveHeader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void Check(bool ok, const char* what, uint64_t run)
{
    if (!ok) {
        fprintf(stderr, "finding in run %llu: %s\n", (unsigned long long)run, what);
        abort();
    }
}

void Put16(Bytes& b, uint32_t v) { b.push_back((uint8_t)v); b.push_back((uint8_t)(v >> 8)); }
void Put32(Bytes& b, uint32_t v) { Put16(b, v & 0xFFFF); Put16(b, v >> 16); }
void PutId(Bytes& b, const char* id) { b.insert(b.end(), id, id + 4); }
void PutChunk(Bytes& b, const char* id, const Bytes& body)
{
    PutId(b, id);
    Put32(b, (uint32_t)body.size());
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() & 1) b.push_back(0);
}

Bytes Wav(int channels, int rate, int bits, size_t frames, bool extraChunks)
{
    Bytes fmt;
    const int align = channels * bits / 8;
    Put16(fmt, 1); Put16(fmt, (uint32_t)channels); Put32(fmt, (uint32_t)rate); Put32(fmt, (uint32_t)(rate * align));
    Put16(fmt, (uint32_t)align); Put16(fmt, (uint32_t)bits);
    Bytes data(frames * (size_t)align);
    for (size_t i = 0; i < data.size(); ++i) data[i] = (uint8_t)(i * 37 + (i >> 5));
    Bytes chunks;
    if (extraChunks) PutChunk(chunks, "LIST", Bytes(13, 'x'));
    PutChunk(chunks, "fmt ", fmt);
    PutChunk(chunks, "data", data);
    if (extraChunks) PutChunk(chunks, "junk", Bytes(7, 'j'));
    Bytes b;
    PutId(b, "RIFF");
    Put32(b, (uint32_t)(chunks.size() + 4));
    PutId(b, "WAVE");
    b.insert(b.end(), chunks.begin(), chunks.end());
    return b;
}

// Values that break size arithmetic more often than random ones do.
const uint32_t kInteresting[] = {0, 1, 2, 3, 4, 7, 8, 15, 16, 17, 127, 128, 255, 256, 1000, 44100, 384000, 384001,
                                 0x7FFF, 0x8000, 0xFFFF, 0x10000, 0x3FFFFFFF, 0x40000000, 0x7FFFFFFF, 0x80000000,
                                 0xFFFFFFF0, 0xFFFFFFFE, 0xFFFFFFFF};

void Mutate(Bytes& b, std::mt19937& rng)
{
    const int changes = 1 + (int)(rng() % 4);
    for (int c = 0; c < changes; ++c) {
        const size_t n = b.size();
        switch (rng() % 7) {
        case 0:  // flip a bit
            if (n) b[rng() % n] ^= (uint8_t)(1u << (rng() % 8));
            break;
        case 1:  // an interesting byte
            if (n) b[rng() % n] = (uint8_t)kInteresting[rng() % (sizeof kInteresting / sizeof kInteresting[0])];
            break;
        case 2:  // an interesting 16- or 32-bit value at a random or a field-aligned place
            if (n >= 4) {
                const uint32_t v = kInteresting[rng() % (sizeof kInteresting / sizeof kInteresting[0])];
                size_t at = rng() % (n - 3);
                if (rng() % 2) at &= ~(size_t)1;
                const int width = rng() % 3 == 0 ? 2 : 4;
                for (int i = 0; i < width; ++i) b[at + (size_t)i] = (uint8_t)(v >> (8 * i));
            }
            break;
        case 3:  // cut the end
            if (n) b.resize(rng() % n);
            break;
        case 4:  // remove a range
            if (n > 1) {
                const size_t at = rng() % n, len = 1 + rng() % std::min<size_t>(n - at, 64);
                b.erase(b.begin() + (ptrdiff_t)at, b.begin() + (ptrdiff_t)(at + len));
            }
            break;
        case 5:  // insert random bytes
        {
            const size_t at = n ? rng() % n : 0, len = 1 + rng() % 32;
            Bytes add(len);
            for (auto& x : add) x = (uint8_t)rng();
            b.insert(b.begin() + (ptrdiff_t)at, add.begin(), add.end());
            break;
        }
        case 6:  // repeat a range (chunks seen twice)
            if (n > 8) {
                const size_t at = rng() % n, len = 1 + rng() % std::min<size_t>(n - at, 48);
                Bytes part(b.begin() + (ptrdiff_t)at, b.begin() + (ptrdiff_t)(at + len));
                b.insert(b.begin() + (ptrdiff_t)(rng() % n), part.begin(), part.end());
            }
            break;
        }
    }
}

std::wstring g_folder;

std::wstring FilePath(const wchar_t* name) { return g_folder + name; }

void WriteFile(const std::wstring& path, const Bytes& b)
{
    auto f = OpenByteFile(path, FileMode::CreateExclusive);
    if (f && !b.empty()) f->Write(b.data(), b.size());
}

// The walk in memory: what it reports must lie inside the buffer.
void FuzzWalk(const Bytes& b, uint64_t run)
{
    WavReadAt readAt = [&b](uint64_t offset, void* out, size_t count) -> size_t {
        if (offset >= b.size()) return 0;
        const size_t n = std::min<size_t>(count, b.size() - (size_t)offset);
        memcpy(out, b.data() + offset, n);
        return n;
    };
    WavHeaderInfo info;
    if (ParseWavHeader(readAt, b.size(), info) != WavHeaderStatus::Ok) return;
    Check(info.dataOffset <= b.size(), "data starts past the file", run);
    Check(info.dataOffset + info.dataSize <= b.size(), "data runs past the file", run);
    Check(info.dataSize <= info.storedDataSize, "data larger than its chunk", run);
    if (IsPlainPcm(info)) {
        Check(info.blockAlign > 0 && info.sampleRate >= 1 && info.sampleRate <= 384000, "plain PCM out of bounds", run);
        Check((uint64_t)info.blockAlign * info.sampleRate < (1ull << 32), "byte rate overflows", run);
    }
}

struct PointSink : IPeakOwner {
    CTrackList list;
    int64_t last = -1;
    uint64_t frames = 0;
    uint64_t run = 0;
    int GetSplitPointCount() const override { return list.GetCount(); }
    void AddPendingSplitPoint(int32_t frame, int32_t flag) override
    {
        Check(frame >= 0 && (uint64_t)frame <= frames, "split point outside the sound", run);
        Check(frame > last, "split points out of order", run);
        last = frame;
        list.InsertOrUpdate(frame, flag);
    }
};

// The walk through a file, then the document's peak reader and an effect on
// whatever the walk accepts.
void FuzzWavFile(const Bytes& b, uint64_t run, std::mt19937& rng)
{
    const std::wstring wav = FilePath(L"fuzz.tmw");
    WriteFile(wav, b);
    WaveHeaderInfo info;
    int result;
    {
        auto f = OpenByteFile(wav, FileMode::ReadShared);
        Check(f != nullptr, "cannot reopen the fuzz file", run);
        result = ReadWaveHeader(*f, info);
    }
    if (result != kWaveOk) return;
    Check(IsSupportedWave(info.header), "accepted a header it does not support", run);
    Check(info.dataSize > 0 && info.dataSize % (uint32_t)WaveBlockAlign(info.header) == 0, "torn data size", run);
    Check((uint64_t)info.header.dataOffset + info.dataSize <= b.size(), "data past the file", run);

    // Peak build of the accepted file, then the peak reader on it.
    {
        NV_Peak peak(info.header, info.dataSize, nullptr);
        Check(peak.Build(wav, nullptr), "peak build failed on an accepted WAV", run);
        Check(peak.GetValueCount() <= peak.GetCapacity(), "peak values past the capacity", run);
    }

    const uint64_t frames = info.dataSize / (uint64_t)WaveBlockAlign(info.header);
    const std::wstring out = FilePath(L"fuzz.tm1");
    const int32_t f = (int32_t)frames, cut = frames > 1 ? (int32_t)(rng() % frames) : 0;
    const std::vector<CEffectTrack> tracks = {{0, cut, (int32_t)(rng() % 2)}, {cut, f, 1}};
    switch (rng() % 4) {
    case 0: {
        AmplifyParam p;
        p.gain = (float)(rng() % 400) / 100.0f;
        p.tracks = tracks;
        CAmplify e;
        e.SetParam(&p);
        Check(e.Prepare(wav, out, EffectPeakPathFor(out)) && e.Run(), "amplify failed on an accepted WAV", run);
        break;
    }
    case 1: {
        FadeInOutParam p;
        p.fadeIn = (int32_t)(rng() % 2);
        p.fadeOut = 1;
        p.duration = (float)(rng() % 300) / 100.0f;
        p.tracks = tracks;
        CFadeInOut e;
        e.SetParam(&p);
        Check(e.Prepare(wav, out, EffectPeakPathFor(out)) && e.Run(), "fade failed on an accepted WAV", run);
        break;
    }
    case 2: {
        NormalizeParam p;
        p.targetLevel = (float)(rng() % 120) / 100.0f;
        p.tracks = tracks;
        CNormalize e;
        e.SetParam(&p);
        Check(e.Prepare(wav, out, EffectPeakPathFor(out)) && e.Run(), "normalize failed on an accepted WAV", run);
        break;
    }
    default: {
        NoiseReductionParam p;
        p.level = (float)(rng() % 30);
        p.tracks = tracks;
        CNoiseReduction e;
        e.SetParam(&p);
        Check(e.Prepare(wav, out, EffectPeakPathFor(out)) && e.Run(), "noise reduction failed on an accepted WAV",
              run);
        break;
    }
    }
}

// A damaged peak file beside a good WAV: the reader stays inside its buffer and
// hands on only split points inside the sound, in order.
void FuzzPeakFile(const Bytes& peakBytes, const WaveHeaderInfo& info, uint64_t run)
{
    const std::wstring wav = FilePath(L"peaked.tmw");
    WriteFile(PeakPathFor(wav), peakBytes);
    PointSink sink;
    sink.frames = info.dataSize / (uint64_t)WaveBlockAlign(info.header);
    sink.run = run;
    NV_Peak peak(info.header, info.dataSize, &sink);
    peak.Load(wav);
    Check(peak.GetValueCount() <= peak.GetCapacity(), "loaded values past the capacity", run);
    peak.ReloadPeaks(PeakPathFor(wav));
    Check(peak.GetValueCount() <= peak.GetCapacity(), "reloaded values past the capacity", run);
    Check(sink.list.IsOrdered(), "split list out of order", run);
}

// The split list under any sequence of its operations keeps its order.
void FuzzSplitList(const Bytes& ops, uint64_t run)
{
    CTrackList list;
    auto value = [&ops](size_t i) -> int32_t {
        uint32_t v = 0;
        for (size_t k = 0; k < 4; ++k) v |= (uint32_t)(i + k < ops.size() ? ops[i + k] : 0) << (8 * k);
        return (int32_t)v;
    };
    for (size_t i = 0; i + 9 <= ops.size(); i += 9) {
        const int32_t a = value(i + 1), b = value(i + 5);
        const int point = list.GetCount() ? (int)((uint32_t)a % (uint32_t)list.GetCount()) : 0;
        int kind = 0;
        switch (ops[i] % 9) {
        case 0: list.InsertOrUpdate(a, b & 1); break;
        case 1: list.RemovePoint(point); break;
        case 2: list.MovePoint(point, b, kind); break;
        case 3: list.ToggleAt(a, b); break;
        case 4: list.GetFlagAt(a, b); break;
        case 5: list.RemoveInterior(); break;
        case 6: list.SetFlag(point, b); break;
        case 7: list.FindInRange(a, b); break;
        default: {
            int32_t s, e, f;
            list.GetTrack(point, s, e, f);
            list.GetSpanLength(point);
            break;
        }
        }
        Check(list.IsOrdered(), "split list out of order", run);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    uint64_t runs = 3000, seed = 20;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!strcmp(argv[i], "--runs")) runs = strtoull(argv[i + 1], nullptr, 10);
        else if (!strcmp(argv[i], "--seed")) seed = strtoull(argv[i + 1], nullptr, 10);
    }
    g_folder = L"/tmp/portable_fuzz_" + std::to_wstring(getpid()) + L"/";
    std::string narrow = NarrowPath(g_folder);
    if (mkdir(narrow.c_str(), 0700) != 0) {
        perror("mkdir");
        return 2;
    }

    const std::vector<Bytes> wavSeeds = {
        Wav(2, 44100, 16, 700, false), Wav(1, 8000, 8, 300, true), Wav(2, 22050, 8, 257, true),
        Wav(1, 48000, 16, 129, false)};
    // A good WAV with its peak file (and a split list) as the peak seeds' partner.
    const Bytes peakedWav = Wav(2, 44100, 16, 5000, false);
    WriteFile(FilePath(L"peaked.tmw"), peakedWav);
    WaveHeaderInfo peakedInfo;
    {
        auto f = OpenByteFile(FilePath(L"peaked.tmw"), FileMode::ReadShared);
        Check(f && ReadWaveHeader(*f, peakedInfo) == kWaveOk, "the peak seed's WAV is refused", 0);
        NV_Peak peak(peakedInfo.header, peakedInfo.dataSize, nullptr);
        Check(peak.Build(FilePath(L"peaked.tmw"), nullptr), "the peak seed cannot be built", 0);
    }
    Bytes peakSeed;
    {
        auto f = OpenByteFile(PeakPathFor(FilePath(L"peaked.tmw")), FileMode::ReadShared);
        peakSeed.resize((size_t)f->Length());
        f->Read(peakSeed.data(), peakSeed.size());
        Bytes pstd;
        for (uint32_t p : {0u, 1000u, 2500u, 5000u}) {
            Put32(pstd, p);
            Put32(pstd, 1);
        }
        Bytes chunk;
        PutChunk(chunk, "PSTD", pstd);
        peakSeed.insert(peakSeed.begin() + 1004, chunk.begin(), chunk.end());
        const uint32_t size = (uint32_t)peakSeed.size() - 8;
        memcpy(peakSeed.data() + 4, &size, 4);
    }

    std::mt19937 rng((uint32_t)seed);
    for (uint64_t run = 1; run <= runs; ++run) {
        const int target = (int)(run % 4);
        if (target == 0 || target == 1) {
            Bytes b = wavSeeds[rng() % wavSeeds.size()];
            Mutate(b, rng);
            FuzzWalk(b, run);
            if (target == 1) FuzzWavFile(b, run, rng);
        } else if (target == 2) {
            Bytes b = peakSeed;
            Mutate(b, rng);
            FuzzPeakFile(b, peakedInfo, run);
        } else {
            Bytes ops(9 * (1 + rng() % 40));
            for (auto& x : ops) x = (uint8_t)rng();
            FuzzSplitList(ops, run);
        }
    }
    std::string cleanup = "rm -rf '" + narrow + "'";
    if (system(cleanup.c_str()) != 0) fprintf(stderr, "could not remove %s\n", narrow.c_str());
    printf("portable fuzz: %llu runs from seed %llu, no findings\n", (unsigned long long)runs,
           (unsigned long long)seed);
    return 0;
}
