// CConvertFile in real graphs with the registered filter modules: expected sizes,
// progress, the log, track ranges, the peak-data conversion of an MP3, failures
// that leave nothing behind (also without the encoder's class), a Close inside the
// completion wait, and a disk that fills up.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>
#include "ByteFile.h"
#include "ConvertFile.h"
#include "EngineTestSupport.h"
#include "FullVolume.h"
#include "GetMediaPlayTime.h"
#include "ModuleLoader.h"
#include "Mp3FileCheck.h"
#include "IAnalyzer.h"
#include "OutsideFilters.h"
#include "PeakFile.h"
#include "TestSignal.h"
#include "UnregisteredClass.h"

using namespace testsignal;

namespace {

std::vector<BYTE> WavBytes(const std::vector<BYTE>& data, int channels, int rate, int bits)
{
    std::vector<BYTE> b;
    auto put = [&](DWORD v, int n) { for (int i = 0; i < n; ++i) b.push_back(BYTE(v >> (8 * i))); };
    int block = channels * bits / 8;
    b.insert(b.end(), {'R', 'I', 'F', 'F'}); put(36 + (DWORD)data.size(), 4);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}); put(16, 4);
    put(1, 2); put(channels, 2); put(rate, 4); put(rate * block, 4); put(block, 2); put(bits, 2);
    b.insert(b.end(), {'d', 'a', 't', 'a'}); put((DWORD)data.size(), 4);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

