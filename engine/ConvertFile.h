// CConvertFile: the DirectShow graphs that turn a file, or a byte range of a PCM
// WAV (a track), into an MP3 file (through the MP3 encoder and writer) or a PCM
// WAV (through the PCM writer, which can also write the wave editor's peak data
// file). One Open method builds the graph, Run starts it, GetConvertPercent is
// polled on a timer, and the owner window hears the end through
// WM_CONVERT_GRAPHEVENT, which it answers with WaitForCompletion.
#pragma once
#include <windows.h>
#include <dshow.h>
#include "ComPtr.h"
#include "DShowUtil.h"
#include "String.h"

#ifndef WM_CONVERT_GRAPHEVENT
#define WM_CONVERT_GRAPHEVENT (WM_USER + 60)
#endif

// The program's MP3 settings ("Mp3Bitrate", "Mp3SampleRate", "Mp3Channel").
struct Mp3OutputSettings {
    int bitrate = 192;        // kbps
    int sampleRate = 48000;   // Hz
    int channels = 2;         // 1 mono, 2 stereo, other: as the input
};

class CConvertFile {
public:
    CConvertFile();
    virtual ~CConvertFile();
    CConvertFile(const CConvertFile&) = delete;
    CConvertFile& operator=(const CConvertFile&) = delete;

    // Used by the MP3 conversions opened afterwards.
    void SetMp3Settings(const Mp3OutputSettings& settings) { m_mp3 = settings; }
    const Mp3OutputSettings& GetMp3Settings() const { return m_mp3; }

    BOOL OpenTrackToMp3(HWND owner, const wchar_t* trackFile, const wchar_t* output, LONGLONG startByte,
                        LONGLONG stopByte);
    BOOL OpenTrackToPCM(HWND owner, const wchar_t* trackFile, const wchar_t* output, LONGLONG startByte,
                        LONGLONG stopByte);
    BOOL OpenFileToMp3(HWND owner, const wchar_t* input, const wchar_t* output);
    BOOL OpenFileToPCM(HWND owner, const wchar_t* input, const wchar_t* output, BOOL fixFormat);
    BOOL OpenFileToNPKnPCM(HWND owner, const wchar_t* input, const wchar_t* output, BOOL writeWav, BOOL writePeak);

    BOOL Run();
    // Why the last Run did not start (S_OK when it did): a writer whose file name
    // was taken meanwhile answers HRESULT_FROM_WIN32(ERROR_FILE_EXISTS).
    HRESULT GetRunResult() const { return m_runResult; }
    BOOL Stop();
    // 1 complete, 2 user abort, 3 error abort; 0 while nothing ended (or without a graph).
    long WaitForCompletion();
    int GetConvertPercent();
    void Close();

    int GetKind() const { return m_kind; }
    double GetExpectedMp3Bytes() const { return m_expectedMp3Bytes; }
    double GetExpectedPcmBytes() const { return m_expectedPcmBytes; }
    const CString& GetOutputPath() const { return m_outputPath; }

private:
    BOOL MakeGraphBuilder();
    BOOL AddMp3Dump(const wchar_t* output);
    void ApplyEncoderSettings();
    void AddMp3Decoder(const wchar_t* method);
    void SetExpectedMp3Size();
    void GetPCMDumInfo();
    LONGLONG GraphDuration();
    // Names the writer's output; remembers whether the file was there before.
    HRESULT NameOutput(IBaseFilter* writer, const wchar_t* output);
    // A failed Open: the graph goes, and an output that the failed Open created with it.
    BOOL Fail(const wchar_t* method, const wchar_t* format, HRESULT hr);
    BOOL OpenTrack(const wchar_t* method, HWND owner, const wchar_t* trackFile, LONGLONG startByte,
                   LONGLONG stopByte);
    BOOL OpenFileSource(const wchar_t* method, HWND owner, const wchar_t* input);
    // A PCM WAV is read by our PCM source in long buffers; false leaves the graph as it was.
    bool AddPcmWavSource(const wchar_t* input);
    BOOL AddAnalyzer(const wchar_t* method, const wchar_t* addText);
    BOOL FinishMp3(const wchar_t* method, const wchar_t* output);
    BOOL AddPcmWriter(const wchar_t* method, const wchar_t* output, bool setFormat);

    CComPtr<IGraphBuilder> m_graph;
    CComPtr<ICaptureGraphBuilder2> m_builder;
    CComPtr<IMediaControl> m_control;
    CComPtr<IMediaSeeking> m_seeking;
    CComPtr<IMediaEventEx> m_events;
    CDShowUtil m_util;
    CComPtr<IBaseFilter> m_source, m_analyzer, m_encoder, m_mp3Writer, m_pcmWriter, m_mp3Decoder;
    HWND m_owner = nullptr;
    int m_kind = 0;
    double m_expectedPcmBytes = 100.0;
    double m_expectedMp3Bytes = 100.0;
    int m_pcmChannels = 1, m_pcmRate = 1, m_pcmBits = 1;
    CString m_outputPath;
    CString m_pendingOutput;        // named by the Open in progress
    bool m_pendingOutputExisted = true;
    Mp3OutputSettings m_mp3;
    long m_lastEvent = 0;
    HRESULT m_runResult = S_OK;
    bool m_comInitialized = false;
};
