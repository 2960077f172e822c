// The MP3 encoder and writer in real graphs fed by a test source. What a decoder
// makes of the files is checked after this program by the native oracle step.
#include <gtest/gtest.h>
#include <windows.h>
#include <dshow.h>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <vector>
#include "ComPtr.h"
#include "FullVolume.h"
#include "IMP3Dump.h"
#include "ModuleLoader.h"
#include "Mp3FileCheck.h"
#include "OutsideFilters.h"
#include "TestGraph.h"
#include "TestSignal.h"
#include "TestSource.h"
#include "TransInPlaceFilter.h"

using namespace testsignal;

namespace {

// {5E0C7A31-2C4B-4B7E-9D1F-6A3B2C1D0E11}
const GUID CLSID_CutTrigger = {0x5e0c7a31, 0x2c4b, 0x4b7e, {0x9d, 0x1f, 0x6a, 0x3b, 0x2c, 0x1d, 0x0e, 0x11}};

// Calls the writer's NewFile on the streaming thread when the stream reaches each
// cut (in sample frames), as the analyzer does at a split event. Cuts at or past
// the end fire just before end of stream.
class CCutTrigger : public CTransInPlaceFilter {
public:
    CCutTrigger(IMP3Dump* writer, std::vector<long long> cuts, int blockAlign)
        : CTransInPlaceFilter(L"Cut trigger", CLSID_CutTrigger, false), m_writer(writer), m_cuts(std::move(cuts)),
          m_blockAlign(blockAlign)
    {
        AddRef();
    }
    HRESULT CheckInputType(const CMediaType*) override { return S_OK; }
    HRESULT Transform(IMediaSample* sample) override
    {
        Fire(m_position);
        m_position += sample->GetActualDataLength() / m_blockAlign;
        return S_OK;
    }
    HRESULT EndOfStream() override
    {
        Fire(LLONG_MAX);
        return CTransInPlaceFilter::EndOfStream();
    }

private:
    void Fire(long long position)
    {
        while (m_next < m_cuts.size() && m_cuts[m_next] <= position) {
            m_writer->NewFile();
            ++m_next;
        }
    }
    IMP3Dump* m_writer;
    std::vector<long long> m_cuts;
    int m_blockAlign;
    long long m_position = 0;
    size_t m_next = 0;
};

std::vector<BYTE> Tone(int channels, int rate, int bits, double seconds, double hz = 1000.0)
{
    std::vector<BYTE> pcm = SineBytes(channels, rate, hz, seconds, 0.5);
    if (bits == 16) return pcm;
    std::vector<BYTE> eight(pcm.size() / 2);
    for (size_t i = 0; i < eight.size(); ++i) eight[i] = (BYTE)(((short)(pcm[2 * i] | (pcm[2 * i + 1] << 8)) >> 8) + 128);
    return eight;
}

struct EncoderGraph {
    CTestGraph graph;
    CComPtr<IBaseFilter> source, encoder, writer;
    CComPtr<IMP3EncoderSettings> settings;
    CComPtr<IMP3Dump> dump;
    CTestSource* sourceObject = nullptr;

