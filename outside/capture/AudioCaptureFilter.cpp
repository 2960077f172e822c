#include "AudioCaptureFilter.h"
#include "OutsideFilters.h"
#include <ks.h>
#include <uuids.h>

namespace {

const int kDefaultBuffers = 10;
const DWORD kDefaultBufferMs = 50;

WAVEFORMATEX MakeFormat(WORD channels, WORD bits, DWORD rate)
{
    WAVEFORMATEX f = {};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = channels;
    f.wBitsPerSample = bits;
    f.nSamplesPerSec = rate;
    f.nBlockAlign = (WORD)(channels * bits / 8);
    f.nAvgBytesPerSec = rate * f.nBlockAlign;
    return f;
}

bool IsOfferedFormat(const WAVEFORMATEX& f)
{
    for (int i = 0; i < CAudioCapturePin::FormatCount; ++i) {
        WAVEFORMATEX o = CAudioCapturePin::FormatAt(i);
        if (o.nChannels == f.nChannels && o.wBitsPerSample == f.wBitsPerSample && o.nSamplesPerSec == f.nSamplesPerSec)
            return true;
    }
    return false;
}

CMediaType TypeOf(const WAVEFORMATEX& f)
{
    return CMediaType::Pcm(f.nSamplesPerSec, f.nChannels, f.wBitsPerSample);
}

} // namespace

WAVEFORMATEX CAudioCapturePin::FormatAt(int index)
{
    static const DWORD rates[] = {44100, 48000, 22050};
    // 2 / 16 / 44100 first, then the other rates; stereo before mono, 16 before 8 bits.
    int rate = index % 3, rest = index / 3;
    WORD channels = (rest & 1) ? 1 : 2;
    WORD bits = (rest & 2) ? 8 : 16;
    return MakeFormat(channels, bits, rates[rate]);
}

CAudioCapturePin::CAudioCapturePin(CAudioCaptureFilter* filter)
    : CSourceStream(filter, L"Capture"), m_capture(filter)
{
    m_format = FormatAt(0);
    m_suggested.cBuffers = m_suggested.cbBuffer = m_suggested.cbAlign = m_suggested.cbPrefix = -1;
    m_abort = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

CAudioCapturePin::~CAudioCapturePin()
{
    CloseHandle(m_abort);
}

HRESULT CAudioCapturePin::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IAMBufferNegotiation) return GetInterface(static_cast<IAMBufferNegotiation*>(this), ppv);
    if (riid == IID_IAMStreamConfig) return GetInterface(static_cast<IAMStreamConfig*>(this), ppv);
    if (riid == IID_IKsPropertySet) return GetInterface(static_cast<IKsPropertySet*>(this), ppv);
    return CSourceStream::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CAudioCapturePin::CheckMediaType(const CMediaType* mt)
{
    const WAVEFORMATEX* f = mt->WaveFormat();
    if (mt->majortype != MEDIATYPE_Audio || mt->subtype != MEDIASUBTYPE_PCM || !f) return E_INVALIDARG;
    return f->nChannels == m_format.nChannels && f->wBitsPerSample == m_format.wBitsPerSample &&
                   f->nSamplesPerSec == m_format.nSamplesPerSec
               ? S_OK
               : S_FALSE;
}

HRESULT CAudioCapturePin::GetMediaType(int position, CMediaType* mt)
{
    if (position < 0) return E_INVALIDARG;
    if (position > 0) return VFW_S_NO_MORE_ITEMS;
    *mt = TypeOf(m_format);
    return S_OK;
}

HRESULT CAudioCapturePin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    ALLOCATOR_PROPERTIES want = {};
    DWORD block = m_format.nBlockAlign;
    want.cBuffers = m_suggested.cBuffers > 0 ? m_suggested.cBuffers : kDefaultBuffers;
    want.cbBuffer = m_suggested.cbBuffer > 0 ? m_suggested.cbBuffer
                                             : (long)(m_format.nAvgBytesPerSec * kDefaultBufferMs / 1000);
    want.cbBuffer -= want.cbBuffer % (long)block;
    if (want.cbBuffer < (long)block) want.cbBuffer = (long)block;
    want.cbAlign = m_suggested.cbAlign > 0 ? m_suggested.cbAlign : 1;
    want.cbPrefix = m_suggested.cbPrefix > 0 ? m_suggested.cbPrefix : 0;
    if (request->cBuffers > want.cBuffers && m_suggested.cBuffers <= 0) want.cBuffers = request->cBuffers;
    HRESULT hr = allocator->SetProperties(&want, &m_actual);
    if (FAILED(hr)) return hr;
    return m_actual.cbBuffer < (long)block ? E_FAIL : S_OK;
}

HRESULT CAudioCapturePin::Active()
{
    ResetEvent(m_abort);
    return CSourceStream::Active();
}

HRESULT CAudioCapturePin::Inactive()
{
    // Frees a streaming thread that waits for the device.
    SetEvent(m_abort);
    m_threadRunning = false;
    return CSourceStream::Inactive();
}

