#include "ByteFile.h"
#include "AudioEffect.h"
#include "PeakFile.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct FakeOwner : IPeakOwner {
    int count = 2;
    std::vector<std::pair<int32_t, int32_t>> pending;
    int GetSplitPointCount() const override { return count; }
    void AddPendingSplitPoint(int32_t frame, int32_t flag) override { pending.emplace_back(frame, flag & 0xFF); }
};

// A stereo 16-bit WAV whose frame f holds (f, -f) (wrapped to 16 bits).
Bytes RampWav(int frames)
{
    std::vector<int16_t> s;
    for (int f = 0; f < frames; ++f) {
        s.push_back((int16_t)f);
        s.push_back((int16_t)-f);
    }
    return PlainWav(2, 44100, 16, Samples16(s));
}

WaveHeaderInfo HeaderOf(const std::wstring& path)
{
    WaveHeaderInfo info;
    auto f = OpenByteFile(path, FileMode::ReadShared);
    ReadWaveHeader(*f, info);
    return info;
}

}  // namespace

TEST(PeakFile, PathsBesideTheWav)
{
    EXPECT_EQ(L"C:\\a\\take.npk", PeakPathFor(L"C:\\a\\take.tmw"));
    EXPECT_EQ(L"C:\\a\\take.npk", PeakPathFor(L"C:\\a\\take.tm1"));
    EXPECT_EQ(L"C:\\a\\take.np1", EffectPeakPathFor(L"C:\\a\\take.tm1"));
    EXPECT_EQ(L"C:\\a\\take.np2", EffectPeakPathFor(L"C:\\a\\take.tm2"));
}

TEST(PeakFile, GoldenBytesOfAStereoBuild)
{
    const std::wstring wav = TempPath(L"golden.tmw");
    WriteBytes(wav, RampWav(44100));
    WaveHeaderInfo info = HeaderOf(wav);
    FakeOwner owner;
    NV_Peak peak(info.header, info.dataSize, &owner);
    std::vector<int> progress;
    ASSERT_TRUE(peak.Build(wav, [&](int p) { progress.push_back(p); }));
    ASSERT_EQ(690u, peak.GetValueCount());
    EXPECT_EQ(0, progress.front());
    EXPECT_EQ(100, progress.back());

    Bytes b = ReadBytes(PeakPathFor(wav));
    ASSERT_EQ(2400u, b.size());
    EXPECT_EQ(0, memcmp(b.data(), "NVPK", 4));
    EXPECT_EQ(2392u, GetU32At(b, 4));
    EXPECT_EQ(0, memcmp(b.data() + 8, "HINF", 4));
    EXPECT_EQ(988u, GetU32At(b, 12));
    const uint8_t* hinf = b.data() + 16;
    EXPECT_EQ(1, hinf[0]); EXPECT_EQ(0, hinf[1]); EXPECT_EQ(2, hinf[2]); EXPECT_EQ(0, hinf[3]);
    EXPECT_STREQ("Norvane Peak Data File (V1.0.2.0)", (const char*)hinf + 4);
    EXPECT_EQ(73u, strlen((const char*)hinf + 68));
    EXPECT_EQ(44100u, GetU32At(b, 16 + 196));
    EXPECT_EQ(2, hinf[200]); EXPECT_EQ(4, hinf[202]); EXPECT_EQ(16, hinf[204]);
    EXPECT_EQ(128, hinf[206]); EXPECT_EQ(0, hinf[207]);
    EXPECT_EQ(1024, hinf[208] | (hinf[209] << 8));
    EXPECT_EQ(2u, GetU32At(b, 16 + 212));
    EXPECT_EQ(NarrowPath(wav), std::string((const char*)hinf + 220));
    EXPECT_STREQ("Norvane Peak Data File (V1.0.2.0) Channel=2,SamplesPerSec=44100,BitsPerSample=16,Peaksize=128,"
                 "DSPsize=1024,poscount=2",
                 (const char*)hinf + 732);
    EXPECT_EQ(0, memcmp(b.data() + 1004, "PEAK", 4));
    EXPECT_EQ(1380u, GetU32At(b, 1008));
    for (int k = 0; k < 345; ++k) {
        int16_t l, r;
        memcpy(&l, b.data() + 1012 + k * 4, 2);
        memcpy(&r, b.data() + 1014 + k * 4, 2);
        ASSERT_EQ((int16_t)(k * 128), l) << k;
        ASSERT_EQ((int16_t)-(k * 128), r) << k;
    }
    EXPECT_EQ(0, memcmp(b.data() + 2392, "DSPD", 4));
    EXPECT_EQ(0u, GetU32At(b, 2396));

    NV_Peak again(info.header, info.dataSize, &owner);
    ASSERT_TRUE(again.Load(wav));
    ASSERT_EQ(690u, again.GetValueCount());
    EXPECT_EQ(44032 % 65536 - 65536 * (44032 > 32767), again.ValueAt(688));
}

