// The writer in real graphs fed by a test source.
#include <gtest/gtest.h>
#include <windows.h>
#include <dshow.h>
#include <algorithm>
#include "ByteFile.h"
#include "ComPtr.h"
#include "FullVolume.h"
#include "ModuleLoader.h"
#include "OutsideFilters.h"
#include "TestGraph.h"
#include "TestSignal.h"
#include "TestSource.h"
#include "PeakFile.h"
#include "WavSplitWriter.h"
#include "WaveHeader.h"

using namespace testsignal;

namespace {

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

std::vector<uint8_t> FileBytes(const std::wstring& path)
{
    std::vector<uint8_t> bytes;
    auto f = OpenByteFile(path, FileMode::ReadShared);
    if (!f) return bytes;
    uint8_t buf[65536];
    for (size_t n; (n = f->Read(buf, sizeof buf)) > 0;) bytes.insert(bytes.end(), buf, buf + n);
    return bytes;
}

// The peak file the wave editor builds from a finished WAV (it writes it beside the WAV).
std::vector<uint8_t> EditorPeakFile(const std::wstring& wav)
{
    WaveHeaderInfo info;
    {
        auto f = OpenByteFile(wav, FileMode::ReadShared);
        if (!f || ReadWaveHeader(*f, info) != kWaveOk) return {};
    }
    NV_Peak peak(info.header, info.dataSize, nullptr);
    if (!peak.Build(wav, nullptr)) return {};
    return FileBytes(PeakPathFor(wav));
}

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

// 2.5 MB of sound with a limit of 1 MB: the file and two continuations. Asked for
// peak files, each WAV gets its own, equal to the one the wave editor builds
// from that WAV.
TEST(PcmDumpFilter, ContinuesInNumberedFilesWithTheirPeakFilesAndCountsThem)
{
    std::vector<BYTE> pcm = SineBytes(2, 44100, 440, 2621440.0 / 176400, 0.25);
    for (bool peaks : {false, true}) {
        SCOPED_TRACE(peaks ? "with peak files" : "without peak files");
        std::wstring path = TempPath(L"dump_split.wav");
        DumpGraph g(pcm, 2, 44100);
        ASSERT_TRUE(g.Connect());
        ASSERT_EQ(S_OK, g.Get<IFileSinkFilter>(IID_IFileSinkFilter)->SetFileName(path.c_str(), nullptr));
        if (peaks) {
            CComPtr<IPCMDumpFiles> files = g.Get<IPCMDumpFiles>(IID_IPCMDumpFiles);
            files->SetReserved(0);
            files->SetWritePeak(TRUE);
            files->SetWriteWav(TRUE);
        }
        CComPtr<IPCMDumpSplit> split = g.Get<IPCMDumpSplit>(IID_IPCMDumpSplit);
        split->SetSplitEnabled(TRUE);
        split->SetSplitLimit(1);
        ASSERT_EQ(EC_COMPLETE, g.graph.RunToCompletion(10000));
        g.graph.Stop();
        int count = -1;
        split->GetFileCount(&count);
        ASSERT_EQ(2, count);
        std::vector<BYTE> joined;
        for (int i = 0; i <= 3; ++i) {
            std::wstring wav = i ? CWavSplitWriter::ContinuationPath(path, i) : path;
            std::wstring peak = PeakPathFor(wav);
            std::vector<uint8_t> ours = FileBytes(peak);
            DeleteFileW(peak.c_str());
            if (i == 3 || !peaks) {
                EXPECT_TRUE(ours.empty()) << "a peak file nobody asked for: " << i;
            }
            if (i == 3) break;
            WavFile w;
            ASSERT_TRUE(ReadWav(wav, w)) << i;
            EXPECT_EQ(i < 2 ? 1048576u : (uint32_t)(pcm.size() - 2 * 1048576), w.dataSize);
            joined.insert(joined.end(), w.data.begin(), w.data.end());
            if (peaks) {
                ASSERT_FALSE(ours.empty()) << "no peak file for file " << i;
                std::vector<uint8_t> golden = EditorPeakFile(wav);
                ASSERT_FALSE(golden.empty()) << i;
                EXPECT_EQ(golden.size(), ours.size()) << i;
                EXPECT_TRUE(golden == ours) << "peak file " << i << " differs from the wave editor's";
                DeleteFileW(peak.c_str());
            }
            DeleteFileW(wav.c_str());
        }
        EXPECT_TRUE(joined == pcm) << "the sound is not kept whole across the files";
    }
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

// Mono and stereo conversions leave the peak file the wave editor would build:
// a mono one covers the whole sound, not the first half of the time axis.
TEST(PcmDumpFilter, MonoAndStereoPeakFilesAreTheEditors)
{
    for (int channels : {1, 2}) {
        SCOPED_TRACE(channels == 1 ? "mono" : "stereo");
        std::wstring path = TempPath(channels == 1 ? L"dump_peak_mono.wav" : L"dump_peak_stereo.wav");
        DumpGraph g(SineBytes(channels, 44100, 1000, 1.0, 0.5), channels, 44100);
        ASSERT_TRUE(g.Connect());
        ASSERT_EQ(S_OK, g.Get<IFileSinkFilter>(IID_IFileSinkFilter)->SetFileName(path.c_str(), nullptr));
        CComPtr<IPCMDumpFiles> files = g.Get<IPCMDumpFiles>(IID_IPCMDumpFiles);
        files->SetReserved(0);
        files->SetWritePeak(TRUE);
        files->SetWriteWav(TRUE);
        ASSERT_EQ(EC_COMPLETE, g.graph.RunToCompletion(10000));
        g.graph.Stop();
        std::vector<uint8_t> ours = FileBytes(PeakPathFor(path));
        DeleteFileW(PeakPathFor(path).c_str());
        // Header, a pair of 16-bit values for each of the 345 kept frames, "DSPD".
        EXPECT_EQ(1012u + 345 * 4 + 8, ours.size());
        std::vector<uint8_t> golden = EditorPeakFile(path);
        EXPECT_TRUE(golden == ours) << "the peak file differs from the wave editor's";
        DeleteFileW(PeakPathFor(path).c_str());
        DeleteFileW(path.c_str());
    }
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

TEST(PcmDumpFilter, AFullDiskIsReportedOnceAndTheFileKeepsWhatWasWritten)
{
    CFullVolume volume(L'W', 96 * 1024);
    if (!volume.Ok()) GTEST_SKIP() << volume.Why();
    std::wstring path = volume.Path(L"graph_full.wav");
    std::vector<BYTE> pcm = SineBytes(2, 44100, 1000, 1.5, 0.5);
    DumpGraph g(pcm, 2, 44100);
    ASSERT_TRUE(g.Connect());
    ASSERT_EQ(S_OK, g.Get<IFileSinkFilter>(IID_IFileSinkFilter)->SetFileName(path.c_str(), nullptr));
    g.Get<IPCMDumpFiles>(IID_IPCMDumpFiles)->SetWritePeak(TRUE);
    LONG_PTR error = 0;
    ASSERT_EQ(EC_ERRORABORT, g.graph.RunToCompletion(10000, &error));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_DISK_FULL), (HRESULT)error);
    g.graph.Stop();
    LONGLONG written = 0;
    g.Get<IPCMDump>(IID_IPCMDump)->GetWrittenBytes64(&written);
    WavFile wav;
    ASSERT_TRUE(ReadWav(path, wav));
    EXPECT_EQ((unsigned)written, wav.dataSize);
    EXPECT_EQ(44 + written, wav.fileSize);
    EXPECT_EQ(36 + written, (LONGLONG)wav.riffSize);
    EXPECT_GT(written, 64 * 1024);
    EXPECT_LT(written, (LONGLONG)pcm.size());
    EXPECT_TRUE(std::equal(wav.data.begin(), wav.data.end(), pcm.begin())) << "the kept sound is not the sound sent";
    // No room for the peak file either: it is whole or not there.
    std::vector<uint8_t> ours = FileBytes(PeakPathFor(path));
    if (!ours.empty()) {
        DeleteFileW(PeakPathFor(path).c_str());
        EXPECT_TRUE(ours == EditorPeakFile(path)) << "a broken peak file was left";
    }
}

// Naming the output changes no file: an older file of the name keeps its bytes
// until the writer streams into it, and no file appears for a name alone.
TEST(PcmDumpFilter, NamingTheOutputCreatesAndCutsNothing)
{
    std::wstring older = TempPath(L"dump_older.wav"), fresh = TempPath(L"dump_fresh.wav");
    const uint8_t kept[] = {'k', 'e', 'e', 'p', ' ', 'm', 'e'};
    {
        auto f = OpenByteFile(older, FileMode::CreateExclusive);
        ASSERT_TRUE(f && f->Write(kept, sizeof kept));
    }
    DeleteFileW(fresh.c_str());
    {
        CComPtr<IBaseFilter> dump;
        dump.Attach((IBaseFilter*)CreateFromModule(L"Vossel.ax", CLSID_NVPCMDump, IID_IBaseFilter));
        ASSERT_TRUE(dump);
        CComQIPtr<IFileSinkFilter> sink(dump);
        EXPECT_EQ(S_OK, sink->SetFileName(older.c_str(), nullptr));
        EXPECT_EQ(std::vector<uint8_t>(kept, kept + sizeof kept), FileBytes(older));
        EXPECT_EQ(S_OK, sink->SetFileName(fresh.c_str(), nullptr));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(fresh.c_str()));
        // A folder is not a file to write.
        std::wstring folder = TempPath(L"");
        EXPECT_TRUE(FAILED(sink->SetFileName(folder.c_str(), nullptr)));
    }
    EXPECT_EQ(std::vector<uint8_t>(kept, kept + sizeof kept), FileBytes(older));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(fresh.c_str()));
    // Streamed into, the older file becomes the recording.
    DumpGraph g(SineBytes(2, 44100, 1000, 0.5, 0.5), 2, 44100);
    ASSERT_TRUE(g.Connect());
    ASSERT_EQ(S_OK, g.Get<IFileSinkFilter>(IID_IFileSinkFilter)->SetFileName(older.c_str(), nullptr));
    ASSERT_EQ(EC_COMPLETE, g.graph.RunToCompletion(10000));
    g.graph.Stop();
    WavFile wav;
    ASSERT_TRUE(ReadWav(older, wav));
    EXPECT_EQ(44100u * 2, wav.dataSize);
    DeleteFileW(older.c_str());
}
