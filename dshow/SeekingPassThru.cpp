#include "SeekingPassThru.h"
#include "BasePin.h"

STDMETHODIMP CSeekingPassThru::QueryInterface(REFIID riid, void** ppv)
{
    return m_owner->QueryInterface(riid, ppv);
}

STDMETHODIMP_(ULONG) CSeekingPassThru::AddRef() { return m_owner->AddRef(); }

STDMETHODIMP_(ULONG) CSeekingPassThru::Release() { return m_owner->Release(); }

HRESULT CSeekingPassThru::Upstream(IMediaSeeking** seeking)
{
    *seeking = nullptr;
    IPin* peer = nullptr;
    if (FAILED(m_input->ConnectedTo(&peer)) || !peer)
        return VFW_E_NOT_CONNECTED;
    HRESULT hr = peer->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(seeking));
    peer->Release();
    return FAILED(hr) ? E_NOTIMPL : S_OK;
}

// Each method asks the upstream pin afresh: connections change while stopped.
#define FORWARD_SEEKING(call)                 \
    IMediaSeeking* upstream = nullptr;        \
    HRESULT hr = Upstream(&upstream);         \
    if (FAILED(hr))                           \
        return hr;                            \
    hr = upstream->call;                      \
    upstream->Release();                      \
    return hr;

STDMETHODIMP CSeekingPassThru::GetCapabilities(DWORD* caps) { FORWARD_SEEKING(GetCapabilities(caps)) }
STDMETHODIMP CSeekingPassThru::CheckCapabilities(DWORD* caps) { FORWARD_SEEKING(CheckCapabilities(caps)) }
STDMETHODIMP CSeekingPassThru::IsFormatSupported(const GUID* format) { FORWARD_SEEKING(IsFormatSupported(format)) }
STDMETHODIMP CSeekingPassThru::QueryPreferredFormat(GUID* format) { FORWARD_SEEKING(QueryPreferredFormat(format)) }
STDMETHODIMP CSeekingPassThru::GetTimeFormat(GUID* format) { FORWARD_SEEKING(GetTimeFormat(format)) }
STDMETHODIMP CSeekingPassThru::IsUsingTimeFormat(const GUID* format) { FORWARD_SEEKING(IsUsingTimeFormat(format)) }
STDMETHODIMP CSeekingPassThru::SetTimeFormat(const GUID* format) { FORWARD_SEEKING(SetTimeFormat(format)) }
STDMETHODIMP CSeekingPassThru::GetDuration(LONGLONG* duration) { FORWARD_SEEKING(GetDuration(duration)) }
STDMETHODIMP CSeekingPassThru::GetStopPosition(LONGLONG* stop) { FORWARD_SEEKING(GetStopPosition(stop)) }
STDMETHODIMP CSeekingPassThru::GetCurrentPosition(LONGLONG* current) { FORWARD_SEEKING(GetCurrentPosition(current)) }
STDMETHODIMP CSeekingPassThru::ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                                 const GUID* sourceFormat)
{
    FORWARD_SEEKING(ConvertTimeFormat(target, targetFormat, source, sourceFormat))
}
STDMETHODIMP CSeekingPassThru::SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags)
{
    FORWARD_SEEKING(SetPositions(current, currentFlags, stop, stopFlags))
}
STDMETHODIMP CSeekingPassThru::GetPositions(LONGLONG* current, LONGLONG* stop) { FORWARD_SEEKING(GetPositions(current, stop)) }
STDMETHODIMP CSeekingPassThru::GetAvailable(LONGLONG* earliest, LONGLONG* latest)
{
    FORWARD_SEEKING(GetAvailable(earliest, latest))
}
STDMETHODIMP CSeekingPassThru::SetRate(double rate) { FORWARD_SEEKING(SetRate(rate)) }
STDMETHODIMP CSeekingPassThru::GetRate(double* rate) { FORWARD_SEEKING(GetRate(rate)) }
STDMETHODIMP CSeekingPassThru::GetPreroll(LONGLONG* preroll) { FORWARD_SEEKING(GetPreroll(preroll)) }
