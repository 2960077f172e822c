// The analyzer filter of the shipped module in real graphs: bytes through,
// records and their ring, gain, mute ramp, split events, refused formats.
#include "AnalyzerTestSupport.h"
#include <gtest/gtest.h>
#include <climits>

using namespace analyzer_test;

namespace {

const REFERENCE_TIME kSecond = 10000000;

TEST(AnalyzerFilter, PassesEveryByteUnchangedForEachLayout)
{
    struct Layout {
        DWORD rate;
        WORD channels, bits;
        int frames;
        long sampleBytes;
    } layouts[] = {
        {44100, 2, 16, 44100, 4096}, {22050, 1, 16, 30000, 3000}, {8000, 1, 8, 20000, 1000},
        {48000, 2, 8, 50000, 8192},  {11025, 2, 16, 7000, 1234 * 4}, {96000, 2, 16, 4000, 16000},
    };
    for (const Layout& l : layouts) {
        SCOPED_TRACE(testing::Message() << l.rate << " Hz " << l.channels << " ch " << l.bits << " bit");
        CMediaType mt = CMediaType::Pcm(l.rate, l.channels, l.bits);
        std::vector<BYTE> data = PatternPcm(mt, l.frames);
        AnalyzerGraph g;
        ASSERT_EQ(S_OK, g.Build(mt, data, l.sampleBytes));
        ASSERT_EQ(EC_COMPLETE, g.Run());
        EXPECT_EQ(data, g.sink->Bytes());
        // The output offers and takes exactly the input's type.
        AM_MEDIA_TYPE out;
        ASSERT_EQ(S_OK, g.sink->InputPin()->ConnectionMediaType(&out));
        EXPECT_TRUE(CMediaType(out) == mt);
        FreeMediaType(out);
    }
}

TEST(AnalyzerFilter, RecordsCarryFormatLevelsAndTheTimeOfTheirFirstByte)
{
    // Stereo 16-bit: left silent, right a full-scale square wave; three blocks
    // and a half, so the tail is measured at the end of the stream.
    CMediaType mt = CMediaType::Pcm(44100, 2, 16);
    std::vector<BYTE> data = Pcm(mt, 2048 * 3 + 1024, [](int i, int c) { return c == 0 ? 0 : ((i / 50) % 2 ? 32767 : -32767); });
    AnalyzerGraph g;
    ASSERT_EQ(S_OK, g.Build(mt, data, 3000));
    ASSERT_EQ(EC_COMPLETE, g.Run());
    auto records = g.Records();
    ASSERT_EQ(4u, records.size());
    for (size_t k = 0; k < records.size(); k++) {
        const AnalyzerRecord& r = records[k];
        EXPECT_EQ(2, r.channels);
        EXPECT_EQ(16, r.bitsPerSample);
        EXPECT_EQ(44100, r.sampleRate);
        EXPECT_EQ(-80.0, r.leftLevelDb);
        EXPECT_EQ(0, r.leftBands[3]);
        EXPECT_NEAR(int64_t(k) * 2048 * kSecond / 44100, r.mediaTime, 2) << k;
    }
    EXPECT_DOUBLE_EQ(20.0, records[0].rightLevelDb);
    // The padded tail: half the block is silence, so 3 dB lower.
    EXPECT_NEAR(20.0 - 3.01, records[3].rightLevelDb, 0.05);
}

TEST(AnalyzerFilter, MonoRecordsLeaveTheRightSideZero)
{
    CMediaType mt = CMediaType::Pcm(22050, 1, 16);
    AnalyzerGraph g;
    ASSERT_EQ(S_OK, g.Build(mt, Pcm(mt, 2048 * 2, [](int i, int) { return (i % 64) * 400 - 12800; }), 2048));
    ASSERT_EQ(EC_COMPLETE, g.Run());
    auto records = g.Records();
    ASSERT_EQ(2u, records.size());
    for (auto& r : records) {
        EXPECT_GT(r.leftLevelDb, -30.0);
        EXPECT_EQ(0.0, r.rightLevelDb);
        for (int b = 0; b < kAnalyzerBands; b++)
            EXPECT_EQ(0, r.rightBands[b]);
    }
}

TEST(AnalyzerFilter, SevenRecordsWithoutAReadGiveTheThirdToTheSeventh)
{
    CMediaType mt = CMediaType::Pcm(44100, 1, 16);
    AnalyzerGraph g;
    ASSERT_EQ(S_OK, g.Build(mt, PatternPcm(mt, 2048 * 7), 4096));
    ASSERT_EQ(EC_COMPLETE, g.Run());
    auto records = g.Records();
    ASSERT_EQ(5u, records.size());
    for (int k = 0; k < 5; k++)
        EXPECT_EQ((k + 2) * 2048 * kSecond / 44100, records[k].mediaTime) << "record " << k + 3;
    BYTE buffer[88];
    memset(buffer, 0xAB, sizeof buffer);
    CComPtr<IAnalyzer> analyzer = g.Get<IAnalyzer>(IID_IAnalyzer);
    EXPECT_EQ(S_FALSE, analyzer->GetData(buffer));
    EXPECT_EQ(0xAB, buffer[0]);
    EXPECT_EQ(E_POINTER, analyzer->GetData(nullptr));
}

TEST(AnalyzerFilter, AWholeBlockIsAnalysedAsSoonAsItArrives)
{
    // Two samples of exactly one block each, a second apart: the first record is
    // there while the second sample is still being made.
    CMediaType mt = CMediaType::Pcm(44100, 2, 16);
    AnalyzerGraph g;
    ASSERT_EQ(S_OK, g.Build(mt, PatternPcm(mt, 4096), BlockBytes(mt)));
    g.source->SetDelayPerSample(1000);
    CComPtr<IAnalyzer> analyzer = g.Get<IAnalyzer>(IID_IAnalyzer);
    ASSERT_TRUE(SUCCEEDED(g.graph.Run()));
    AnalyzerRecord r;
    bool got = false;
    for (int i = 0; i < 300 && !got; i++) {
        got = analyzer->GetData(reinterpret_cast<BYTE*>(&r)) == S_OK;
        if (!got)
            Sleep(10);
    }
    ASSERT_TRUE(got);
    EXPECT_EQ(1, g.source->SamplesDelivered());
    EXPECT_EQ(0, r.mediaTime);
    g.graph.Stop();
}

TEST(AnalyzerFilter, GainMultipliesWithSaturation)
{
    CMediaType mt = CMediaType::Pcm(44100, 2, 16);
    const int16_t in[] = {20000, -20000, 100, -32768, 16383, -16384, 0, 1};
    const int16_t doubled[] = {32767, -32768, 200, -32768, 32766, -32768, 0, 2};
    std::vector<BYTE> data(sizeof in * 500);
    for (size_t i = 0; i < 500; i++)
        memcpy(&data[i * sizeof in], in, sizeof in);

    AnalyzerGraph g;
    ASSERT_EQ(S_OK, g.Build(mt, data, 1600));
    CComPtr<IAudioEffect> effect = g.Get<IAudioEffect>(IID_IAudioEffect);
    ASSERT_TRUE(effect);
    float gain = 0;
    BOOL enabled = TRUE;
    effect->GetGain(&gain);
    effect->GetGainEnabled(&enabled);
    EXPECT_EQ(1.0f, gain);
    EXPECT_FALSE(enabled);

    effect->SetGain(2.0f);
    effect->SetGainEnabled(TRUE);
    ASSERT_EQ(EC_COMPLETE, g.Run());
    std::vector<BYTE> out = g.sink->Bytes();
    ASSERT_EQ(data.size(), out.size());
    for (size_t i = 0; i < 500; i++)
        ASSERT_EQ(0, memcmp(&out[i * sizeof in], doubled, sizeof doubled)) << "frame group " << i;

    // -1 turns the most negative sample into the most positive one; a switched-off gain changes nothing.
    g.graph.Stop();
    g.sink->ClearReceived();
    effect->SetGain(-1.0f);
    ASSERT_EQ(EC_COMPLETE, g.Run());
    out = g.sink->Bytes();
    int16_t s;
    memcpy(&s, &out[6], 2);
    EXPECT_EQ(32767, s);
    g.graph.Stop();
    g.sink->ClearReceived();
    effect->SetGainEnabled(FALSE);
    ASSERT_EQ(EC_COMPLETE, g.Run());
    EXPECT_EQ(data, g.sink->Bytes());
}

TEST(AnalyzerFilter, MuteSilencesTheStartAndFadesBackInThreeSteps)
{
    CMediaType mt = CMediaType::Pcm(44100, 2, 16);
    const int frames = 44100 * 2;
    std::vector<BYTE> data = Pcm(mt, frames, [](int, int) { return 1000; });
    AnalyzerGraph g;
    ASSERT_EQ(S_OK, g.Build(mt, data, 4000));   // a multiple of the 40-byte mute chunks
    CComPtr<IMuteSound> mute = g.Get<IMuteSound>(IID_IMuteSound);
    ASSERT_TRUE(mute);
    float level = 1;
    mute->GetMuteLevel(&level);
    EXPECT_EQ(0.0f, level);
    mute->SetMuteTime(800);   // stretched to 1100 ms
    ASSERT_EQ(EC_COMPLETE, g.Run());

    const int64_t muted = 44100LL * 4 * 1100 / 1000;   // 194040 bytes
    const int64_t step = 8 * (muted / 64);
    std::vector<BYTE> out = g.sink->Bytes();
    ASSERT_EQ(data.size(), out.size());
    for (int64_t p = 0; p < int64_t(out.size()); p += 2) {
        int16_t s;
        memcpy(&s, &out[size_t(p)], 2);
        int expected = 1000;
        if (p < muted) {
            int64_t left = muted - (p - p % 40);
            expected = left >= 3 * step ? 0 : left >= 2 * step ? 250 : left >= step ? 500 : 750;
        }
        ASSERT_EQ(expected, s) << "byte " << p;
    }

    // The stored mute applies again at the next start; a zero time cancels it.
    g.graph.Stop();
    g.sink->ClearReceived();
    ASSERT_EQ(EC_COMPLETE, g.Run());
    EXPECT_EQ(0, g.sink->Bytes()[0]);
    g.graph.Stop();
    g.sink->ClearReceived();
    mute->SetMuteTime(0);
    ASSERT_EQ(EC_COMPLETE, g.Run());
    EXPECT_EQ(data, g.sink->Bytes());
}

TEST(AnalyzerFilter, MuteLevelOutsideZeroToOneIsStoredAsZero)
{
    CComPtr<IBaseFilter> filter = CreateAnalyzer();
    CComQIPtr<IMuteSound> mute(filter.p);
    ASSERT_TRUE(mute);
    struct { float in, stored; } cases[] = {{0.5f, 0.5f}, {1.5f, 0.0f}, {-0.1f, 0.0f}, {1.0f, 1.0f}, {0.0f, 0.0f}};
    for (auto& c : cases) {
        float level = -1;
        mute->SetMuteLevel(c.in);
        mute->GetMuteLevel(&level);
        EXPECT_EQ(c.stored, level) << c.in;
    }
}

TEST(AnalyzerFilter, InterfacesAnswerAndKeepTheirSettings)
{
    CComPtr<IBaseFilter> filter = CreateAnalyzer();
    ASSERT_TRUE(filter);
    CLSID clsid;
    filter->GetClassID(&clsid);
    EXPECT_EQ(CLSID_AudioAnalyzer, clsid);

    CComQIPtr<ISplitEvent> split(filter.p);
    ASSERT_TRUE(split);
    int t = 0, s = 0, m = 0;
    split->GetSplitParams(&t, &s, &m);
    EXPECT_EQ(3000, t);
    EXPECT_EQ(50, s);
    EXPECT_EQ(10, m);
    BOOL on = TRUE;
    split->GetSplitEnabled(&on);
    EXPECT_FALSE(on);
    split->SetSplitParams(1234, 7, 3);
    split->SetSplitEnabled(TRUE);
    split->GetSplitParams(&t, &s, &m);
    split->GetSplitEnabled(&on);
    EXPECT_EQ(1234, t);
    EXPECT_EQ(7, s);
    EXPECT_EQ(3, m);
    EXPECT_TRUE(on);

    CComQIPtr<ISpecifyPropertyPages> pages(filter.p);
    ASSERT_TRUE(pages);
    CAUUID ids = {};
    ASSERT_EQ(S_OK, pages->GetPages(&ids));
    ASSERT_EQ(1u, ids.cElems);
    EXPECT_EQ(CLSID_AudioAnalyzerProperty, ids.pElems[0]);
    CoTaskMemFree(ids.pElems);

    // Every interface hands back the same object.
    IUnknown *fromFilter = nullptr, *fromSplit = nullptr;
    filter->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromFilter));
    split->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromSplit));
    EXPECT_EQ(fromFilter, fromSplit);
    fromFilter->Release();
    fromSplit->Release();

    // The named event exists while a filter of the module lives.
    HANDLE event = OpenEventW(SYNCHRONIZE, FALSE, L"Get Buffer Event");
    EXPECT_NE(nullptr, event);
    if (event)
        CloseHandle(event);
}

