#include "ConvertFile.h"
#include "GraphDump.h"
#include "IAnalyzer.h"
#include "IWavrill.h"
#include "LogFile.h"
#include "OutsideFilters.h"
#include "PlatformGuids.h"
#include "SharedReadFile.h"
#include "WavHeader.h"
#include <cmath>
#include <memory>

namespace {

template <class T> CComPtr<T> Query(IUnknown* unk, REFIID iid)
{
    CComPtr<T> p;
    if (unk) unk->QueryInterface(iid, (void**)&p);
    return p;
}

const wchar_t kTrackToMp3[] = L"OpenTrackToMp3";
const wchar_t kFileToMp3[] = L"OpenFileToMp3";
const wchar_t kTrackToPcm[] = L"OpenTrackToPCM";
const wchar_t kFileToPcm[] = L"OpenFileToPCM";
const wchar_t kFileToNpk[] = L"OpenFileToNPKnPCM";

bool Exists(const wchar_t* path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

// Sound per buffer of our PCM source in a conversion graph. Under Wine every
// buffer costs a round of allocator and event calls into the server whatever its
// size; a conversion is not paced by a clock, so it moves two seconds at a time.
constexpr int kConversionBufferMilliseconds = 2000;

// The longest wait for the filters to settle in pause before the graph runs.
constexpr LONG kPauseSettleMilliseconds = 150;

// A WAV our PCM source streams exactly as the platform's WAVE parser would: plain
// PCM whose data chunk lies whole in the file in whole frames. Anything else
// (other formats, a cut recording, a torn last frame) goes to the platform.
bool IsWholePcmWav(const wchar_t* path)
{
    CSharedReadFile file(path);
    WavHeaderInfo info;
    return file.IsOpen() && file.ParseWavHeader(info) == WavHeaderStatus::Ok && IsPlainPcm(info) &&
           info.dataSize > 0 && info.dataSize == info.storedDataSize && info.dataSize % info.blockAlign == 0;
}

void AskForLongBuffers(IBaseFilter* source)
{
    if (CComPtr<IWavrillBuffer> buffer = Query<IWavrillBuffer>(source, IID_IWavrillBuffer))
        buffer->SetBufferMilliseconds(kConversionBufferMilliseconds);
}

} // namespace

CConvertFile::CConvertFile()
{
    m_comInitialized = SUCCEEDED(CoInitialize(nullptr));
}

CConvertFile::~CConvertFile()
{
    Close();
    if (m_comInitialized) CoUninitialize();
}

BOOL CConvertFile::MakeGraphBuilder()
{
    Close();
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, (void**)&m_graph)) ||
        FAILED(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                                (void**)&m_builder)) ||
        FAILED(m_builder->SetFiltergraph(m_graph)))
        return FALSE;
    if (FAILED(m_graph->QueryInterface(IID_IMediaControl, (void**)&m_control)) ||
        FAILED(m_graph->QueryInterface(IID_IMediaSeeking, (void**)&m_seeking)) ||
        FAILED(m_graph->QueryInterface(IID_IMediaEventEx, (void**)&m_events)))
        return FALSE;
    if (FAILED(m_events->SetNotifyWindow((OAHWND)m_owner, WM_CONVERT_GRAPHEVENT, 0))) return FALSE;
    m_util.Init(m_graph, m_builder);
    return TRUE;
}

HRESULT CConvertFile::NameOutput(IBaseFilter* writer, const wchar_t* output)
{
    CComPtr<IFileSinkFilter> sink = Query<IFileSinkFilter>(writer, IID_IFileSinkFilter);
    if (!sink) return E_NOINTERFACE;
    m_pendingOutput = output;
    m_pendingOutputExisted = Exists(output);
    return sink->SetFileName(output, nullptr);
}

