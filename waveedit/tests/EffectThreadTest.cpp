// The effects on their worker thread, and what only a Windows volume can show
// (a disk that fills up under the output).
#include "Amplify.h"
#include "ByteFile.h"
#include "EffectTestPaths.h"
#include "EffectThread.h"
#include "FullVolume.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

namespace {

WPARAM g_doneResult = 99;
int g_doneCount = 0;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_AUDIOEFFECT_DONE) {
        g_doneResult = wp;
        ++g_doneCount;
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND MakeOwner()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"WaveEditTestOwner";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

}  // namespace

TEST(Effects, WorkerThreadPostsDoneAndStopPumps)
{
    Paths p(L"thread");
    WriteBytes(p.src, PlainWav(2, 44100, 16, Bytes(4000000, 3)));
    HWND owner = MakeOwner();
    ASSERT_TRUE(owner);
    AmplifyParam param;
    param.gain = 1.0f;
    param.tracks = Whole(1000000);
    CAmplify amp;
    amp.SetParam(&param);
    CEffectThread thread;
    g_doneResult = 99;
    g_doneCount = 0;
    ASSERT_TRUE(thread.Start(&amp, owner, p.src.c_str(), p.out.c_str(), p.peak.c_str()));
    MSG msg;
    const DWORD until = GetTickCount() + 20000;
    while (g_doneCount == 0 && GetTickCount() < until) {
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        else
            Sleep(5);
    }
    EXPECT_EQ(1u, g_doneResult);
    EXPECT_EQ(100, thread.GetProgress());
    thread.Stop();
    EXPECT_FALSE(thread.IsRunning());

    // Cancelled at once through Stop: the wait itself delivers the owner's 0.
    g_doneCount = 0;
    amp.Cancel();
    ASSERT_TRUE(thread.Start(&amp, owner, p.src.c_str(), p.out.c_str(), p.peak.c_str()));
    thread.Stop();
    if (g_doneCount == 0 && PeekMessageW(&msg, owner, WM_AUDIOEFFECT_DONE, WM_AUDIOEFFECT_DONE, PM_REMOVE))
        DispatchMessageW(&msg);
    EXPECT_EQ(1, g_doneCount);
    DestroyWindow(owner);
}

// Drive U: is the waveedit tests' own small volume.
TEST(Effects, AnOutputThatCannotBeWrittenFailsAndTheEffectRunsAgainElsewhere)
{
    CFullVolume volume(L'U', 64 * 1024);
    if (!volume.Ok()) GTEST_SKIP() << volume.Why();
    Paths p(L"fullout");
    std::vector<int16_t> s(200000);
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = (int16_t)(i * 37);
    const Bytes source = PlainWav(2, 44100, 16, Samples16(s));
    WriteBytes(p.src, source);
    AmplifyParam param;
    param.gain = 0.5f;
    param.tracks = Whole(100000);
    CAmplify amp;
    amp.SetParam(&param);
    const std::wstring out = volume.Path(L"fullout.tm1");
    ASSERT_TRUE(amp.Prepare(p.src, out, EffectPeakPathFor(out)));
    EXPECT_FALSE(amp.Run());
    // The write fails on the run's writer thread; the run still says what failed.
    EXPECT_EQ("the output cannot be written", amp.GetError());
    EXPECT_LT(amp.GetProgress(), 100);
    EXPECT_EQ(source, ReadBytes(p.src));
    // The same effect object goes on with a file where there is room.
    ASSERT_TRUE(RunEffect(amp, p)) << amp.GetError();
    EXPECT_EQ(100, amp.GetProgress());
    EXPECT_EQ(source.size(), ReadBytes(p.out).size());
}

// Stop waits for the worker while handling this thread's messages; a request to
// end the thread's loop that arrives meanwhile is still there afterwards.
TEST(Effects, StopKeepsAQuitRequestForTheThreadsOwnLoop)
{
    Paths p(L"quit");
    WriteBytes(p.src, PlainWav(2, 44100, 16, Bytes(4000000, 3)));
    AmplifyParam param;
    param.tracks = Whole(1000000);
    // Busy for a while, so the wait pumps the messages below.
    struct CSlowAmplify : CAmplify {
        bool ProcessRange(uint64_t bytes) override
        {
            Sleep(300);
            return CAmplify::ProcessRange(bytes);
        }
    } amp;
    amp.SetParam(&param);
    CEffectThread thread;
    ASSERT_TRUE(thread.Start(&amp, nullptr, p.src.c_str(), p.out.c_str(), p.peak.c_str()));
    PostThreadMessageW(GetCurrentThreadId(), WM_USER + 1, 0, 0);
    PostQuitMessage(7);
    thread.Stop();
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit request was swallowed";
    EXPECT_EQ(7u, msg.wParam);
}
