// SonelleCapture.ax: class factory and registration. The filter is registered in
// the DirectShow filter category and, under its own class id, in the
// audio-input device category (for the default wave-in device).
#include "AudioCaptureFilter.h"
#include "OutsideFilters.h"
#include "Registration.h"
#include "ComPtr.h"

namespace {

const wchar_t kName[] = L"Sonelle Audio Capture";

const REGPINTYPES kPinTypes = {&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM};
const REGFILTERPINS2 kPins = {REG_PINFLAG_B_OUTPUT, 1, 1, &kPinTypes, 0, nullptr, &PIN_CATEGORY_CAPTURE};
REGFILTER2 MakeFilterData()
{
    REGFILTER2 f = {};
    f.dwVersion = 2;
    f.dwMerit = DSHOW_MERIT_DO_NOT_USE;
    f.cPins2 = 1;
    f.rgPins2 = &kPins;
    return f;
}
const REGFILTER2 kFilter = MakeFilterData();

const CFactoryTemplate kTemplates[] = {
    {kName, &CLSID_SonelleAudioCapture, CAudioCaptureFilter::CreateInstance, &kFilter},
};

HRESULT RegisterInputDevice(bool doRegister)
{
    CComPtr<IFilterMapper2> mapper;
    HRESULT hr = CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                  (void**)&mapper);
    if (FAILED(hr)) return hr;
    if (!doRegister) {
        mapper->UnregisterFilter(&CLSID_AudioInputDeviceCategory, kName, CLSID_SonelleAudioCapture);
        return S_OK;
    }
    return mapper->RegisterFilter(CLSID_SonelleAudioCapture, kName, nullptr, &CLSID_AudioInputDeviceCategory,
                                  kName, &kFilter);
}

} // namespace

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv)
{
    return DShowGetClassObject(kTemplates, 1, clsid, riid, ppv);
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return DShowCanUnloadNow();
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllRegisterServer()
{
    HRESULT hr = DShowRegisterServer(kTemplates, 1, true);
    if (FAILED(hr)) return hr;
    CoInitialize(nullptr);
    hr = RegisterInputDevice(true);
    CoUninitialize();
    return hr;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    CoInitialize(nullptr);
    RegisterInputDevice(false);
    CoUninitialize();
    return DShowRegisterServer(kTemplates, 1, false);
}
