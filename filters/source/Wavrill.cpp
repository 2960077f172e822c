#include "Wavrill.h"

#include <cwchar>
#include <new>
#include "PCMStream.h"

namespace {

constexpr size_t kMaxFileNameChars = 260;
constexpr LONG kMinBufferBytes = 100;
constexpr LONG kFallbackBufferBytes = 1920;
constexpr int kMaxBufferMilliseconds = 10000;

HRESULT LastErrorResult()
{
    DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

bool SameFormat(const WavHeaderInfo& a, const WavHeaderInfo& b)
{
    return a.channels == b.channels && a.sampleRate == b.sampleRate && a.bitsPerSample == b.bitsPerSample &&
           a.blockAlign == b.blockAlign;
}

}  // namespace

CUnknown* Wavrill::CreateInstance(HRESULT* result)
{
    HRESULT hr = S_OK;
    Wavrill* filter = new (std::nothrow) Wavrill(&hr);
    if (filter && FAILED(hr)) {
        delete filter;
        filter = nullptr;
    }
    if (!filter && result)
        *result = E_OUTOFMEMORY;
    return filter;
}

Wavrill::Wavrill(HRESULT* result) : CSource(L"NV PCM Source", CLSID_Wavrill)
{
    m_stream = new (std::nothrow) PCMStream(this);
    if (!m_stream)
        *result = E_OUTOFMEMORY;
}

Wavrill::~Wavrill()
{
    CloseFile();
}

HRESULT Wavrill::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IFileSinkFilter)
        return GetInterface(static_cast<IFileSinkFilter*>(this), ppv);
    if (riid == IID_IWavrill)
        return GetInterface(static_cast<IWavrill*>(this), ppv);
    if (riid == IID_IWavrill2)
        return GetInterface(static_cast<IWavrill2*>(this), ppv);
    if (riid == IID_IPCMSeek)
        return GetInterface(static_cast<IPCMSeek*>(this), ppv);
    if (riid == IID_IWavrillBuffer)
        return GetInterface(static_cast<IWavrillBuffer*>(this), ppv);
    return CSource::NonDelegatingQueryInterface(riid, ppv);
}

// ---- opening ----

HRESULT Wavrill::OpenNamed(const std::wstring& name, OpenFile& file) const
{
    if (name.empty())
        return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    HANDLE handle = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return LastErrorResult();
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(handle, &size)) {
        HRESULT hr = LastErrorResult();
        CloseHandle(handle);
        return hr;
    }

    WavHeaderInfo header;
    if (m_rawMode) {
        header.formatTag = 1;
        header.channels = (uint16_t)m_rawChannels;
        header.sampleRate = (uint32_t)m_rawSampleRate;
        header.bitsPerSample = (uint16_t)m_rawBits;
        header.blockAlign = (uint16_t)(m_rawBits * m_rawChannels / 8);
        header.dataOffset = 0;
        header.dataSize = (uint64_t)size.QuadPart;
        const bool inRange = m_rawChannels > 0 && m_rawChannels <= 2 && m_rawBits > 0 && m_rawBits <= 16 &&
                             IsSampleRateInRange(m_rawSampleRate);
        if (inRange)
            header.avgBytesPerSec = header.blockAlign * header.sampleRate;
        if (!inRange || !IsPlainPcm(header)) {
            CloseHandle(handle);
            return VFW_E_UNSUPPORTED_AUDIO;
        }
    } else {
        auto readAt = [handle](uint64_t offset, void* buffer, size_t count) -> size_t {
            LARGE_INTEGER at;
            at.QuadPart = (LONGLONG)offset;
            DWORD read = 0;
            if (!SetFilePointerEx(handle, at, nullptr, FILE_BEGIN) ||
                !ReadFile(handle, buffer, (DWORD)count, &read, nullptr))
                return 0;
            return read;
        };
        HRESULT hr = S_OK;
        if (ParseWavHeader(readAt, (uint64_t)size.QuadPart, header) != WavHeaderStatus::Ok)
            hr = VFW_E_INVALID_FILE_FORMAT;
        else if (!IsPlainPcm(header))
            hr = VFW_E_UNSUPPORTED_AUDIO;
        if (FAILED(hr)) {
            CloseHandle(handle);
            return hr;
        }
    }

    // Writers that get the byte rate wrong exist; seconds follow the real rate.
    header.avgBytesPerSec = header.blockAlign * header.sampleRate;
    file.handle = handle;
    file.header = header;
    file.fileSize = size.QuadPart;
    // Whole frames only: a torn last frame is not sound.
    file.dataEnd = (LONGLONG)(header.dataOffset + header.dataSize / header.blockAlign * header.blockAlign);
    return S_OK;
}