void Save(const std::wstring& path, const std::vector<BYTE>& bytes)
{
    FILE* f = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

std::vector<BYTE> ReadAllBytes(const std::wstring& path)
{
    std::vector<BYTE> bytes;
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return bytes;
    BYTE buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    fclose(f);
    return bytes;
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool HasLineStarting(const std::vector<std::string>& lines, const std::string& start)
{
    for (const std::string& l : lines)
        if (l.compare(0, start.size(), start) == 0) return true;
    return false;
}

// A RIFF/WAVE file of the chunks given (a pad byte after each odd-sized one).
std::vector<BYTE> Chunk(const char* id, const std::vector<BYTE>& body, DWORD storedSize = 0xFFFFFFFF)
{
    std::vector<BYTE> b(id, id + 4);
    DWORD size = storedSize == 0xFFFFFFFF ? (DWORD)body.size() : storedSize;
    for (int i = 0; i < 4; ++i) b.push_back(BYTE(size >> (8 * i)));
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() % 2) b.push_back(0);
    return b;
}

std::vector<BYTE> FmtBody(int tag, int channels, int rate, int bits, int extra = 0)
{
    std::vector<BYTE> b;
    auto put = [&](DWORD v, int n) { for (int i = 0; i < n; ++i) b.push_back(BYTE(v >> (8 * i))); };
    int block = channels * bits / 8;
    put(tag, 2); put(channels, 2); put(rate, 4); put(rate * block, 4); put(block, 2); put(bits, 2);
    if (extra) { put(extra - 2, 2); b.insert(b.end(), extra - 2, 0); }
    return b;
}

std::vector<BYTE> Riff(std::initializer_list<std::vector<BYTE>> chunks)
{
    std::vector<BYTE> inner = {'W', 'A', 'V', 'E'};
    for (const auto& c : chunks) inner.insert(inner.end(), c.begin(), c.end());
    return Chunk("RIFF", inner);
}

// The platform's way to the working set, as every WAV took before: its file
// source and WAVE parser feeding the PCM writer, run without a clock.
bool WorkingSetThroughThePlatform(const std::wstring& input, const std::wstring& output)
{
    CComPtr<IGraphBuilder> graph;
    CComPtr<IBaseFilter> source, writer;
    if (FAILED(graph.CoCreateInstance(CLSID_FilterGraph)) || FAILED(graph->AddSourceFilter(input.c_str(), L"in", &source)) ||
        FAILED(writer.CoCreateInstance(CLSID_NVPCMDump)) || FAILED(graph->AddFilter(writer, L"writer")))
        return false;
    CComPtr<IPCMDumpFiles> files;
    CComPtr<IFileSinkFilter> sink;
    writer->QueryInterface(IID_IPCMDumpFiles, (void**)&files);
    writer->QueryInterface(IID_IFileSinkFilter, (void**)&sink);
    if (!files || !sink) return false;
    files->SetReserved(0);
    files->SetWritePeak(TRUE);
    files->SetWriteWav(TRUE);
    if (FAILED(sink->SetFileName(output.c_str(), nullptr))) return false;
    CComPtr<IEnumPins> outs, ins;
    CComPtr<IPin> out, in;
    source->EnumPins(&outs);
    writer->EnumPins(&ins);
    if (outs->Next(1, &out, nullptr) != S_OK || ins->Next(1, &in, nullptr) != S_OK || FAILED(graph->Connect(out, in)))
        return false;
    CComPtr<IMediaFilter> clockless;
    CComPtr<IMediaControl> control;
    CComPtr<IMediaEvent> events;
    graph->QueryInterface(IID_IMediaFilter, (void**)&clockless);
    graph->QueryInterface(IID_IMediaControl, (void**)&control);
    graph->QueryInterface(IID_IMediaEvent, (void**)&events);
    clockless->SetSyncSource(nullptr);
    if (FAILED(control->Run())) return false;
    long code = 0;
    DWORD start = GetTickCount();
    while (code != EC_COMPLETE && code != EC_ERRORABORT && GetTickCount() - start < 30000) {
        LONG_PTR p1, p2;
        if (events->GetEvent(&code, &p1, &p2, 100) == S_OK) events->FreeEventParams(code, p1, p2);
    }
    control->Stop();
    return code == EC_COMPLETE;
}

class ConvertFileTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (const wchar_t* m : {L"Vossel.ax", L"NVAudioAnalyer.ax", L"Wavrill.ax", L"NVMp3Enc.ax", L"Tarrow.ax"})
            ASSERT_TRUE(RegisterModule(m)) << m;
    }
    void SetUp() override
    {
        m_owner = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        m_tone = SineBytes(2, 44100, 1000.0, 10.0, 0.5);
        m_wav = TempPath(L"convert_in.wav");
        Save(m_wav, WavBytes(m_tone, 2, 44100, 16));
    }
    void TearDown() override
    {
        DestroyWindow(m_owner);
        DeleteFileW(m_wav.c_str());
    }

    // Runs the opened conversion as an owner dialog would: the graph event message
    // answered with WaitForCompletion, the percentage polled meanwhile.
    long RunToEnd(CConvertFile& convert, std::vector<int>* percents = nullptr, DWORD timeoutMs = 60000)
    {
        if (!convert.Run()) return -1;
        DWORD start = GetTickCount();
        while (GetTickCount() - start < timeoutMs) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_CONVERT_GRAPHEVENT && msg.hwnd == m_owner) {
                    long code = convert.WaitForCompletion();
                    if (code == 1 || code == 2 || code == 3) {
                        if (percents) percents->push_back(convert.GetConvertPercent());
                        return code;
                    }
                } else {
                    DispatchMessageW(&msg);
                }
            }
            if (percents) percents->push_back(convert.GetConvertPercent());
            Sleep(5);
        }
        return 0;
    }

    HWND m_owner = nullptr;
    std::vector<BYTE> m_tone;
    std::wstring m_wav;
};

TEST_F(ConvertFileTest, BeforeAnyOpenNothingIsWaitingAndNoProgress)
{
    CConvertFile convert;
    EXPECT_EQ(convert.GetConvertPercent(), 0);
    EXPECT_EQ(convert.WaitForCompletion(), 0);
    EXPECT_FALSE(convert.Run());
}

