// The outside MP3 writer "NV MP3 Dump": class id and the interface the suite
// calls. Slots are numbered from 0 (QueryInterface, AddRef, Release); the suite
// uses 3, 8 and 9. Slot 4 is the uncapped byte count; 5 to 7 are placeholders
// that keep 8 and 9 in their positions.
#pragma once
#include <windows.h>
#include <unknwn.h>

DEFINE_GUID(CLSID_NVMP3Dump,
    0x36A56240, 0xF33C, 0x113E, 0xA1, 0xE3, 0x02, 0xAB, 0x40, 0x3F, 0xDC, 0x55);
DEFINE_GUID(IID_IMP3Dump,
    0xB81EF030, 0xF330, 0x4930, 0x8E, 0xE3, 0x02, 0xAB, 0x40, 0x3F, 0xDC, 0x55);

// The instance name under which graphs add the writer; the analyzer finds it by it.
#define MP3_DUMP_FILTER_NAME L"NV MP3 Dump"

struct IMP3Dump : public IUnknown {
    // 3: bytes written over all files of the recording, capped at INT_MAX.
    virtual HRESULT STDMETHODCALLTYPE GetWrittenBytes(int* bytes) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetWrittenBytes64(LONGLONG* bytes) = 0;   // 4: the same, uncapped
    virtual HRESULT STDMETHODCALLTYPE Reserved5() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved6() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved7() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFileCount(int* count) = 0;      // 8: continuation files
    virtual HRESULT STDMETHODCALLTYPE NewFile() = 0;                     // 9: go on in the next file
};

__CRT_UUID_DECL(IMP3Dump, 0xB81EF030, 0xF330, 0x4930, 0x8E, 0xE3, 0x02, 0xAB, 0x40, 0x3F, 0xDC, 0x55)
