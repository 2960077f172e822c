// Helpers of the PCM source tests: files in a private temporary folder, the
// module registered with regsvr32 once per run, and a graph Wavrill -> sink.
#pragma once
#include <windows.h>
#include <dshow.h>
#include <string>
#include "AnalyzerRecord.h"
#include "ComPtr.h"
#include "IAnalyzer.h"
#include "IWavrill.h"
#include "TestGraph.h"
#include "TestSink.h"
#include "WavBytes.h"

inline std::wstring ModuleFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s = path;
    return s.substr(0, s.rfind(L'\\') + 1);
}

// Runs a program of the system and returns its exit code (or -1).
inline DWORD RunProcess(std::wstring commandLine, DWORD timeoutMs = 30000)
{
    STARTUPINFOW si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return (DWORD)-1;
    DWORD code = (DWORD)-1;
    if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

inline DWORD RegisterWavrill()
{
    static DWORD result = RunProcess(L"regsvr32.exe /s \"" + ModuleFolder() + L"Wavrill.ax\"");
    return result;
}

// The analyzer filter, which sits behind the PCM source in the conversion graphs.
inline DWORD RegisterAnalyzer()
{
    static DWORD result = RunProcess(L"regsvr32.exe /s \"" + ModuleFolder() + L"NVAudioAnalyer.ax\"");
    return result;
}

// A folder of its own under the temporary folder, removed with its files.
class CTempFolder {
public:
    CTempFolder()
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_path = std::wstring(temp) + L"wavrill-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                 std::to_wstring(s_counter++) + L"\\";
        CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~CTempFolder()
    {
        for (const auto& f : m_files) DeleteFileW(f.c_str());
        RemoveDirectoryW(m_path.c_str());
    }
    std::wstring Write(const wchar_t* name, const Bytes& bytes)
    {
        std::wstring path = m_path + name;
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        if (h != INVALID_HANDLE_VALUE) {
            WriteFile(h, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
            CloseHandle(h);
        }
        m_files.push_back(path);
        return path;
    }
    const std::wstring& Path() const { return m_path; }

private:
    static inline int s_counter = 0;
    std::wstring m_path;
    std::vector<std::wstring> m_files;
};

// A graph with a PCM source created by class id and, behind it, our test sink.
class CWavrillGraph {
public:
    CWavrillGraph()
    {
        wavrill.CoCreateInstance(CLSID_Wavrill);
        if (wavrill) {
            wavrill->QueryInterface(IID_IFileSinkFilter, (void**)&file);
            wavrill->QueryInterface(IID_IWavrill, (void**)&range);
            wavrill->QueryInterface(IID_IWavrill2, (void**)&raw);
            wavrill->QueryInterface(IID_IPCMSeek, (void**)&seek);
            wavrill->QueryInterface(IID_IWavrillBuffer, (void**)&buffer);
            graph.Add(wavrill, L"NV PCM Source");
        }
        sink.Attach(CTestSink::Create());
        graph.Add(sink, L"Sink");
    }
    bool Ok() const { return wavrill && file && range && raw && seek && buffer && graph.Ok(); }
    HRESULT Connect(IBaseFilter* middle = nullptr)
    {
        if (!middle) return graph.ConnectDirect(wavrill, sink);
        HRESULT hr = graph.ConnectDirect(wavrill, middle);
        return FAILED(hr) ? hr : graph.ConnectDirect(middle, sink);
    }
    // Runs without a clock to the end of the stream; the event code (EC_COMPLETE).
    long RunToEnd()
    {
        sink->ClearReceived();
        long code = graph.RunToCompletion(20000);
        graph.Stop();
        return code;
    }

    CTestGraph graph;   // first: it initialises COM and outlives the filters
    CComPtr<IBaseFilter> wavrill;
    CComPtr<IFileSinkFilter> file;
    CComPtr<IWavrill> range;
    CComPtr<IWavrill2> raw;
    CComPtr<IPCMSeek> seek;
    CComPtr<IWavrillBuffer> buffer;
    CComPtr<CTestSink> sink;
};