TEST_F(ConvertFileTest, WavToPcmKeepsTheSoundAndReportsItsExpectedSize)
{
    CLogCapture log;
    CConvertFile convert;
    std::wstring out = TempPath(L"convert_out.wav");
    DeleteFileW(out.c_str());
    ASSERT_TRUE(convert.OpenFileToPCM(m_owner, m_wav.c_str(), out.c_str(), TRUE));
    EXPECT_DOUBLE_EQ(convert.GetExpectedPcmBytes(), 1764000.0);
    EXPECT_EQ(convert.GetKind(), 4);
    std::vector<int> percents;
    ASSERT_EQ(RunToEnd(convert, &percents), 1);
    convert.Close();
    EXPECT_EQ(convert.GetKind(), 0);
    for (size_t i = 1; i < percents.size(); ++i) ASSERT_GE(percents[i], percents[i - 1]);
    EXPECT_EQ(percents.back(), 100);
    WavFile wav;
    ASSERT_TRUE(ReadWav(out, wav));
    EXPECT_EQ(wav.channels, 2);
    EXPECT_EQ(wav.rate, 44100);
    EXPECT_TRUE(wav.data == m_tone);
    std::vector<std::string> lines = log.Lines();
    EXPECT_TRUE(HasLineStarting(lines, "[CConvertFile] duration = 10.000000 Totalsize = 1764000.000000"));
    EXPECT_TRUE(HasLineStarting(lines, "[OpenFileToPCM] success"));
    DeleteFileW(out.c_str());
}

TEST_F(ConvertFileTest, WavToMp3WithTheProgramsSettings)
{
    CLogCapture log;
    CConvertFile convert;
    std::wstring folder = FixtureFolder();
    std::wstring out = (folder.empty() ? TempPath(L"") : folder) + L"convert_10s.mp3";
    DeleteFileW(out.c_str());
    ASSERT_TRUE(convert.OpenFileToMp3(m_owner, m_wav.c_str(), out.c_str()));
    // 10 s at 192 kbps: 10 * 24 * 1000 bytes.
    EXPECT_DOUBLE_EQ(convert.GetExpectedMp3Bytes(), 240000.0);
    std::vector<int> percents;
    ASSERT_EQ(RunToEnd(convert, &percents), 1);
    convert.Close();
    EXPECT_GT(percents.size(), 1u);
    EXPECT_EQ(percents.back(), 100);
    for (size_t i = 1; i < percents.size(); ++i) ASSERT_GE(percents[i], percents[i - 1]);
    Mp3FileInfo info;
    ASSERT_TRUE(ReadMp3Frames(out, info));
    ASSERT_FALSE(info.frames.empty());
    EXPECT_EQ(info.framedBytes, info.fileSize);
    EXPECT_EQ(info.frames[0].header.sampleRate, 48000);
    EXPECT_EQ(info.frames[0].header.bitrateKbps, 192);
    EXPECT_EQ(info.frames[0].header.channelMode, 0);
    EXPECT_TRUE(HasLineStarting(log.Lines(), "[OpenFileToMp3] success"));
    AddOracleCheck(L"convert_10s.mp3", "rate=48000 channels=2 bitrate=192 seconds=10 tone=1000");

    // Mono at 32000 Hz and 128 kbps: the settings the program hands over.
    Mp3OutputSettings mono;
    mono.bitrate = 128;
    mono.sampleRate = 32000;
    mono.channels = 1;
    convert.SetMp3Settings(mono);
    std::wstring monoOut = (folder.empty() ? TempPath(L"") : folder) + L"convert_mono.mp3";
    ASSERT_TRUE(convert.OpenFileToMp3(m_owner, m_wav.c_str(), monoOut.c_str()));
    EXPECT_DOUBLE_EQ(convert.GetExpectedMp3Bytes(), 160000.0);
    ASSERT_EQ(RunToEnd(convert), 1);
    convert.Close();
    AddOracleCheck(L"convert_mono.mp3", "rate=32000 channels=1 bitrate=128 seconds=10 tone=1000");
}

TEST_F(ConvertFileTest, SixtySecondsAt192GiveTheExpectedSize)
{
    std::wstring wav = TempPath(L"convert_60s.wav");
    Save(wav, WavBytes(SineBytes(2, 44100, 440.0, 60.0, 0.3), 2, 44100, 16));
    CConvertFile convert;
    std::wstring out = TempPath(L"convert_60s.mp3");
    ASSERT_TRUE(convert.OpenFileToMp3(m_owner, wav.c_str(), out.c_str()));
    EXPECT_DOUBLE_EQ(convert.GetExpectedMp3Bytes(), 1440000.0);
    convert.Close();
    DeleteFileW(wav.c_str());
    DeleteFileW(out.c_str());
}

