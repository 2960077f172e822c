#include "DeviceCategoryWalk.h"
#include "ComPtr.h"

HRESULT WalkDeviceCategory(REFCLSID category,
                           const std::function<bool(IMoniker*, IPropertyBag*)>& visit)
{
    CComPtr<ICreateDevEnum> devEnum;
    HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_ICreateDevEnum, (void**)&devEnum);
    if (FAILED(hr)) return hr;
    CComPtr<IEnumMoniker> monikers;
    hr = devEnum->CreateClassEnumerator(category, &monikers, 0);
    if (hr != S_OK || !monikers) return FAILED(hr) ? hr : S_FALSE;
    monikers->Reset();
    for (;;) {
        CComPtr<IMoniker> moniker;
        if (monikers->Next(1, &moniker, nullptr) != S_OK) break;
        CComPtr<IPropertyBag> bag;
        if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, (void**)&bag)) || !bag)
            continue;
        if (!visit(moniker, bag)) break;
    }
    return S_OK;
}

BOOL ReadBagString(IPropertyBag* bag, const wchar_t* name, CString& value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    BOOL ok = SUCCEEDED(bag->Read(name, &v, nullptr)) && v.vt == VT_BSTR;
    if (ok) value = v.bstrVal ? v.bstrVal : L"";
    VariantClear(&v);
    return ok;
}

BOOL ReadBagInt(IPropertyBag* bag, const wchar_t* name, int& value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    if (FAILED(bag->Read(name, &v, nullptr))) { VariantClear(&v); return FALSE; }
    BOOL ok = SUCCEEDED(VariantChangeType(&v, &v, 0, VT_I4));
    if (ok) value = v.lVal;
    VariantClear(&v);
    return ok;
}
