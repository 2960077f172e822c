// The PCM source in real graphs run without a clock: exact bytes, media types,
// time stamps and buffer lengths for a table of WAV layouts, with the default
// 40 ms buffers and the long ones the conversion graphs ask for.
#include "WavrillTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct Layout {
    const char* name;
    Bytes file;
    Bytes sound;        // what must arrive
    int channels, rate, bits;
    LONGLONG start = -1, stop = -1;   // a range to set, relative to the data
};

std::vector<Layout> Layouts()
{
    const Bytes a = Pattern(176400, 1), b = Pattern(8001, 2), c = Pattern(44100, 3), d = Pattern(20000, 4);
    return {
        {"CD audio, plain header", PlainWav(2, 44100, 16, a), a, 2, 44100, 16},
        {"8-bit mono, odd data size", PlainWav(1, 8000, 8, b), b, 1, 8000, 8},
        {"16-bit mono 22050, fmt of 18 bytes",
         Riff({Chunk("fmt ", FmtBody(1, 22050, 16, 2)), Chunk("data", c)}), c, 1, 22050, 16},
        {"JUNK, bext and LIST around the chunks",
         Riff({Chunk("JUNK", Bytes(28)), Chunk("bext", Bytes(603, 'b')), Chunk("fmt ", FmtBody(2, 48000, 16)),
               Chunk("LIST", Bytes(27, 'l')), Chunk("data", d), Chunk("LIST", Bytes(30, 't'))}),
         d, 2, 48000, 16},
        {"8-bit stereo with a range", PlainWav(2, 11025, 8, d), Bytes(d.begin() + 1000, d.begin() + 3002),
         2, 11025, 8, 1001, 3003},
    };
}

class WavrillStream : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0u, RegisterWavrill()); }
    CTempFolder dir;
};

// Straight into the sink, and through the analyzer as the conversion graphs do;
// buffers of 40 ms (nothing set) or of the length set.
struct Chain {
    bool throughAnalyzer;
    int bufferMilliseconds;   // 0: not set
};

class WavrillChain : public WavrillStream, public ::testing::WithParamInterface<Chain> {};