TEST_F(ConvertFileTest, TrackRangesConvertOnlyTheirBytes)
{
    CConvertFile convert;
    std::wstring out = TempPath(L"convert_track.wav");
    DeleteFileW(out.c_str());
    LONGLONG start = 2LL * 44100 * 4, stop = 5LL * 44100 * 4;
    ASSERT_TRUE(convert.OpenTrackToPCM(m_owner, m_wav.c_str(), out.c_str(), start, stop));
    EXPECT_EQ(convert.GetKind(), 2);
    std::vector<int> percents;
    ASSERT_EQ(RunToEnd(convert, &percents), 1);
    convert.Close();
    WavFile wav;
    ASSERT_TRUE(ReadWav(out, wav));
    ASSERT_EQ(wav.data.size(), (size_t)(stop - start));
    EXPECT_TRUE(std::equal(wav.data.begin(), wav.data.end(), m_tone.begin() + start));
    EXPECT_EQ(percents.back(), 100);

    std::wstring folder = FixtureFolder();
    std::wstring mp3 = (folder.empty() ? TempPath(L"") : folder) + L"convert_track.mp3";
    ASSERT_TRUE(convert.OpenTrackToMp3(m_owner, m_wav.c_str(), mp3.c_str(), start, stop));
    EXPECT_EQ(convert.GetKind(), 1);
    ASSERT_EQ(RunToEnd(convert), 1);
    convert.Close();
    AddOracleCheck(L"convert_track.mp3", "rate=48000 channels=2 bitrate=192 seconds=3 tone=1000");
    DeleteFileW(out.c_str());
}

// The MP3 becomes PCM with its peak file, and that peak file is what the wave
// editor's own builder makes from the WAV: the editor takes it as it is.
TEST_F(ConvertFileTest, AnMp3BecomesPcmWithThePeakFileTheEditorWouldBuild)
{
    CConvertFile convert;
    std::wstring mp3 = TempPath(L"convert_src.mp3");
    ASSERT_TRUE(convert.OpenFileToMp3(m_owner, m_wav.c_str(), mp3.c_str()));
    ASSERT_EQ(RunToEnd(convert), 1);
    convert.Close();
    CLogCapture log;
    std::wstring out = TempPath(L"convert_npk.tmw"), editorWav = TempPath(L"convert_npk_editor.tmw");
    for (const std::wstring& f : {out, editorWav}) {
        DeleteFileW(f.c_str());
        DeleteFileW(PeakPathFor(f).c_str());
    }
    ASSERT_TRUE(convert.OpenFileToNPKnPCM(m_owner, mp3.c_str(), out.c_str(), TRUE, TRUE));
    ASSERT_EQ(RunToEnd(convert), 1);
    convert.Close();
    WavFile wav;
    ASSERT_TRUE(ReadWav(out, wav));
    double seconds = (double)wav.data.size() / wav.byteRate;
    EXPECT_NEAR(seconds, 10.0, 0.1);
    std::vector<std::string> lines = log.Lines();
    EXPECT_TRUE(HasLineStarting(lines, "[OpenFileToNPKnPCM] start"));
    EXPECT_TRUE(HasLineStarting(lines, "[OpenFileToNPKnPCM] GetPCMDumInfo"));
    EXPECT_TRUE(HasLineStarting(lines, "[OpenFileToNPKnPCM] end"));

    // The editor's builder on the same sound, under another name (its peak file goes beside it).
    ASSERT_TRUE(CopyFileW(out.c_str(), editorWav.c_str(), FALSE));
    WaveHeaderInfo info;
    {
        auto file = OpenByteFile(editorWav, FileMode::ReadShared);
        ASSERT_TRUE(file && ReadWaveHeader(*file, info) == kWaveOk);
    }
    NV_Peak built(info.header, info.dataSize, nullptr);
    ASSERT_TRUE(built.Build(editorWav, nullptr));
    std::vector<BYTE> converted = ReadAllBytes(PeakPathFor(out)), editor = ReadAllBytes(PeakPathFor(editorWav));
    ASSERT_GT(converted.size(), kPeakHeaderBytes + 1000) << "about 10 s of peaks";
    ASSERT_EQ(editor.size(), converted.size());
    // Equal byte for byte but for the WAV path each names.
    const size_t pathAt = 16 + offsetof(PeakInfo, wavPath), pathEnd = pathAt + sizeof(PeakInfo::wavPath);
    EXPECT_TRUE(std::equal(converted.begin(), converted.begin() + pathAt, editor.begin()));
    EXPECT_TRUE(std::equal(converted.begin() + pathEnd, converted.end(), editor.begin() + pathEnd));
    EXPECT_EQ(NarrowPath(out), std::string((const char*)converted.data() + pathAt));
    // The editor loads the conversion's peak file for its WAV without building again.
    NV_Peak loaded(info.header, info.dataSize, nullptr);
    ASSERT_TRUE(loaded.Load(out));
    EXPECT_TRUE(loaded.CheckInfo());
    EXPECT_EQ(built.GetValueCount(), loaded.GetValueCount());
    for (const std::wstring& f : {out, editorWav, mp3}) {
        DeleteFileW(PeakPathFor(f).c_str());
        DeleteFileW(f.c_str());
    }
}

