// Class ids and property keys of the platform that MinGW-w64's headers or import
// libraries lack. Defined once in PlatformGuids.cpp.
#pragma once
#include <windows.h>
#include <propkeydef.h>

// The null renderer exists in strmiids but is missing from the headers.
EXTERN_C const CLSID CLSID_NullRenderer;   // {C1F400A4-3F08-11D3-9F0B-006008039E37}

// The WAVE parser (RIFF splitter) is in neither.
DEFINE_GUID(CLSID_WAVEParser,
    0xD51BD5A1, 0x7548, 0x11CF, 0xA5, 0x20, 0x00, 0x80, 0xC7, 0x7E, 0xF5, 0x8A);

// Friendly name of a core-audio endpoint; declared by functiondiscoverykeys_devpkey.h,
// defined by no import library.
EXTERN_C const PROPERTYKEY PKEY_Device_FriendlyName;

// MPEG Layer III audio (wave format tag 0x55) as a DirectShow subtype.
DEFINE_GUID(MEDIASUBTYPE_MP3_Audio,
    0x00000055, 0x0000, 0x0010, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71);

// The platform's MP3 decoders as the conversion graphs name them: the "MPEG
// Layer-3 Decoder" filter and the id the DMO form is asked for by.
DEFINE_GUID(CLSID_MS_MP3Decoder,
    0x38BE3000, 0xDBF4, 0x11D0, 0x86, 0x0E, 0x00, 0xA0, 0x24, 0xCF, 0xEF, 0x6D);
DEFINE_GUID(CLSID_MS_MP3Decoder_DMO,
    0x57F2DB8B, 0xE6BB, 0x4513, 0x9D, 0x43, 0xDC, 0xD2, 0xA6, 0x59, 0x31, 0x25);