BOOL CConvertFile::Fail(const wchar_t* method, const wchar_t* format, HRESULT hr)
{
    LogPrint(LOG_LEVEL_DEFAULT, format, method, (unsigned)hr);
    Close();
    // Only what this Open created goes; a file that was there before stays.
    if (!m_pendingOutput.IsEmpty() && !m_pendingOutputExisted) DeleteFileW(m_pendingOutput);
    m_pendingOutput = L"";
    return FALSE;
}

BOOL CConvertFile::OpenTrack(const wchar_t* method, HWND owner, const wchar_t* trackFile, LONGLONG startByte,
                             LONGLONG stopByte)
{
    m_owner = owner;
    m_pendingOutput = L"";
    if (!MakeGraphBuilder()) {
        LogPrint(LOG_LEVEL_DEFAULT, method == kTrackToMp3 ? L"[%s] MakeGraphBuilder fail " : L"[%s] MakeGraphBuilder fail",
                 method);
        Close();
        return FALSE;
    }
    HRESULT hr = m_util.AddFilterByCLSID(CLSID_Wavrill, &m_source, L"PCM Source");
    if (FAILED(hr)) return Fail(method, L"[%s] _AddFilter(CLSID_Wavrill) fail hr:[0x%08x]", hr);
    CComPtr<IFileSinkFilter> sink = Query<IFileSinkFilter>(m_source, IID_IFileSinkFilter);
    if (!sink) return Fail(method, L"[%s] QueryInterface(IID_IFileSinkFilter) fail hr:[0x%08x]", E_NOINTERFACE);
    if (FAILED(hr = sink->SetFileName(trackFile ? trackFile : L"", nullptr)))
        return Fail(method, L"[%s] SetFileName fail hr:[0x%08x]", hr);
    if (CComPtr<IWavrill> range = Query<IWavrill>(m_source, IID_IWavrill)) range->SetRange(&startByte, &stopByte);
    AskForLongBuffers(m_source);
    return TRUE;
}

bool CConvertFile::AddPcmWavSource(const wchar_t* input)
{
    if (!IsWholePcmWav(input)) return false;
    CComPtr<IFileSinkFilter> sink;
    if (SUCCEEDED(m_util.AddFilterByCLSID(CLSID_Wavrill, &m_source, input)) &&
        (sink = Query<IFileSinkFilter>(m_source, IID_IFileSinkFilter)) && sink->SetFileName(input, nullptr) == S_OK) {
        AskForLongBuffers(m_source);
        return true;
    }
    // Not ours after all (the module missing, say): the platform's source as for any file.
    LogPrint(LOG_LEVEL_DEFAULT, L"[%s] PCM Source refused the file", L"CConvertFile");
    if (m_source) m_graph->RemoveFilter(m_source);
    m_source.Release();
    return false;
}

BOOL CConvertFile::OpenFileSource(const wchar_t* method, HWND owner, const wchar_t* input)
{
    m_owner = owner;
    m_pendingOutput = L"";
    if (!MakeGraphBuilder()) {
        LogPrint(LOG_LEVEL_DEFAULT, L"[%s] MakeGraphBuilder fail", method);
        Close();
        return FALSE;
    }
    if (input && AddPcmWavSource(input)) return TRUE;
    HRESULT hr = input ? m_graph->AddSourceFilter(input, input, &m_source) : E_POINTER;
    if (FAILED(hr)) return Fail(method, L"[%s] AddSourceFilter fail hr:[0x%08x]", hr);
    return TRUE;
}

BOOL CConvertFile::AddAnalyzer(const wchar_t* method, const wchar_t* addText)
{
    HRESULT hr = m_util.AddFilterByCLSID(CLSID_AudioAnalyzer, &m_analyzer, L"NV Audio Analyzer");
    if (FAILED(hr)) return Fail(method, addText, hr);
    hr = m_util.ConnectFilters(m_source, 0, m_analyzer, 0);
    // Logged only: a source that cannot feed the analyzer fails at the next connection.
    if (FAILED(hr)) LogPrint(LOG_LEVEL_DEFAULT, L"[%s] _ConnectFilter(m_pSourceFilter) fail hr:[0x%08x]", method, (unsigned)hr);
    return TRUE;
}

