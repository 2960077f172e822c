#include "Enumerators.h"
#include "BaseFilter.h"
#include "BasePin.h"
#include <new>

CEnumPins::CEnumPins(CBaseFilter* filter, int position, LONG version)
    : m_filter(filter), m_position(position), m_version(version ? version : filter->PinVersion())
{
    m_filter->AddRef();
}

CEnumPins::~CEnumPins() { m_filter->Release(); }

HRESULT CEnumPins::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IEnumPins)
        return GetInterface(static_cast<IEnumPins*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

bool CEnumPins::OutOfSync() const { return m_version != m_filter->PinVersion(); }

STDMETHODIMP CEnumPins::Next(ULONG count, IPin** pins, ULONG* fetched)
{
    if (!pins || (count > 1 && !fetched))
        return E_POINTER;
    if (fetched)
        *fetched = 0;
    if (OutOfSync())
        return VFW_E_ENUM_OUT_OF_SYNC;
    ULONG got = 0;
    while (got < count && m_position < m_filter->GetPinCount()) {
        CBasePin* pin = m_filter->GetPin(m_position++);
        if (!pin)
            continue;
        pins[got] = pin;
        pin->AddRef();
        got++;
    }
    if (fetched)
        *fetched = got;
    return got == count ? S_OK : S_FALSE;
}

STDMETHODIMP CEnumPins::Skip(ULONG count)
{
    if (OutOfSync())
        return VFW_E_ENUM_OUT_OF_SYNC;
    int left = m_filter->GetPinCount() - m_position;
    if ((ULONG)(left > 0 ? left : 0) < count) {
        m_position = m_filter->GetPinCount();
        return S_FALSE;
    }
    m_position += (int)count;
    return S_OK;
}

STDMETHODIMP CEnumPins::Reset()
{
    m_version = m_filter->PinVersion();
    m_position = 0;
    return S_OK;
}

STDMETHODIMP CEnumPins::Clone(IEnumPins** clone)
{
    if (!clone)
        return E_POINTER;
    auto* e = new (std::nothrow) CEnumPins(m_filter, m_position, m_version);
    if (!e) {
        *clone = nullptr;
        return E_OUTOFMEMORY;
    }
    return GetInterface(static_cast<IEnumPins*>(e), reinterpret_cast<void**>(clone));
}

CEnumMediaTypes::CEnumMediaTypes(CBasePin* pin, int position) : m_pin(pin), m_position(position)
{
    m_pin->AddRef();
}

CEnumMediaTypes::~CEnumMediaTypes() { m_pin->Release(); }

HRESULT CEnumMediaTypes::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IEnumMediaTypes)
        return GetInterface(static_cast<IEnumMediaTypes*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CEnumMediaTypes::Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched)
{
    if (!types || (count > 1 && !fetched))
        return E_POINTER;
    ULONG got = 0;
    while (got < count) {
        CMediaType mt;
        if (m_pin->GetMediaType(m_position, &mt) != S_OK)
            break;
        m_position++;
        AM_MEDIA_TYPE* copy = CreateMediaType(&mt);
        if (!copy)
            break;
        types[got++] = copy;
    }
    if (fetched)
        *fetched = got;
    return got == count ? S_OK : S_FALSE;
}

STDMETHODIMP CEnumMediaTypes::Skip(ULONG count)
{
    while (count > 0) {
        CMediaType mt;
        if (m_pin->GetMediaType(m_position, &mt) != S_OK)
            return S_FALSE;
        m_position++;
        count--;
    }
    return S_OK;
}

STDMETHODIMP CEnumMediaTypes::Reset()
{
    m_position = 0;
    return S_OK;
}

STDMETHODIMP CEnumMediaTypes::Clone(IEnumMediaTypes** clone)
{
    if (!clone)
        return E_POINTER;
    auto* e = new (std::nothrow) CEnumMediaTypes(m_pin, m_position);
    if (!e) {
        *clone = nullptr;
        return E_OUTOFMEMORY;
    }
    return GetInterface(static_cast<IEnumMediaTypes*>(e), reinterpret_cast<void**>(clone));
}