    EncoderGraph(int channels, int rate, int bits, const std::vector<BYTE>& pcm, long sampleBytes = 4096,
                 bool live = false)
    {
        sourceObject = CTestSource::Create(CMediaType::Pcm(rate, (WORD)channels, (WORD)bits), pcm, sampleBytes, live);
        source.Attach(sourceObject);
        encoder.Attach((IBaseFilter*)CreateFromModule(L"NVMp3Enc.ax", CLSID_NVMP3EncFilter, IID_IBaseFilter));
        writer.Attach((IBaseFilter*)CreateFromModule(L"Tarrow.ax", CLSID_NVMP3Dump, IID_IBaseFilter));
        if (encoder) encoder->QueryInterface(IID_IMP3EncoderSettings, (void**)&settings);
        if (writer) writer->QueryInterface(IID_IMP3Dump, (void**)&dump);
    }
    bool Name(const std::wstring& path)
    {
        CComPtr<IFileSinkFilter> sink;
        return writer && SUCCEEDED(writer->QueryInterface(IID_IFileSinkFilter, (void**)&sink)) &&
               SUCCEEDED(sink->SetFileName(path.c_str(), nullptr));
    }
    // source -> [between] -> encoder -> writer, all connected directly.
    bool Connect(IBaseFilter* between = nullptr)
    {
        if (!encoder || !writer || !settings || !dump) return false;
        if (FAILED(graph.Add(source, L"Source")) || FAILED(graph.Add(encoder, L"MP3 Encoder")) ||
            FAILED(graph.Add(writer, MP3_DUMP_FILTER_NAME)))
            return false;
        if (between) {
            if (FAILED(graph.Add(between, L"Between")) || FAILED(graph.ConnectDirect(source, between)) ||
                FAILED(graph.ConnectDirect(between, encoder)))
                return false;
        } else if (FAILED(graph.ConnectDirect(source, encoder)))
            return false;
        return SUCCEEDED(graph.ConnectDirect(encoder, writer));
    }
};

std::wstring OutputPath(const wchar_t* name)
{
    std::wstring folder = FixtureFolder();
    return (folder.empty() ? TempPath(L"") : folder) + name;
}

std::string Format(const char* fmt, ...)
{
    char buf[512];
    va_list args;
    va_start(args, fmt);
    vsnprintf(buf, sizeof buf, fmt, args);
    va_end(args);
    return buf;
}

// Every frame carries the expected version, rate, bitrate and mode; nothing but frames.
void ExpectPlainFrames(const Mp3FileInfo& info, int rate, int kbps, int mode)
{
    ASSERT_FALSE(info.frames.empty());
    EXPECT_EQ(info.framedBytes, info.fileSize) << "bytes that are not frames";
    EXPECT_FALSE(info.startsWithId3);
    EXPECT_FALSE(info.endsWithId3v1);
    EXPECT_FALSE(info.firstFrameIsInfo);
    int version = rate >= 32000 ? 1 : rate >= 16000 ? 2 : 25;
    for (const Mp3Frame& f : info.frames) {
        ASSERT_EQ(f.header.version, version) << "frame at " << f.offset;
        ASSERT_EQ(f.header.layer, 3);
        ASSERT_EQ(f.header.sampleRate, rate);
        ASSERT_EQ(f.header.bitrateKbps, kbps);
        ASSERT_EQ(f.header.channelMode, mode);
    }
    EXPECT_EQ(info.frames[0].mainDataBegin, 0);
}

struct FormatCase {
    const wchar_t* name;
    int channels, rate, bits;
    int kbps, outRate, mode;   // mode -1: not set
    bool monoAsStereo;
    int expectMode;
};

class EncoderFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(EncoderFormats, EveryFrameCarriesTheSettingsAndTheLengthAndPitchHold)
{
    const FormatCase& c = GetParam();
    const double seconds = 2.0;
    EncoderGraph g(c.channels, c.rate, c.bits, Tone(c.channels, c.rate, c.bits, seconds));
    if (c.monoAsStereo) {
        CComPtr<IMP3EncoderSettings2> s2;
        ASSERT_HRESULT_SUCCEEDED(g.encoder->QueryInterface(IID_IMP3EncoderSettings2, (void**)&s2));
        ASSERT_HRESULT_SUCCEEDED(s2->SetStereoOption(1));
    }
    std::wstring path = OutputPath(c.name);
    ASSERT_TRUE(g.Name(path));
    ASSERT_TRUE(g.Connect());
    // Settings after connection, in the callers' order.
    ASSERT_HRESULT_SUCCEEDED(g.settings->SetBitrate(c.kbps));
    if (c.mode >= 0) {
        ASSERT_HRESULT_SUCCEEDED(g.settings->SetChannelMode(c.mode));
    }
    ASSERT_HRESULT_SUCCEEDED(g.settings->SetSampleRate(c.outRate));
    ASSERT_EQ(g.graph.RunToCompletion(30000), EC_COMPLETE);
    g.graph.Stop();

