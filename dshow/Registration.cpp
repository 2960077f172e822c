#include "Registration.h"
#include "ComPtr.h"
#include <string>

namespace {

std::wstring ClsidKey(REFCLSID clsid)
{
    wchar_t text[64] = {};
    StringFromGUID2(clsid, text, 64);
    return std::wstring(L"CLSID\\") + text;
}

HRESULT SetString(HKEY key, const wchar_t* name, const std::wstring& value)
{
    LONG rc = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             DWORD((value.size() + 1) * sizeof(wchar_t)));
    return HRESULT_FROM_WIN32(rc);
}

HRESULT RegisterComServer(const CFactoryTemplate& entry, const std::wstring& modulePath)
{
    HKEY classKey = nullptr;
    LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, ClsidKey(*entry.clsid).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              &classKey, nullptr);
    if (rc != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(rc);
    HRESULT hr = SetString(classKey, nullptr, entry.name);
    HKEY serverKey = nullptr;
    if (SUCCEEDED(hr)) {
        rc = RegCreateKeyExW(classKey, L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, &serverKey, nullptr);
        hr = HRESULT_FROM_WIN32(rc);
    }
    if (SUCCEEDED(hr)) {
        hr = SetString(serverKey, nullptr, modulePath);
        if (SUCCEEDED(hr))
            hr = SetString(serverKey, L"ThreadingModel", L"Both");
        RegCloseKey(serverKey);
    }
    RegCloseKey(classKey);
    return hr;
}

HRESULT UnregisterComServer(const CFactoryTemplate& entry)
{
    LONG rc = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClsidKey(*entry.clsid).c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(rc);
}

}  // namespace

HRESULT DShowRegisterServer(const CFactoryTemplate* templates, int count, bool doRegister)
{
    wchar_t path[MAX_PATH] = {};
    if (!GetModuleFileNameW(DShowModuleInstance(), path, MAX_PATH))
        return HRESULT_FROM_WIN32(GetLastError());

    HRESULT init = CoInitialize(nullptr);
    HRESULT result = S_OK;
    {
        CComPtr<IFilterMapper2> mapper;
        for (int i = 0; i < count && SUCCEEDED(result); i++) {
            const CFactoryTemplate& entry = templates[i];
            if (doRegister) {
                result = RegisterComServer(entry, path);
                if (SUCCEEDED(result) && entry.filter) {
                    if (!mapper)
                        result = mapper.CoCreateInstance(CLSID_FilterMapper2);
                    if (SUCCEEDED(result))
                        result = mapper->RegisterFilter(*entry.clsid, entry.name, nullptr,
                                                        &CLSID_LegacyAmFilterCategory, nullptr, entry.filter);
                }
            } else {
                if (entry.filter) {
                    if (!mapper)
                        mapper.CoCreateInstance(CLSID_FilterMapper2);
                    // A filter that was never registered is no error here.
                    if (mapper)
                        mapper->UnregisterFilter(&CLSID_LegacyAmFilterCategory, nullptr, *entry.clsid);
                }
                result = UnregisterComServer(entry);
            }
        }
    }
    if (SUCCEEDED(init))
        CoUninitialize();
    return result;
}
