// The peak file the conversion writes while the sound streams by, against the
// one the wave editor builds from the finished WAV and against what the editor
// reads from it: one layout for mono and stereo, 8 and 16 bits.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <vector>
#include "ByteFile.h"
#include "PeakFile.h"
#include "PeakStreamWriter.h"
#include "TestSignal.h"
#include "WaveHeader.h"

using namespace testsignal;

namespace {

std::vector<uint8_t> FileBytes(const std::wstring& path)
{
    std::vector<uint8_t> bytes;
    auto f = OpenByteFile(path, FileMode::ReadShared);
    if (!f) return bytes;
    uint8_t buf[65536];
    for (size_t n; (n = f->Read(buf, sizeof buf)) > 0;) bytes.insert(bytes.end(), buf, buf + n);
    return bytes;
}

void Put16(std::vector<uint8_t>& b, uint32_t v) { b.push_back((uint8_t)v); b.push_back((uint8_t)(v >> 8)); }
void Put32(std::vector<uint8_t>& b, uint32_t v) { Put16(b, v & 0xFFFF); Put16(b, v >> 16); }

std::vector<uint8_t> PlainWavBytes(const PcmLayout& f, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> b = {'R', 'I', 'F', 'F'};
    Put32(b, 36 + (uint32_t)data.size());
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put32(b, 16);
    Put16(b, 1);
    Put16(b, (uint32_t)f.channels);
    Put32(b, (uint32_t)f.rate);
    Put32(b, (uint32_t)(f.rate * f.BlockAlign()));
    Put16(b, (uint32_t)f.BlockAlign());
    Put16(b, (uint32_t)f.bits);
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    Put32(b, (uint32_t)data.size());
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

// Sample s of channel c as a signed value (8-bit samples less 128).
int SampleAt(const std::vector<uint8_t>& data, const PcmLayout& f, size_t frame, int c)
{
    const size_t at = frame * (size_t)f.BlockAlign() + (size_t)c * (size_t)(f.bits / 8);
    if (f.bits == 8) return (int)data[at] - 128;
    int16_t v;
    memcpy(&v, &data[at], 2);
    return v;
}

struct PeakCase {
    int channels, bits;
    size_t frames;
};

class PeakLayout : public ::testing::TestWithParam<PeakCase> {};

}  // namespace

TEST_P(PeakLayout, StreamedPeakFileEqualsTheEditorsAndReadsWhole)
{
    const PeakCase c = GetParam();
    PcmLayout f;
    f.channels = c.channels;
    f.bits = c.bits;
    f.rate = 22050;
    // Every sample different from its neighbours, so a misplaced value shows.
    std::vector<uint8_t> data(c.frames * (size_t)f.BlockAlign());
    for (size_t i = 0; i < data.size(); ++i) data[i] = (uint8_t)(i * 37 + i / 251);

    wchar_t name[64];
    swprintf(name, 64, L"peaklayout_%d_%d.tmw", c.channels, c.bits);
    const std::wstring wav = TempPath(name), peak = PeakPathFor(wav);
    DeleteFileW(peak.c_str());
    {
        auto out = OpenByteFile(wav, FileMode::CreateShared);
        const std::vector<uint8_t> bytes = PlainWavBytes(f, data);
        ASSERT_TRUE(out && out->Write(bytes.data(), bytes.size()));
    }

    // The conversion's writer, fed in pieces that cut frames apart.
    CPeakStreamWriter writer;
    writer.Start(wav, f);
    for (size_t at = 0; at < data.size();) {
        const size_t n = std::min<size_t>(777, data.size() - at);
        writer.Feed(data.data() + at, n);
        at += n;
    }
    ASSERT_TRUE(writer.Finish());
    const std::vector<uint8_t> streamed = FileBytes(peak);
    ASSERT_FALSE(streamed.empty());
    DeleteFileW(peak.c_str());

    WaveHeaderInfo info;
    {
        auto in = OpenByteFile(wav, FileMode::ReadShared);
        ASSERT_TRUE(in && ReadWaveHeader(*in, info) == kWaveOk);
    }
    {
        NV_Peak built(info.header, info.dataSize, nullptr);
        ASSERT_TRUE(built.Build(wav, nullptr));
    }
    const std::vector<uint8_t> editors = FileBytes(peak);
    EXPECT_EQ(editors.size(), streamed.size());
    EXPECT_TRUE(editors == streamed) << "the streamed peak file differs from the editor's";

    // What the editor reads from the streamed file: a pair per kept frame, the
    // first value the first channel, the second the second channel (stereo).
    {
        auto out = OpenByteFile(peak, FileMode::CreateShared);
        ASSERT_TRUE(out && out->Write(streamed.data(), streamed.size()));
    }
    NV_Peak read(info.header, info.dataSize, nullptr);
    ASSERT_TRUE(read.Load(wav));
    const size_t kept = (c.frames + kPeakStep - 1) / kPeakStep;
    ASSERT_EQ(2 * kept, read.GetValueCount());
    for (size_t p = 0; p < kept; ++p) {
        ASSERT_EQ(SampleAt(data, f, p * kPeakStep, 0), read.ValueAt(2 * p)) << "kept frame " << p;
        if (c.channels == 2) {
            ASSERT_EQ(SampleAt(data, f, p * kPeakStep, 1), read.ValueAt(2 * p + 1)) << "kept frame " << p;
        }
    }
    DeleteFileW(peak.c_str());
    DeleteFileW(wav.c_str());
}

INSTANTIATE_TEST_SUITE_P(PeakStreamWriter, PeakLayout,
                         ::testing::Values(PeakCase{1, 16, 44100}, PeakCase{2, 16, 44100}, PeakCase{1, 8, 30001},
                                           PeakCase{2, 8, 30001}, PeakCase{1, 16, 127}, PeakCase{1, 16, 129}));
