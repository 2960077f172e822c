#include "BasePin.h"
#include "BaseFilter.h"
#include "Enumerators.h"
#include <new>

CBasePin::CBasePin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name, PIN_DIRECTION dir)
    : m_filter(filter), m_lock(lock), m_name(name ? name : L""), m_dir(dir)
{
}

CBasePin::~CBasePin()
{
    if (m_connected)
        m_connected->Release();
}

HRESULT CBasePin::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IPin)
        return GetInterface(static_cast<IPin*>(this), ppv);
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG CBasePin::NonDelegatingAddRef() { return m_filter->GetOwnerUnknown()->AddRef(); }

ULONG CBasePin::NonDelegatingRelease() { return m_filter->GetOwnerUnknown()->Release(); }

STDMETHODIMP CBasePin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt)
{
    if (!receivePin)
        return E_POINTER;
    CAutoLock lock(m_lock);
    HRESULT hr = CanConnect();
    if (FAILED(hr))
        return hr;
    CMediaType partial;
    if (mt)
        partial = *mt;
    return AgreeMediaType(receivePin, mt ? &partial : nullptr);
}

HRESULT CBasePin::CanConnect() const
{
    if (m_connected)
        return VFW_E_ALREADY_CONNECTED;
    return m_filter->IsStopped() ? S_OK : VFW_E_NOT_STOPPED;
}

HRESULT CBasePin::AgreeMediaType(IPin* receivePin, const CMediaType* mt)
{
    if (mt && mt->IsFullySpecified())
        return AttemptConnection(receivePin, mt);

    HRESULT result = VFW_E_NO_ACCEPTABLE_TYPES;
    // The receiving pin's preferences first, then ours.
    for (int pass = 0; pass < 2; pass++) {
        IEnumMediaTypes* types = nullptr;
        HRESULT hr = pass == 0 ? receivePin->EnumMediaTypes(&types) : EnumMediaTypes(&types);
        if (SUCCEEDED(hr) && types) {
            hr = TryMediaTypes(receivePin, mt, types);
            types->Release();
            if (SUCCEEDED(hr))
                return hr;
            if (hr != VFW_E_NO_ACCEPTABLE_TYPES)
                result = hr;
        }
    }
    return result;
}

HRESULT CBasePin::TryMediaTypes(IPin* receivePin, const CMediaType* partial, IEnumMediaTypes* types)
{
    HRESULT result = VFW_E_NO_ACCEPTABLE_TYPES;
    types->Reset();
    for (;;) {
        AM_MEDIA_TYPE* next = nullptr;
        ULONG fetched = 0;
        if (types->Next(1, &next, &fetched) != S_OK || !fetched || !next)
            break;
        CMediaType candidate(*next);
        DeleteMediaType(next);
        if (partial && !candidate.MatchesPartial(*partial))
            continue;
        HRESULT hr = AttemptConnection(receivePin, &candidate);
        if (SUCCEEDED(hr))
            return hr;
        if (hr != VFW_E_TYPE_NOT_ACCEPTED && hr != VFW_E_NO_ACCEPTABLE_TYPES)
            result = hr;
    }
    return result;
}

HRESULT CBasePin::AttemptConnection(IPin* receivePin, const CMediaType* mt)
{
    HRESULT hr = CheckConnect(receivePin);
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    if (CheckMediaType(mt) != S_OK) {
        BreakConnect();
        return VFW_E_TYPE_NOT_ACCEPTED;
    }
    m_connected = receivePin;
    m_connected->AddRef();
    hr = SetMediaType(mt);
    if (SUCCEEDED(hr)) {
        hr = receivePin->ReceiveConnection(this, mt);
        if (SUCCEEDED(hr)) {
            hr = CompleteConnect(receivePin);
            if (SUCCEEDED(hr))
                return S_OK;
            receivePin->Disconnect();
        }
    }
    BreakConnect();
    m_connected->Release();
    m_connected = nullptr;
    m_mt.InitMediaType();
    if (hr == E_FAIL || hr == S_FALSE || SUCCEEDED(hr))
        hr = VFW_E_TYPE_NOT_ACCEPTED;
    return hr;
}