// A WAV opened for editing: its work WAV and peak file are byte for byte what the
// platform's WAVE parser gave before our PCM source took over plain PCM WAVs in
// long buffers; files it does not take (cut, torn, not plain PCM) still go to
// the platform and come out the same too.
TEST_F(ConvertFileTest, WorkingSetOfAWavIsWhatThePlatformsParserGives)
{
    std::vector<BYTE> tone = SineBytes(2, 44100, 440.0, 3.3, 0.4), mono = SineBytes(1, 22050, 300.0, 2.0, 0.5),
                      eight(8000 * 3 + 2), odd(4410 * 4 + 2);
    for (size_t i = 0; i < eight.size(); ++i) eight[i] = BYTE(128 + 100 * std::sin(i * 0.05));
    struct Case {
        const char* name;
        std::vector<BYTE> file;
    } cases[] = {
        {"CD audio, plain header", WavBytes(tone, 2, 44100, 16)},
        {"16-bit mono 22050 Hz, fmt of 18 bytes", Riff({Chunk("fmt ", FmtBody(1, 1, 22050, 16, 2)), Chunk("data", mono)})},
        {"8-bit mono 8000 Hz", WavBytes(eight, 1, 8000, 8)},
        {"LIST of odd size with its pad byte before the data, a chunk after it",
         Riff({Chunk("fmt ", FmtBody(1, 2, 44100, 16)), Chunk("LIST", std::vector<BYTE>(27, 'l')), Chunk("data", tone),
               Chunk("id3 ", std::vector<BYTE>(40, 't'))})},
        {"a cut recording: the data chunk claims more than the file holds",
         Riff({Chunk("fmt ", FmtBody(1, 2, 44100, 16)), Chunk("data", tone, (DWORD)tone.size() * 2)})},
        {"a torn last frame", WavBytes(odd, 2, 44100, 16)},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring in = TempPath((L"convert_set" + std::to_wstring(n++) + L".wav").c_str());
        Save(in, c.file);
        std::wstring ours = TempPath(L"convert_set_ours.tmw"), platform = TempPath(L"convert_set_plat.tmw");
        for (const std::wstring& f : {ours, platform}) {
            DeleteFileW(f.c_str());
            DeleteFileW(PeakPathFor(f).c_str());
        }
        CConvertFile convert;   // first: it initialises COM on this thread
        bool platformOk = WorkingSetThroughThePlatform(in, platform);
        bool oursOk = convert.OpenFileToNPKnPCM(m_owner, in.c_str(), ours.c_str(), TRUE, TRUE) && RunToEnd(convert) == 1;
        convert.Close();
        ASSERT_TRUE(platformOk);
        ASSERT_TRUE(oursOk);
        {
            std::vector<BYTE> a = ReadAllBytes(ours), b = ReadAllBytes(platform);
            ASSERT_GT(a.size(), 44u);
            EXPECT_TRUE(a == b) << a.size() << " against " << b.size() << " bytes";
            std::vector<BYTE> pa = ReadAllBytes(PeakPathFor(ours)), pb = ReadAllBytes(PeakPathFor(platform));
            ASSERT_EQ(pa.size(), pb.size());
            // Equal but for the WAV path each names.
            const size_t pathAt = 16 + offsetof(PeakInfo, wavPath), pathEnd = pathAt + sizeof(PeakInfo::wavPath);
            EXPECT_TRUE(std::equal(pa.begin(), pa.begin() + pathAt, pb.begin()));
            EXPECT_TRUE(std::equal(pa.begin() + pathEnd, pa.end(), pb.begin() + pathEnd));
        }
        for (const std::wstring& f : {ours, platform, in}) {
            DeleteFileW(PeakPathFor(f).c_str());
            DeleteFileW(f.c_str());
        }
    }
}

