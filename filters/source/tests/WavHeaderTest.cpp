#include "WavBytes.h"
#include "WavHeader.h"

#include <gtest/gtest.h>
#include <cstring>

namespace {

WavHeaderStatus Parse(const Bytes& file, WavHeaderInfo& info)
{
    auto readAt = [&](uint64_t offset, void* buffer, size_t count) -> size_t {
        if (offset >= file.size()) return 0;
        size_t n = std::min<size_t>(count, file.size() - offset);
        memcpy(buffer, file.data() + offset, n);
        return n;
    };
    return ParseWavHeader(readAt, file.size(), info);
}

struct Layout {
    const char* name;
    Bytes file;
    uint64_t dataOffset;
    uint64_t dataSize;
};

TEST(WavHeader, FindsTheDataChunkBehindOtherChunks)
{
    const Bytes data = Pattern(400);
    const Layout layouts[] = {
        {"plain", PlainWav(2, 44100, 16, data), 44, 400},
        {"fmt of 18 bytes", Riff({Chunk("fmt ", FmtBody(2, 44100, 16, 2)), Chunk("data", data)}), 46, 400},
        {"LIST of 26 bytes", Riff({Chunk("fmt ", FmtBody(2, 44100, 16)), Chunk("LIST", Bytes(26, 'x')),
                                   Chunk("data", data)}), 78, 400},
        {"JUNK before fmt", Riff({Chunk("JUNK", Bytes(28)), Chunk("fmt ", FmtBody(1, 8000, 8)),
                                  Chunk("data", data)}), 80, 400},
        {"bext and odd LIST with pad", Riff({Chunk("bext", Bytes(602, 'b')), Chunk("fmt ", FmtBody(2, 48000, 16)),
                                             Chunk("LIST", Bytes(27, 'l')), Chunk("data", data)}),
         12 + 610 + 24 + 36 + 8, 400},
        {"trailing chunk after data", Riff({Chunk("fmt ", FmtBody(2, 44100, 16)), Chunk("data", data),
                                            Chunk("LIST", Bytes(40, 'i'))}), 44, 400},
    };
    for (const auto& l : layouts) {
        SCOPED_TRACE(l.name);
        WavHeaderInfo info;
        ASSERT_EQ(WavHeaderStatus::Ok, Parse(l.file, info));
        EXPECT_EQ(l.dataOffset, info.dataOffset);
        EXPECT_EQ(l.dataSize, info.dataSize);
        EXPECT_EQ(0, memcmp(l.file.data() + info.dataOffset, data.data(), data.size()));
        EXPECT_TRUE(IsPlainPcm(info));
    }
}

TEST(WavHeader, ReadsTheFormat)
{
    WavHeaderInfo info;
    ASSERT_EQ(WavHeaderStatus::Ok, Parse(PlainWav(1, 22050, 8, Pattern(10)), info));
    EXPECT_EQ(1, info.formatTag);
    EXPECT_EQ(1, info.channels);
    EXPECT_EQ(22050u, info.sampleRate);
    EXPECT_EQ(22050u, info.avgBytesPerSec);
    EXPECT_EQ(1, info.blockAlign);
    EXPECT_EQ(8, info.bitsPerSample);
    EXPECT_EQ(16u, info.fmtSize);
}

TEST(WavHeader, DataSizeIsCutToTheFile)
{
    Bytes file = PlainWav(2, 44100, 16, Pattern(1000));
    file.resize(44 + 600);  // a recording cut short: the header promises more
    WavHeaderInfo info;
    ASSERT_EQ(WavHeaderStatus::Ok, Parse(file, info));
    EXPECT_EQ(600u, info.dataSize);

    Bytes headerOnly = PlainWav(2, 44100, 16, {});
    ASSERT_EQ(WavHeaderStatus::Ok, Parse(headerOnly, info));
    EXPECT_EQ(0u, info.dataSize);
}

TEST(WavHeader, BrokenHeadersAreRefused)
{
    Bytes notRiff = PlainWav(2, 44100, 16, Pattern(8));
    notRiff[0] = 'X';
    Bytes notWave = PlainWav(2, 44100, 16, Pattern(8));
    notWave[8] = 'X';
    Bytes shortFmt = Riff({Chunk("fmt ", Bytes(12)), Chunk("data", Pattern(8))});
    Bytes dataFirst = Riff({Chunk("data", Pattern(8)), Chunk("fmt ", FmtBody(2, 44100, 16))});
    Bytes noData = Riff({Chunk("fmt ", FmtBody(2, 44100, 16)), Chunk("LIST", Bytes(4))});
    Bytes noFmt = Riff({Chunk("LIST", Bytes(4))});
    Bytes chunkPastEnd = Riff({Chunk("fmt ", FmtBody(2, 44100, 16)), Chunk("LIST", Bytes(4))});
    chunkPastEnd[40] = 0xFF;  // LIST claims far more bytes than the file has
    chunkPastEnd[41] = 0xFF;

    const struct { const char* name; Bytes file; WavHeaderStatus status; } cases[] = {
        {"empty", {}, WavHeaderStatus::NotRiffWave},
        {"three bytes", {'R', 'I', 'F'}, WavHeaderStatus::NotRiffWave},
        {"not RIFF", notRiff, WavHeaderStatus::NotRiffWave},
        {"not WAVE", notWave, WavHeaderStatus::NotRiffWave},
        {"fmt of 12 bytes", shortFmt, WavHeaderStatus::BadFormatChunk},
        {"data before fmt", dataFirst, WavHeaderStatus::BadFormatChunk},
        {"no fmt", noFmt, WavHeaderStatus::BadFormatChunk},
        {"no data", noData, WavHeaderStatus::NoDataChunk},
        {"chunk past the end", chunkPastEnd, WavHeaderStatus::NoDataChunk},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WavHeaderInfo info;
        EXPECT_EQ(c.status, Parse(c.file, info));
    }
}

// A crafted run of empty chunks costs one read each: the walk gives up after a
// bounded number of them, while a file with a few thousand chunks still opens.
TEST(WavHeader, ARunOfEmptyChunksEndsTheWalkEarly)
{
    auto withEmptyChunks = [](size_t count) {
        Bytes file = Riff({Chunk("fmt ", FmtBody(2, 44100, 16))});
        for (size_t i = 0; i < count; ++i) {
            const Bytes empty = Chunk("JUNK", {});
            file.insert(file.end(), empty.begin(), empty.end());
        }
        const Bytes data = Chunk("data", Pattern(16));
        file.insert(file.end(), data.begin(), data.end());
        return file;
    };
    const struct { size_t chunks; WavHeaderStatus status; } cases[] = {
        {3000, WavHeaderStatus::Ok},
        {(size_t)kMaxWavHeaderChunks - 2, WavHeaderStatus::Ok},   // with fmt and data: the most walked
        {(size_t)kMaxWavHeaderChunks - 1, WavHeaderStatus::NoDataChunk},
        {200000, WavHeaderStatus::NoDataChunk},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chunks);
        const Bytes file = withEmptyChunks(c.chunks);
        size_t reads = 0;
        auto readAt = [&](uint64_t offset, void* buffer, size_t count) -> size_t {
            ++reads;
            if (offset >= file.size()) return 0;
            size_t n = std::min<size_t>(count, file.size() - offset);
            memcpy(buffer, file.data() + offset, n);
            return n;
        };
        WavHeaderInfo info;
        EXPECT_EQ(c.status, ParseWavHeader(readAt, file.size(), info));
        EXPECT_LE(reads, (size_t)kMaxWavHeaderChunks + 2);
    }
}

