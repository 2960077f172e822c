// The PCM source's interfaces without streaming: file names, ranges, positions,
// progress, raw mode and seeking in seconds.
#include "WavrillTestSupport.h"

#include <gtest/gtest.h>

namespace {

class WavrillInterface : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(0u, RegisterWavrill());
        ASSERT_TRUE(g.Ok());
    }
    std::pair<LONGLONG, LONGLONG> Range()
    {
        LONGLONG start = -7, stop = -7;
        EXPECT_EQ(S_OK, g.range->GetRange(&start, &stop));
        return {start, stop};
    }
    LONGLONG Position()
    {
        LONGLONG pos = -7;
        EXPECT_EQ(S_OK, g.range->GetPosition(&pos));
        return pos;
    }
    int Progress()
    {
        int percent = -7;
        EXPECT_EQ(S_OK, g.range->GetProgress(&percent));
        return percent;
    }
    std::wstring CurFile()
    {
        LPOLESTR name = nullptr;
        EXPECT_EQ(S_OK, g.file->GetCurFile(&name, nullptr));
        std::wstring s = name ? name : L"(none)";
        CoTaskMemFree(name);
        return s;
    }

    CWavrillGraph g;
    CTempFolder dir;
};

TEST_F(WavrillInterface, OneSecondOfCdAudio)
{
    const std::wstring path = dir.Write(L"cd.wav", PlainWav(2, 44100, 16, Pattern(176400)));
    ASSERT_EQ(S_OK, g.file->SetFileName(path.c_str(), nullptr));
    EXPECT_EQ(std::make_pair(0LL, 176400LL), Range());
    EXPECT_EQ(44, Position());
    EXPECT_EQ(0, Progress());
    LONGLONG firstBuffer = 7056;   // 40 ms
    ASSERT_EQ(S_OK, g.range->SetPosition(&firstBuffer));
    EXPECT_EQ(4, Progress());
    EXPECT_EQ(path, CurFile());

    double seconds = -1;
    EXPECT_EQ(S_OK, g.seek->GetRangeSeconds(&seconds));
    EXPECT_DOUBLE_EQ(1.0, seconds);
    EXPECT_EQ(S_OK, g.seek->SeekSeconds(0.5));
    EXPECT_EQ(44 + 88200, Position());
    EXPECT_EQ(S_OK, g.seek->GetPositionSeconds(&seconds));
    EXPECT_DOUBLE_EQ(0.5, seconds);
    EXPECT_EQ(50, Progress());
}

TEST_F(WavrillInterface, RangeIsRoundedToFramesAndCountsFromTheData)
{
    const std::wstring path = dir.Write(L"list.wav",
        Riff({Chunk("fmt ", FmtBody(2, 44100, 16)), Chunk("LIST", Bytes(26, 'x')), Chunk("data", Pattern(40000))}));
    ASSERT_EQ(S_OK, g.file->SetFileName(path.c_str(), nullptr));
    EXPECT_EQ(78, Position());

    LONGLONG start = 1001, stop = 5000;
    ASSERT_EQ(S_OK, g.range->SetRange(&start, &stop));
    EXPECT_EQ(std::make_pair(1000LL, 5000LL), Range());
    EXPECT_EQ(78 + 1000, Position());

    // A later range beyond the earlier stop is taken whole.
    start = 20000, stop = 30003;
    ASSERT_EQ(S_OK, g.range->SetRange(&start, &stop));
    EXPECT_EQ(std::make_pair(20000LL, 30000LL), Range());

    // Positions outside the range are refused and change nothing.
    LONGLONG pos = 10000;
    EXPECT_EQ(E_INVALIDARG, g.range->SetPosition(&pos));
    EXPECT_EQ(78 + 20000, Position());
    pos = 25002;
    EXPECT_EQ(S_OK, g.range->SetPosition(&pos));
    EXPECT_EQ(78 + 25000, Position());
    EXPECT_EQ(50, Progress());

    // Both ends beyond the data: neither is taken, but reading starts past the end.
    start = 50000, stop = 60000;
    EXPECT_EQ(S_OK, g.range->SetRange(&start, &stop));
    EXPECT_EQ(std::make_pair(20000LL, 30000LL), Range());
    EXPECT_EQ(78 + 50000, Position());

    // Nonsense is refused.
    start = -4, stop = 100;
    EXPECT_EQ(E_INVALIDARG, g.range->SetRange(&start, &stop));
    start = 400, stop = 100;
    EXPECT_EQ(E_INVALIDARG, g.range->SetRange(&start, &stop));
    EXPECT_EQ(E_POINTER, g.range->SetRange(nullptr, &stop));
    EXPECT_EQ(std::make_pair(20000LL, 30000LL), Range());
}

