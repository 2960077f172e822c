// NVNoiseReduction.ax: class factory and registration of the noise reduction.
#include "NoiseReductionFilter.h"
#include "Registration.h"

namespace {

const REGPINTYPES kPinTypes = {&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM};
const REGFILTERPINS2 kPins[2] = {
    {0, 1, 1, &kPinTypes, 0, nullptr, nullptr},
    {REG_PINFLAG_B_OUTPUT, 1, 1, &kPinTypes, 0, nullptr, nullptr},
};

REGFILTER2 MakeFilterData()
{
    REGFILTER2 f = {};
    f.dwVersion = 2;
    f.dwMerit = DSHOW_MERIT_DO_NOT_USE;
    f.cPins2 = 2;
    f.rgPins2 = kPins;
    return f;
}
const REGFILTER2 kFilter = MakeFilterData();

const CFactoryTemplate kTemplates[] = {
    {L"Noise Reduction", &CLSID_NoiseReduction, CNoiseReductionFilter::CreateInstance, &kFilter},
};

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
    return DShowRegisterServer(kTemplates, 1, true);
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllUnregisterServer()
{
    return DShowRegisterServer(kTemplates, 1, false);
}