    Mp3FileInfo info;
    ASSERT_TRUE(ReadMp3Frames(path, info));
    ExpectPlainFrames(info, c.outRate, c.kbps, c.expectMode);
    // Length: the input plus at most one frame and the encoder's delay.
    double frameSeconds = (double)info.frames[0].header.samplesPerFrame / c.outRate;
    double encoded = info.frames.size() * frameSeconds;
    EXPECT_GE(encoded, seconds);
    EXPECT_LE(encoded, seconds + frameSeconds + 1105.0 / c.outRate + frameSeconds);
    LONGLONG written = 0;
    g.dump->GetWrittenBytes64(&written);
    EXPECT_EQ((size_t)written, info.fileSize);
    AddOracleCheck(c.name, Format("rate=%d channels=%d bitrate=%d seconds=%g tone=1000", c.outRate,
                                  c.expectMode == 3 ? 1 : 2, c.kbps, seconds));
}

INSTANTIATE_TEST_SUITE_P(
    Table, EncoderFormats,
    ::testing::Values(FormatCase{L"s16_44k_192.mp3", 2, 44100, 16, 192, 44100, 0, false, 0},
                      FormatCase{L"s16_48k_192.mp3", 2, 48000, 16, 192, 48000, 0, false, 0},
                      FormatCase{L"m8_22k_64_mono.mp3", 1, 22050, 8, 64, 22050, 3, false, 3},
                      FormatCase{L"m16_44k_128_as_stereo.mp3", 1, 44100, 16, 128, 44100, 0, true, 0},
                      FormatCase{L"m16_44k_128_unset.mp3", 1, 44100, 16, 128, 44100, -1, false, 3},
                      FormatCase{L"s16_32k_128_down_to_mono.mp3", 2, 32000, 16, 128, 32000, 3, false, 3},
                      FormatCase{L"s8_11k_up_to_44k.mp3", 2, 11025, 8, 128, 44100, 0, false, 0},
                      FormatCase{L"s16_96k_down_to_48k.mp3", 2, 96000, 16, 320, 48000, 0, false, 0},
                      FormatCase{L"s16_16k_mpeg2.mp3", 2, 16000, 16, 32, 16000, 0, false, 0},
                      FormatCase{L"m16_8k_mpeg25.mp3", 1, 8000, 16, 16, 8000, 3, false, 3}),
    [](const ::testing::TestParamInfo<FormatCase>& info) {
        std::string n;
        for (const wchar_t* p = info.param.name; *p && *p != L'.'; ++p) n += isalnum(*p) ? (char)*p : '_';
        return n;
    });

TEST(Mp3Encoder, RefusedSettingsKeepThePreviousValue)
{
    EncoderGraph g(2, 44100, 16, Tone(2, 44100, 16, 1.0));
    std::wstring path = OutputPath(L"refused.mp3");
    ASSERT_TRUE(g.Name(path));
    ASSERT_TRUE(g.Connect());
    ASSERT_HRESULT_SUCCEEDED(g.settings->SetBitrate(160));
    ASSERT_HRESULT_SUCCEEDED(g.settings->SetSampleRate(32000));
    ASSERT_HRESULT_SUCCEEDED(g.settings->SetChannelMode(3));
    EXPECT_EQ(g.settings->SetBitrate(100), E_INVALIDARG);
    EXPECT_EQ(g.settings->SetBitrate(0), E_INVALIDARG);
    EXPECT_EQ(g.settings->SetBitrate(-192), E_INVALIDARG);
    EXPECT_EQ(g.settings->SetSampleRate(44000), E_INVALIDARG);
    EXPECT_EQ(g.settings->SetSampleRate(0), E_INVALIDARG);
    EXPECT_EQ(g.settings->SetChannelMode(2), E_INVALIDARG);
    EXPECT_EQ(g.settings->SetChannelMode(-1), E_INVALIDARG);
    CComPtr<IMP3EncoderSettings2> s2;
    ASSERT_HRESULT_SUCCEEDED(g.encoder->QueryInterface(IID_IMP3EncoderSettings2, (void**)&s2));
    EXPECT_EQ(s2->SetStereoOption(7), E_INVALIDARG);
    ASSERT_EQ(g.graph.RunToCompletion(30000), EC_COMPLETE);
    g.graph.Stop();
    Mp3FileInfo info;
    ASSERT_TRUE(ReadMp3Frames(path, info));
    ExpectPlainFrames(info, 32000, 160, 3);
}

TEST(Mp3Encoder, SettingsTakeEffectAtTheNextStart)
{
    EncoderGraph g(2, 44100, 16, Tone(2, 44100, 16, 1.0));
    std::wstring path = OutputPath(L"restart.mp3");
    ASSERT_TRUE(g.Name(path));
    ASSERT_TRUE(g.Connect());
    ASSERT_HRESULT_SUCCEEDED(g.settings->SetBitrate(128));
    ASSERT_EQ(g.graph.RunToCompletion(30000), EC_COMPLETE);
    g.graph.Stop();
    ASSERT_HRESULT_SUCCEEDED(g.settings->SetBitrate(256));
    ASSERT_EQ(g.graph.RunToCompletion(30000), EC_COMPLETE);
    g.graph.Stop();
    Mp3FileInfo info;
    ASSERT_TRUE(ReadMp3Frames(path, info));
    ExpectPlainFrames(info, 44100, 256, 0);
}

struct CutCase {
    const char* name;
    std::vector<double> cuts;   // seconds
    int expectedContinuations;
};

class WriterCuts : public ::testing::TestWithParam<CutCase> {};

TEST_P(WriterCuts, EachFileDecodesAloneAndTheLengthsAddUp)
{
    const CutCase& c = GetParam();
    const double seconds = 3.0;
    const int rate = 48000;
    EncoderGraph g(2, rate, 16, Tone(2, rate, 16, seconds));
    std::vector<long long> cuts;
    for (double s : c.cuts) cuts.push_back((long long)(s * rate));
    CComPtr<IBaseFilter> trigger;
    trigger.Attach(new CCutTrigger(g.dump, cuts, 4));
    std::wstring title = L"cuts_";
    for (const char* p = c.name; *p; ++p) title += (wchar_t)*p;
    std::wstring path = OutputPath((title + L".mp3").c_str());
    ASSERT_TRUE(g.Name(path));
    ASSERT_TRUE(g.Connect(trigger));
    g.settings->SetBitrate(192);
    g.settings->SetChannelMode(0);
    g.settings->SetSampleRate(rate);
    ASSERT_EQ(g.graph.RunToCompletion(30000), EC_COMPLETE);
    g.graph.Stop();

    int count = -1;
    ASSERT_HRESULT_SUCCEEDED(g.dump->GetFileCount(&count));
    EXPECT_EQ(count, c.expectedContinuations);
    std::vector<std::wstring> files = {path};
    for (int i = 1; i <= count; ++i) files.push_back(path.substr(0, path.size() - 4) + L"_" + std::to_wstring(i) + L".mp3");
    EXPECT_EQ(GetFileAttributesW((path.substr(0, path.size() - 4) + L"_" + std::to_wstring(count + 1) + L".mp3").c_str()),
              INVALID_FILE_ATTRIBUTES);
    size_t total = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        Mp3FileInfo info;
        ASSERT_TRUE(ReadMp3Frames(files[i], info)) << "file " << i;
        ExpectPlainFrames(info, rate, 192, 0);
        total += info.fileSize;
        std::wstring name = files[i].substr(files[i].find_last_of(L'\\') + 1);
        AddOracleCheck(name, Format("rate=%d channels=2 bitrate=192 tone=1000 sound_at_start=%d group=%s total=%g", rate,
                                    i > 0 ? 1 : 0, c.name, seconds));
    }
    LONGLONG written = 0;
    g.dump->GetWrittenBytes64(&written);
    EXPECT_EQ((size_t)written, total);
}