// After the first run the streaming thread follows the filter's state itself
// (FillBuffer holds back while paused). Asking it to pause would deadlock: the
// graph pauses the renderers first, and a paused renderer keeps the thread in
// its Receive until the graph runs or stops.
HRESULT CAudioCapturePin::Run(REFERENCE_TIME start)
{
    if (m_threadRunning) return S_OK;
    m_threadRunning = true;
    return CSourceStream::Run(start);
}

HRESULT CAudioCapturePin::PauseFromRun()
{
    return S_OK;
}

HRESULT CAudioCapturePin::OnThreadCreate()
{
    long bytes = m_actual.cbBuffer > 0 ? m_actual.cbBuffer : (long)m_format.nAvgBytesPerSec / 20;
    int count = m_actual.cBuffers > 0 ? m_actual.cBuffers : kDefaultBuffers;
    bytes -= bytes % m_format.nBlockAlign;
    MMRESULT r = m_reader.Open(m_capture->Device(), m_format, count + 2, (DWORD)bytes);
    if (r != MMSYSERR_NOERROR) return E_FAIL;
    m_lastStop = 0;
    m_bytesDelivered = 0;
    return S_OK;
}

HRESULT CAudioCapturePin::OnThreadDestroy()
{
    m_reader.Close();
    return S_OK;
}

HRESULT CAudioCapturePin::OnThreadStartPlay()
{
    // Sound captured while paused is not delivered later.
    m_reader.Discard();
    return S_OK;
}

HRESULT CAudioCapturePin::FillBuffer(IMediaSample* sample)
{
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data))) return E_POINTER;
    long size = sample->GetSize();
    size -= size % m_format.nBlockAlign;
    long got = 0;
    for (;;) {
        // Live: while paused the device's sound is dropped, nothing is delivered.
        if (m_capture->State() != State_Running) {
            m_reader.Discard();
            if (WaitForSingleObject(m_abort, 10) == WAIT_OBJECT_0) return S_FALSE;
            continue;
        }
        got = m_reader.Read(data, (DWORD)size, m_abort);
        if (got == 0) return S_FALSE;      // stopping
        if (got < 0) return E_FAIL;
        if (m_capture->State() == State_Running) break;
    }
    sample->SetActualDataLength(got);

    REFERENCE_TIME duration = (REFERENCE_TIME)got * 10000000 / m_format.nAvgBytesPerSec;
    REFERENCE_TIME start = 0;
    IReferenceClock* clock = m_capture->Clock();
    REFERENCE_TIME now = 0;
    if (clock && SUCCEEDED(clock->GetTime(&now))) {
        // The buffer was captured during the time just passed.
        start = now - m_capture->StartTime() - duration;
        if (start < m_lastStop) start = m_lastStop;
    } else {
        start = m_bytesDelivered * 10000000 / m_format.nAvgBytesPerSec;
    }
    REFERENCE_TIME stop = start + duration;
    sample->SetTime(&start, &stop);
    LONGLONG mediaStart = m_bytesDelivered / m_format.nBlockAlign;
    LONGLONG mediaStop = mediaStart + got / m_format.nBlockAlign;
    sample->SetMediaTime(&mediaStart, &mediaStop);
    sample->SetSyncPoint(TRUE);
    sample->SetDiscontinuity(m_bytesDelivered == 0);
    m_lastStop = stop;
    m_bytesDelivered += got;
    return S_OK;
}

// IAMBufferNegotiation

STDMETHODIMP CAudioCapturePin::SuggestAllocatorProperties(const ALLOCATOR_PROPERTIES* props)
{
    if (!props) return E_POINTER;
    CAutoLock lock(m_lock);
    if (IsConnected()) return VFW_E_ALREADY_CONNECTED;
    // Counts and sizes the allocator could never satisfy are refused.
    if (props->cBuffers == 0 || props->cBuffers > 1000 || props->cbBuffer == 0 ||
        props->cbBuffer > 4 * 1024 * 1024)
        return E_INVALIDARG;
    m_suggested = *props;
    return S_OK;
}

STDMETHODIMP CAudioCapturePin::GetAllocatorProperties(ALLOCATOR_PROPERTIES* props)
{
    if (!props) return E_POINTER;
    CAutoLock lock(m_lock);
    if (!IsConnected()) return VFW_E_NOT_CONNECTED;
    *props = m_actual;
    return S_OK;
}

// IAMStreamConfig

STDMETHODIMP CAudioCapturePin::SetFormat(AM_MEDIA_TYPE* mt)
{
    if (!mt) return E_POINTER;
    CAutoLock lock(m_lock);
    if (!m_capture->IsStopped()) return VFW_E_NOT_STOPPED;
    CMediaType type(*mt);
    const WAVEFORMATEX* f = type.WaveFormat();
    if (type.majortype != MEDIATYPE_Audio || !f || f->wFormatTag != WAVE_FORMAT_PCM || !IsOfferedFormat(*f))
        return VFW_E_INVALIDMEDIATYPE;
    WAVEFORMATEX wanted = MakeFormat(f->nChannels, f->wBitsPerSample, f->nSamplesPerSec);
    // The format is chosen before the pin is connected.
    if (IsConnected()) return VFW_E_ALREADY_CONNECTED;
    m_format = wanted;
    return S_OK;
}