TEST(AnalyzerFilter, AcceptsOnlyEightOrSixteenBitPcmWithOneOrTwoChannels)
{
    struct Case {
        DWORD rate;
        WORD channels, bits;
        bool accepted;
    } cases[] = {
        {44100, 2, 16, true}, {8000, 1, 8, true},   {44100, 2, 24, false},
        {44100, 2, 32, false}, {44100, 3, 16, false}, {44100, 6, 16, false}, {0, 2, 16, false},
        // Rates outside 1 to 384000 Hz (2^31 and more would be stored negative).
        {384000, 2, 16, true}, {384001, 2, 16, false}, {0x40000000, 2, 16, false}, {0x80000000u, 1, 8, false},
        {0xFFFFFFFFu, 2, 16, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rate << " " << c.channels << " " << c.bits);
        CComPtr<IBaseFilter> filter = CreateAnalyzer();
        CComPtr<IPin> in;
        ASSERT_EQ(S_OK, filter->FindPin(L"Input", &in));
        CMediaType mt = CMediaType::Pcm(c.rate, c.channels, c.bits);
        EXPECT_EQ(c.accepted ? S_OK : S_FALSE, in->QueryAccept(&mt));
    }
    // Not a wave format, or not PCM.
    CComPtr<IBaseFilter> filter = CreateAnalyzer();
    CComPtr<IPin> in;
    filter->FindPin(L"Input", &in);
    CMediaType other = CMediaType::Pcm(44100, 2, 16);
    other.formattype = FORMAT_None;
    EXPECT_EQ(S_FALSE, in->QueryAccept(&other));
    CMediaType mp3 = CMediaType::Pcm(44100, 2, 16);
    reinterpret_cast<WAVEFORMATEX*>(mp3.pbFormat)->wFormatTag = 0x55;
    mp3.subtype = GUID_NULL;
    EXPECT_EQ(S_FALSE, in->QueryAccept(&mp3));

    // A refused type fails the connection.
    CTestGraph graph;
    CComPtr<CTestSource> source;
    source.Attach(CTestSource::Create(CMediaType::Pcm(44100, 2, 24), std::vector<BYTE>(600), 600));
    graph.Add(source, L"source");
    graph.Add(filter, L"analyzer");
    EXPECT_TRUE(FAILED(graph.ConnectDirect(source, filter)));
}

