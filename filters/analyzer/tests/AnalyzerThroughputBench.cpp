// Not part of the run: prints how many seconds of audio the analyzer measures
// per second of processing (run by hand with --gtest_also_run_disabled_tests).
#include "AnalyzerTestSupport.h"
#include <gtest/gtest.h>
#include <cstdio>

using namespace analyzer_test;

TEST(AnalyzerThroughput, DISABLED_PrintsAudioSecondsPerSecond)
{
    struct { DWORD rate; WORD channels; bool split; } cases[] = {
        {44100, 2, false}, {48000, 2, true}, {44100, 1, true},
    };
    for (auto& c : cases) {
        const int seconds = 60;
        CMediaType mt = CMediaType::Pcm(c.rate, c.channels, 16);
        AnalyzerGraph g;
        ASSERT_EQ(S_OK, g.Build(mt, PatternPcm(mt, int(c.rate) * seconds), 16384));
        CComPtr<ISplitEvent> split = g.Get<ISplitEvent>(IID_ISplitEvent);
        split->SetSplitEnabled(c.split);
        LARGE_INTEGER f, t0, t1;
        QueryPerformanceFrequency(&f);
        QueryPerformanceCounter(&t0);
        ASSERT_EQ(EC_COMPLETE, g.graph.RunToCompletion(120000));
        QueryPerformanceCounter(&t1);
        double elapsed = double(t1.QuadPart - t0.QuadPart) / f.QuadPart;
        printf("analyzer %lu Hz %u ch split %s: %d s of audio in %.3f s = %.0fx real time\n",
               (unsigned long)c.rate, c.channels, c.split ? "on" : "off", seconds, elapsed, seconds / elapsed);
    }
}