TEST(PeakFile, MonoEightBitPairs)
{
    const std::wstring wav = TempPath(L"mono8.tmw");
    Bytes s(300);
    for (int i = 0; i < 300; ++i)
        s[(size_t)i] = (uint8_t)(i * 7);
    WriteBytes(wav, PlainWav(1, 8000, 8, s));
    WaveHeaderInfo info = HeaderOf(wav);
    NV_Peak peak(info.header, info.dataSize, nullptr);
    ASSERT_TRUE(peak.Build(wav, nullptr));
    Bytes b = ReadBytes(PeakPathFor(wav));
    ASSERT_EQ(6u, GetU32At(b, 1008));
    const uint8_t want[6] = {s[0], 0, s[128], 0, s[256], 0};
    EXPECT_EQ(0, memcmp(b.data() + 1012, want, 6));
}

TEST(PeakFile, ValidationFailuresAndAcceptedVariants)
{
    const std::wstring wav = TempPath(L"Check.tmw");
    WriteBytes(wav, RampWav(2000));
    WaveHeaderInfo info = HeaderOf(wav);
    FakeOwner owner;
    {
        NV_Peak peak(info.header, info.dataSize, &owner);
        ASSERT_TRUE(peak.Build(wav, nullptr));
    }
    const Bytes good = ReadBytes(PeakPathFor(wav));
    auto loads = [&](const Bytes& file, const WaveFileHeader& h, const std::wstring& wavPath) {
        WriteBytes(PeakPathFor(wavPath), file);
        NV_Peak peak(h, info.dataSize, &owner);
        return peak.Load(wavPath);
    };
    EXPECT_TRUE(loads(good, info.header, wav));

    // The stored path differing only in letter case is the same file.
    const std::wstring upper = TempPath(L"CHECK.tmw");
    EXPECT_TRUE(loads(good, info.header, upper));

    WaveFileHeader other = info.header;
    other.sampleRate = 22050;
    EXPECT_FALSE(loads(good, other, wav)) << "made for another rate";
    other = info.header;
    other.channels = 1;
    EXPECT_FALSE(loads(good, other, wav)) << "made for another channel count";

    Bytes badSize = good;
    badSize[4] ^= 1;
    EXPECT_FALSE(loads(badSize, info.header, wav)) << "NVPK size does not match the length";
    Bytes badMagic = good;
    badMagic[0] = 'X';
    EXPECT_FALSE(loads(badMagic, info.header, wav));
    Bytes badVersion = good;
    badVersion[16] = 2;
    EXPECT_FALSE(loads(badVersion, info.header, wav));
    Bytes otherPath = good;
    otherPath[16 + 220] ^= 0x20 ^ 0x01;
    EXPECT_FALSE(loads(otherPath, info.header, wav));
    EXPECT_FALSE(loads(Bytes(), info.header, wav));
}

