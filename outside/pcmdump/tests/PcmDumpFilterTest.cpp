// The writer in real graphs fed by a test source.
#include <gtest/gtest.h>
#include <windows.h>
#include <dshow.h>
#include "ComPtr.h"
#include "ModuleLoader.h"
#include "OutsideFilters.h"
#include "TestGraph.h"
#include "TestSignal.h"
#include "TestSource.h"
#include "WavSplitWriter.h"

using namespace testsignal;

namespace {

std::wstring TempPath(const wchar_t* name)
{
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

struct DumpGraph {
    CTestGraph graph;
    CComPtr<IBaseFilter> source;
    CComPtr<IBaseFilter> dump;

    DumpGraph(const std::vector<BYTE>& pcm, int channels, int rate)
    {
        source.Attach(CTestSource::Create(CMediaType::Pcm(rate, (WORD)channels, 16), pcm, 4096));
        dump.Attach((IBaseFilter*)CreateFromModule(L"Vossel.ax", CLSID_NVPCMDump, IID_IBaseFilter));
    }
    bool Connect()
    {
        return dump && SUCCEEDED(graph.Add(source, L"Source")) && SUCCEEDED(graph.Add(dump, L"NV PCM Dump Filter")) &&
               SUCCEEDED(graph.ConnectDirect(source, dump));
    }
    template <class T> CComPtr<T> Get(REFIID iid)
    {
        CComPtr<T> p;
        dump->QueryInterface(iid, (void**)&p);
        return p;
    }
};

} // namespace

TEST(PcmDumpFilter, WritesTheRequestedFormatConvertedFromItsInput)
{
    std::wstring path = TempPath(L"dump_format.wav");
    DumpGraph g(SineBytes(2, 44100, 1000, 2.0, 0.5), 2, 44100);
    ASSERT_TRUE(g.Connect());
    CComPtr<IFileSinkFilter> sink = g.Get<IFileSinkFilter>(IID_IFileSinkFilter);
    ASSERT_EQ(S_OK, sink->SetFileName(path.c_str(), nullptr));
    CComPtr<IPCMDump> dump = g.Get<IPCMDump>(IID_IPCMDump);
    ASSERT_EQ(S_OK, dump->SetFormat(1, 22050, 8));
    int ch = 0, rate = 0, bits = 0;
    dump->GetFormat(&ch, &rate, &bits);
    EXPECT_EQ(1, ch);
    EXPECT_EQ(22050, rate);
    EXPECT_EQ(8, bits);
    ASSERT_EQ(EC_COMPLETE, g.graph.RunToCompletion(10000));
    g.graph.Stop();

    WavFile wav;
    ASSERT_TRUE(ReadWav(path, wav));
    EXPECT_EQ(1, wav.formatTag);
    EXPECT_EQ(1, wav.channels);
    EXPECT_EQ(22050, wav.rate);
    EXPECT_EQ(8, wav.bits);
    EXPECT_EQ(1, wav.blockAlign);
    EXPECT_NEAR(44100.0, (double)wav.dataSize, 4.0);
    Channel c = Extract(wav.data, 1, 8, 22050, 0);
    EXPECT_NEAR(1000.0, MeasureToneHz(c), 5.0);
    int bytes = 0;
    LONGLONG bytes64 = 0;
    dump->GetWrittenBytes(&bytes);
    dump->GetWrittenBytes64(&bytes64);
    EXPECT_EQ((int)wav.dataSize, bytes);
    EXPECT_EQ((LONGLONG)wav.dataSize, bytes64);
    DeleteFileW(path.c_str());
}

TEST(PcmDumpFilter, ContinuesInNumberedFilesAndCountsThem)
{
    std::wstring path = TempPath(L"dump_split.wav");
    // 2.5 MB of sound with a limit of 1 MB: the file and two continuations.
    std::vector<BYTE> pcm = SineBytes(2, 44100, 440, 2621440.0 / 176400, 0.25);
    DumpGraph g(pcm, 2, 44100);
    ASSERT_TRUE(g.Connect());
    ASSERT_EQ(S_OK, g.Get<IFileSinkFilter>(IID_IFileSinkFilter)->SetFileName(path.c_str(), nullptr));
    CComPtr<IPCMDumpSplit> split = g.Get<IPCMDumpSplit>(IID_IPCMDumpSplit);
    split->SetSplitEnabled(TRUE);
    split->SetSplitLimit(1);
    ASSERT_EQ(EC_COMPLETE, g.graph.RunToCompletion(10000));
    g.graph.Stop();
    int count = -1;
    split->GetFileCount(&count);
    EXPECT_EQ(2, count);
    std::vector<BYTE> joined;
    for (int i = 0; i <= 2; ++i) {
        std::wstring p = i ? CWavSplitWriter::ContinuationPath(path, i) : path;
        WavFile wav;
        ASSERT_TRUE(ReadWav(p, wav)) << i;
        EXPECT_EQ(i < 2 ? 1048576u : (uint32_t)(pcm.size() - 2 * 1048576), wav.dataSize);
        joined.insert(joined.end(), wav.data.begin(), wav.data.end());
        DeleteFileW(p.c_str());
    }
    EXPECT_TRUE(joined == pcm) << "the sound is not kept whole across the files";
}

TEST(PcmDumpFilter, WritesThePeakFileWhenAsked)
{
    std::wstring path = TempPath(L"dump_peak.wav");
    std::wstring peak = TempPath(L"dump_peak.npk");
    DumpGraph g(SineBytes(2, 44100, 1000, 1.0, 0.5), 2, 44100);
    ASSERT_TRUE(g.Connect());
    ASSERT_EQ(S_OK, g.Get<IFileSinkFilter>(IID_IFileSinkFilter)->SetFileName(path.c_str(), nullptr));
    CComPtr<IPCMDumpFiles> files = g.Get<IPCMDumpFiles>(IID_IPCMDumpFiles);
    files->SetReserved(0);
    files->SetWritePeak(TRUE);
    files->SetWriteWav(TRUE);
    ASSERT_EQ(EC_COMPLETE, g.graph.RunToCompletion(10000));
    g.graph.Stop();
    WIN32_FILE_ATTRIBUTE_DATA a = {};
    ASSERT_TRUE(GetFileAttributesExW(peak.c_str(), GetFileExInfoStandard, &a));
    // Header, one stereo 16-bit frame per 128 (345 of 44100), the empty "DSPD".
    EXPECT_EQ(1012u + 345 * 4 + 8, a.nFileSizeLow);
    DeleteFileW(path.c_str());
    DeleteFileW(peak.c_str());
}

TEST(PcmDumpFilter, RefusesBadPathsAndFormatsAtOnce)
{
    CComPtr<IBaseFilter> dump;
    dump.Attach((IBaseFilter*)CreateFromModule(L"Vossel.ax", CLSID_NVPCMDump, IID_IBaseFilter));
    ASSERT_TRUE(dump);
    CComQIPtr<IFileSinkFilter> sink(dump);
    EXPECT_TRUE(FAILED(sink->SetFileName(L"Q:\\no such folder\\x.wav", nullptr)));
    EXPECT_EQ(E_INVALIDARG, sink->SetFileName(L"", nullptr));
    CComQIPtr<IPCMDump> pcm(dump);
    EXPECT_EQ(E_INVALIDARG, pcm->SetFormat(3, 44100, 16));
    EXPECT_EQ(E_INVALIDARG, pcm->SetFormat(2, 44100, 12));
    int count = -1;
    CComQIPtr<IPCMDumpSplit> split(dump);
    EXPECT_EQ(S_OK, split->GetFileCount(&count));
    EXPECT_EQ(0, count);
}
