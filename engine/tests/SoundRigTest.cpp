// The sandbox's capture device really delivers the known signal through wave-in;
// every capture test below relies on that.
#include <gtest/gtest.h>
#include <windows.h>
#include <mmsystem.h>
#include "TestSignal.h"
#include "WaveInId.h"

using namespace testsignal;

TEST(SoundRig, WaveInReceivesToneAndSilenceFromTheCaptureFeed)
{
    int id = WaveInId(CaptureDeviceName);
    ASSERT_GE(id, 0) << "the sandbox's capture feed is not a wave-in device";

    WAVEFORMATEX wf = {WAVE_FORMAT_PCM, 2, 44100, 44100 * 4, 4, 16, 0};
    HWAVEIN in = nullptr;
    ASSERT_EQ(MMSYSERR_NOERROR, waveInOpen(&in, (UINT)id, &wf, 0, 0, CALLBACK_NULL));
    std::vector<unsigned char> pcm(44100 * 4 * 2);           // 2 s
    WAVEHDR hdr = {};
    hdr.lpData = (LPSTR)pcm.data();
    hdr.dwBufferLength = (DWORD)pcm.size();
    waveInPrepareHeader(in, &hdr, sizeof(hdr));
    waveInAddBuffer(in, &hdr, sizeof(hdr));
    waveInStart(in);
    DWORD start = GetTickCount();
    while (!(hdr.dwFlags & WHDR_DONE) && GetTickCount() - start < 6000) Sleep(10);
    bool done = (hdr.dwFlags & WHDR_DONE) != 0;
    waveInReset(in);
    waveInUnprepareHeader(in, &hdr, sizeof(hdr));
    waveInClose(in);
    ASSERT_TRUE(done) << "wave-in delivered nothing within 6 s";
    ASSERT_EQ(pcm.size(), hdr.dwBytesRecorded);

    Channel left = Extract(pcm, 2, 16, 44100, 0);
    std::vector<double> peaks = WindowPeaks(left, 0.05);
    // 2 s of a 1.5 s cycle always hold a whole silence and at least 0.5 s of tone.
    EXPECT_GE(LongestRun(peaks, 0.05, true, 0.45, 0.01), 0.45);
    EXPECT_GE(LongestRun(peaks, 0.05, false, 0.45, 0.001), 0.4);
    EXPECT_TRUE(HasCleanToneWindows(left, 1000.0, 10.0)) << MeasureToneHz(left);
}