INSTANTIATE_TEST_SUITE_P(Table, WriterCuts,
                         ::testing::Values(CutCase{"none", {}, 0}, CutCase{"one", {1.0}, 1},
                                           CutCase{"three", {0.7, 1.4, 2.1}, 3},
                                           CutCase{"back_to_back", {1.0, 1.0}, 1},
                                           CutCase{"just_before_stop", {3.0}, 0}),
                         [](const ::testing::TestParamInfo<CutCase>& info) { return std::string(info.param.name); });

TEST(Mp3Writer, RecordingStoppedWithoutEndOfStreamKeepsTheEncodersTail)
{
    const int rate = 48000;
    // 1024-byte samples (256 frames): far less than what the encoder holds back.
    EncoderGraph g(2, rate, 16, Tone(2, rate, 16, 20.0), 1024, true);
    g.sourceObject->SetDelayPerSample(2);
    std::wstring path = OutputPath(L"stopped.mp3");
    ASSERT_TRUE(g.Name(path));
    ASSERT_TRUE(g.Connect());
    g.settings->SetBitrate(192);
    g.settings->SetChannelMode(0);
    g.settings->SetSampleRate(rate);
    ASSERT_HRESULT_SUCCEEDED(g.graph.Run());
    // At least 1.5 s of sound, however busy the machine is.
    for (DWORD start = GetTickCount(); g.sourceObject->SamplesDelivered() < 1.5 * rate / 256 && GetTickCount() - start < 20000;)
        Sleep(20);
    ASSERT_HRESULT_SUCCEEDED(g.graph.Pause());
    Sleep(50);
    ASSERT_HRESULT_SUCCEEDED(g.graph.Stop());
    long delivered = g.sourceObject->SamplesDelivered();
    ASSERT_GT(delivered, 10);
    Mp3FileInfo info;
    ASSERT_TRUE(ReadMp3Frames(path, info));
    ExpectPlainFrames(info, rate, 192, 0);
    // Every delivered sample but the one that may have been on its way is in the file.
    double minSeconds = (delivered - 1) * 256.0 / rate;
    EXPECT_GE(info.frames.size() * 1152.0 / rate, minSeconds + 1105.0 / rate);
    AddOracleCheck(L"stopped.mp3", Format("rate=%d channels=2 min_seconds=%.4f tone=1000", rate, minSeconds));
}

