#include "ByteFile.h"
#include "TestFiles.h"
#include "WaveHeader.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

struct HeaderCase {
    const char* name;
    Bytes file;
    int result;
    uint32_t dataOffset;
    uint32_t dataSize;
};

Bytes Data(size_t n) { return Bytes(n, 0x11); }

Bytes Chunks(std::initializer_list<std::pair<const char*, Bytes>> list)
{
    Bytes b;
    for (auto& c : list)
        PutChunk(b, c.first, c.second);
    return b;
}

std::vector<HeaderCase> Cases()
{
    std::vector<HeaderCase> v;
    v.push_back({"plain fmt 16", RiffWave(Chunks({{"fmt ", FmtChunkData(1, 2, 44100, 16)}, {"data", Data(400)}})),
                 kWaveOk, 44, 400});
    v.push_back({"fmt 18 and LIST 26",
                 RiffWave(Chunks({{"fmt ", FmtChunkData(1, 2, 44100, 16, 2)}, {"LIST", Data(26)}, {"data", Data(400)}})),
                 kWaveOk, 80, 400});
    v.push_back({"fmt 40", RiffWave(Chunks({{"fmt ", FmtChunkData(1, 1, 22050, 16, 24)}, {"data", Data(100)}})),
                 kWaveOk, 68, 100});
    v.push_back({"extensible is not plain PCM",
                 RiffWave(Chunks({{"fmt ", FmtChunkData(0xFFFE, 2, 44100, 16, 24)}, {"data", Data(100)}})),
                 kWaveBad, 0, 0});
    v.push_back({"LIST before fmt",
                 RiffWave(Chunks({{"LIST", Data(10)}, {"fmt ", FmtChunkData(1, 2, 44100, 16)}, {"data", Data(40)}})),
                 kWaveOk, 62, 40});
    v.push_back({"odd chunk with pad byte",
                 RiffWave(Chunks({{"fmt ", FmtChunkData(1, 1, 8000, 8)}, {"junk", Data(3)}, {"data", Data(10)}})),
                 kWaveOk, 56, 10});
    v.push_back({"no data chunk", RiffWave(Chunks({{"fmt ", FmtChunkData(1, 2, 44100, 16)}, {"LIST", Data(8)}})),
                 kWaveBad, 0, 0});
    v.push_back({"empty data chunk", RiffWave(Chunks({{"fmt ", FmtChunkData(1, 2, 44100, 16)}, {"data", Bytes()}})),
                 kWaveBad, 0, 0});
    v.push_back({"trailing chunks are not data",
                 RiffWave(Chunks({{"fmt ", FmtChunkData(1, 2, 44100, 16)}, {"data", Data(400)}, {"LIST", Data(30)}})),
                 kWaveOk, 44, 400});
    {
        // A data size beyond the file is limited to what the file holds.
        Bytes b = RiffWave(Chunks({{"fmt ", FmtChunkData(1, 2, 44100, 16)}}));
        PutId(b, "data");
        PutU32(b, 0x7FFFFFF0);
        b.resize(b.size() + 64, 0);
        v.push_back({"data size beyond the file", b, kWaveOk, 44, 64});
    }
    v.push_back({"fmt shorter than 16", RiffWave(Chunks({{"fmt ", Data(14)}, {"data", Data(40)}})), kWaveBad, 0, 0});
    v.push_back({"three channels", RiffWave(Chunks({{"fmt ", FmtChunkData(1, 3, 44100, 16)}, {"data", Data(60)}})),
                 kWaveBad, 0, 0});
    v.push_back({"24 bits", RiffWave(Chunks({{"fmt ", FmtChunkData(1, 2, 44100, 24)}, {"data", Data(60)}})),
                 kWaveBad, 0, 0});
    v.push_back({"12 bits", RiffWave(Chunks({{"fmt ", FmtChunkData(1, 2, 44100, 12)}, {"data", Data(60)}})),
                 kWaveBad, 0, 0});
    v.push_back({"highest rate", RiffWave(Chunks({{"fmt ", FmtChunkData(1, 2, 384000, 16)}, {"data", Data(60)}})),
                 kWaveOk, 44, 60});
    v.push_back({"rate past the highest",
                 RiffWave(Chunks({{"fmt ", FmtChunkData(1, 2, 384001, 16)}, {"data", Data(60)}})), kWaveBad, 0, 0});
    v.push_back({"rate 2^30", RiffWave(Chunks({{"fmt ", FmtChunkData(1, 2, 0x40000000, 16)}, {"data", Data(60)}})),
                 kWaveBad, 0, 0});
    v.push_back({"rate 2^31", RiffWave(Chunks({{"fmt ", FmtChunkData(1, 1, 0x80000000u, 8)}, {"data", Data(60)}})),
                 kWaveBad, 0, 0});
    {
        Bytes b = PlainWav(2, 44100, 16, Data(40));
        memcpy(b.data() + 8, "AVI ", 4);
        v.push_back({"not WAVE", b, kWaveNotRiff, 0, 0});
    }
    v.push_back({"too short for RIFF", Bytes{'R', 'I', 'F'}, kWaveNotRiff, 0, 0});
    {
        // A chunk whose size runs past the end of the file ends the walk.
        Bytes b = RiffWave(Chunks({{"fmt ", FmtChunkData(1, 2, 44100, 16)}}));
        PutId(b, "LIST");
        PutU32(b, 0xFFFFFFF0);
        b.resize(b.size() + 20, 0);
        v.push_back({"huge unknown chunk", b, kWaveBad, 0, 0});
    }
    return v;
}

}  // namespace

