#include <gtest/gtest.h>
#include <windows.h>
#include <dshow.h>
#include <cmath>
#include <random>
#include "ComPtr.h"
#include "ModuleLoader.h"
#include "OutsideFilters.h"
#include "TestGraph.h"
#include "TestSink.h"
#include "TestSignal.h"
#include "TestSource.h"

using namespace testsignal;

namespace {

// 0.5 s of faint noise, then 1 s of a loud tone over the same noise (stereo, 16 bits).
std::vector<BYTE> NoiseThenTone()
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> noise(-30, 30);
    std::vector<BYTE> out;
    for (int i = 0; i < 44100 * 3 / 2; ++i) {
        double tone = i >= 22050 ? 16000.0 * std::sin(2 * 3.14159265358979 * 1000.0 * i / 44100) : 0.0;
        for (int c = 0; c < 2; ++c) {
            int v = (int)std::lround(tone) + noise(rng);
            out.push_back((BYTE)(v & 0xFF));
            out.push_back((BYTE)((v >> 8) & 0xFF));
        }
    }
    return out;
}

double Rms(const std::vector<BYTE>& pcm, size_t firstFrame, size_t frames)
{
    double sum = 0;
    for (size_t i = firstFrame; i < firstFrame + frames; ++i) {
        double v = (short)(pcm[i * 4] | (pcm[i * 4 + 1] << 8));
        sum += v * v;
    }
    return std::sqrt(sum / frames);
}

struct NrGraph {
    CTestGraph graph;
    CComPtr<IBaseFilter> source, nr, sinkFilter;
    CTestSink* sink;
    CTestSource* src;
    CComPtr<INoiseReduction> control;

    explicit NrGraph(const std::vector<BYTE>& pcm)
    {
        src = CTestSource::Create(CMediaType::Pcm(44100, 2, 16), pcm, 4096);
        source.Attach(src);
        nr.Attach((IBaseFilter*)CreateFromModule(L"NVNoiseReduction.ax", CLSID_NoiseReduction, IID_IBaseFilter));
        sink = CTestSink::Create();
        sinkFilter.Attach(sink);
        if (nr) nr->QueryInterface(IID_INoiseReduction, (void**)&control);
    }
    bool Connect()
    {
        return nr && control && SUCCEEDED(graph.Add(source, L"Source")) && SUCCEEDED(graph.Add(nr, L"Noise Reduction")) &&
               SUCCEEDED(graph.Add(sinkFilter, L"Sink")) && SUCCEEDED(graph.ConnectDirect(source, nr)) &&
               SUCCEEDED(graph.ConnectDirect(nr, sinkFilter));
    }
};

} // namespace

TEST(NoiseReductionFilter, OffPassesTheSoundThroughBitForBit)
{
    std::vector<BYTE> pcm = NoiseThenTone();
    NrGraph g(pcm);
    ASSERT_TRUE(g.Connect());
    g.control->SetEnabled(FALSE);
    g.control->SetLevel(15.0f);
    ASSERT_EQ(EC_COMPLETE, g.graph.RunToCompletion(10000));
    EXPECT_TRUE(g.sink->Bytes() == pcm);
}

TEST(NoiseReductionFilter, OnRemovesFaintNoiseAndKeepsTheTone)
{
    std::vector<BYTE> pcm = NoiseThenTone();
    NrGraph g(pcm);
    ASSERT_TRUE(g.Connect());
    g.control->SetEnabled(TRUE);
    g.control->SetLevel(15.0f);
    ASSERT_EQ(EC_COMPLETE, g.graph.RunToCompletion(10000));
    std::vector<BYTE> out = g.sink->Bytes();
    ASSERT_EQ(pcm.size(), out.size());
    // The noise-only part (less the gate's look-ahead and a frame) is much quieter.
    double before = Rms(pcm, 4096, 11025), after = Rms(out, 4096, 11025);
    EXPECT_LT(after, before / 4) << before << " -> " << after;
    // The tone keeps its level and pitch (it arrives 1024 samples later).
    double toneIn = Rms(pcm, 30000, 22050), toneOut = Rms(out, 30000 + 1024, 22050);
    EXPECT_NEAR(toneIn, toneOut, toneIn * 0.05);
    Channel c = Extract(out, 2, 16, 44100, 1);
    EXPECT_NEAR(1000.0, MeasureToneHz(c), 5.0);
}

TEST(NoiseReductionFilter, SwitchingAndLevelChangesWhileRunningAreSafe)
{
    std::vector<BYTE> pcm = NoiseThenTone();
    NrGraph g(pcm);
    ASSERT_TRUE(g.Connect());
    g.src->SetDelayPerSample(3);
    g.control->SetEnabled(TRUE);
    ASSERT_TRUE(SUCCEEDED(g.graph.Run()));
    for (int i = 0; i < 60 && !g.sink->EndOfStreamSeen(); ++i) {
        g.control->SetEnabled(i % 2);
        g.control->SetLevel(5.0f + (float)(i % 20));
        Sleep(5);
    }
    EXPECT_TRUE(g.sink->WaitForEndOfStream(10000));
    g.graph.Stop();
    EXPECT_EQ(pcm.size(), g.sink->Bytes().size());
    EXPECT_EQ(E_INVALIDARG, g.control->SetLevel(NAN));
}

// Asking whether another layout would do (QueryAccept, refused while connected)
// is not a change of format: the stream that follows is processed in the layout
// the pin was connected with.
TEST(NoiseReductionFilter, AQueryForAnotherLayoutLeavesTheConnectedOneInForce)
{
    std::vector<BYTE> pcm = NoiseThenTone();
    std::vector<BYTE> plain;
    {
        NrGraph g(pcm);
        ASSERT_TRUE(g.Connect());
        g.control->SetEnabled(TRUE);
        ASSERT_EQ(EC_COMPLETE, g.graph.RunToCompletion(10000));
        plain = g.sink->Bytes();
    }
    NrGraph g(pcm);
    ASSERT_TRUE(g.Connect());
    g.control->SetEnabled(TRUE);
    CComPtr<IPin> in;
    in.Attach(CTestGraph::FindPin(g.nr, PINDIR_INPUT, false));
    ASSERT_TRUE(in);
    CMediaType mono8 = CMediaType::Pcm(22050, 1, 8);
    EXPECT_EQ(S_FALSE, in->QueryAccept(&mono8)) << "a connected pin changes its layout only by reconnecting";
    ASSERT_EQ(EC_COMPLETE, g.graph.RunToCompletion(10000));
    EXPECT_TRUE(g.sink->Bytes() == plain) << "the query changed how the stream was read";
}