TEST(PeakFile, PstdAndUnknownChunksAndOversizedPeak)
{
    const std::wstring wav = TempPath(L"pstd.tmw");
    WriteBytes(wav, RampWav(1000));
    WaveHeaderInfo info = HeaderOf(wav);
    FakeOwner owner;
    {
        NV_Peak peak(info.header, info.dataSize, &owner);
        ASSERT_TRUE(peak.Build(wav, nullptr));
    }
    Bytes b = ReadBytes(PeakPathFor(wav));
    // Insert an unknown chunk with data and a PSTD chunk of two records before PEAK.
    Bytes extra;
    PutChunk(extra, "ABCD", Bytes{'P', 'E', 'A', 'K', 0xFF, 0xFF, 0xFF, 0x7F, 1, 2});
    Bytes pstd;
    PutU32(pstd, 500); pstd.push_back(0x01); pstd.push_back(9); pstd.push_back(9); pstd.push_back(9);
    PutU32(pstd, 700); pstd.push_back(0x00); pstd.push_back(0); pstd.push_back(0); pstd.push_back(0);
    PutChunk(extra, "PSTD", pstd);
    b.insert(b.begin() + 1004, extra.begin(), extra.end());
    const uint32_t size = (uint32_t)b.size() - 8;
    memcpy(b.data() + 4, &size, 4);
    WriteBytes(PeakPathFor(wav), b);
    NV_Peak peak(info.header, info.dataSize, &owner);
    ASSERT_TRUE(peak.Load(wav));
    ASSERT_EQ(2u, owner.pending.size());
    EXPECT_EQ(std::make_pair(500, 1), owner.pending[0]);
    EXPECT_EQ(std::make_pair(700, 0), owner.pending[1]);
    EXPECT_EQ(16u, peak.GetValueCount());

    // A PEAK chunk claiming more than the buffer holds is read only up to its capacity.
    Bytes huge;
    PutId(huge, "NVPK"); PutU32(huge, 0);
    PutId(huge, "PEAK"); PutU32(huge, 0x7FFFFFF0);
    huge.resize(huge.size() + 0x100000 * 2, 0x22);
    const uint32_t hs = (uint32_t)huge.size() - 8;
    memcpy(huge.data() + 4, &hs, 4);
    WriteBytes(PeakPathFor(wav), huge);
    NV_Peak bounded(info.header, info.dataSize, &owner);
    ASSERT_TRUE(bounded.Load(wav));  // no HINF: loads without validation
    EXPECT_EQ(bounded.GetCapacity(), bounded.GetValueCount());
    ASSERT_TRUE(bounded.ReloadPeaks(PeakPathFor(wav)));
    EXPECT_EQ(bounded.GetCapacity(), bounded.GetValueCount());
}

TEST(PeakFile, OtherBitDepthsCannotBeSized)
{
    WaveFileHeader h{};
    h.channels = 2;
    h.bitsPerSample = 12;
    NV_Peak peak(h, 1000, nullptr);
    EXPECT_FALSE(peak.SetStep(128));
}

namespace {

using SplitRecords = std::vector<std::pair<uint32_t, uint8_t>>;

// The peak file of `wav` with one "PSTD" chunk per list of records put before "PEAK".
void InsertSplitChunks(const std::wstring& wav, const std::vector<SplitRecords>& lists)
{
    Bytes b = ReadBytes(PeakPathFor(wav));
    Bytes chunks;
    for (const SplitRecords& points : lists) {
        Bytes pstd;
        for (const auto& p : points) {
            PutU32(pstd, p.first);
            pstd.push_back(p.second);
            pstd.push_back(0); pstd.push_back(0); pstd.push_back(0);
        }
        PutChunk(chunks, "PSTD", pstd);
    }
    b.insert(b.begin() + 1004, chunks.begin(), chunks.end());
    const uint32_t size = (uint32_t)b.size() - 8;
    memcpy(b.data() + 4, &size, 4);
    WriteBytes(PeakPathFor(wav), b);
}

void InsertSplitPoints(const std::wstring& wav, const SplitRecords& points) { InsertSplitChunks(wav, {points}); }

}  // namespace

