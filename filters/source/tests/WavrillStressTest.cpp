// Stopping a streaming PCM source at random moments, with seeks and progress
// queries from another thread, never deadlocks and leaves it in working order.
#include "WavrillTestSupport.h"

#include <gtest/gtest.h>
#include <atomic>
#include <cstdio>
#include <random>

namespace {

struct StressRun {
    std::wstring path;
    Bytes sound;
    int iterations = 0;
    std::atomic<bool> done{false};
    std::atomic<int> seeks{0};
    std::atomic<bool> badSample{false};
    bool finalRunOk = false;
    DWORD elapsedMs = 0;
};

struct Seeker {
    IWavrill* range;
    StressRun* run;
};

DWORD WINAPI SeekThread(void* param)
{
    auto& s = *static_cast<Seeker*>(param);
    std::mt19937 random(7);
    while (!s.run->done) {
        LONGLONG pos = (LONGLONG)(random() % (s.run->sound.size() / 4)) * 4;
        int percent = 0;
        s.range->SetPosition(&pos);
        s.range->GetProgress(&percent);
        s.range->GetPosition(&pos);
        ++s.run->seeks;
        Sleep(random() % 2);
    }
    return 0;
}

DWORD WINAPI StressThread(void* param)
{
    StressRun& run = *static_cast<StressRun*>(param);
    CWavrillGraph g;
    if (!g.Ok() || g.file->SetFileName(run.path.c_str(), nullptr) != S_OK || g.Connect() != S_OK) {
        run.done = true;
        return 1;
    }

    // A second thread seeks and polls progress while the graph starts and stops.
    Seeker seeker{g.range, &run};
    HANDLE seekThread = CreateThread(nullptr, 0, SeekThread, &seeker, 0, nullptr);

    std::mt19937 random(12345);
    const DWORD start = GetTickCount();
    for (int i = 0; i < run.iterations; ++i) {
        g.sink->ClearReceived();
        g.graph.Run();
        const unsigned wait = random() % 5;
        if (wait) Sleep(wait - 1);   // 0 still yields; some stops land before the first sample
        g.graph.Stop();
        for (const auto& s : g.sink->Samples())
            if (s.length % 4) run.badSample = true;
    }
    run.elapsedMs = GetTickCount() - start;
    run.done = true;
    WaitForSingleObject(seekThread, INFINITE);
    CloseHandle(seekThread);

    // Still in working order: the whole file plays from the start.
    LONGLONG zero = 0;
    g.range->SetPosition(&zero);
    run.finalRunOk = g.RunToEnd() == EC_COMPLETE && g.sink->Bytes() == run.sound;
    return 0;
}

TEST(WavrillStress, StopAtRandomMomentsNeverDeadlocks)
{
    ASSERT_EQ(0u, RegisterWavrill());
    CTempFolder dir;
    StressRun run;
    run.sound = Pattern(44100 * 4 * 5);   // 5 s of CD audio
    run.path = dir.Write(L"stress.wav", PlainWav(2, 44100, 16, run.sound));
    run.iterations = 100;

    HANDLE thread = CreateThread(nullptr, 0, StressThread, &run, 0, nullptr);
    ASSERT_TRUE(thread);
    if (WaitForSingleObject(thread, 60000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the source did not stop within 60 s: deadlock";
        fflush(stdout);
        TerminateProcess(GetCurrentProcess(), 3);
    }
    DWORD code = 1;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    ASSERT_EQ(0u, code);
    EXPECT_FALSE(run.badSample);
    EXPECT_TRUE(run.finalRunOk);
    EXPECT_GT(run.seeks.load(), 0);
    printf("stress: %d run/stop cycles in %lu ms, %d seeks alongside\n", run.iterations,
           (unsigned long)run.elapsedMs, run.seeks.load());
}

}  // namespace