BOOL CConvertFile::AddMp3Dump(const wchar_t* output)
{
    if (FAILED(m_util.AddFilterByCLSID(CLSID_NVMP3Dump, &m_mp3Writer, MP3_DUMP_FILTER_NAME))) return FALSE;
    return SUCCEEDED(NameOutput(m_mp3Writer, output));
}

void CConvertFile::ApplyEncoderSettings()
{
    CComPtr<IMP3EncoderSettings> settings = Query<IMP3EncoderSettings>(m_encoder, IID_IMP3EncoderSettings);
    if (!settings) return;
    settings->SetBitrate(m_mp3.bitrate);
    if (m_mp3.channels == 1) settings->SetChannelMode(3);
    else if (m_mp3.channels == 2) settings->SetChannelMode(0);
    settings->SetSampleRate(m_mp3.sampleRate);
}

BOOL CConvertFile::FinishMp3(const wchar_t* method, const wchar_t* output)
{
    HRESULT hr = m_util.AddFilterByCLSID(CLSID_NVMP3EncFilter, &m_encoder, L"MP3 Encoder");
    if (FAILED(hr)) return Fail(method, L"[%s] _AddFilter(CLSID_NVMP3EncFilter) fail hr:[0x%08x]", hr);
    if (m_mp3.channels == 2)
        if (CComPtr<IMP3EncoderSettings2> s2 = Query<IMP3EncoderSettings2>(m_encoder, IID_IMP3EncoderSettings2))
            s2->SetStereoOption(1);
    if (FAILED(hr = m_util.ConnectFilters(m_analyzer, 0, m_encoder, 0)))
        return Fail(method, L"[%s] _ConnectFilter(m_pNVAudioAnalyzer) fail hr:[0x%08x]", hr);
    if (!AddMp3Dump(output)) return Fail(method, L"[%s] AddMp3Dump fail", S_OK);
    if (FAILED(hr = m_util.ConnectFilters(m_encoder, 0, m_mp3Writer, 0)))
        return Fail(method, L"[%s] _ConnectFilter(m_pMp3Ecoder) fail hr:[0x%08x]", hr);
    ApplyEncoderSettings();
    return TRUE;
}

BOOL CConvertFile::AddPcmWriter(const wchar_t* method, const wchar_t* output, bool setFormat)
{
    HRESULT hr = m_util.AddFilterByCLSID(CLSID_NVPCMDump, &m_pcmWriter, L"PCM Dump Filter");
    if (FAILED(hr)) return Fail(method, L"[%s] _AddFilter(CLSID_NVPCMDump) fail hr:[0x%08x]", hr);
    if (!Query<IFileSinkFilter>(m_pcmWriter, IID_IFileSinkFilter))
        return Fail(method, L"[%s] QueryInterface(IID_IFileSinkFilter) fail hr:[0x%08x]", E_NOINTERFACE);
    if (FAILED(hr = NameOutput(m_pcmWriter, output))) return Fail(method, L"[%s] SetFileName fail hr:[0x%08x]", hr);
    if (setFormat)
        if (CComPtr<IPCMDump> dump = Query<IPCMDump>(m_pcmWriter, IID_IPCMDump)) dump->SetFormat(2, 44100, 16);
    return TRUE;
}

LONGLONG CConvertFile::GraphDuration()
{
    // Our PCM source knows its length from the header; it has no seeking of the graph's kind.
    if (CComPtr<IPCMSeek> seek = Query<IPCMSeek>(m_source, IID_IPCMSeek)) {
        double seconds = 0;
        return SUCCEEDED(seek->GetRangeSeconds(&seconds)) ? std::llround(seconds * 1e7) : 0;
    }
    LONGLONG duration = 0;
    if (!m_seeking || FAILED(m_seeking->GetDuration(&duration))) return 0;
    return duration;
}