TEST(AnalyzerFilter, OutputOffersTheInputTypeOnlyOnceConnected)
{
    CComPtr<IBaseFilter> filter = CreateAnalyzer();
    CComPtr<IPin> out;
    ASSERT_EQ(S_OK, filter->FindPin(L"Output", &out));
    CComPtr<IEnumMediaTypes> types;
    ASSERT_EQ(S_OK, out->EnumMediaTypes(&types));
    AM_MEDIA_TYPE* mt = nullptr;
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, types->Next(1, &mt, &fetched));
    EXPECT_EQ(0u, fetched);
}

// Tone bursts between silences: 2 s of silence, then four times 1.5 s of
// tone and 2 s of silence.
std::vector<BYTE> Bursts(const CMediaType& mt)
{
    const int rate = int(mt.WaveFormat()->nSamplesPerSec);
    const int lead = 2 * rate, tone = rate * 3 / 2, gap = 2 * rate;
    return Pcm(mt, lead + 4 * (tone + gap), [=](int i, int) {
        if (i < lead)
            return 0;
        int k = (i - lead) % (tone + gap);
        return k < tone ? int(8000 * std::sin(2 * 3.14159265358979 * 440 * i / rate)) : 0;
    });
}

TEST(AnalyzerFilter, SplitEventsTellTheMp3WriterAtEachNewSound)
{
    struct Case {
        WORD channels, bits;
        BOOL enabled;
        int minSeconds;
        int expected;
    } cases[] = {
        // Onsets at 2, 5.5, 9 and 12.5 s from the start.
        {1, 16, TRUE, 1, 4}, {1, 16, TRUE, 3, 3}, {1, 16, TRUE, 10, 1},
        {2, 8, TRUE, 1, 4},  {2, 16, TRUE, 1, 4}, {1, 16, FALSE, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.channels << " ch " << c.bits << " bit, min " << c.minSeconds << " s");
        CMediaType mt = CMediaType::Pcm(22050, c.channels, c.bits);
        AnalyzerGraph g;
        ASSERT_EQ(S_OK, g.Build(mt, Bursts(mt), 8192));
        CComPtr<CFakeMp3Writer> writer;
        writer = new CFakeMp3Writer;
        ASSERT_EQ(S_OK, g.graph.Add(writer, MP3_DUMP_FILTER_NAME));
        CComPtr<ISplitEvent> split = g.Get<ISplitEvent>(IID_ISplitEvent);
        split->SetSplitParams(3000, 20, c.minSeconds);
        split->SetSplitEnabled(c.enabled);
        ASSERT_EQ(EC_COMPLETE, g.Run());
        EXPECT_EQ(c.expected, writer->newFiles);
        if (c.expected) {
            EXPECT_NE(GetCurrentThreadId(), writer->callingThread) << "raised on the streaming thread";
        }
        g.graph.Stop();
    }
}