TEST_P(WavrillChain, DeliversExactBytesForEveryLayout)
{
    const bool throughAnalyzer = GetParam().throughAnalyzer;
    const int milliseconds = GetParam().bufferMilliseconds;
    if (throughAnalyzer) {
        ASSERT_EQ(0u, RegisterAnalyzer());
    }
    int n = 0;
    for (const Layout& l : Layouts()) {
        SCOPED_TRACE(l.name);
        CWavrillGraph g;
        ASSERT_TRUE(g.Ok());
        const std::wstring path = dir.Write((L"layout" + std::to_wstring(n++) + L".wav").c_str(), l.file);
        ASSERT_EQ(S_OK, g.file->SetFileName(path.c_str(), nullptr));
        if (milliseconds) {
            ASSERT_EQ(S_OK, g.buffer->SetBufferMilliseconds(milliseconds));
        }
        if (l.start >= 0) {
            LONGLONG start = l.start, stop = l.stop;
            ASSERT_EQ(S_OK, g.range->SetRange(&start, &stop));
        }
        CComPtr<IBaseFilter> analyzer;
        CComPtr<IAnalyzer> records;
        if (throughAnalyzer) {
            ASSERT_EQ(S_OK, analyzer.CoCreateInstance(CLSID_AudioAnalyzer));
            ASSERT_EQ(S_OK, analyzer->QueryInterface(IID_IAnalyzer, (void**)&records));
            ASSERT_EQ(S_OK, g.graph.Add(analyzer, L"Audio Analyzer"));
        }
        ASSERT_EQ(S_OK, g.Connect(analyzer));

        AM_MEDIA_TYPE mt = {};
        CComPtr<IPin> in;
        in.Attach(CTestGraph::FindPin(g.sink, PINDIR_INPUT, false));
        ASSERT_EQ(S_OK, in->ConnectionMediaType(&mt));
        ASSERT_EQ(MEDIASUBTYPE_PCM, mt.subtype);
        const WAVEFORMATEX* wfx = (const WAVEFORMATEX*)mt.pbFormat;
        EXPECT_EQ(l.channels, wfx->nChannels);
        EXPECT_EQ((DWORD)l.rate, wfx->nSamplesPerSec);
        EXPECT_EQ(l.bits, wfx->wBitsPerSample);
        FreeMediaType(mt);

        ASSERT_EQ(EC_COMPLETE, g.RunToEnd());
        EXPECT_TRUE(g.sink->Bytes() == l.sound) << g.sink->Bytes().size() << " bytes";

        // Samples of 40 ms (or as set), whole frames, stamped in 100-ns units from the start.
        const LONGLONG bytesPerSecond = (LONGLONG)l.channels * l.bits / 8 * l.rate;
        const LONGLONG frame = l.channels * l.bits / 8;
        LONGLONG bufferBytes = bytesPerSecond * (milliseconds ? milliseconds : 40) / 1000 / frame * frame;
        if (bufferBytes < 100) bufferBytes = 1920;
        LONGLONG bytes = 0;
        const auto samples = g.sink->Samples();
        ASSERT_FALSE(samples.empty());
        for (size_t i = 0; i < samples.size(); ++i) {
            SCOPED_TRACE(i);
            ASSERT_TRUE(samples[i].timed);
            EXPECT_EQ(bytes * 10000000 / bytesPerSecond, samples[i].start);
            EXPECT_EQ((bytes + samples[i].length) * 10000000 / bytesPerSecond, samples[i].stop);
            if (i + 1 < samples.size()) {
                EXPECT_EQ(bufferBytes, samples[i].length);
            }
            EXPECT_EQ(0, samples[i].length % frame);
            bytes += samples[i].length;
        }
        int percent = 0;
        g.range->GetProgress(&percent);
        EXPECT_EQ(100, percent);

        if (records && (LONGLONG)l.sound.size() > 2 * 2048 * frame) {
            AnalyzerRecord record = {};
            ASSERT_EQ(S_OK, records->GetData((BYTE*)&record));
            EXPECT_EQ(l.channels, record.channels);
            EXPECT_EQ(l.bits, record.bitsPerSample);
            EXPECT_EQ(l.rate & 0xFFFF, record.sampleRate);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Graphs, WavrillChain,
                         ::testing::Values(Chain{false, 0}, Chain{true, 0}, Chain{false, 250}, Chain{true, 1000}),
                         [](const ::testing::TestParamInfo<Chain>& p) {
                             std::string name = p.param.throughAnalyzer ? "ThroughAnalyzer" : "Direct";
                             return p.param.bufferMilliseconds ? name + std::to_string(p.param.bufferMilliseconds) + "ms"
                                                               : name;
                         });

TEST_F(WavrillStream, EveryRunStreamsTheRangeAgain)
{
    const Bytes sound = Pattern(30000);
    CWavrillGraph g;
    ASSERT_TRUE(g.Ok());
    const std::wstring path = dir.Write(L"again.wav", PlainWav(2, 44100, 16, sound));
    ASSERT_EQ(S_OK, g.file->SetFileName(path.c_str(), nullptr));
    LONGLONG start = 4000, stop = 24000;
    ASSERT_EQ(S_OK, g.range->SetRange(&start, &stop));
    ASSERT_EQ(S_OK, g.Connect());
    const Bytes expected(sound.begin() + 4000, sound.begin() + 24000);
    for (int run = 0; run < 3; ++run) {
        SCOPED_TRACE(run);
        ASSERT_EQ(EC_COMPLETE, g.RunToEnd());
        EXPECT_TRUE(g.sink->Bytes() == expected);
        EXPECT_EQ(0, g.sink->Samples().front().start);
    }
}

TEST_F(WavrillStream, EmptyRangeEndsTheStreamAtOnce)
{
    CWavrillGraph g;
    ASSERT_TRUE(g.Ok());
    const std::wstring empty = dir.Write(L"empty.wav", PlainWav(2, 44100, 16, {}));
    ASSERT_EQ(S_OK, g.file->SetFileName(empty.c_str(), nullptr));
    ASSERT_EQ(S_OK, g.Connect());
    ASSERT_EQ(EC_COMPLETE, g.RunToEnd());
    EXPECT_TRUE(g.sink->Bytes().empty());
    EXPECT_TRUE(g.sink->EndOfStreamSeen());

    // A range past the end moves the read position there: nothing to read.
    CWavrillGraph h;
    const std::wstring full = dir.Write(L"full.wav", PlainWav(2, 44100, 16, Pattern(4000)));
    ASSERT_EQ(S_OK, h.file->SetFileName(full.c_str(), nullptr));
    LONGLONG start = 8000, stop = 9000;
    ASSERT_EQ(S_OK, h.range->SetRange(&start, &stop));
    ASSERT_EQ(S_OK, h.Connect());
    ASSERT_EQ(EC_COMPLETE, h.RunToEnd());
    EXPECT_TRUE(h.sink->Bytes().empty());
}

TEST_F(WavrillStream, SeekInRawModeThenStream)
{
    const Bytes sound = Pattern(32000);
    CWavrillGraph g;
    ASSERT_TRUE(g.Ok());
    const std::wstring path = dir.Write(L"raw.pcm", sound);
    ASSERT_EQ(S_OK, g.raw->SetRawMode(TRUE));
    ASSERT_EQ(S_OK, g.raw->SetRawFormat(2, 8000, 16));
    ASSERT_EQ(S_OK, g.file->SetFileName(path.c_str(), nullptr));
    ASSERT_EQ(S_OK, g.Connect());
    ASSERT_EQ(S_OK, g.seek->SeekSeconds(0.5));
    ASSERT_EQ(EC_COMPLETE, g.RunToEnd());
    EXPECT_TRUE(g.sink->Bytes() == Bytes(sound.begin() + 16000, sound.end()));

    // Seeking past the end: the next run delivers nothing.
    ASSERT_EQ(S_OK, g.seek->SeekSeconds(100.0));
    ASSERT_EQ(EC_COMPLETE, g.RunToEnd());
    EXPECT_TRUE(g.sink->Bytes().empty());
}

TEST_F(WavrillStream, FileChangesWhileConnectedOrRunning)
{
    CWavrillGraph g;
    ASSERT_TRUE(g.Ok());
    const Bytes other = Pattern(8000, 9);
    const std::wstring stereo = dir.Write(L"stereo.wav", PlainWav(2, 44100, 16, Pattern(400000)));
    const std::wstring sameFormat = dir.Write(L"same.wav", PlainWav(2, 44100, 16, other));
    const std::wstring mono = dir.Write(L"mono.wav", PlainWav(1, 8000, 8, Pattern(800)));
    ASSERT_EQ(S_OK, g.file->SetFileName(stereo.c_str(), nullptr));
    ASSERT_EQ(S_OK, g.Connect());

    // The connected pin cannot change its format.
    EXPECT_EQ(VFW_E_TYPE_NOT_ACCEPTED, g.file->SetFileName(mono.c_str(), nullptr));

    ASSERT_EQ(S_OK, g.graph.Pause());
    EXPECT_EQ(VFW_E_NOT_STOPPED, g.file->SetFileName(sameFormat.c_str(), nullptr));
    ASSERT_EQ(S_OK, g.graph.Stop());

    ASSERT_EQ(S_OK, g.file->SetFileName(sameFormat.c_str(), nullptr));
    ASSERT_EQ(EC_COMPLETE, g.RunToEnd());
    EXPECT_TRUE(g.sink->Bytes() == other);
}

TEST_F(WavrillStream, AFileThatVanishesBetweenRunsAbortsWithAnError)
{
    CWavrillGraph g;
    ASSERT_TRUE(g.Ok());
    const std::wstring path = dir.Write(L"vanish.wav", PlainWav(2, 44100, 16, Pattern(4000)));
    ASSERT_EQ(S_OK, g.file->SetFileName(path.c_str(), nullptr));
    ASSERT_EQ(S_OK, g.Connect());
    ASSERT_EQ(EC_COMPLETE, g.RunToEnd());   // closes the file at the end
    ASSERT_TRUE(DeleteFileW(path.c_str()));

    // The stream ends at once, and the graph hears why.
    CComPtr<IMediaEvent> events;
    ASSERT_EQ(S_OK, g.graph.Graph()->QueryInterface(IID_IMediaEvent, (void**)&events));
    g.sink->ClearReceived();
    ASSERT_EQ(S_OK, g.graph.Run());
    LONG_PTR abortCode = 0;
    for (int i = 0; i < 50 && !abortCode; ++i) {
        long code = 0;
        LONG_PTR p1 = 0, p2 = 0;
        if (events->GetEvent(&code, &p1, &p2, 100) == S_OK) {
            if (code == EC_ERRORABORT) abortCode = p1;
            events->FreeEventParams(code, p1, p2);
        }
    }
    g.graph.Stop();
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), (HRESULT)abortCode);
    EXPECT_TRUE(g.sink->Bytes().empty());
}

}  // namespace