STDMETHODIMP CAudioCapturePin::GetFormat(AM_MEDIA_TYPE** mt)
{
    if (!mt) return E_POINTER;
    CAutoLock lock(m_lock);
    CMediaType type = TypeOf(m_format);
    *mt = CreateMediaType(&type);
    return *mt ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CAudioCapturePin::GetNumberOfCapabilities(int* count, int* size)
{
    if (!count || !size) return E_POINTER;
    *count = FormatCount;
    *size = sizeof(AUDIO_STREAM_CONFIG_CAPS);
    return S_OK;
}

STDMETHODIMP CAudioCapturePin::GetStreamCaps(int index, AM_MEDIA_TYPE** mt, BYTE* caps)
{
    if (!mt || !caps) return E_POINTER;
    if (index < 0) return E_INVALIDARG;
    if (index >= FormatCount) return S_FALSE;
    WAVEFORMATEX f = FormatAt(index);
    CMediaType type = TypeOf(f);
    *mt = CreateMediaType(&type);
    if (!*mt) return E_OUTOFMEMORY;
    AUDIO_STREAM_CONFIG_CAPS* c = (AUDIO_STREAM_CONFIG_CAPS*)caps;
    ZeroMemory(c, sizeof(*c));
    c->guid = MEDIATYPE_Audio;
    c->MinimumChannels = c->MaximumChannels = f.nChannels;
    c->ChannelsGranularity = 1;
    c->MinimumBitsPerSample = c->MaximumBitsPerSample = f.wBitsPerSample;
    c->BitsPerSampleGranularity = 8;
    c->MinimumSampleFrequency = c->MaximumSampleFrequency = f.nSamplesPerSec;
    c->SampleFrequencyGranularity = 1;
    return S_OK;
}

// IKsPropertySet: the pin category, read-only.

STDMETHODIMP CAudioCapturePin::Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD)
{
    return E_PROP_ID_UNSUPPORTED;
}

STDMETHODIMP CAudioCapturePin::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD dataLength,
                                   DWORD* returned)
{
    if (set != AMPROPSETID_Pin) return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
    if (returned) *returned = sizeof(GUID);
    if (!data) return returned ? S_OK : E_POINTER;
    if (dataLength < sizeof(GUID)) return E_UNEXPECTED;
    *(GUID*)data = PIN_CATEGORY_CAPTURE;
    return S_OK;
}

STDMETHODIMP CAudioCapturePin::QuerySupported(REFGUID set, DWORD id, DWORD* support)
{
    if (set != AMPROPSETID_Pin) return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY) return E_PROP_ID_UNSUPPORTED;
    if (support) *support = KSPROPERTY_SUPPORT_GET;
    return S_OK;
}

// The filter

CAudioCaptureFilter::CAudioCaptureFilter()
    : CSource(L"Sonelle Audio Capture", CLSID_SonelleAudioCapture, true)
{
    m_pin = new CAudioCapturePin(this);
}

CUnknown* CAudioCaptureFilter::CreateInstance(HRESULT* result)
{
    CAudioCaptureFilter* f = new (std::nothrow) CAudioCaptureFilter;
    if (!f && result) *result = E_OUTOFMEMORY;
    return f;
}

HRESULT CAudioCaptureFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IPersistPropertyBag) return GetInterface(static_cast<IPersistPropertyBag*>(this), ppv);
    return CSource::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CAudioCaptureFilter::Load(IPropertyBag* bag, IErrorLog*)
{
    if (!bag) return E_POINTER;
    CAutoLock lock(&m_csFilter);
    if (!IsStopped()) return VFW_E_NOT_STOPPED;
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    if (SUCCEEDED(bag->Read(L"WaveInId", &v, nullptr)) && SUCCEEDED(VariantChangeType(&v, &v, 0, VT_I4)) &&
        v.lVal >= 0 && (UINT)v.lVal < waveInGetNumDevs()) {
        m_device = (UINT)v.lVal;
        VariantClear(&v);
        return S_OK;
    }
    VariantClear(&v);
    v.vt = VT_BSTR;
    if (SUCCEEDED(bag->Read(L"FriendlyName", &v, nullptr)) && v.vt == VT_BSTR) {
        m_device = FindWaveInByName(v.bstrVal);
    }
    VariantClear(&v);
    return S_OK;
}

UINT FindWaveInByName(const wchar_t* name)
{
    if (!name || !*name) return WAVE_MAPPER;
    for (UINT i = 0; i < waveInGetNumDevs(); ++i) {
        WAVEINCAPSW caps = {};
        if (waveInGetDevCapsW(i, &caps, sizeof(caps)) != MMSYSERR_NOERROR || !caps.szPname[0]) continue;
        if (!wcsncmp(caps.szPname, name, wcslen(caps.szPname))) return i;
    }
    return WAVE_MAPPER;
}