TEST_F(WavrillInterface, SecondsFollowTheRealByteRate)
{
    // The header claims 1000 bytes per second; the format says 32000.
    const std::wstring path = dir.Write(L"rate.wav",
        Riff({Chunk("fmt ", FmtBody(2, 8000, 16, 0, 1, 4, 1000)), Chunk("data", Pattern(64000))}));
    ASSERT_EQ(S_OK, g.file->SetFileName(path.c_str(), nullptr));
    double seconds = 0;
    EXPECT_EQ(S_OK, g.seek->GetRangeSeconds(&seconds));
    EXPECT_DOUBLE_EQ(2.0, seconds);
    EXPECT_EQ(S_OK, g.seek->SeekSeconds(1.5));
    EXPECT_EQ(44 + 48000, Position());
}

TEST_F(WavrillInterface, HeaderOnlyFileHasAnEmptyRange)
{
    const std::wstring path = dir.Write(L"empty.wav", PlainWav(2, 44100, 16, {}));
    ASSERT_EQ(S_OK, g.file->SetFileName(path.c_str(), nullptr));
    EXPECT_EQ(std::make_pair(0LL, 0LL), Range());
    EXPECT_EQ(0, Progress());
}

TEST_F(WavrillInterface, TrailingChunksAndTornFramesAreNotSound)
{
    // 1001 bytes of 16-bit stereo: 250 whole frames; a LIST chunk follows the data.
    const std::wstring path = dir.Write(L"tail.wav",
        Riff({Chunk("fmt ", FmtBody(2, 44100, 16)), Chunk("data", Pattern(1001)), Chunk("LIST", Bytes(64, 'i'))}));
    ASSERT_EQ(S_OK, g.file->SetFileName(path.c_str(), nullptr));
    EXPECT_EQ(std::make_pair(0LL, 1000LL), Range());
}

// The buffer length is decided when the pin connects: it is taken before, in
// range, and refused once connected.
TEST_F(WavrillInterface, BufferLengthIsSetBeforeTheConnection)
{
    int milliseconds = -1;
    EXPECT_EQ(S_OK, g.buffer->GetBufferMilliseconds(&milliseconds));
    EXPECT_EQ(40, milliseconds);
    EXPECT_EQ(E_POINTER, g.buffer->GetBufferMilliseconds(nullptr));
    for (int refused : {0, -40, 10001})
        EXPECT_EQ(E_INVALIDARG, g.buffer->SetBufferMilliseconds(refused)) << refused;
    EXPECT_EQ(S_OK, g.buffer->SetBufferMilliseconds(10000));
    EXPECT_EQ(S_OK, g.buffer->SetBufferMilliseconds(500));
    const std::wstring path = dir.Write(L"buffer.wav", PlainWav(2, 44100, 16, Pattern(176400)));
    ASSERT_EQ(S_OK, g.file->SetFileName(path.c_str(), nullptr));
    ASSERT_EQ(S_OK, g.Connect());
    EXPECT_EQ(VFW_E_ALREADY_CONNECTED, g.buffer->SetBufferMilliseconds(40));
    EXPECT_EQ(S_OK, g.buffer->GetBufferMilliseconds(&milliseconds));
    EXPECT_EQ(500, milliseconds);
    ASSERT_EQ(EC_COMPLETE, g.RunToEnd());
    const auto samples = g.sink->Samples();
    ASSERT_EQ(2u, samples.size());
    EXPECT_EQ(88200, samples[0].length) << "half a second of CD audio";
}

