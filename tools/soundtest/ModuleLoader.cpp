#include "ModuleLoader.h"
#include <cmath>
#include <cstdio>

namespace testsignal {

void* CreateFromModule(const wchar_t* module, REFCLSID clsid, REFIID iid)
{
    HMODULE m = LoadLibraryW(module);   // stays loaded for the test program's life
    if (!m) return nullptr;
    typedef HRESULT(STDAPICALLTYPE * GetClassObjectFn)(REFCLSID, REFIID, void**);
    auto get = (GetClassObjectFn)(void*)GetProcAddress(m, "DllGetClassObject");
    IClassFactory* factory = nullptr;
    void* object = nullptr;
    if (get && SUCCEEDED(get(clsid, IID_IClassFactory, (void**)&factory)) && factory) {
        factory->CreateInstance(nullptr, iid, &object);
        factory->Release();
    }
    return object;
}

namespace {

bool RunRegsvr32(const wchar_t* options, const wchar_t* module)
{
    wchar_t path[MAX_PATH];
    GetFullPathNameW(module, MAX_PATH, path, nullptr);
    wchar_t cmd[MAX_PATH + 40];
    _snwprintf(cmd, MAX_PATH + 40, L"regsvr32.exe %s \"%s\"", options, path);
    cmd[MAX_PATH + 39] = 0;
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return code == 0;
}

} // namespace

bool RegisterModule(const wchar_t* module)
{
    return RunRegsvr32(L"/s", module);
}

bool UnregisterModule(const wchar_t* module)
{
    return RunRegsvr32(L"/u /s", module);
}

std::vector<BYTE> SineBytes(int channels, int rate, double hz, double seconds, double amplitude)
{
    size_t frames = (size_t)(rate * seconds);
    std::vector<BYTE> out;
    out.reserve(frames * channels * 2);
    for (size_t i = 0; i < frames; ++i) {
        short v = (short)std::lround(amplitude * 32767.0 * std::sin(2 * 3.14159265358979 * hz * i / rate));
        for (int c = 0; c < channels; ++c) {
            out.push_back((BYTE)(v & 0xFF));
            out.push_back((BYTE)((v >> 8) & 0xFF));
        }
    }
    return out;
}

} // namespace testsignal
