#include "WaveInReader.h"

CWaveInReader::CWaveInReader()
{
    m_filled = CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

CWaveInReader::~CWaveInReader()
{
    Close();
    CloseHandle(m_filled);
}

MMRESULT CWaveInReader::Open(UINT device, const WAVEFORMATEX& format, int count, DWORD bytes)
{
    Close();
    if (count < 2) count = 2;
    MMRESULT r = waveInOpen(&m_wave, device, &format, (DWORD_PTR)m_filled, 0, CALLBACK_EVENT);
    if (r != MMSYSERR_NOERROR) {
        m_wave = nullptr;
        return r;
    }
    m_headers.assign((size_t)count, WAVEHDR{});
    m_buffers.assign((size_t)count, std::vector<BYTE>(bytes));
    for (size_t i = 0; i < m_headers.size(); ++i) {
        m_headers[i].lpData = (LPSTR)m_buffers[i].data();
        m_headers[i].dwBufferLength = bytes;
        waveInPrepareHeader(m_wave, &m_headers[i], sizeof(WAVEHDR));
        waveInAddBuffer(m_wave, &m_headers[i], sizeof(WAVEHDR));
    }
    m_next = 0;
    r = waveInStart(m_wave);
    if (r != MMSYSERR_NOERROR) Close();
    return r;
}

void CWaveInReader::Close()
{
    if (!m_wave) return;
    waveInReset(m_wave);    // returns every queued buffer as done
    for (WAVEHDR& h : m_headers) waveInUnprepareHeader(m_wave, &h, sizeof(WAVEHDR));
    waveInClose(m_wave);
    m_wave = nullptr;
    m_headers.clear();
    m_buffers.clear();
}

void CWaveInReader::Requeue(WAVEHDR& header)
{
    header.dwFlags &= ~WHDR_DONE;
    header.dwBytesRecorded = 0;
    waveInAddBuffer(m_wave, &header, sizeof(WAVEHDR));
}

long CWaveInReader::Read(BYTE* dest, DWORD destBytes, HANDLE abortEvent)
{
    if (!m_wave) return -1;
    for (;;) {
        WAVEHDR& h = m_headers[m_next];
        if (h.dwFlags & WHDR_DONE) {
            DWORD n = h.dwBytesRecorded < destBytes ? h.dwBytesRecorded : destBytes;
            memcpy(dest, h.lpData, n);
            Requeue(h);
            m_next = (m_next + 1) % m_headers.size();
            if (n) return (long)n;
            continue;
        }
        HANDLE events[2] = {m_filled, abortEvent};
        // The time-out only guards against a missed signal; the device keeps its pace.
        DWORD w = WaitForMultipleObjects(abortEvent ? 2 : 1, events, FALSE, 200);
        if (w == WAIT_OBJECT_0 + 1) return 0;
        if (w == WAIT_FAILED) return -1;
    }
}

void CWaveInReader::Discard()
{
    if (!m_wave) return;
    while (m_headers[m_next].dwFlags & WHDR_DONE) {
        Requeue(m_headers[m_next]);
        m_next = (m_next + 1) % m_headers.size();
    }
}
