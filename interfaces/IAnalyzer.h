// The audio analyzer filter "NV Audio Analyzer Filter" (module NVAudioAnalyer.ax):
// class ids and its four custom interfaces (the fifth it answers is the platform's
// ISpecifyPropertyPages). Method order is the binary contract with every client.
#pragma once
#include <windows.h>
#include <unknwn.h>
#include "AnalyzerRecord.h"

DEFINE_GUID(CLSID_AudioAnalyzer,
    0x0E558951, 0x6D30, 0x4530, 0x30, 0xEC, 0x3F, 0x15, 0x77, 0x7F, 0xBB, 0xE1);
DEFINE_GUID(CLSID_AudioAnalyzerProperty,
    0x0E558951, 0x6D30, 0x4530, 0x30, 0x41, 0xBB, 0x2F, 0x2D, 0x64, 0xD2, 0xA1);
DEFINE_GUID(IID_IAnalyzer,
    0xB81EF051, 0x0830, 0x4930, 0x30, 0x6C, 0x6A, 0x79, 0x21, 0x5D, 0x73, 0x81);
DEFINE_GUID(IID_IAudioEffect,
    0xB81EF052, 0x0830, 0x4930, 0x30, 0x6C, 0x6A, 0x79, 0x21, 0x5D, 0x73, 0x81);
DEFINE_GUID(IID_ISplitEvent,
    0xB81EF053, 0x0830, 0x4930, 0x30, 0x6C, 0x6A, 0x79, 0x21, 0x5D, 0x73, 0x81);
DEFINE_GUID(IID_IMuteSound,
    0xB81EF055, 0x0830, 0x4930, 0x30, 0x6C, 0x6A, 0x79, 0x21, 0x5D, 0x73, 0x81);

// Levels and spectrum: the oldest unread AnalyzerRecord (88 bytes) into record;
// S_FALSE when none is waiting (the buffer is left as it was).
struct IAnalyzer : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetData(BYTE* record) = 0;
};

// Amplification of the stream.
struct IAudioEffect : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetGain(float gain) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetGain(float* gain) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetGainEnabled(BOOL enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetGainEnabled(BOOL* enabled) = 0;
};

// New MP3 file at the start of each sound after a silence.
struct ISplitEvent : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetSplitEnabled(BOOL enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSplitEnabled(BOOL* enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSplitParams(int threshold, int silentBlocks, int minSeconds) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSplitParams(int* threshold, int* silentBlocks, int* minSeconds) = 0;
};

// A timed mute of the stream's beginning with a short fade back in.
struct IMuteSound : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetMuteTime(int ms) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMuteLevel(float level) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMuteLevel(float* level) = 0;
};

__CRT_UUID_DECL(IAnalyzer, 0xB81EF051, 0x0830, 0x4930, 0x30, 0x6C, 0x6A, 0x79, 0x21, 0x5D, 0x73, 0x81)
__CRT_UUID_DECL(IAudioEffect, 0xB81EF052, 0x0830, 0x4930, 0x30, 0x6C, 0x6A, 0x79, 0x21, 0x5D, 0x73, 0x81)
__CRT_UUID_DECL(ISplitEvent, 0xB81EF053, 0x0830, 0x4930, 0x30, 0x6C, 0x6A, 0x79, 0x21, 0x5D, 0x73, 0x81)
__CRT_UUID_DECL(IMuteSound, 0xB81EF055, 0x0830, 0x4930, 0x30, 0x6C, 0x6A, 0x79, 0x21, 0x5D, 0x73, 0x81)
