// AM_MEDIA_TYPE helpers and CMediaType, an owning wrapper with deep copies.
#pragma once
#include <windows.h>
#include <dshow.h>
#include <cguid.h>

void FreeMediaType(AM_MEDIA_TYPE& mt);                       // frees format block and unknown
void DeleteMediaType(AM_MEDIA_TYPE* mt);                     // FreeMediaType + CoTaskMemFree
HRESULT CopyMediaType(AM_MEDIA_TYPE* dst, const AM_MEDIA_TYPE* src);
AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* src);    // CoTaskMem copy, null on failure

class CMediaType : public AM_MEDIA_TYPE {
public:
    CMediaType();
    CMediaType(const AM_MEDIA_TYPE& mt);
    CMediaType(const CMediaType& mt);
    ~CMediaType();
    CMediaType& operator=(const AM_MEDIA_TYPE& mt);
    CMediaType& operator=(const CMediaType& mt);

    bool operator==(const CMediaType& other) const;
    bool operator!=(const CMediaType& other) const { return !(*this == other); }

    bool IsValid() const { return majortype != GUID_NULL; }
    // True when major type and subtype are set and, if a format type is named, a format too.
    bool IsFullySpecified() const;
    // Same major type and, where both name one, same subtype and format type.
    bool MatchesPartial(const AM_MEDIA_TYPE& partial) const;

    void InitMediaType();   // empty, sample size 1, fixed-size samples
    BYTE* AllocFormatBuffer(ULONG length);
    HRESULT SetFormat(const BYTE* format, ULONG length);
    void ResetFormatBuffer();

    // A PCM audio type with a WAVEFORMATEX for the given layout.
    static CMediaType Pcm(DWORD sampleRate, WORD channels, WORD bitsPerSample);
    const WAVEFORMATEX* WaveFormat() const;   // null unless FORMAT_WaveFormatEx with room for it
};