void Wavrill::CloseFile()
{
    if (m_file.handle != INVALID_HANDLE_VALUE) {
        CloseHandle(m_file.handle);
        m_file.handle = INVALID_HANDLE_VALUE;
    }
}

HRESULT Wavrill::Reopen()
{
    OpenFile file;
    HRESULT hr = OpenNamed(m_fileName, file);
    if (FAILED(hr))
        return hr;
    if (!SameFormat(file.header, m_file.header)) {
        // Rewritten with another format: the connected pin cannot carry it.
        CloseHandle(file.handle);
        return VFW_E_TYPE_NOT_ACCEPTED;
    }
    m_file = file;
    if (m_rangeStop > file.dataEnd)
        m_rangeStop = file.dataEnd;
    if (m_rangeStart > m_rangeStop)
        m_rangeStart = m_rangeStop;
    // A seek made since the last run ended stands; otherwise the range plays again.
    if (m_rewind || m_position < m_rangeStart)
        m_position = m_rangeStart;
    m_rewind = false;
    return S_OK;
}

// ---- IFileSinkFilter ----

STDMETHODIMP Wavrill::SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE*)
{
    if (!name)
        return E_POINTER;
    if (wcsnlen(name, kMaxFileNameChars + 1) > kMaxFileNameChars)
        return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    CAutoLock state(StateLock());
    if (!IsStopped())
        return VFW_E_NOT_STOPPED;
    CAutoLock lock(&m_csStream);
    OpenFile file;
    HRESULT hr = OpenNamed(name, file);
    if (FAILED(hr))
        return hr;   // whatever was open stays in use
    if (m_stream->IsConnected() && !SameFormat(file.header, m_file.header)) {
        CloseHandle(file.handle);
        return VFW_E_TYPE_NOT_ACCEPTED;
    }
    CloseFile();
    m_fileName = name;
    m_file = file;
    m_headerOk = true;
    m_rangeStart = (LONGLONG)file.header.dataOffset;
    m_rangeStop = file.dataEnd;
    m_position = m_rangeStart;
    m_rewind = false;
    return S_OK;
}

STDMETHODIMP Wavrill::GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* mt)
{
    if (!name)
        return E_POINTER;
    *name = nullptr;
    if (mt)
        ZeroMemory(mt, sizeof *mt);
    CAutoLock lock(&m_csStream);
    if (m_fileName.empty())
        return S_OK;
    const size_t bytes = (m_fileName.size() + 1) * sizeof(wchar_t);
    *name = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!*name)
        return E_OUTOFMEMORY;
    memcpy(*name, m_fileName.c_str(), bytes);
    return S_OK;
}

// ---- IWavrill ----

STDMETHODIMP Wavrill::SetRange(LONGLONG* start, LONGLONG* stop)
{
    if (!start || !stop)
        return E_POINTER;
    CAutoLock lock(&m_csStream);
    if (!m_headerOk)
        return E_UNEXPECTED;
    if (*start < 0 || *stop < 0 || *stop <= *start)
        return E_INVALIDARG;
    const LONGLONG align = m_file.header.blockAlign;
    const LONGLONG offset = (LONGLONG)m_file.header.dataOffset;
    const LONGLONG s = *start / align * align + offset;
    const LONGLONG e = *stop / align * align + offset;
    // A stop beyond the data is not taken; a start is taken when it lies before
    // the stop in force afterwards.
    const LONGLONG newStop = e <= m_file.dataEnd ? e : m_rangeStop;
    if (s < newStop)
        m_rangeStart = s;
    if (newStop > m_rangeStart)
        m_rangeStop = newStop;
    m_position = s;
    m_rewind = false;
    return S_OK;
}