// A damaged split list keeps only the points inside the sound, in rising order.
TEST(PeakFile, SplitPointsOutsideTheSoundOrOutOfOrderAreDropped)
{
    const std::wstring wav = TempPath(L"pstdbad.tmw");
    WriteBytes(wav, RampWav(1000));
    WaveHeaderInfo info = HeaderOf(wav);
    {
        NV_Peak peak(info.header, info.dataSize, nullptr);
        ASSERT_TRUE(peak.Build(wav, nullptr));
    }
    InsertSplitPoints(wav, {{(uint32_t)-5, 1}, {0, 1}, {300, 0}, {200, 1}, {300, 1}, {650, 1}, {1000, 0},
                            {1001, 1}, {0x7FFFFFFF, 1}, {0x80000000u, 1}});
    FakeOwner owner;
    NV_Peak peak(info.header, info.dataSize, &owner);
    ASSERT_TRUE(peak.Load(wav));
    const std::vector<std::pair<int32_t, int32_t>> kept = {{0, 1}, {300, 0}, {650, 1}, {1000, 0}};
    EXPECT_EQ(kept, owner.pending);
}

// The order holds over the whole file: a second "PSTD" chunk cannot add points
// before or at the ones the first chunk gave.
TEST(PeakFile, SplitPointOrderHoldsAcrossChunks)
{
    const std::wstring wav = TempPath(L"pstdtwo.tmw");
    WriteBytes(wav, RampWav(1000));
    WaveHeaderInfo info = HeaderOf(wav);
    {
        NV_Peak peak(info.header, info.dataSize, nullptr);
        ASSERT_TRUE(peak.Build(wav, nullptr));
    }
    InsertSplitChunks(wav, {{{0, 1}, {400, 0}, {600, 1}}, {{100, 1}, {600, 0}, {700, 1}}, {}, {{650, 0}, {900, 0}}});
    FakeOwner owner;
    NV_Peak peak(info.header, info.dataSize, &owner);
    ASSERT_TRUE(peak.Load(wav));
    const std::vector<std::pair<int32_t, int32_t>> kept = {{0, 1}, {400, 0}, {600, 1}, {700, 1}, {900, 0}};
    EXPECT_EQ(kept, owner.pending);
}

// A "PEAK" chunk a few values larger than the buffer: exactly the capacity is
// read, by Load and by ReloadPeaks alike.
TEST(PeakFile, APeakChunkJustOverTheCapacityIsCutToIt)
{
    const std::wstring wav = TempPath(L"overcap.tmw");
    WriteBytes(wav, RampWav(1000));
    WaveHeaderInfo info = HeaderOf(wav);
    NV_Peak peak(info.header, info.dataSize, nullptr);
    ASSERT_TRUE(peak.SetPaths(wav, kPeakStep));
    const size_t capacity = peak.GetCapacity();
    Bytes b;
    PutId(b, "NVPK"); PutU32(b, 0);
    PutId(b, "PEAK"); PutU32(b, (uint32_t)((capacity + 3) * 2));
    for (size_t i = 0; i < capacity + 3; ++i) {
        b.push_back((uint8_t)(i < capacity ? 0x11 : 0xEE));
        b.push_back((uint8_t)(i < capacity ? 0x22 : 0xEE));
    }
    const uint32_t size = (uint32_t)b.size() - 8;
    memcpy(b.data() + 4, &size, 4);
    WriteBytes(PeakPathFor(wav), b);
    NV_Peak loaded(info.header, info.dataSize, nullptr);
    ASSERT_TRUE(loaded.Load(wav));
    ASSERT_EQ(capacity, loaded.GetValueCount());
    EXPECT_EQ(0x2211, loaded.Values16()[capacity - 1]);
    ASSERT_TRUE(loaded.ReloadPeaks(PeakPathFor(wav)));
    EXPECT_EQ(capacity, loaded.GetValueCount());
}