void CConvertFile::SetExpectedMp3Size()
{
    LONGLONG duration = GraphDuration();
    m_expectedMp3Bytes = duration <= 0 ? 100.0 : duration / 1e7 * (m_mp3.bitrate / 8) * 1000.0;
}

void CConvertFile::GetPCMDumInfo()
{
    CComPtr<IPCMDump> dump = Query<IPCMDump>(m_pcmWriter, IID_IPCMDump);
    if (!dump) return;
    dump->GetFormat(&m_pcmChannels, &m_pcmRate, &m_pcmBits);
    LONGLONG duration = GraphDuration();
    m_expectedPcmBytes =
        duration <= 0 ? 100.0 : duration / 1e7 * m_pcmChannels * (double)m_pcmRate * m_pcmBits * 0.125;
    LogPrint(LOG_LEVEL_DEFAULT, L"[%s] duration = %f Totalsize = %f", L"CConvertFile", duration / 1e7,
             m_expectedPcmBytes);
}

void CConvertFile::AddMp3Decoder(const wchar_t* method)
{
    if (SUCCEEDED(m_util.AddFilterByCLSID(CLSID_MS_MP3Decoder, &m_mp3Decoder, L"MS_MP3Decoder"))) {
        LogPrint(LOG_LEVEL_DEFAULT, L"[%s] Add", L"CLSID_MS_MP3Decoder");
        return;
    }
    LogPrint(LOG_LEVEL_DEFAULT, L"[%s] not find", L"CLSID_MS_MP3Decodr");
    if (SUCCEEDED(m_util.AddFilterByCLSID(CLSID_MS_MP3Decoder_DMO, &m_mp3Decoder, L"MS_MP3Decoder_DMO")))
        LogPrint(LOG_LEVEL_DEFAULT, L"[%s] Add", L"CLSID_MS_MP3Decoder_DMO");
    else
        LogPrint(LOG_LEVEL_DEFAULT, L"[%s] not find", L"CLSID_MS_MP3Decoder_DMO");
}

BOOL CConvertFile::OpenTrackToMp3(HWND owner, const wchar_t* trackFile, const wchar_t* output, LONGLONG startByte,
                                  LONGLONG stopByte)
{
    const wchar_t* m = kTrackToMp3;
    if (!OpenTrack(m, owner, trackFile, startByte, stopByte)) return FALSE;
    if (!AddAnalyzer(m, L"[%s] _AddFilter((CLSID_AudioAnalyzer) fail hr:[0x%08x]")) return FALSE;
    if (!FinishMp3(m, output)) return FALSE;
    m_kind = 1;
    m_outputPath = output;
    CGraphDump().Dump(m_graph);
    LogPrint(LOG_LEVEL_DEFAULT, L"[%s] success", m);
    return TRUE;
}

BOOL CConvertFile::OpenFileToMp3(HWND owner, const wchar_t* input, const wchar_t* output)
{
    const wchar_t* m = kFileToMp3;
    if (!OpenFileSource(m, owner, input)) return FALSE;
    if (!AddAnalyzer(m, L"[%s] _AddFilter(CLSID_AudioAnalyzer) fail hr:[0x%08x]")) return FALSE;
    if (!FinishMp3(m, output)) return FALSE;
    SetExpectedMp3Size();
    m_kind = 3;
    m_outputPath = output;
    CGraphDump().Dump(m_graph);
    LogPrint(LOG_LEVEL_DEFAULT, L"[%s] success", m);
    return TRUE;
}