TEST(AnalyzerFilter, SplitWithoutAWriterInTheGraphDoesNothing)
{
    CMediaType mt = CMediaType::Pcm(22050, 1, 16);
    AnalyzerGraph g;
    ASSERT_EQ(S_OK, g.Build(mt, Bursts(mt), 8192));
    CComPtr<ISplitEvent> split = g.Get<ISplitEvent>(IID_ISplitEvent);
    split->SetSplitParams(3000, 20, 1);
    split->SetSplitEnabled(TRUE);
    EXPECT_EQ(EC_COMPLETE, g.Run());
    EXPECT_EQ(Bursts(mt), g.sink->Bytes());
}

TEST(AnalyzerFilter, StopsAtRandomMomentsWithoutHanging)
{
    CMediaType mt = CMediaType::Pcm(44100, 2, 16);
    AnalyzerGraph g;
    ASSERT_EQ(S_OK, g.Build(mt, PatternPcm(mt, 44100), 4000));
    g.source->SetDelayPerSample(1);
    CComPtr<IAnalyzer> analyzer = g.Get<IAnalyzer>(IID_IAnalyzer);
    CComPtr<IMuteSound> mute = g.Get<IMuteSound>(IID_IMuteSound);
    CComPtr<ISplitEvent> split = g.Get<ISplitEvent>(IID_ISplitEvent);
    split->SetSplitEnabled(TRUE);
    DWORD begin = GetTickCount();
    for (int i = 0; i < 20; i++) {
        ASSERT_TRUE(SUCCEEDED(g.graph.Run()));
        // Setters from this thread while samples flow.
        mute->SetMuteTime(i * 10);
        split->SetSplitParams(3000, 50, i % 3);
        BYTE r[88];
        analyzer->GetData(r);
        Sleep(i % 7);
        ASSERT_TRUE(SUCCEEDED(g.graph.Stop()));
    }
    EXPECT_LT(GetTickCount() - begin, 15000u);
}

}  // namespace
