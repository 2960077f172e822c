// The filters of the audio chain that the suite creates by class id but does not
// contain: noise reduction, PCM writer, MP3 writer, MP3 encoder; and our live audio
// capture source. Methods sit in fixed slots counted from 0 (the three IUnknown
// methods are 0-2); slots nobody calls are kept as placeholders so that the used
// ones stay where every client expects them. Placeholders answer E_NOTIMPL.
#pragma once
#include <windows.h>
#include <unknwn.h>
#include "IMP3Dump.h"

// "Noise Reduction" (NVNoiseReduction.ax).
DEFINE_GUID(CLSID_NoiseReduction,
    0x0E558950, 0x6D70, 0x4570, 0x70, 0xEC, 0x3F, 0x15, 0x77, 0x7F, 0xBB, 0xA1);
DEFINE_GUID(IID_INoiseReduction,
    0x0E558952, 0x6D70, 0x4570, 0x70, 0xEC, 0x3F, 0x15, 0x77, 0x7F, 0xBB, 0xA1);

struct INoiseReduction : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Placeholder3() = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder4() = 0;
    // 5: reduction level, in the meaning of the file effect's level.
    virtual HRESULT STDMETHODCALLTYPE SetLevel(float level) = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder6() = 0;
    // 7: off passes the stream through unchanged.
    virtual HRESULT STDMETHODCALLTYPE SetEnabled(BOOL enabled) = 0;
};

// PCM writer "NV PCM Dump Filter" / "PCM Dump Filter" (Vossel.ax).
DEFINE_GUID(CLSID_NVPCMDump,
    0x36A56240, 0xF44C, 0x113E, 0xA1, 0xE2, 0x01, 0xAB, 0x40, 0x3F, 0xDC, 0x55);
DEFINE_GUID(IID_IPCMDump,
    0xB81EF030, 0x0830, 0x4930, 0x8E, 0xE2, 0x01, 0xAB, 0x40, 0x3F, 0xDC, 0x55);
DEFINE_GUID(IID_IPCMDumpFiles,
    0xB81EF031, 0x0830, 0x4930, 0x8E, 0xE2, 0x01, 0xAB, 0x40, 0x3F, 0xDC, 0x55);
DEFINE_GUID(IID_IPCMDumpSplit,
    0xB81EF032, 0x0830, 0x4930, 0x8E, 0xE2, 0x01, 0xAB, 0x40, 0x3F, 0xDC, 0x55);

struct IPCMDump : public IUnknown {
    // 3: format of the WAV file; the writer converts its input to it.
    virtual HRESULT STDMETHODCALLTYPE SetFormat(int channels, int sampleRate, int bitsPerSample) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFormat(int* channels, int* sampleRate, int* bitsPerSample) = 0;
    // 5: sound bytes written so far over all files of the recording, capped at INT_MAX.
    virtual HRESULT STDMETHODCALLTYPE GetWrittenBytes(int* bytes) = 0;
    // 6: the same without the cap.
    virtual HRESULT STDMETHODCALLTYPE GetWrittenBytes64(LONGLONG* bytes) = 0;
};

struct IPCMDumpFiles : public IUnknown {
    // 3: called with 0 by the conversions; kept for them, without effect.
    virtual HRESULT STDMETHODCALLTYPE SetReserved(int value) = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder4() = 0;
    // 5: write the WAV file (default on).
    virtual HRESULT STDMETHODCALLTYPE SetWriteWav(BOOL write) = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder6() = 0;
    // 7: write the peak data file beside the WAV (default off).
    virtual HRESULT STDMETHODCALLTYPE SetWritePeak(BOOL write) = 0;
};

