// Test support: the capture pin of our test capture devices, 2 / 16 / 44100 PCM
// of a 1000 Hz tone paced in real time, whose pin accepts, refuses or lacks the
// buffer suggestion.
#pragma once
#include <windows.h>
#include <dshow.h>
#include <cmath>
#include <functional>
#include "FakeCaptureDevices.h"
#include "Source.h"

// 2 / 16 / 44100 PCM of a 1000 Hz tone, paced in real time. Live like a capture
// pin: the thread follows the filter's state and delivers nothing while paused.
class CToneCapturePin : public CSourceStream, public IAMBufferNegotiation {
public:
    static const int kRate = 44100;
    static const int kFramesPerBuffer = 4410;   // 100 ms

    // While the gate is given and closed the pin delivers silence.
    CToneCapturePin(CSource* filter, BufferSuggestion suggestion, std::function<bool()> gate = nullptr,
                    const wchar_t* name = L"Capture")
        : CSourceStream(filter, name), m_suggestion(suggestion), m_gate(std::move(gate))
    {
        m_abort = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    ~CToneCapturePin() override { CloseHandle(m_abort); }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return NonDelegatingQueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return NonDelegatingAddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return NonDelegatingRelease(); }
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IAMBufferNegotiation && m_suggestion != BufferSuggestion::NotOffered)
            return GetInterface(static_cast<IAMBufferNegotiation*>(this), ppv);
        return CSourceStream::NonDelegatingQueryInterface(riid, ppv);
    }

    STDMETHODIMP SuggestAllocatorProperties(const ALLOCATOR_PROPERTIES*) override
    {
        return m_suggestion == BufferSuggestion::Refused ? E_FAIL : S_OK;
    }
    STDMETHODIMP GetAllocatorProperties(ALLOCATOR_PROPERTIES*) override { return E_NOTIMPL; }

    HRESULT CheckMediaType(const CMediaType* mt) override
    {
        const WAVEFORMATEX* f = mt->WaveFormat();
        return mt->majortype == MEDIATYPE_Audio && f && f->wFormatTag == WAVE_FORMAT_PCM && f->nChannels == 2 &&
                       f->wBitsPerSample == 16 && f->nSamplesPerSec == kRate
                   ? S_OK
                   : S_FALSE;
    }
    HRESULT GetMediaType(int position, CMediaType* mt) override
    {
        if (position < 0) return E_INVALIDARG;
        if (position > 0) return VFW_S_NO_MORE_ITEMS;
        *mt = CMediaType::Pcm(kRate, 2, 16);
        return S_OK;
    }
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES*) override
    {
        // Its own buffers, whatever was suggested.
        ALLOCATOR_PROPERTIES want = {4, kFramesPerBuffer * 4, 1, 0}, got = {};
        HRESULT hr = allocator->SetProperties(&want, &got);
        return FAILED(hr) ? hr : got.cbBuffer >= 4 ? S_OK : E_FAIL;
    }
    HRESULT Active() override
    {
        ResetEvent(m_abort);
        return CSourceStream::Active();
    }
    HRESULT Inactive() override
    {
        SetEvent(m_abort);
        m_threadRunning = false;
        return CSourceStream::Inactive();
    }
    HRESULT Run(REFERENCE_TIME start) override
    {
        if (m_threadRunning) return S_OK;
        m_threadRunning = true;
        return CSourceStream::Run(start);
    }
    HRESULT PauseFromRun() override { return S_OK; }
    HRESULT OnThreadStartPlay() override
    {
        m_next = GetTickCount();
        return S_OK;
    }

    HRESULT FillBuffer(IMediaSample* sample) override
    {
        for (;;) {
            if (m_source->State() == State_Running) {
                DWORD now = GetTickCount();
                if ((LONG)(m_next - now) <= 0) break;
                if (WaitForSingleObject(m_abort, m_next - now) == WAIT_OBJECT_0) return S_FALSE;
            } else {
                m_next = GetTickCount();
                if (WaitForSingleObject(m_abort, 10) == WAIT_OBJECT_0) return S_FALSE;
            }
        }
        m_next += 100;
        BYTE* data = nullptr;
        if (FAILED(sample->GetPointer(&data))) return E_POINTER;
        long frames = sample->GetSize() / 4;
        if (frames > kFramesPerBuffer) frames = kFramesPerBuffer;
        short* s = (short*)data;
        const double amplitude = !m_gate || m_gate() ? 16000 : 0;
        for (long i = 0; i < frames; ++i, ++m_frame) {
            short v = (short)(amplitude * std::sin(2 * 3.14159265358979 * 1000.0 * (double)m_frame / kRate));
            s[2 * i] = s[2 * i + 1] = v;
        }
        sample->SetActualDataLength(frames * 4);
        sample->SetTime(nullptr, nullptr);
        return S_OK;
    }

private:
    BufferSuggestion m_suggestion;
    std::function<bool()> m_gate;
    HANDLE m_abort;
    bool m_threadRunning = false;
    DWORD m_next = 0;
    long long m_frame = 0;
};