TEST(WavHeader, OnlyPlainPcmIsStreamable)
{
    const struct { const char* name; Bytes fmt; bool ok; } cases[] = {
        {"16-bit stereo", FmtBody(2, 44100, 16), true},
        {"8-bit mono", FmtBody(1, 8000, 8), true},
        {"zero channels", FmtBody(0, 44100, 16, 0, 1, 4, 176400), false},
        {"zero bits", FmtBody(2, 44100, 0, 0, 1, 4, 176400), false},
        {"zero block alignment", FmtBody(2, 44100, 16, 0, 1, 0), false},
        {"zero rate", FmtBody(2, 0, 16), false},
        {"highest rate", FmtBody(2, 384000, 16), true},
        {"rate past the highest", FmtBody(2, 384001, 16), false},
        {"rate whose byte rate wraps to 0", FmtBody(2, 0x40000000, 16, 0, 1, 4, 176400), false},
        {"rate 2^31 - 1", FmtBody(2, 0x7FFFFFFF, 16, 0, 1, 4, 176400), false},
        {"rate 2^31", FmtBody(2, (int)0x80000000u, 16, 0, 1, 4, 176400), false},
        {"zero byte rate", FmtBody(2, 44100, 16, 0, 1, 4, 0), false},
        {"three channels", FmtBody(3, 44100, 16), false},
        {"24 bits", FmtBody(2, 44100, 24), false},
        {"4 bits", FmtBody(1, 44100, 4, 0, 1, 1), false},
        {"block alignment not a frame", FmtBody(2, 44100, 16, 0, 1, 6), false},
        {"float", FmtBody(2, 44100, 16, 0, 3), false},
        {"extensible", FmtBody(2, 44100, 16, 22, 0xFFFE), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WavHeaderInfo info;
        ASSERT_EQ(WavHeaderStatus::Ok, Parse(Riff({Chunk("fmt ", c.fmt), Chunk("data", Pattern(16))}), info));
        EXPECT_EQ(c.ok, IsPlainPcm(info));
    }
}

}  // namespace
