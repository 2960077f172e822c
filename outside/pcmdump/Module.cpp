// Vossel.ax: class factory and registration of the PCM writer.
#include "PcmDumpFilter.h"
#include "Registration.h"

namespace {

const REGPINTYPES kPinTypes = {&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM};
const REGFILTERPINS2 kPins = {REG_PINFLAG_B_RENDERER, 1, 1, &kPinTypes, 0, nullptr, nullptr};

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
    {L"NV PCM Dump Filter", &CLSID_NVPCMDump, CPcmDumpFilter::CreateInstance, &kFilter},
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
