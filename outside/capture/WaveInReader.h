// Reads a wave-in device in blocks of a fixed size: a ring of buffers that the
// device fills in turn; the reader takes them in order and hands them back.
#pragma once
#include <windows.h>
#include <mmsystem.h>
#include <vector>

class CWaveInReader {
public:
    CWaveInReader();
    ~CWaveInReader();
    CWaveInReader(const CWaveInReader&) = delete;
    CWaveInReader& operator=(const CWaveInReader&) = delete;

    // Opens and starts the device with `count` buffers of `bytes` each.
    MMRESULT Open(UINT device, const WAVEFORMATEX& format, int count, DWORD bytes);
    void Close();
    bool IsOpen() const { return m_wave != nullptr; }

    // Waits for the next filled buffer or the abort event. Returns the recorded
    // bytes copied into dest (at most destBytes), 0 when the abort event was set,
    // -1 when the device failed or is not open.
    long Read(BYTE* dest, DWORD destBytes, HANDLE abortEvent);
    // Drops every buffer filled so far (sound captured while nobody listened).
    void Discard();

private:
    void Requeue(WAVEHDR& header);

    HWAVEIN m_wave = nullptr;
    HANDLE m_filled;                      // signalled by the device for each done buffer
    std::vector<WAVEHDR> m_headers;
    std::vector<std::vector<BYTE>> m_buffers;
    size_t m_next = 0;                    // the buffer that finishes next
};