TEST(Mp3Writer, NamingAFileTruncatesNothing)
{
    std::wstring path = OutputPath(L"kept.mp3");
    {
        FILE* f = _wfopen(path.c_str(), L"wb");
        ASSERT_NE(f, nullptr);
        fputs("precious bytes", f);
        fclose(f);
    }
    {
        EncoderGraph g(2, 44100, 16, Tone(2, 44100, 16, 0.5));
        ASSERT_TRUE(g.Name(path));
        ASSERT_TRUE(g.Connect());
    }
    WIN32_FILE_ATTRIBUTE_DATA a;
    ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &a));
    EXPECT_EQ(a.nFileSizeLow, 14u);
    DeleteFileW(path.c_str());
    // Naming creates nothing, yet a bad folder fails before the graph runs.
    EncoderGraph g(2, 44100, 16, Tone(2, 44100, 16, 0.5));
    EXPECT_FALSE(g.Name(OutputPath(L"no such folder\\x.mp3")));
    ASSERT_TRUE(g.Name(path));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));
}

void WriteText(const std::wstring& path, const char* text)
{
    FILE* f = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    fputs(text, f);
    fclose(f);
}

// A short file's text; anything longer reads as its size only.
std::string ReadText(const std::wstring& path)
{
    std::string text;
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return "<missing>";
    char buf[256];
    for (size_t n; (n = fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, n);
    fclose(f);
    return text.size() <= 64 ? text : "<" + std::to_string(text.size()) + " bytes>";
}

// The writer creates its files anew: a file that turned up at the name after
// naming fails the start and keeps its bytes; a graph started again rewrites
// only the file it created itself.
TEST(Mp3Writer, NeverWritesOverAFileItDidNotCreate)
{
    const std::wstring path = OutputPath(L"taken.mp3");
    DeleteFileW(path.c_str());
    {
        EncoderGraph g(2, 44100, 16, Tone(2, 44100, 16, 0.5));
        ASSERT_TRUE(g.Name(path));
        ASSERT_TRUE(g.Connect());
        WriteText(path, "a user's file");
        EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_EXISTS), g.graph.Pause());
        g.graph.Stop();
    }
    EXPECT_EQ("a user's file", ReadText(path));
    ASSERT_TRUE(DeleteFileW(path.c_str()));

    EncoderGraph g(2, 44100, 16, Tone(2, 44100, 16, 0.5));
    ASSERT_TRUE(g.Name(path));
    ASSERT_TRUE(g.Connect());
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        ASSERT_EQ(g.graph.RunToCompletion(30000), EC_COMPLETE);
        g.graph.Stop();
        Mp3FileInfo info;
        ASSERT_TRUE(ReadMp3Frames(path, info));
        EXPECT_NEAR(info.frames.size() * 1152.0 / 44100, 0.5, 0.1) << "one run's sound, not two";
    }
}

