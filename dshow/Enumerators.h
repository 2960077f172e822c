// Enumerators of a filter's pins and of a pin's preferred media types.
#pragma once
#include "Unknown.h"
#include <dshow.h>

class CBaseFilter;
class CBasePin;

class CEnumPins : public IEnumPins, public CUnknown {
public:
    explicit CEnumPins(CBaseFilter* filter, int position = 0, LONG version = 0);
    ~CEnumPins() override;
    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    IUnknown* GetOwnerUnknown() override { return static_cast<IEnumPins*>(this); }

    STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumPins** clone) override;

private:
    bool OutOfSync() const;
    CBaseFilter* m_filter;
    int m_position;
    LONG m_version;
};

class CEnumMediaTypes : public IEnumMediaTypes, public CUnknown {
public:
    explicit CEnumMediaTypes(CBasePin* pin, int position = 0);
    ~CEnumMediaTypes() override;
    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    IUnknown* GetOwnerUnknown() override { return static_cast<IEnumMediaTypes*>(this); }

    STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumMediaTypes** clone) override;

private:
    CBasePin* m_pin;
    int m_position;
};
