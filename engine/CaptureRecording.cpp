// CCaptureDevice: recording chains, recording start and stop.
#include "CaptureDevice.h"
#include "ComPtr.h"
#include "IAnalyzer.h"
#include "LogFile.h"
#include "OutsideFilters.h"

namespace {

template <class T> CComPtr<T> Query(IUnknown* unk, REFIID iid)
{
    CComPtr<T> p;
    if (unk) unk->QueryInterface(iid, (void**)&p);
    return p;
}

} // namespace

// A file that was there before the recording is never deleted by a failed start.
bool CCaptureDevice::OutputExists() const
{
    return GetFileAttributesW(m_outputFile) != INVALID_FILE_ATTRIBUTES;
}

BOOL CCaptureDevice::BuildRecordingChainWav(int channels, int bits, int rate)
{
    IBaseFilter* last = nullptr;
    if (!BuildSpine(44100, last)) return FALSE;
    if (!ConnectSmartTee(last)) return FALSE;
    if ((m_deviceMode == 4 || m_deviceMode == 3) && !ConnectRenderer(m_smartTee)) return FALSE;
    if (FAILED(m_util.AddFilterByCLSID(CLSID_NVPCMDump, &m_pcmWriter, L"NV PCM Dump Filter"))) return FALSE;
    CComPtr<IFileSinkFilter> sink = Query<IFileSinkFilter>(m_pcmWriter, IID_IFileSinkFilter);
    if (!sink || FAILED(sink->SetFileName(m_outputFile, nullptr))) return FALSE;
    // The capture pin stays at 2 / 16 / 44100; only the writer gets the requested format.
    CComPtr<IPCMDump> dump = Query<IPCMDump>(m_pcmWriter, IID_IPCMDump);
    if (!dump || FAILED(dump->SetFormat(channels, rate, bits))) return FALSE;
    if (FAILED(m_util.ConnectFilters(m_smartTee, 0, m_pcmWriter, 0))) return FALSE;
    m_kind = 3;
    return TRUE;
}

BOOL CCaptureDevice::BuildRecordingChainMp3()
{
    IBaseFilter* last = nullptr;
    if (!BuildSpine(48000, last)) return FALSE;
    if (!ConnectSmartTee(last)) return FALSE;
    if ((m_deviceMode == 4 || m_deviceMode == 3) && !ConnectRenderer(m_smartTee)) return FALSE;
    // The encoder and the MP3 writer are modules of their own that may be missing:
    // the failing step is named in the log.
    auto failed = [](const wchar_t* step, HRESULT hr) {
        LogPrint(0x20000, L"[%s] %s fail hr:[0x%08x]", L"CaptureGraphRenderAudioDeviceMp3", step, (unsigned)hr);
        return FALSE;
    };
    HRESULT hr = m_util.AddFilterByCLSID(CLSID_NVMP3EncFilter, &m_mp3Encoder, L"MP3 Encoder");
    if (FAILED(hr)) return failed(L"MP3 Encoder", hr);
    if (FAILED(hr = m_util.ConnectFilters(m_smartTee, 0, m_mp3Encoder, 0))) return failed(L"ConnectFilters", hr);
    hr = m_util.AddFilterByCLSID(CLSID_NVMP3Dump, &m_mp3Writer, MP3_DUMP_FILTER_NAME);
    if (FAILED(hr)) return failed(MP3_DUMP_FILTER_NAME, hr);
    CComPtr<IFileSinkFilter> sink = Query<IFileSinkFilter>(m_mp3Writer, IID_IFileSinkFilter);
    if (!sink) return failed(L"IFileSinkFilter", E_NOINTERFACE);
    if (FAILED(hr = sink->SetFileName(m_outputFile, nullptr))) return failed(L"SetFileName", hr);
    if (FAILED(hr = m_util.ConnectFilters(m_mp3Encoder, 0, m_mp3Writer, 0))) return failed(L"ConnectFilters", hr);
    if (CComPtr<IMP3EncoderSettings> settings = Query<IMP3EncoderSettings>(m_mp3Encoder, IID_IMP3EncoderSettings)) {
        settings->SetBitrate(192);
        settings->SetChannelMode(0);
        settings->SetSampleRate(48000);
    }
    m_kind = 1;
    return TRUE;
}

