// The PCM source filter "NV PCM Source" (module Wavrill.ax): class id and its four
// custom interfaces. Method order is the binary contract with every client.
#pragma once
#include <windows.h>
#include <unknwn.h>

DEFINE_GUID(CLSID_Wavrill,
    0xA8BB7AF5, 0xC995, 0x41BE, 0x8E, 0x85, 0xF1, 0x2C, 0x0C, 0xD4, 0x6E, 0x92);
DEFINE_GUID(IID_IWavrill,
    0xB81EF030, 0x0830, 0x4930, 0x8E, 0x85, 0xF1, 0x2C, 0x0C, 0xD4, 0x6E, 0x92);
DEFINE_GUID(IID_IWavrill2,
    0xB81EF031, 0x0830, 0x4930, 0x8E, 0x85, 0xF1, 0x2C, 0x0C, 0xD4, 0x6E, 0x92);
DEFINE_GUID(IID_IPCMSeek,
    0xB81EF032, 0x0830, 0x4930, 0x8E, 0x85, 0xF1, 0x2C, 0x0C, 0xD4, 0x6E, 0x92);
DEFINE_GUID(IID_IWavrillBuffer,
    0xB81EF033, 0x0830, 0x4930, 0x8E, 0x85, 0xF1, 0x2C, 0x0C, 0xD4, 0x6E, 0x92);

// Byte range and position. Range and SetPosition count from the first byte of the
// sound data; GetPosition gives the absolute file offset.
struct IWavrill : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetRange(LONGLONG* start, LONGLONG* stop) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRange(LONGLONG* start, LONGLONG* stop) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPosition(LONGLONG* pos) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPosition(LONGLONG* pos) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetProgress(int* percent) = 0;
};

// Headerless PCM; settings take effect at the next open.
struct IWavrill2 : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetRawMode(BOOL raw) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRawMode(BOOL* raw) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetRawFormat(int channels, int samplesPerSec, int bitsPerSample) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRawFormat(int* channels, int* samplesPerSec, int* bitsPerSample) = 0;
};

// Seeking in seconds.
struct IPCMSeek : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SeekSeconds(double seconds) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPositionSeconds(double* seconds) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRangeSeconds(double* seconds) = 0;
};

// The length of sound in each buffer the pin delivers (40 ms unless set). Every
// buffer costs a fixed round of allocator and event calls, so a graph that only
// converts a file asks for long buffers. Set before the pin connects: the
// buffer size is decided when it connects.
struct IWavrillBuffer : public IUnknown {
    // 1 to 10000 ms (else E_INVALIDARG); VFW_E_ALREADY_CONNECTED once connected.
    virtual HRESULT STDMETHODCALLTYPE SetBufferMilliseconds(int milliseconds) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBufferMilliseconds(int* milliseconds) = 0;
};

__CRT_UUID_DECL(IWavrill, 0xB81EF030, 0x0830, 0x4930, 0x8E, 0x85, 0xF1, 0x2C, 0x0C, 0xD4, 0x6E, 0x92)
__CRT_UUID_DECL(IWavrill2, 0xB81EF031, 0x0830, 0x4930, 0x8E, 0x85, 0xF1, 0x2C, 0x0C, 0xD4, 0x6E, 0x92)
__CRT_UUID_DECL(IPCMSeek, 0xB81EF032, 0x0830, 0x4930, 0x8E, 0x85, 0xF1, 0x2C, 0x0C, 0xD4, 0x6E, 0x92)
__CRT_UUID_DECL(IWavrillBuffer, 0xB81EF033, 0x0830, 0x4930, 0x8E, 0x85, 0xF1, 0x2C, 0x0C, 0xD4, 0x6E, 0x92)