BOOL CConvertFile::OpenTrackToPCM(HWND owner, const wchar_t* trackFile, const wchar_t* output, LONGLONG startByte,
                                  LONGLONG stopByte)
{
    const wchar_t* m = kTrackToPcm;
    if (!OpenTrack(m, owner, trackFile, startByte, stopByte)) return FALSE;
    if (!AddAnalyzer(m, L"[%s] _AddFilter(CLSID_AudioAnalyzer) fail hr:[0x%08x]")) return FALSE;
    if (!AddPcmWriter(m, output, true)) return FALSE;
    HRESULT hr = m_util.ConnectFilters(m_analyzer, 0, m_pcmWriter, 0);
    if (FAILED(hr)) return Fail(m, L"[%s] _ConnectFilter(m_pNVAudioAnalyzer) fail hr:[0x%08x]", hr);
    m_kind = 2;
    m_outputPath = output;
    CGraphDump().Dump(m_graph);
    LogPrint(LOG_LEVEL_DEFAULT, L"[%s] success", m);
    return TRUE;
}

BOOL CConvertFile::OpenFileToPCM(HWND owner, const wchar_t* input, const wchar_t* output, BOOL fixFormat)
{
    const wchar_t* m = kFileToPcm;
    if (!OpenFileSource(m, owner, input)) return FALSE;
    if (!AddAnalyzer(m, L"[%s] _AddFilter(CLSID_AudioAnalyzer) fail hr:[0x%08x]")) return FALSE;
    if (!AddPcmWriter(m, output, fixFormat != FALSE)) return FALSE;
    HRESULT hr = m_util.ConnectFilters(m_analyzer, 0, m_pcmWriter, 0);
    if (FAILED(hr)) return Fail(m, L"[%s] _ConnectFilter(m_pNVAudioAnalyzer) fail hr:[0x%08x]", hr);
    m_kind = 4;
    m_outputPath = output;
    GetPCMDumInfo();
    LogPrint(LOG_LEVEL_DEFAULT, L"[%s] success", m);
    CGraphDump().Dump(m_graph);
    return TRUE;
}

BOOL CConvertFile::OpenFileToNPKnPCM(HWND owner, const wchar_t* input, const wchar_t* output, BOOL writeWav,
                                     BOOL writePeak)
{
    const wchar_t* m = kFileToNpk;
    LogPrint(LOG_LEVEL_DEFAULT, L"[%s] start", m);
    if (!OpenFileSource(m, owner, input)) return FALSE;
    HRESULT hr = m_util.AddFilterByCLSID(CLSID_NVPCMDump, &m_pcmWriter, L"PCM Dump Filter");
    if (FAILED(hr)) return Fail(m, L"[%s] _AddFilter(CLSID_NVPCMDump) fail hr:[0x%08x]", hr);
    if (CComPtr<IPCMDumpFiles> files = Query<IPCMDumpFiles>(m_pcmWriter, IID_IPCMDumpFiles)) {
        files->SetReserved(0);
        files->SetWritePeak(writePeak);
        files->SetWriteWav(writeWav);
    }
    if (!Query<IFileSinkFilter>(m_pcmWriter, IID_IFileSinkFilter))
        return Fail(m, L"[%s] QueryInterface(IID_IFileSinkFilter) fail hr:[0x%08x]", E_NOINTERFACE);
    // Only the platform's source can need the decoder: ours hands over PCM.
    if (!Query<IWavrill>(m_source, IID_IWavrill)) AddMp3Decoder(m);
    if (FAILED(hr = NameOutput(m_pcmWriter, output))) return Fail(m, L"[%s] SetFileName fail hr:[0x%08x]", hr);
    if (FAILED(hr = m_util.ConnectFilters(m_source, 0, m_pcmWriter, 0)))
        return Fail(m, L"[%s] _ConnectFilter fail hr:[0x%08x]", hr);
    m_kind = 4;
    m_outputPath = output;
    GetPCMDumInfo();
    LogPrint(LOG_LEVEL_DEFAULT, L"[%s] GetPCMDumInfo", m);
    CGraphDump().Dump(m_graph);
    LogPrint(LOG_LEVEL_DEFAULT, L"[%s] end", m);
    return TRUE;
}