// WAVs our PCM source refuses and the platform cannot read either: the Open fails
// as before, makes no work file and leaves one that was there as it was.
TEST_F(ConvertFileTest, ABrokenWavIsRefusedAndLeavesAnExistingWorkFile)
{
    std::vector<BYTE> tone = SineBytes(2, 44100, 440.0, 1.0, 0.4);
    std::vector<BYTE> noFormat = Riff({Chunk("data", tone)});
    std::vector<BYTE> cutHeader = WavBytes(tone, 2, 44100, 16);
    cutHeader.resize(30);
    std::vector<BYTE> zeroChannels = Riff({Chunk("fmt ", FmtBody(1, 0, 44100, 16)), Chunk("data", tone)});
    std::wstring in = TempPath(L"convert_broken.wav"), out = TempPath(L"convert_broken.tmw");
    for (const std::vector<BYTE>* file : {&noFormat, &cutHeader, &zeroChannels}) {
        SCOPED_TRACE(file == &noFormat ? "no fmt chunk" : file == &cutHeader ? "header cut short" : "no channels");
        Save(in, *file);
        for (bool existed : {false, true}) {
            DeleteFileW(out.c_str());
            DeleteFileW(PeakPathFor(out).c_str());
            if (existed) Save(out, {'o', 'l', 'd'});
            CConvertFile convert;
            EXPECT_FALSE(convert.OpenFileToNPKnPCM(m_owner, in.c_str(), out.c_str(), TRUE, TRUE));
            EXPECT_EQ(convert.GetKind(), 0);
            EXPECT_FALSE(Exists(PeakPathFor(out)));
            if (existed) EXPECT_EQ((std::vector<BYTE>{'o', 'l', 'd'}), ReadAllBytes(out));
            else EXPECT_FALSE(Exists(out));
        }
    }
    DeleteFileW(out.c_str());
    DeleteFileW(in.c_str());
}

namespace {
CConvertFile* g_closing = nullptr;
const UINT kCloseMessage = WM_APP + 7;

LRESULT CALLBACK CloserProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kCloseMessage && g_closing) g_closing->Close();
    return DefWindowProcW(window, message, wParam, lParam);
}
}  // namespace

// A Close from a message handled while WaitForCompletion pumps: the wait ends
// with 0 and the object is ready for the next Open.
TEST_F(ConvertFileTest, CloseInsideTheCompletionPumpEndsTheWaitWithZero)
{
    CConvertFile convert;
    std::wstring out = TempPath(L"convert_close.wav");
    DeleteFileW(out.c_str());
    ASSERT_TRUE(convert.OpenFileToPCM(m_owner, m_wav.c_str(), out.c_str(), TRUE));
    g_closing = &convert;
    HWND closer = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(closer, GWLP_WNDPROC, (LONG_PTR)CloserProc);
    // The close is the first message in the queue when the wait pumps.
    PostMessageW(closer, kCloseMessage, 0, 0);
    ASSERT_TRUE(convert.Run());
    MSG msg;
    DWORD start = GetTickCount();
    bool heard = false;
    while (!heard && GetTickCount() - start < 20000) {
        heard = PeekMessageW(&msg, m_owner, WM_CONVERT_GRAPHEVENT, WM_CONVERT_GRAPHEVENT, PM_REMOVE) != FALSE;
        if (!heard) Sleep(5);
    }
    ASSERT_TRUE(heard);
    long code = convert.WaitForCompletion();
    MSG left;
    bool closeLeft = PeekMessageW(&left, closer, kCloseMessage, kCloseMessage, PM_REMOVE) != FALSE;
    g_closing = nullptr;
    DestroyWindow(closer);
    EXPECT_EQ(0, code);
    EXPECT_FALSE(closeLeft);
    EXPECT_EQ(0, convert.WaitForCompletion()) << "nothing to wait for after the close";
    convert.Close();
    EXPECT_EQ(convert.GetKind(), 0);
    ASSERT_TRUE(convert.OpenFileToPCM(m_owner, m_wav.c_str(), out.c_str(), TRUE));
    EXPECT_EQ(RunToEnd(convert), 1);
    convert.Close();
    DeleteFileW(out.c_str());
}

