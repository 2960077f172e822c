// The module registers with regsvr32, is created by class id, keeps Wine's
// intelligent connect away, and unregisters cleanly.
#include "WavrillTestSupport.h"

#include <gtest/gtest.h>

namespace {

std::wstring ClsidText()
{
    wchar_t text[64] = {};
    StringFromGUID2(CLSID_Wavrill, text, 64);
    return text;
}

std::wstring ReadString(HKEY root, const std::wstring& key, const wchar_t* value)
{
    wchar_t buffer[MAX_PATH * 2] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(root, key.c_str(), value, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return L"(missing)";
    return buffer;
}

// Filters that can offer audio, as the graph's intelligent connect would look them up.
bool ListedForAudioOutput(DWORD minimumMerit)
{
    CComPtr<IFilterMapper2> mapper;
    if (FAILED(mapper.CoCreateInstance(CLSID_FilterMapper2)))
        return false;
    GUID types[2] = {MEDIATYPE_Audio, GUID_NULL};
    CComPtr<IEnumMoniker> found;
    if (FAILED(mapper->EnumMatchingFilters(&found, 0, FALSE, minimumMerit, FALSE, 0, nullptr, nullptr, nullptr,
                                           FALSE, TRUE, 1, types, nullptr, nullptr)) || !found)
        return false;
    for (;;) {
        CComPtr<IMoniker> moniker;
        if (found->Next(1, &moniker, nullptr) != S_OK)
            return false;
        CComPtr<IPropertyBag> bag;
        if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, (void**)&bag)))
            continue;
        VARIANT v;
        VariantInit(&v);
        bool match = SUCCEEDED(bag->Read(L"FriendlyName", &v, nullptr)) && v.vt == VT_BSTR &&
                     wcscmp(v.bstrVal, L"NV PCM Source") == 0;
        VariantClear(&v);
        if (match)
            return true;
    }
}

class WavrillRegistration : public ::testing::Test {
protected:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override { CoUninitialize(); }
};

TEST_F(WavrillRegistration, RegisteredByRegsvr32AndCreatedByClassId)
{
    ASSERT_EQ(0u, RegisterWavrill());
    const std::wstring key = L"CLSID\\" + ClsidText() + L"\\InprocServer32";
    EXPECT_EQ(0, _wcsicmp((ModuleFolder() + L"Wavrill.ax").c_str(),
                          ReadString(HKEY_CLASSES_ROOT, key, nullptr).c_str()));
    EXPECT_EQ(L"Both", ReadString(HKEY_CLASSES_ROOT, key, L"ThreadingModel"));

    CComPtr<IBaseFilter> filter;
    ASSERT_EQ(S_OK, filter.CoCreateInstance(CLSID_Wavrill));
    CLSID id = GUID_NULL;
    EXPECT_EQ(S_OK, filter->GetClassID(&id));
    EXPECT_EQ(CLSID_Wavrill, id);

    // One output pin named "PCM".
    CComPtr<IEnumPins> pins;
    ASSERT_EQ(S_OK, filter->EnumPins(&pins));
    CComPtr<IPin> pin, none;
    ASSERT_EQ(S_OK, pins->Next(1, &pin, nullptr));
    EXPECT_EQ(S_FALSE, pins->Next(1, &none, nullptr));
    PIN_INFO info = {};
    ASSERT_EQ(S_OK, pin->QueryPinInfo(&info));
    if (info.pFilter) info.pFilter->Release();
    EXPECT_STREQ(L"PCM", info.achName);
    EXPECT_EQ(PINDIR_OUTPUT, info.dir);

    // Every custom interface, and nothing that is not there.
    const IID iids[] = {IID_IFileSinkFilter, IID_IWavrill, IID_IWavrill2, IID_IPCMSeek, IID_IMediaFilter};
    for (const IID& iid : iids) {
        CComPtr<IUnknown> unk;
        EXPECT_EQ(S_OK, filter->QueryInterface(iid, (void**)&unk));
    }
    CComPtr<IUnknown> unk;
    EXPECT_EQ(E_NOINTERFACE, filter->QueryInterface(IID_IMediaSeeking, (void**)&unk));

    // Listed as an audio source, but below the merit that intelligent connect uses.
    EXPECT_TRUE(ListedForAudioOutput(0));
    EXPECT_FALSE(ListedForAudioOutput(MERIT_DO_NOT_USE + 1));
}

TEST_F(WavrillRegistration, ModuleExportsRegisterUnregisterAndUnload)
{
    // The module's own entry points, with the classes root of this process
    // redirected to a private key so that the real registration stays in place.
    ASSERT_EQ(0u, RegisterWavrill());
    HMODULE module = LoadLibraryW((ModuleFolder() + L"Wavrill.ax").c_str());
    ASSERT_TRUE(module);
    using EntryPoint = HRESULT(STDAPICALLTYPE*)();
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto registerServer = (EntryPoint)GetProcAddress(module, "DllRegisterServer");
    auto unregisterServer = (EntryPoint)GetProcAddress(module, "DllUnregisterServer");
    auto canUnload = (EntryPoint)GetProcAddress(module, "DllCanUnloadNow");
    auto getClassObject = (GetClassObject)GetProcAddress(module, "DllGetClassObject");
    ASSERT_TRUE(registerServer && unregisterServer && canUnload && getClassObject);

    const std::wstring privateRoot = L"Software\\SonelleTests\\WavrillClasses" + std::to_wstring(GetCurrentProcessId());
    HKEY root = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, privateRoot.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &root, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CLASSES_ROOT, root));
    const std::wstring key = L"CLSID\\" + ClsidText();
    HRESULT registered = registerServer();
    std::wstring server = ReadString(root, key + L"\\InprocServer32", nullptr);
    HRESULT unregistered = unregisterServer();
    std::wstring afterUnregister = ReadString(root, key + L"\\InprocServer32", nullptr);
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    RegCloseKey(root);
    RegDeleteTreeW(HKEY_CURRENT_USER, privateRoot.c_str());

    EXPECT_EQ(S_OK, registered);
    EXPECT_EQ(0, _wcsicmp((ModuleFolder() + L"Wavrill.ax").c_str(), server.c_str()));
    EXPECT_EQ(S_OK, unregistered);
    EXPECT_EQ(L"(missing)", afterUnregister);
    EXPECT_NE(L"(missing)", ReadString(HKEY_CLASSES_ROOT, key + L"\\InprocServer32", nullptr));

    // The module stays loaded while one of its objects lives.
    CComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, getClassObject(CLSID_Wavrill, IID_IClassFactory, (void**)&factory));
    CComPtr<IBaseFilter> filter;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IBaseFilter, (void**)&filter));
    factory.Release();
    EXPECT_EQ(S_FALSE, canUnload());
    filter.Release();
    EXPECT_EQ(S_OK, canUnload());
    CComPtr<IClassFactory> other;
    const CLSID unknown = {0x1, 0x2, 0x3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClassObject(unknown, IID_IClassFactory, (void**)&other));
    FreeLibrary(module);
}

}  // namespace
