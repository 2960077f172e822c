#include "MediaType.h"
#include <mmreg.h>
#include <cstring>

void FreeMediaType(AM_MEDIA_TYPE& mt)
{
    if (mt.cbFormat && mt.pbFormat)
        CoTaskMemFree(mt.pbFormat);
    mt.cbFormat = 0;
    mt.pbFormat = nullptr;
    if (mt.pUnk) {
        mt.pUnk->Release();
        mt.pUnk = nullptr;
    }
}

void DeleteMediaType(AM_MEDIA_TYPE* mt)
{
    if (!mt)
        return;
    FreeMediaType(*mt);
    CoTaskMemFree(mt);
}

HRESULT CopyMediaType(AM_MEDIA_TYPE* dst, const AM_MEDIA_TYPE* src)
{
    if (!dst || !src)
        return E_POINTER;
    *dst = *src;
    if (src->cbFormat && src->pbFormat) {
        dst->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(src->cbFormat));
        if (!dst->pbFormat) {
            dst->cbFormat = 0;
            dst->pUnk = nullptr;
            return E_OUTOFMEMORY;
        }
        memcpy(dst->pbFormat, src->pbFormat, src->cbFormat);
    } else {
        dst->pbFormat = nullptr;
        dst->cbFormat = 0;
    }
    if (dst->pUnk)
        dst->pUnk->AddRef();
    return S_OK;
}

AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* src)
{
    auto* mt = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!mt)
        return nullptr;
    if (FAILED(CopyMediaType(mt, src))) {
        CoTaskMemFree(mt);
        return nullptr;
    }
    return mt;
}

CMediaType::CMediaType() { InitMediaType(); }

CMediaType::CMediaType(const AM_MEDIA_TYPE& mt)
{
    InitMediaType();
    *this = mt;
}

CMediaType::CMediaType(const CMediaType& mt) : CMediaType(static_cast<const AM_MEDIA_TYPE&>(mt)) {}

CMediaType::~CMediaType() { FreeMediaType(*this); }

CMediaType& CMediaType::operator=(const AM_MEDIA_TYPE& mt)
{
    if (&mt != this) {
        FreeMediaType(*this);
        if (FAILED(CopyMediaType(this, &mt)))
            InitMediaType();
    }
    return *this;
}

CMediaType& CMediaType::operator=(const CMediaType& mt)
{
    return *this = static_cast<const AM_MEDIA_TYPE&>(mt);
}

bool CMediaType::operator==(const CMediaType& other) const
{
    return majortype == other.majortype && subtype == other.subtype && formattype == other.formattype &&
           cbFormat == other.cbFormat && (cbFormat == 0 || memcmp(pbFormat, other.pbFormat, cbFormat) == 0);
}

bool CMediaType::IsFullySpecified() const
{
    if (majortype == GUID_NULL || subtype == GUID_NULL)
        return false;
    if (formattype != GUID_NULL && (!pbFormat || !cbFormat))
        return false;
    return true;
}

bool CMediaType::MatchesPartial(const AM_MEDIA_TYPE& partial) const
{
    if (partial.majortype != GUID_NULL && partial.majortype != majortype)
        return false;
    if (partial.subtype != GUID_NULL && partial.subtype != subtype)
        return false;
    if (partial.formattype != GUID_NULL) {
        if (partial.formattype != formattype)
            return false;
        if (partial.cbFormat && (partial.cbFormat != cbFormat || memcmp(partial.pbFormat, pbFormat, cbFormat)))
            return false;
    }
    return true;
}

void CMediaType::InitMediaType()
{
    memset(static_cast<AM_MEDIA_TYPE*>(this), 0, sizeof(AM_MEDIA_TYPE));
    lSampleSize = 1;
    bFixedSizeSamples = TRUE;
}

BYTE* CMediaType::AllocFormatBuffer(ULONG length)
{
    if (cbFormat == length && pbFormat)
        return pbFormat;
    BYTE* buffer = static_cast<BYTE*>(CoTaskMemAlloc(length));
    if (!buffer)
        return nullptr;
    if (cbFormat && pbFormat)
        CoTaskMemFree(pbFormat);
    pbFormat = buffer;
    cbFormat = length;
    return buffer;
}

HRESULT CMediaType::SetFormat(const BYTE* format, ULONG length)
{
    BYTE* buffer = AllocFormatBuffer(length);
    if (!buffer)
        return E_OUTOFMEMORY;
    memcpy(buffer, format, length);
    return S_OK;
}

void CMediaType::ResetFormatBuffer()
{
    if (cbFormat && pbFormat)
        CoTaskMemFree(pbFormat);
    cbFormat = 0;
    pbFormat = nullptr;
}

CMediaType CMediaType::Pcm(DWORD sampleRate, WORD channels, WORD bitsPerSample)
{
    CMediaType mt;
    mt.majortype = MEDIATYPE_Audio;
    mt.subtype = MEDIASUBTYPE_PCM;
    mt.formattype = FORMAT_WaveFormatEx;
    WAVEFORMATEX wfx = {};
    wfx.wFormatTag = WAVE_FORMAT_PCM;
    wfx.nChannels = channels;
    wfx.nSamplesPerSec = sampleRate;
    wfx.wBitsPerSample = bitsPerSample;
    wfx.nBlockAlign = WORD(channels * bitsPerSample / 8);
    wfx.nAvgBytesPerSec = sampleRate * wfx.nBlockAlign;
    mt.lSampleSize = wfx.nBlockAlign;
    mt.bFixedSizeSamples = TRUE;
    mt.SetFormat(reinterpret_cast<const BYTE*>(&wfx), sizeof(wfx));
    return mt;
}

const WAVEFORMATEX* CMediaType::WaveFormat() const
{
    if (formattype != FORMAT_WaveFormatEx || !pbFormat || cbFormat < sizeof(WAVEFORMATEX) - sizeof(WORD))
        return nullptr;
    return reinterpret_cast<const WAVEFORMATEX*>(pbFormat);
}