STDMETHODIMP CBasePin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt)
{
    if (!connector || !mt)
        return E_POINTER;
    CAutoLock lock(m_lock);
    HRESULT hr = CanConnect();
    if (FAILED(hr))
        return hr;
    hr = CheckConnect(connector);
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    CMediaType type(*mt);
    if (CheckMediaType(&type) != S_OK) {
        BreakConnect();
        return VFW_E_TYPE_NOT_ACCEPTED;
    }
    m_connected = connector;
    m_connected->AddRef();
    hr = SetMediaType(&type);
    if (SUCCEEDED(hr))
        hr = CompleteConnect(connector);
    if (FAILED(hr)) {
        BreakConnect();
        m_connected->Release();
        m_connected = nullptr;
        m_mt.InitMediaType();
        return hr;
    }
    return S_OK;
}

STDMETHODIMP CBasePin::Disconnect()
{
    CAutoLock lock(m_lock);
    if (!m_filter->IsStopped())
        return VFW_E_NOT_STOPPED;
    if (!m_connected)
        return S_FALSE;
    HRESULT hr = BreakConnect();
    if (FAILED(hr))
        return hr;
    m_connected->Release();
    m_connected = nullptr;
    m_mt.InitMediaType();
    return S_OK;
}

STDMETHODIMP CBasePin::ConnectedTo(IPin** pin)
{
    if (!pin)
        return E_POINTER;
    IPin* peer = m_connected;
    *pin = peer;
    if (!peer)
        return VFW_E_NOT_CONNECTED;
    peer->AddRef();
    return S_OK;
}

STDMETHODIMP CBasePin::ConnectionMediaType(AM_MEDIA_TYPE* mt)
{
    if (!mt)
        return E_POINTER;
    CAutoLock lock(m_lock);
    if (!m_connected) {
        memset(mt, 0, sizeof(*mt));
        return VFW_E_NOT_CONNECTED;
    }
    return CopyMediaType(mt, &m_mt);
}

STDMETHODIMP CBasePin::QueryPinInfo(PIN_INFO* info)
{
    if (!info)
        return E_POINTER;
    info->pFilter = m_filter;
    m_filter->AddRef();
    lstrcpynW(info->achName, m_name.c_str(), MAX_PIN_NAME);
    info->dir = m_dir;
    return S_OK;
}

STDMETHODIMP CBasePin::QueryDirection(PIN_DIRECTION* dir)
{
    if (!dir)
        return E_POINTER;
    *dir = m_dir;
    return S_OK;
}

STDMETHODIMP CBasePin::QueryId(LPWSTR* id)
{
    if (!id)
        return E_POINTER;
    size_t bytes = (m_name.size() + 1) * sizeof(wchar_t);
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*id)
        return E_OUTOFMEMORY;
    memcpy(*id, m_name.c_str(), bytes);
    return S_OK;
}

STDMETHODIMP CBasePin::QueryAccept(const AM_MEDIA_TYPE* mt)
{
    if (!mt)
        return E_POINTER;
    CMediaType type(*mt);
    return CheckMediaType(&type) == S_OK ? S_OK : S_FALSE;
}

STDMETHODIMP CBasePin::EnumMediaTypes(IEnumMediaTypes** types)
{
    if (!types)
        return E_POINTER;
    auto* e = new (std::nothrow) CEnumMediaTypes(this);
    if (!e) {
        *types = nullptr;
        return E_OUTOFMEMORY;
    }
    return GetInterface(static_cast<IEnumMediaTypes*>(e), reinterpret_cast<void**>(types));
}

STDMETHODIMP CBasePin::QueryInternalConnections(IPin**, ULONG*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CBasePin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    m_segmentStart = start;
    m_segmentStop = stop;
    m_segmentRate = rate;
    return S_OK;
}

HRESULT CBasePin::GetMediaType(int position, CMediaType*)
{
    return position < 0 ? E_INVALIDARG : VFW_S_NO_MORE_ITEMS;
}

HRESULT CBasePin::SetMediaType(const CMediaType* mt)
{
    m_mt = *mt;
    return S_OK;
}

HRESULT CBasePin::CheckConnect(IPin* pin)
{
    PIN_DIRECTION dir;
    HRESULT hr = pin->QueryDirection(&dir);
    if (FAILED(hr))
        return hr;
    return dir == m_dir ? VFW_E_INVALID_DIRECTION : S_OK;
}