STDMETHODIMP Wavrill::GetRange(LONGLONG* start, LONGLONG* stop)
{
    if (!start || !stop)
        return E_POINTER;
    CAutoLock lock(&m_csStream);
    if (!m_headerOk) {
        *start = *stop = 0;
        return S_OK;
    }
    const LONGLONG offset = (LONGLONG)m_file.header.dataOffset;
    *start = m_rangeStart - offset;
    *stop = m_rangeStop - offset;
    return S_OK;
}

HRESULT Wavrill::SetPositionLocked(LONGLONG pos)
{
    if (!m_headerOk)
        return E_UNEXPECTED;
    if (pos < 0)
        return E_INVALIDARG;
    const LONGLONG align = m_file.header.blockAlign;
    const LONGLONG p = pos / align * align + (LONGLONG)m_file.header.dataOffset;
    if (p < m_rangeStart || p > m_rangeStop)
        return E_INVALIDARG;
    m_position = p;
    m_rewind = false;
    return S_OK;
}

STDMETHODIMP Wavrill::SetPosition(LONGLONG* pos)
{
    if (!pos)
        return E_POINTER;
    CAutoLock lock(&m_csStream);
    return SetPositionLocked(*pos);
}

STDMETHODIMP Wavrill::GetPosition(LONGLONG* pos)
{
    if (!pos)
        return E_POINTER;
    CAutoLock lock(&m_csStream);
    *pos = m_headerOk ? m_position : 0;
    return S_OK;
}

STDMETHODIMP Wavrill::GetProgress(int* percent)
{
    if (!percent)
        return E_POINTER;
    CAutoLock lock(&m_csStream);
    *percent = 0;
    if (m_headerOk && m_rangeStop > m_rangeStart)
        *percent = (int)((m_position - m_rangeStart) * 100 / (m_rangeStop - m_rangeStart));
    return S_OK;
}

// ---- IWavrill2 ----

STDMETHODIMP Wavrill::SetRawMode(BOOL raw)
{
    CAutoLock lock(&m_csStream);
    m_rawMode = raw != FALSE;
    return S_OK;
}

STDMETHODIMP Wavrill::GetRawMode(BOOL* raw)
{
    if (!raw)
        return E_POINTER;
    CAutoLock lock(&m_csStream);
    *raw = m_rawMode;
    return S_OK;
}

STDMETHODIMP Wavrill::SetRawFormat(int channels, int samplesPerSec, int bitsPerSample)
{
    CAutoLock lock(&m_csStream);
    m_rawChannels = channels;
    m_rawSampleRate = samplesPerSec;
    m_rawBits = bitsPerSample;
    return S_OK;
}

STDMETHODIMP Wavrill::GetRawFormat(int* channels, int* samplesPerSec, int* bitsPerSample)
{
    if (!channels || !samplesPerSec || !bitsPerSample)
        return E_POINTER;
    CAutoLock lock(&m_csStream);
    *channels = m_rawChannels;
    *samplesPerSec = m_rawSampleRate;
    *bitsPerSample = m_rawBits;
    return S_OK;
}

// ---- IPCMSeek ----

STDMETHODIMP Wavrill::SeekSeconds(double seconds)
{
    CAutoLock lock(&m_csStream);
    if (!m_headerOk)
        return E_UNEXPECTED;
    const WavHeaderInfo& h = m_file.header;
    const double duration = double(m_file.dataEnd - (LONGLONG)h.dataOffset) / h.avgBytesPerSec;
    if (!(seconds > 0))   // also NaN
        seconds = 0;
    if (seconds > duration)
        seconds = duration;
    return SetPositionLocked((LONGLONG)(seconds * h.avgBytesPerSec));
}