// A peak object whose buffer could not be sized reads nothing into it.
TEST(PeakFile, ReloadAfterAFailedSizingReadsNothing)
{
    const std::wstring wav = TempPath(L"nosize.tmw");
    WriteBytes(wav, RampWav(1000));
    WaveHeaderInfo info = HeaderOf(wav);
    {
        NV_Peak peak(info.header, info.dataSize, nullptr);
        ASSERT_TRUE(peak.Build(wav, nullptr));
    }
    WaveFileHeader h = info.header;
    h.bitsPerSample = 12;
    NV_Peak peak(h, info.dataSize, nullptr);
    EXPECT_FALSE(peak.SetPaths(wav, kPeakStep));
    EXPECT_EQ(0u, peak.GetCapacity());
    EXPECT_FALSE(peak.ReloadPeaks(PeakPathFor(wav)));
    EXPECT_EQ(0u, peak.GetValueCount());
}

// Chunks behind the sound are not sound: the peak build stops at the data's end.
TEST(PeakFile, BuildOnAWavWithTrailingChunks)
{
    std::vector<int16_t> s;
    for (int f = 0; f < 1000; ++f) {
        s.push_back((int16_t)(f + 1));
        s.push_back((int16_t)-(f + 1));
    }
    Bytes chunks;
    PutChunk(chunks, "fmt ", FmtChunkData(1, 2, 44100, 16));
    PutChunk(chunks, "data", Samples16(s));
    PutChunk(chunks, "LIST", Bytes(128 * 4 * 3, 0x7F));
    const std::wstring wav = TempPath(L"trailing.tmw");
    WriteBytes(wav, RiffWave(chunks));
    WaveHeaderInfo info = HeaderOf(wav);
    ASSERT_EQ(4000u, info.dataSize);
    NV_Peak peak(info.header, info.dataSize, nullptr);
    ASSERT_TRUE(peak.Build(wav, nullptr));
    ASSERT_EQ(8u * 2, peak.GetValueCount());  // frames 0, 128, ... 896
    for (size_t k = 0; k < 8; ++k) {
        EXPECT_EQ((int)(k * 128 + 1), peak.ValueAt(2 * k)) << k;
        EXPECT_EQ(-(int)(k * 128 + 1), peak.ValueAt(2 * k + 1)) << k;
    }
}

// A build over an older peak file writes it over in place: whatever its length
// and content, the result is the bytes of a build where no file was.
TEST(PeakFile, ABuildOverAnOlderPeakFileGivesTheSameBytes)
{
    const std::wstring wav = TempPath(L"over.tmw");
    WriteBytes(wav, RampWav(30000));
    WaveHeaderInfo info = HeaderOf(wav);
    FakeOwner owner;
    DeleteByteFile(PeakPathFor(wav));
    {
        NV_Peak peak(info.header, info.dataSize, &owner);
        ASSERT_TRUE(peak.Build(wav, nullptr));
    }
    const Bytes fresh = ReadBytes(PeakPathFor(wav));
    ASSERT_EQ(1012u + 2 * ((30000 + 127) / 128) * 2 + 8, fresh.size());
    const struct {
        const char* what;
        size_t size;
    } older[] = {{"longer", fresh.size() + 5000}, {"as long", fresh.size()}, {"shorter", 100}, {"empty", 0}};
    for (const auto& o : older) {
        WriteBytes(PeakPathFor(wav), Bytes(o.size, 0xA5));
        NV_Peak peak(info.header, info.dataSize, &owner);
        ASSERT_TRUE(peak.Build(wav, nullptr)) << o.what;
        EXPECT_EQ(fresh, ReadBytes(PeakPathFor(wav))) << o.what;
        NV_Peak again(info.header, info.dataSize, &owner);
        EXPECT_TRUE(again.Load(wav)) << o.what;
        EXPECT_EQ(peak.GetValueCount(), again.GetValueCount()) << o.what;
    }
}