// A continuation name that is taken keeps its file; the sound goes on in the
// current file and the count stays, so the names the caller derives stay true.
TEST(Mp3Writer, ATakenContinuationNameKeepsItsFileAndTheSoundGoesOn)
{
    const int rate = 48000;
    EncoderGraph g(2, rate, 16, Tone(2, rate, 16, 2.0));
    CComPtr<IBaseFilter> trigger;
    trigger.Attach(new CCutTrigger(g.dump, {(long long)rate}, 4));
    const std::wstring path = OutputPath(L"continued.mp3"), next = OutputPath(L"continued_1.mp3");
    DeleteFileW(path.c_str());
    WriteText(next, "an older file");
    ASSERT_TRUE(g.Name(path));
    ASSERT_TRUE(g.Connect(trigger));
    g.settings->SetBitrate(192);
    g.settings->SetSampleRate(rate);
    ASSERT_EQ(g.graph.RunToCompletion(30000), EC_COMPLETE);
    g.graph.Stop();
    int count = -1;
    ASSERT_HRESULT_SUCCEEDED(g.dump->GetFileCount(&count));
    EXPECT_EQ(0, count);
    EXPECT_EQ("an older file", ReadText(next));
    Mp3FileInfo info;
    ASSERT_TRUE(ReadMp3Frames(path, info));
    EXPECT_NEAR(info.frames.size() * 1152.0 / rate, 2.0, 0.1) << "the whole sound in the named file";
    DeleteFileW(next.c_str());
}

TEST(Mp3Writer, FullDiskKeepsWholeFramesAndReportsOnce)
{
    CFullVolume volume(L'V', 24 * 1024);
    if (!volume.Ok()) GTEST_SKIP() << volume.Why();
    const int rate = 44100;
    EncoderGraph g(2, rate, 16, Tone(2, rate, 16, 5.0));
    std::wstring path = volume.Path(L"full.mp3");
    ASSERT_TRUE(g.Name(path));
    ASSERT_TRUE(g.Connect());
    g.settings->SetBitrate(192);
    g.settings->SetSampleRate(rate);
    LONG_PTR param = 0;
    ASSERT_EQ(g.graph.RunToCompletion(30000, &param), EC_ERRORABORT);
    EXPECT_EQ((HRESULT)param, (HRESULT)0x80070070);
    g.graph.Stop();
    Mp3FileInfo info;
    ASSERT_TRUE(ReadMp3Frames(path, info));
    ASSERT_GT(info.frames.size(), 10u);
    EXPECT_EQ(info.framedBytes, info.fileSize) << "a cut frame at the end";
    EXPECT_LE(info.fileSize, 24u * 1024);
    // The decoder sees a clean file up to its end.
    std::wstring copy = OutputPath(L"fulldisk.mp3");
    ASSERT_TRUE(CopyFileW(path.c_str(), copy.c_str(), FALSE));
    AddOracleCheck(L"fulldisk.mp3", Format("rate=%d channels=2 bitrate=192 tone=1000", rate));
}

TEST(Mp3Writer, PassesSeekingUpstream)
{
    EncoderGraph g(2, 44100, 16, Tone(2, 44100, 16, 0.5));
    ASSERT_TRUE(g.Name(OutputPath(L"seeking.mp3")));
    ASSERT_TRUE(g.Connect());
    CComPtr<IMediaSeeking> seeking;
    ASSERT_HRESULT_SUCCEEDED(g.writer->QueryInterface(IID_IMediaSeeking, (void**)&seeking));
    // The test source has no seeking: the answer is the upstream one, not a made-up duration.
    LONGLONG duration = 0;
    EXPECT_EQ(seeking->GetDuration(&duration), E_NOTIMPL);
    CComPtr<IUnknown> a, b;
    seeking->QueryInterface(IID_IUnknown, (void**)&a);
    g.writer->QueryInterface(IID_IUnknown, (void**)&b);
    EXPECT_EQ(a.p, b.p);
}

} // namespace
