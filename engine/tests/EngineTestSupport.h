// Helpers of the engine tests: a log captured into a temporary file, a small WAV
// file made on the spot, and a graph with a capture graph builder.
#pragma once
#include <windows.h>
#include <dshow.h>
#include <string>
#include <vector>
#include "ComPtr.h"
#include "DShowUtil.h"
#include "GraphFilterNames.h"
#include "LogFile.h"
#include "PlatformGuids.h"

// Points the process log at a fresh temporary file for the life of the object.
class CLogCapture {
public:
    CLogCapture()
    {
        wchar_t dir[MAX_PATH], file[MAX_PATH];
        GetTempPathW(MAX_PATH, dir);
        GetTempFileNameW(dir, L"elg", 0, file);
        m_path = file;
        DeleteFileW(file);
        g_LogFile.SetFileName(m_path.c_str(), FALSE);
        g_LogFile.SetLevel(0x20000);
    }
    ~CLogCapture()
    {
        g_LogFile.SetFileName(L"", FALSE);
        DeleteFileW(m_path.c_str());
    }
    // The texts of the lines written so far, without their counter and time prefix.
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        HANDLE h = CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return lines;
        std::string all;
        char buf[4096];
        DWORD n = 0;
        while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n) all.append(buf, n);
        CloseHandle(h);
        size_t pos = 0;
        while (pos < all.size()) {
            size_t end = all.find('\n', pos);
            if (end == std::string::npos) end = all.size();
            std::string line = all.substr(pos, end - pos);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            // "[00000000] [date-time] text"
            size_t second = line.find("] [");
            size_t text = second == std::string::npos ? std::string::npos : line.find("] ", second + 3);
            lines.push_back(text == std::string::npos ? line : line.substr(text + 2));
            pos = end + 1;
        }
        return lines;
    }

private:
    std::wstring m_path;
};

// One second of 8-bit mono 8000 Hz PCM in a plain WAV file; deleted with the object.
class CTempWav {
public:
    explicit CTempWav(DWORD dataBytes = 8000)
    {
        wchar_t dir[MAX_PATH], file[MAX_PATH];
        GetTempPathW(MAX_PATH, dir);
        GetTempFileNameW(dir, L"ewv", 0, file);
        m_path = file;
        m_path += L".wav";
        MoveFileW(file, m_path.c_str());
        std::vector<BYTE> b;
        auto put = [&](DWORD v, int n) { for (int i = 0; i < n; ++i) b.push_back(BYTE(v >> (8 * i))); };
        b.insert(b.end(), {'R', 'I', 'F', 'F'}); put(36 + dataBytes, 4);
        b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}); put(16, 4);
        put(1, 2); put(1, 2); put(8000, 4); put(8000, 4); put(1, 2); put(8, 2);
        b.insert(b.end(), {'d', 'a', 't', 'a'}); put(dataBytes, 4);
        for (DWORD i = 0; i < dataBytes; ++i) b.push_back(BYTE(128 + 60 * ((i / 8) % 2 ? 1 : -1)));
        HANDLE h = CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, b.data(), (DWORD)b.size(), &written, nullptr);
        CloseHandle(h);
    }
    ~CTempWav() { DeleteFileW(m_path.c_str()); }
    const wchar_t* Path() const { return m_path.c_str(); }

private:
    std::wstring m_path;
};

// COM for the test thread, a filter graph and a capture graph builder bound to it.
class CGraphFixture {
public:
    CGraphFixture()
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        graph.CoCreateInstance(CLSID_FilterGraph);
        builder.CoCreateInstance(CLSID_CaptureGraphBuilder2);
        if (builder && graph) builder->SetFiltergraph(graph);
    }
    ~CGraphFixture()
    {
        builder.Release();
        graph.Release();
        CoUninitialize();
    }
    // Names of the filters in the graph, in the graph's order.
    std::vector<std::wstring> FilterNames() const { return ::FilterNames(graph); }

    CComPtr<IGraphBuilder> graph;
    CComPtr<ICaptureGraphBuilder2> builder;
};

// File source -> WAVE parser -> smart tee -> two null renderers, built through the
// utility object itself. Added in an order that does not put the source first.
struct CTestChain {
    HRESULT Build(CDShowUtil& util, const wchar_t* wavPath, const wchar_t* firstNullName = L"Null A")
    {
        HRESULT hr;
        if (FAILED(hr = util.AddFilterByCLSID(CLSID_NullRenderer, &nullB, L"Null B")) ||
            FAILED(hr = util.AddFilterByCLSID(CLSID_SmartTee, &tee, L"Smart Tee")) ||
            FAILED(hr = util.AddFilterByCLSID(CLSID_WAVEParser, &parser, L"Wave Parser")) ||
            FAILED(hr = util.AddFilterByCLSID(CLSID_AsyncReader, &source, L"Source")) ||
            FAILED(hr = util.AddFilterByCLSID(CLSID_NullRenderer, &nullA, firstNullName)))
            return hr;
        CComQIPtr<IFileSourceFilter> file(source);
        if (!file) return E_NOINTERFACE;
        if (FAILED(hr = file->Load(wavPath, nullptr)) ||
            FAILED(hr = util.ConnectFilters(source, 0, parser, 0)) ||
            FAILED(hr = util.ConnectFiltersDirect(parser, 0, tee, 0)) ||
            FAILED(hr = util.ConnectFiltersDirect(tee, 0, nullA, 0)) ||
            FAILED(hr = util.ConnectFiltersDirect(tee, 1, nullB, 0)))
            return hr;
        return S_OK;
    }

    CComPtr<IBaseFilter> source, parser, tee, nullA, nullB;
};
