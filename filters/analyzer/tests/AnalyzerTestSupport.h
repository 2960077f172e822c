// Helpers of the analyzer tests: the shipped module loaded as it is, PCM
// fixtures, and a graph source -> analyzer -> sink that runs without a clock.
#pragma once
#include "ComPtr.h"
#include "IAnalyzer.h"
#include "IMP3Dump.h"
#include "TestGraph.h"
#include "TestSink.h"
#include "TestSource.h"
#include <cmath>
#include <cstring>
#include <vector>

namespace analyzer_test {

const wchar_t kModule[] = L"NVAudioAnalyer.ax";

// Creates a class of the module through its own DllGetClassObject (no registration).
inline HRESULT CreateFromModule(REFCLSID clsid, REFIID iid, void** out)
{
    static HMODULE module = LoadLibraryW(kModule);
    if (!module)
        return HRESULT_FROM_WIN32(GetLastError());
    auto get = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    if (!get)
        return E_FAIL;
    CComPtr<IClassFactory> factory;
    HRESULT hr = get(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr))
        return hr;
    return factory->CreateInstance(nullptr, iid, out);
}

inline CComPtr<IBaseFilter> CreateAnalyzer()
{
    CComPtr<IBaseFilter> filter;
    CreateFromModule(CLSID_AudioAnalyzer, IID_IBaseFilter, reinterpret_cast<void**>(&filter));
    return filter;
}

inline int BlockBytes(const CMediaType& mt)
{
    return mt.WaveFormat()->nBlockAlign * 2048;
}

// Interleaved PCM from a per-frame, per-channel function returning a 16-bit value;
// 8-bit streams get value / 256 + 128.
template <class F>
std::vector<BYTE> Pcm(const CMediaType& mt, int frames, F value)
{
    const WAVEFORMATEX* wfx = mt.WaveFormat();
    std::vector<BYTE> out;
    out.reserve(size_t(frames) * wfx->nBlockAlign);
    for (int i = 0; i < frames; i++) {
        for (int c = 0; c < wfx->nChannels; c++) {
            int v = value(i, c);
            if (wfx->wBitsPerSample == 16) {
                int16_t s = int16_t(v);
                BYTE b[2];
                memcpy(b, &s, 2);
                out.push_back(b[0]);
                out.push_back(b[1]);
            } else {
                out.push_back(BYTE(v / 256 + 128));
            }
        }
    }
    return out;
}

inline std::vector<BYTE> PatternPcm(const CMediaType& mt, int frames)
{
    return Pcm(mt, frames, [](int i, int c) { return int((i * 37 + c * 1000) % 20000) - 10000; });
}

// A stand-in for the MP3 writer: no pins, counts NewFile calls.
class CFakeMp3Writer : public CBaseFilter, public IMP3Dump {
public:
    CFakeMp3Writer() : CBaseFilter(L"fake writer", &m_lock, CLSID_NVMP3Dump) {}
    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IMP3Dump)
            return GetInterface(static_cast<IMP3Dump*>(this), ppv);
        return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
    }
    int GetPinCount() override { return 0; }
    CBasePin* GetPin(int) override { return nullptr; }
    STDMETHODIMP GetWrittenBytes(int* bytes) override { *bytes = 0; return S_OK; }
    STDMETHODIMP GetWrittenBytes64(LONGLONG* bytes) override { *bytes = 0; return S_OK; }
    STDMETHODIMP Reserved5() override { return S_OK; }
    STDMETHODIMP Reserved6() override { return S_OK; }
    STDMETHODIMP Reserved7() override { return S_OK; }
    STDMETHODIMP GetFileCount(int* count) override { *count = newFiles; return S_OK; }
    STDMETHODIMP NewFile() override
    {
        newFiles++;
        callingThread = GetCurrentThreadId();
        return S_OK;
    }
    volatile long newFiles = 0;
    DWORD callingThread = 0;

private:
    CCritSec m_lock;
};

// source -> analyzer -> sink, connected directly.
struct AnalyzerGraph {
    CTestGraph graph;
    CComPtr<IBaseFilter> analyzer = CreateAnalyzer();
    CComPtr<CTestSource> source;
    CComPtr<CTestSink> sink;

    HRESULT Build(const CMediaType& mt, std::vector<BYTE> data, long sampleBytes)
    {
        if (!graph.Ok() || !analyzer)
            return E_FAIL;
        source.Attach(CTestSource::Create(mt, std::move(data), sampleBytes));
        sink.Attach(CTestSink::Create());
        HRESULT hr = graph.Add(source, L"source");
        if (SUCCEEDED(hr))
            hr = graph.Add(analyzer, L"NV Audio Analyzer");
        if (SUCCEEDED(hr))
            hr = graph.Add(sink, L"sink");
        if (SUCCEEDED(hr))
            hr = graph.ConnectDirect(source, analyzer);
        if (SUCCEEDED(hr))
            hr = graph.ConnectDirect(analyzer, sink);
        return hr;
    }
    long Run() { return graph.RunToCompletion(20000); }

    template <class I>
    CComPtr<I> Get(REFIID iid)
    {
        CComPtr<I> p;
        analyzer->QueryInterface(iid, reinterpret_cast<void**>(&p));
        return p;
    }

    // Every record waiting in the ring, oldest first.
    std::vector<AnalyzerRecord> Records()
    {
        std::vector<AnalyzerRecord> out;
        CComPtr<IAnalyzer> a = Get<IAnalyzer>(IID_IAnalyzer);
        AnalyzerRecord r;
        while (a && a->GetData(reinterpret_cast<BYTE*>(&r)) == S_OK)
            out.push_back(r);
        return out;
    }
};

}  // namespace analyzer_test