// The encoder's module missing from the classes this process sees: the MP3
// conversion is refused with its log line, writes nothing, leaves an existing
// output as it was, and the same object converts again once the module is back.
TEST_F(ConvertFileTest, WithoutTheEncodersModuleTheMp3ConversionFailsCleanly)
{
    std::wstring fresh = TempPath(L"convert_noenc.mp3"), existing = TempPath(L"convert_noenc_existing.mp3");
    DeleteFileW(fresh.c_str());
    Save(existing, {'k', 'e', 'e', 'p'});
    CConvertFile convert;
    {
        CUnregisteredClass missing(CLSID_NVMP3EncFilter);
        ASSERT_TRUE(missing.Ok());
        CComPtr<IBaseFilter> probe;
        ASSERT_EQ(REGDB_E_CLASSNOTREG, probe.CoCreateInstance(CLSID_NVMP3EncFilter));
        for (const std::wstring& target : {fresh, existing}) {
            CLogCapture log;
            EXPECT_FALSE(convert.OpenFileToMp3(m_owner, m_wav.c_str(), target.c_str()));
            EXPECT_TRUE(HasLineStarting(log.Lines(), "[OpenFileToMp3] _AddFilter(CLSID_NVMP3EncFilter) fail hr:[0x80040154]"));
            EXPECT_EQ(convert.GetKind(), 0);
            EXPECT_EQ(convert.WaitForCompletion(), 0);
            EXPECT_FALSE(convert.Run()) << "nothing to run";
        }
    }
    EXPECT_FALSE(Exists(fresh));
    EXPECT_EQ((std::vector<BYTE>{'k', 'e', 'e', 'p'}), ReadAllBytes(existing)) << "an existing output is untouched";

    ASSERT_TRUE(convert.OpenFileToMp3(m_owner, m_wav.c_str(), fresh.c_str()));
    EXPECT_EQ(RunToEnd(convert), 1);
    convert.Close();
    Mp3FileInfo info;
    EXPECT_TRUE(ReadMp3Frames(fresh, info));
    DeleteFileW(fresh.c_str());
    DeleteFileW(existing.c_str());
}

struct FailureCase {
    const char* name;
    const char* logStart;
};

TEST_F(ConvertFileTest, FailedOpensLeaveNoFileAndTheNextOpenWorks)
{
    std::wstring text = TempPath(L"convert_text.mp3");
    Save(text, std::vector<BYTE>(5000, 'x'));
    std::wstring out = TempPath(L"convert_fail.mp3");
    struct Case {
        std::wstring input, output;
        const char* logStart;
    } cases[] = {
        {TempPath(L"no such input.wav"), out, "[OpenFileToMp3] AddSourceFilter fail hr:"},
        {text, out, "[OpenFileToMp3] _ConnectFilter(m_pNVAudioAnalyzer) fail hr:"},
        {m_wav, TempPath(L"no such folder\\out.mp3"), "[OpenFileToMp3] AddMp3Dump fail"},
    };
    CConvertFile convert;
    for (const Case& c : cases) {
        CLogCapture log;
        DeleteFileW(out.c_str());
        EXPECT_FALSE(convert.OpenFileToMp3(m_owner, c.input.c_str(), c.output.c_str())) << c.logStart;
        EXPECT_TRUE(HasLineStarting(log.Lines(), c.logStart)) << c.logStart;
        EXPECT_FALSE(Exists(c.output)) << c.logStart;
        EXPECT_EQ(convert.GetKind(), 0);
        EXPECT_EQ(convert.WaitForCompletion(), 0);
    }
    // An output that was there before a failed Open stays.
    Save(out, {'o', 'l', 'd'});
    EXPECT_FALSE(convert.OpenFileToMp3(m_owner, text.c_str(), out.c_str()));
    EXPECT_TRUE(Exists(out));
    // The same object converts again.
    DeleteFileW(out.c_str());
    ASSERT_TRUE(convert.OpenFileToPCM(m_owner, m_wav.c_str(), out.c_str(), TRUE));
    EXPECT_EQ(RunToEnd(convert), 1);
    convert.Close();
    DeleteFileW(out.c_str());
    DeleteFileW(text.c_str());
}