TEST_F(WavrillInterface, WithoutAFile)
{
    EXPECT_EQ(std::make_pair(0LL, 0LL), Range());
    EXPECT_EQ(0, Position());
    EXPECT_EQ(0, Progress());
    EXPECT_EQ(L"(none)", CurFile());
    LONGLONG start = 0, stop = 100;
    EXPECT_EQ(E_UNEXPECTED, g.range->SetRange(&start, &stop));
    EXPECT_EQ(E_UNEXPECTED, g.range->SetPosition(&start));
    EXPECT_EQ(E_UNEXPECTED, g.seek->SeekSeconds(1.0));
    // The pin offers nothing and connects to nothing.
    EXPECT_TRUE(FAILED(g.Connect()));
}

TEST_F(WavrillInterface, FailuresAreReportedAndKeepTheOpenFile)
{
    const std::wstring good = dir.Write(L"good.wav", PlainWav(1, 8000, 8, Pattern(800)));
    ASSERT_EQ(S_OK, g.file->SetFileName(good.c_str(), nullptr));

    Bytes noRiff = PlainWav(2, 44100, 16, Pattern(40));
    noRiff[0] = 'X';
    const struct { const char* name; std::wstring path; HRESULT hr; } cases[] = {
        {"missing", dir.Path() + L"missing.wav", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
        {"not a WAV", dir.Write(L"text.wav", Bytes(100, 'a')), VFW_E_INVALID_FILE_FORMAT},
        {"no RIFF", dir.Write(L"noriff.wav", noRiff), VFW_E_INVALID_FILE_FORMAT},
        {"no data chunk", dir.Write(L"nodata.wav", Riff({Chunk("fmt ", FmtBody(2, 44100, 16))})),
         VFW_E_INVALID_FILE_FORMAT},
        {"zero channels", dir.Write(L"ch0.wav", Riff({Chunk("fmt ", FmtBody(0, 44100, 16, 0, 1, 4, 176400)),
                                                     Chunk("data", Pattern(40))})), VFW_E_UNSUPPORTED_AUDIO},
        {"zero bits", dir.Write(L"bits0.wav", Riff({Chunk("fmt ", FmtBody(2, 44100, 0, 0, 1, 4, 176400)),
                                                   Chunk("data", Pattern(40))})), VFW_E_UNSUPPORTED_AUDIO},
        {"zero block alignment", dir.Write(L"align0.wav", Riff({Chunk("fmt ", FmtBody(2, 44100, 16, 0, 1, 0)),
                                                               Chunk("data", Pattern(40))})),
         VFW_E_UNSUPPORTED_AUDIO},
        {"24 bits", dir.Write(L"24.wav", PlainWav(2, 44100, 24, Pattern(60))), VFW_E_UNSUPPORTED_AUDIO},
        // Crafted rates: a 343 MB buffer, a byte rate that wraps to 0.
        {"rate 2^31 - 1", dir.Write(L"rmax.wav", Riff({Chunk("fmt ", FmtBody(2, 0x7FFFFFFF, 16, 0, 1, 4, 176400)),
                                                      Chunk("data", Pattern(40))})), VFW_E_UNSUPPORTED_AUDIO},
        {"rate 2^30", dir.Write(L"r30.wav", Riff({Chunk("fmt ", FmtBody(2, 0x40000000, 16, 0, 1, 4, 176400)),
                                                 Chunk("data", Pattern(40))})), VFW_E_UNSUPPORTED_AUDIO},
        {"empty name", L"", HRESULT_FROM_WIN32(ERROR_INVALID_NAME)},
        {"261 characters", std::wstring(261, L'a'), HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.hr, g.file->SetFileName(c.path.c_str(), nullptr));
        EXPECT_EQ(good, CurFile());
        EXPECT_EQ(std::make_pair(0LL, 800LL), Range());
    }
    EXPECT_EQ(E_POINTER, g.file->SetFileName(nullptr, nullptr));
    EXPECT_EQ(E_POINTER, g.file->GetCurFile(nullptr, nullptr));
}

TEST_F(WavrillInterface, SetFileNameSwitchesToTheNewFile)
{
    const std::wstring first = dir.Write(L"first.wav", PlainWav(2, 44100, 16, Pattern(4000)));
    const std::wstring second = dir.Write(L"second.wav",
        Riff({Chunk("fmt ", FmtBody(1, 22050, 8, 2)), Chunk("data", Pattern(999))}));
    ASSERT_EQ(S_OK, g.file->SetFileName(first.c_str(), nullptr));
    LONGLONG start = 400, stop = 800;
    ASSERT_EQ(S_OK, g.range->SetRange(&start, &stop));
    ASSERT_EQ(S_OK, g.file->SetFileName(second.c_str(), nullptr));
    EXPECT_EQ(second, CurFile());
    EXPECT_EQ(std::make_pair(0LL, 999LL), Range());
    EXPECT_EQ(46, Position());
    // The first file is closed: it can be deleted now.
    EXPECT_TRUE(DeleteFileW(first.c_str()));

    AM_MEDIA_TYPE mt = {};
    LPOLESTR name = nullptr;
    mt.majortype = MEDIATYPE_Video;
    ASSERT_EQ(S_OK, g.file->GetCurFile(&name, &mt));
    CoTaskMemFree(name);
    EXPECT_EQ(GUID_NULL, mt.majortype);
}

TEST_F(WavrillInterface, RawModeReadsHeaderlessPcm)
{
    BOOL rawMode = TRUE;
    int channels = 0, rate = 0, bits = 0;
    EXPECT_EQ(S_OK, g.raw->GetRawMode(&rawMode));
    EXPECT_FALSE(rawMode);
    EXPECT_EQ(S_OK, g.raw->GetRawFormat(&channels, &rate, &bits));
    EXPECT_EQ(2, channels);
    EXPECT_EQ(48000, rate);
    EXPECT_EQ(16, bits);

    // 1 s of 8000 Hz 16-bit mono plus one torn byte.
    const std::wstring path = dir.Write(L"raw.pcm", Pattern(16001));
    ASSERT_EQ(S_OK, g.raw->SetRawMode(TRUE));
    ASSERT_EQ(S_OK, g.raw->SetRawFormat(1, 8000, 16));
    ASSERT_EQ(S_OK, g.file->SetFileName(path.c_str(), nullptr));
    EXPECT_EQ(std::make_pair(0LL, 16000LL), Range());
    EXPECT_EQ(S_OK, g.seek->SeekSeconds(0.25));
    EXPECT_EQ(4000, Position());
    EXPECT_EQ(S_OK, g.seek->SeekSeconds(0));
    EXPECT_EQ(0, Position());
    EXPECT_EQ(S_OK, g.seek->SeekSeconds(1e9));
    EXPECT_EQ(16000, Position());
    EXPECT_EQ(100, Progress());

    // Formats nothing could stream are refused at open.
    const int bad[][3] = {{0, 8000, 16}, {1, 0, 16}, {1, 8000, 0}, {1, 8000, 4}, {3, 8000, 16}, {-1, 8000, 16},
                          {2, 0x7FFFFFFF, 16}, {2, 0x40000000, 16}, {1, 384001, 8}, {1, -8000, 16}};
    for (const auto& f : bad) {
        SCOPED_TRACE(testing::Message() << f[0] << "/" << f[1] << "/" << f[2]);
        ASSERT_EQ(S_OK, g.raw->SetRawFormat(f[0], f[1], f[2]));
        EXPECT_EQ(VFW_E_UNSUPPORTED_AUDIO, g.file->SetFileName(path.c_str(), nullptr));
    }
}

}  // namespace