// A recording that cannot start leaves nothing behind: its half-built chain goes,
// a file that was not there before (and only such a file) is deleted, and
// monitoring resumes.
void CCaptureDevice::AbandonRecording(bool stopGraph)
{
    if (stopGraph) StopAfterFailedStart();
    RemoveChain();
    m_previewing = m_recording = FALSE;
    if (!m_outputExisted) DeleteFileW(m_outputFile);
    m_outputExisted = true;
    StartRendering();
}

BOOL CCaptureDevice::StartRecordWav(const wchar_t* file, int channels, int bits, int rate, int splitLimit)
{
    if (!m_bInit) {
        LogCapture(L"m_bInit is null");
        return FALSE;
    }
    if (m_recording) return TRUE;
    if (m_previewing && !StopRendering()) {
        LogCapture(L"StopRendering is failed");
        return FALSE;
    }
    m_outputFile = file;
    m_outputExisted = OutputExists();
    if (!BuildRecordingChainWav(channels, bits, rate)) {
        AbandonRecording(false);
        LogCapture(L"CaptureGraphRenderAudioDeviceWav is failed");
        return FALSE;
    }
    SetStartMute(m_startMuteMs, m_startMuteLevel);
    if (CComPtr<IPCMDumpSplit> split = Query<IPCMDumpSplit>(m_pcmWriter, IID_IPCMDumpSplit)) {
        split->SetSplitEnabled(TRUE);
        split->SetSplitLimit(splitLimit);
    }
    if (!Run()) {
        // A recording that does not run records nothing: say so, and go back to
        // monitoring without leaving an empty file behind.
        LogCapture(L"Start is failed");
        AbandonRecording(true);
        return FALSE;
    }
    m_recording = TRUE;
    m_previewing = FALSE;
    return TRUE;
}

BOOL CCaptureDevice::StartRecordMp3(const wchar_t* file)
{
    if (!m_bInit) return FALSE;
    if (m_recording) return TRUE;
    if (m_previewing && !StopRendering()) return FALSE;
    m_outputFile = file;
    m_outputExisted = OutputExists();
    if (!BuildRecordingChainMp3()) {
        AbandonRecording(false);
        return FALSE;
    }
    SetStartMute(m_startMuteMs, m_startMuteLevel);
    if (!Run()) {
        AbandonRecording(true);
        return FALSE;
    }
    m_recording = TRUE;
    m_previewing = FALSE;
    return TRUE;
}

BOOL CCaptureDevice::StopRendering()
{
    if (!m_previewing && !m_recording) return TRUE;
    if (!StopGraph()) return FALSE;
    int count = 1;
    if (m_kind == 1) {
        count = 0;
        if (CComPtr<IMP3Dump> mp3 = Query<IMP3Dump>(m_mp3Writer, IID_IMP3Dump)) mp3->GetFileCount(&count);
    } else if (m_kind == 3) {
        count = 0;
        if (CComPtr<IPCMDumpSplit> split = Query<IPCMDumpSplit>(m_pcmWriter, IID_IPCMDumpSplit)) split->GetFileCount(&count);
    }
    if (m_recording) PostMessageW(m_owner, WM_CAPTURE_STOPPED, 16, count);
    DrainGraphEvents();
    RemoveChain();
    m_previewing = m_recording = FALSE;
    m_kind = 0;
    return TRUE;
}

BOOL CCaptureDevice::StopGraph()
{
    if (!m_bInit) return TRUE;
    if (!m_control) return FALSE;
    if (FAILED(m_control->Pause())) return FALSE;
    Sleep(50);
    return SUCCEEDED(m_control->Stop());
}

BOOL CCaptureDevice::StopRecord()
{
    if (!m_bInit) return FALSE;
    if (!m_recording) return TRUE;
    return StartRendering();
}

BOOL CCaptureDevice::GetRecordedBytes(int* bytes)
{
    CComPtr<IPCMDump> dump = Query<IPCMDump>(m_pcmWriter, IID_IPCMDump);
    return bytes && dump && SUCCEEDED(dump->GetWrittenBytes(bytes));
}

BOOL CCaptureDevice::GetRecordedBytes64(LONGLONG* bytes)
{
    CComPtr<IPCMDump> dump = Query<IPCMDump>(m_pcmWriter, IID_IPCMDump);
    return bytes && dump && SUCCEEDED(dump->GetWrittenBytes64(bytes));
}