STDMETHODIMP Wavrill::GetPositionSeconds(double* seconds)
{
    if (!seconds)
        return E_POINTER;
    CAutoLock lock(&m_csStream);
    *seconds = 0;
    if (m_headerOk)
        *seconds = double(m_position - (LONGLONG)m_file.header.dataOffset) / m_file.header.avgBytesPerSec;
    return S_OK;
}

STDMETHODIMP Wavrill::GetRangeSeconds(double* seconds)
{
    if (!seconds)
        return E_POINTER;
    CAutoLock lock(&m_csStream);
    *seconds = 0;
    if (m_headerOk)
        *seconds = double(m_rangeStop - m_rangeStart) / m_file.header.avgBytesPerSec;
    return S_OK;
}

// ---- IWavrillBuffer ----

STDMETHODIMP Wavrill::SetBufferMilliseconds(int milliseconds)
{
    if (milliseconds < 1 || milliseconds > kMaxBufferMilliseconds)
        return E_INVALIDARG;
    CAutoLock lock(&m_csStream);
    if (m_stream->IsConnected())
        return VFW_E_ALREADY_CONNECTED;
    m_bufferMilliseconds = milliseconds;
    return S_OK;
}

STDMETHODIMP Wavrill::GetBufferMilliseconds(int* milliseconds)
{
    if (!milliseconds)
        return E_POINTER;
    CAutoLock lock(&m_csStream);
    *milliseconds = m_bufferMilliseconds;
    return S_OK;
}

// ---- streaming ----

LONG Wavrill::BufferSize() const
{
    const WavHeaderInfo& h = m_file.header;
    LONGLONG bytes = (LONGLONG)h.channels * h.bitsPerSample * h.sampleRate * m_bufferMilliseconds / 8000;
    bytes -= bytes % h.blockAlign;
    return bytes < kMinBufferBytes ? kFallbackBufferBytes : (LONG)bytes;
}

void Wavrill::StartStreaming()
{
    CAutoLock lock(&m_csStream);
    m_streamedBytes = 0;
}

HRESULT Wavrill::FillSample(IMediaSample* sample)
{
    if (!sample)
        return E_POINTER;
    CAutoLock lock(&m_csStream);
    if (!m_headerOk)
        return VFW_E_NOT_CONNECTED;
    if (!IsOpen()) {
        HRESULT hr = Reopen();
        if (FAILED(hr))
            return hr;
    }
    if (m_position >= m_rangeStop) {
        CloseFile();
        m_rewind = true;
        return S_FALSE;
    }

    const WavHeaderInfo& h = m_file.header;
    BYTE* buffer = nullptr;
    HRESULT hr = sample->GetPointer(&buffer);
    if (FAILED(hr))
        return hr;
    LONGLONG count = sample->GetSize();
    if (count > m_rangeStop - m_position)
        count = m_rangeStop - m_position;
    count -= count % h.blockAlign;
    if (count <= 0)
        return VFW_E_BUFFER_OVERFLOW;   // a buffer smaller than one frame

    LARGE_INTEGER at;
    at.QuadPart = m_position;
    DWORD read = 0;
    if (!SetFilePointerEx(m_file.handle, at, nullptr, FILE_BEGIN) ||
        !ReadFile(m_file.handle, buffer, (DWORD)count, &read, nullptr)) {
        hr = LastErrorResult();
        CloseFile();
        return hr;
    }
    if (read == 0) {
        // The file became shorter than its header said while we streamed it.
        CloseFile();
        return HRESULT_FROM_WIN32(ERROR_HANDLE_EOF);
    }

    const LONGLONG bytesPerSecond = (LONGLONG)h.channels * (h.bitsPerSample / 8) * h.sampleRate;
    REFERENCE_TIME start = m_streamedBytes * 10000000 / bytesPerSecond;
    REFERENCE_TIME stop = (m_streamedBytes + read) * 10000000 / bytesPerSecond;
    sample->SetTime(&start, &stop);
    sample->SetSyncPoint(TRUE);
    sample->SetDiscontinuity(m_streamedBytes == 0);
    sample->SetActualDataLength((long)read);
    m_position += read;
    m_streamedBytes += read;
    return S_OK;
}