BOOL CConvertFile::Run()
{
    m_runResult = m_control ? m_control->Pause() : E_UNEXPECTED;
    if (FAILED(m_runResult)) return FALSE;
    // Run once every filter has paused (cued its first sample), not after a
    // fixed sleep: a WAV source is ready at once.
    OAFilterState state = State_Stopped;
    m_control->GetState(kPauseSettleMilliseconds, &state);
    m_util.SetSyncSource(nullptr);
    m_runResult = m_control->Run();
    if (SUCCEEDED(m_runResult)) m_runResult = S_OK;
    return SUCCEEDED(m_runResult);
}

BOOL CConvertFile::Stop()
{
    return m_control && SUCCEEDED(m_control->Stop());
}

long CConvertFile::WaitForCompletion()
{
    // Our own references: a Close from a message pumped below leaves them valid.
    CComPtr<IMediaEventEx> events = m_events;
    if (!events) return 0;
    long code = 0;
    LONG_PTR p1 = 0, p2 = 0;
    while (events->GetEvent(&code, &p1, &p2, 0) == S_OK) {
        events->FreeEventParams(code, p1, p2);
        m_lastEvent = code;
        if (code == EC_COMPLETE) {
            // A source that ends with an error still ends its stream first, so an
            // error waiting behind the completion is the real outcome.
            long next = 0;
            while (events->GetEvent(&next, &p1, &p2, 0) == S_OK) {
                events->FreeEventParams(next, p1, p2);
                if (next == EC_ERRORABORT || next == EC_USERABORT) return m_lastEvent = next;
            }
            return code;
        }
        if (code == EC_USERABORT || code == EC_ERRORABORT) return code;
        PumpOneMessage();
        if (m_events != events) return 0;   // closed meanwhile
    }
    return m_events == events ? m_lastEvent : 0;
}

int CConvertFile::GetConvertPercent()
{
    double percent = 0;
    if (m_kind == 1 || m_kind == 2) {
        int p = 0;
        if (CComPtr<IWavrill> wavrill = Query<IWavrill>(m_source, IID_IWavrill)) wavrill->GetProgress(&p);
        percent = p;
    } else if (m_kind == 3 || m_kind == 4) {
        double expected = m_kind == 3 ? m_expectedMp3Bytes : m_expectedPcmBytes;
        if (expected <= 0) return 0;
        LONGLONG written = 0;
        if (m_kind == 3) {
            if (CComPtr<IMP3Dump> dump = Query<IMP3Dump>(m_mp3Writer, IID_IMP3Dump)) dump->GetWrittenBytes64(&written);
        } else if (CComPtr<IPCMDump> dump = Query<IPCMDump>(m_pcmWriter, IID_IPCMDump)) {
            dump->GetWrittenBytes64(&written);
        }
        percent = (double)written * 100.0 / expected;
        if (percent > 100) percent = 100;
        LogPrint(LOG_LEVEL_DEFAULT, L"[%s] %d ", L"GetConvertPercent", (int)percent);
    }
    int value = (int)percent;
    return value >= 100 ? 100 : value < 0 ? 0 : value;
}

void CConvertFile::Close()
{
    if (m_events) m_events->SetNotifyWindow(0, 0, 0);
    Stop();
    if (m_source) m_util.RemoveDownstream(m_source);
    for (CComPtr<IBaseFilter>* f : {std::addressof(m_source), std::addressof(m_encoder), std::addressof(m_analyzer),
                                     std::addressof(m_mp3Writer), std::addressof(m_pcmWriter),
                                     std::addressof(m_mp3Decoder)}) {
        if (*f && m_graph) m_graph->RemoveFilter(*f);
        f->Release();
    }
    m_events.Release();
    m_seeking.Release();
    m_control.Release();
    m_builder.Release();
    m_graph.Release();
    m_util.Init(nullptr, nullptr);
    m_kind = 0;
    m_expectedPcmBytes = m_expectedMp3Bytes = 100.0;
    m_pcmChannels = m_pcmRate = m_pcmBits = 1;
    m_outputPath = L"";
    m_lastEvent = 0;
}
