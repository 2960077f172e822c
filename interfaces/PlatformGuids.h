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