TEST(WaveHeader, ChunkWalkTable)
{
    int i = 0;
    for (const HeaderCase& c : Cases()) {
        const std::wstring path = TempPath(L"header" + std::to_wstring(i++) + L".wav");
        WriteBytes(path, c.file);
        auto f = OpenByteFile(path, FileMode::ReadShared);
        ASSERT_TRUE(f) << c.name;
        WaveHeaderInfo info;
        EXPECT_EQ(c.result, ReadWaveHeader(*f, info)) << c.name;
        if (c.result == kWaveOk) {
            EXPECT_EQ(c.dataOffset, info.header.dataOffset) << c.name;
            EXPECT_EQ(c.dataSize, info.dataSize) << c.name;
            EXPECT_EQ(0, memcmp(info.header.chunkId, "data", 4)) << c.name;
        }
    }
}

TEST(WaveHeader, FormatFieldsAreRead)
{
    const std::wstring path = TempPath(L"fields.wav");
    WriteBytes(path, PlainWav(1, 22050, 8, Bytes(300, 128)));
    auto f = OpenByteFile(path, FileMode::ReadShared);
    WaveHeaderInfo info;
    ASSERT_EQ(kWaveOk, ReadWaveHeader(*f, info));
    EXPECT_EQ(1, info.header.channels);
    EXPECT_EQ(22050u, info.header.sampleRate);
    EXPECT_EQ(8, info.header.bitsPerSample);
    EXPECT_EQ(1, WaveBlockAlign(info.header));
    EXPECT_EQ(344u, info.fileLength);
}

// More sound than a document can count in 32-bit frame positions: refused with
// its own result, not opened with a negative length. (A sparse file: nothing
// but the header is written.)
TEST(WaveHeader, MoreThanTwoGigabytesOfSoundIsTooLarge)
{
    const struct { const char* name; uint64_t dataBytes; int result; } cases[] = {
        {"2 GiB less one frame", 0x7FFFFFFCull, kWaveOk},
        {"2 GiB", 0x80000000ull, kWaveTooLarge},
        {"4 GiB less a little", 0xFFFFFF00ull, kWaveTooLarge},
    };
    int i = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = TempPath(L"huge" + std::to_wstring(i++) + L".wav");
        Bytes head = RiffWave(Chunks({{"fmt ", FmtChunkData(1, 2, 44100, 16)}}));
        PutId(head, "data");
        PutU32(head, (uint32_t)c.dataBytes);
        WriteBytes(path, head);
        std::error_code error;
        std::filesystem::resize_file(std::filesystem::path(path), head.size() + c.dataBytes, error);
        ASSERT_FALSE(error) << error.message();
        {
            auto f = OpenByteFile(path, FileMode::ReadShared);
            ASSERT_TRUE(f);
            WaveHeaderInfo info;
            EXPECT_EQ(c.result, ReadWaveHeader(*f, info));
            if (c.result == kWaveOk)
                EXPECT_EQ(c.dataBytes, info.dataSize);
        }
        DeleteByteFile(path);
    }
}
