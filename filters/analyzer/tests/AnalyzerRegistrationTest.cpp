// The module registers and unregisters itself through regsvr32 and is then
// created by class id like any COM server.
#include "AnalyzerTestSupport.h"
#include <gtest/gtest.h>
#include <string>

using namespace analyzer_test;

namespace {

DWORD RunRegsvr32(const std::wstring& args)
{
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(system) + L"\\regsvr32.exe\" " + args;
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return GetLastError() | 0x80000000;
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

std::wstring ModulePath()
{
    wchar_t path[MAX_PATH];
    GetFullPathNameW(kModule, MAX_PATH, path, nullptr);
    return path;
}

std::wstring ClassKey(REFCLSID clsid)
{
    wchar_t text[64];
    StringFromGUID2(clsid, text, 64);
    return std::wstring(L"CLSID\\") + text;
}

bool ReadString(const std::wstring& key, const wchar_t* name, std::wstring* value)
{
    wchar_t buffer[512] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return false;
    *value = buffer;
    return true;
}

TEST(AnalyzerRegistration, Regsvr32RegistersTheFilterAndItsPage)
{
    CoInitialize(nullptr);
    const std::wstring module = ModulePath();
    ASSERT_EQ(0u, RunRegsvr32(L"/s \"" + module + L"\""));

    std::wstring value;
    ASSERT_TRUE(ReadString(ClassKey(CLSID_AudioAnalyzer), nullptr, &value));
    EXPECT_EQ(L"NV Audio Analyzer Filter", value);
    ASSERT_TRUE(ReadString(ClassKey(CLSID_AudioAnalyzer) + L"\\InprocServer32", nullptr, &value));
    EXPECT_EQ(0, lstrcmpiW(module.c_str(), value.c_str())) << value;
    ASSERT_TRUE(ReadString(ClassKey(CLSID_AudioAnalyzer) + L"\\InprocServer32", L"ThreadingModel", &value));
    EXPECT_EQ(L"Both", value);
    ASSERT_TRUE(ReadString(ClassKey(CLSID_AudioAnalyzerProperty), nullptr, &value));
    EXPECT_EQ(L"Setting", value);

    // Listed among the DirectShow filters, with a merit that keeps automatic graph building away.
    std::wstring instance = ClassKey(CLSID_LegacyAmFilterCategory) + L"\\Instance\\" + ClassKey(CLSID_AudioAnalyzer).substr(6);
    ASSERT_TRUE(ReadString(instance, L"FriendlyName", &value));
    EXPECT_EQ(L"NV Audio Analyzer Filter", value);
    BYTE data[512];
    DWORD size = sizeof data;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CLASSES_ROOT, instance.c_str(), L"FilterData", RRF_RT_REG_BINARY,
                                          nullptr, data, &size));
    DWORD merit;
    memcpy(&merit, data + 4, 4);
    EXPECT_EQ(0x00200000u, merit);

    // Created by class id through COM, with every interface.
    CComPtr<IBaseFilter> filter;
    ASSERT_EQ(S_OK, filter.CoCreateInstance(CLSID_AudioAnalyzer));
    CComQIPtr<IAnalyzer> analyzer(filter.p);
    CComQIPtr<IAudioEffect> effect(filter.p);
    CComQIPtr<ISplitEvent> split(filter.p);
    CComQIPtr<IMuteSound> mute(filter.p);
    CComQIPtr<ISpecifyPropertyPages> pages(filter.p);
    EXPECT_TRUE(analyzer && effect && split && mute && pages);
    CComPtr<IPropertyPage> page;
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_AudioAnalyzerProperty, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                                     reinterpret_cast<void**>(&page)));
    page.Release();
    analyzer.Release();
    effect.Release();
    split.Release();
    mute.Release();
    pages.Release();
    filter.Release();

    // Unregistering is not tried here: other test programs of the same prefix
    // create the analyzer by class id at the same time.
    CoUninitialize();
}

}  // namespace