TEST_F(ConvertFileTest, AFullDiskEndsTheConversionWithAnError)
{
    CFullVolume volume(L'W', 64 * 1024);
    if (!volume.Ok()) GTEST_SKIP() << volume.Why();
    CConvertFile convert;
    ASSERT_TRUE(convert.OpenFileToMp3(m_owner, m_wav.c_str(), volume.Path(L"full.mp3").c_str()));
    EXPECT_EQ(RunToEnd(convert), 3);
    convert.Close();
    Mp3FileInfo info;
    ASSERT_TRUE(ReadMp3Frames(volume.Path(L"full.mp3"), info));
    EXPECT_EQ(info.framedBytes, info.fileSize);
}

TEST_F(ConvertFileTest, MediaPlayTimeOfWavAndMp3Files)
{
    {
        CGetMediaPlayTime time;
        ASSERT_TRUE(time.Open(m_wav.c_str()));
        EXPECT_NEAR(time.GetPlayTime(), 10.0, 0.05);
    }
    // Our own 180 s MP3 and lame's.
    std::wstring wav = TempPath(L"convert_180s.wav");
    Save(wav, WavBytes(SineBytes(2, 44100, 440.0, 180.0, 0.3), 2, 44100, 16));
    std::wstring ours = TempPath(L"convert_180s.mp3");
    {
        CConvertFile convert;
        Mp3OutputSettings s;
        s.sampleRate = 44100;
        convert.SetMp3Settings(s);
        ASSERT_TRUE(convert.OpenFileToMp3(m_owner, wav.c_str(), ours.c_str()));
        ASSERT_EQ(RunToEnd(convert, nullptr, 180000), 1);
    }
    {
        CGetMediaPlayTime time;
        ASSERT_TRUE(time.Open(ours.c_str()));
        EXPECT_NEAR(time.GetPlayTime(), 180.0, 0.05);
    }
    std::wstring folder = FixtureFolder();
    if (!folder.empty()) {
        CGetMediaPlayTime time;
        ASSERT_TRUE(time.Open((folder + L"lame_180s.mp3").c_str()));
        EXPECT_NEAR(time.GetPlayTime(), 180.0, 0.05);
    }
    // Not media at all.
    std::wstring text = TempPath(L"convert_text.txt");
    Save(text, std::vector<BYTE>(3000, 'y'));
    {
        CGetMediaPlayTime time;
        EXPECT_FALSE(time.Open(text.c_str()));
        EXPECT_EQ(time.GetPlayTime(), 0.0);
    }
    // A path longer than 260 characters.
    std::wstring deep = TempPath(L"");
    for (int i = 0; i < 6; ++i) {
        deep += L"a_rather_long_folder_name_for_the_path_test_" + std::to_wstring(i) + L"\\";
        CreateDirectoryW(deep.c_str(), nullptr);
    }
    std::wstring deepWav = deep + L"long.wav";
    ASSERT_GT(deepWav.size(), 260u);
    ASSERT_TRUE(CopyFileW(m_wav.c_str(), deepWav.c_str(), FALSE));
    {
        CGetMediaPlayTime time;
        ASSERT_TRUE(time.Open(deepWav.c_str()));
        EXPECT_NEAR(time.GetPlayTime(), 10.0, 0.05);
    }
    DeleteFileW(deepWav.c_str());
    DeleteFileW(wav.c_str());
    DeleteFileW(ours.c_str());
    DeleteFileW(text.c_str());
}

} // namespace