struct IPCMDumpSplit : public IUnknown {
    // 3: continue in further files at the size limit.
    virtual HRESULT STDMETHODCALLTYPE SetSplitEnabled(BOOL enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder4() = 0;
    // 5: size limit of one file, in megabytes (1048576 bytes) of sound data.
    virtual HRESULT STDMETHODCALLTYPE SetSplitLimit(int megabytes) = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder6() = 0;
    // 7: continuation files written after the first file.
    virtual HRESULT STDMETHODCALLTYPE GetFileCount(int* count) = 0;
};

// MP3 writer "NV MP3 Dump": IMP3Dump.h.

// "MP3 Encoder".
DEFINE_GUID(CLSID_NVMP3EncFilter,
    0xE7D270FF, 0x4532, 0x2345, 0x43, 0xEE, 0x0D, 0x23, 0x61, 0x63, 0x62, 0x34);
DEFINE_GUID(IID_IMP3EncoderSettings,
    0xC27697F0, 0x17BE, 0x55D3, 0x37, 0x12, 0x40, 0xA8, 0x49, 0x21, 0xBF, 0x77);
DEFINE_GUID(IID_IMP3EncoderSettings2,
    0xC27697F1, 0x17BE, 0x55D3, 0x37, 0x12, 0x40, 0xA8, 0x49, 0x21, 0xBF, 0x77);

struct IMP3EncoderSettings : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Placeholder3() = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder4() = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder5() = 0;
    // 6
    virtual HRESULT STDMETHODCALLTYPE SetBitrate(int kbps) = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder7() = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder8() = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder9() = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder10() = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder11() = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder12() = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder13() = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder14() = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder15() = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder16() = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder17() = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder18() = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder19() = 0;
    // 20
    virtual HRESULT STDMETHODCALLTYPE SetSampleRate(int hz) = 0;
    virtual HRESULT STDMETHODCALLTYPE Placeholder21() = 0;
    // 22: 0 stereo, 3 mono.
    virtual HRESULT STDMETHODCALLTYPE SetChannelMode(int mode) = 0;
};

struct IMP3EncoderSettings2 : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Placeholder3() = 0;
    // 4: called with 1 right after creation for two-channel conversions.
    virtual HRESULT STDMETHODCALLTYPE SetStereoOption(int value) = 0;
};

// Our live audio capture source (SonelleCapture.ax): reads one wave-in device, which
// it takes from a device moniker's property bag ("WaveInId", else "FriendlyName")
// through IPersistPropertyBag. It is registered in the audio-input category under
// its own class id and used for devices whose platform filter offers no output pin.
DEFINE_GUID(CLSID_SonelleAudioCapture,
    0x5E4C7A10, 0x2B61, 0x4D3E, 0x9A, 0x57, 0x31, 0xC8, 0x0F, 0x6D, 0x42, 0xB9);

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(INoiseReduction, 0x0E558952, 0x6D70, 0x4570, 0x70, 0xEC, 0x3F, 0x15, 0x77, 0x7F, 0xBB, 0xA1)
__CRT_UUID_DECL(IPCMDump, 0xB81EF030, 0x0830, 0x4930, 0x8E, 0xE2, 0x01, 0xAB, 0x40, 0x3F, 0xDC, 0x55)
__CRT_UUID_DECL(IPCMDumpFiles, 0xB81EF031, 0x0830, 0x4930, 0x8E, 0xE2, 0x01, 0xAB, 0x40, 0x3F, 0xDC, 0x55)
__CRT_UUID_DECL(IPCMDumpSplit, 0xB81EF032, 0x0830, 0x4930, 0x8E, 0xE2, 0x01, 0xAB, 0x40, 0x3F, 0xDC, 0x55)
__CRT_UUID_DECL(IMP3EncoderSettings, 0xC27697F0, 0x17BE, 0x55D3, 0x37, 0x12, 0x40, 0xA8, 0x49, 0x21, 0xBF, 0x77)
__CRT_UUID_DECL(IMP3EncoderSettings2, 0xC27697F1, 0x17BE, 0x55D3, 0x37, 0x12, 0x40, 0xA8, 0x49, 0x21, 0xBF, 0x77)
#endif
