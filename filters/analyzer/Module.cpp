// The analyzer module NVAudioAnalyer.ax: its class table (the filter, then its
// property page) and the four COM server exports.
#include "AnalyzerFilter.h"
#include "AnalyzerProperty.h"
#include "ClassFactory.h"
#include "ModuleExports.h"

namespace {

const REGPINTYPES kPinTypes = {&MEDIATYPE_Audio, &GUID_NULL};

wchar_t kInputName[] = L"Input";
wchar_t kOutputName[] = L"Output";

const REGFILTERPINS kPins[] = {
    {kInputName, FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kPinTypes},
    {kOutputName, FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kPinTypes},
};

REGFILTER2 MakeFilterSetup()
{
    REGFILTER2 setup = {};
    setup.dwVersion = 1;
    setup.dwMerit = DSHOW_MERIT_DO_NOT_USE;
    setup.cPins = 2;
    setup.rgPins = kPins;
    return setup;
}

const REGFILTER2 kFilterSetup = MakeFilterSetup();

const CFactoryTemplate kTemplates[] = {
    {L"NV Audio Analyzer Filter", &CLSID_AudioAnalyzer, &CAudioAnalyzerFilter::CreateInstance, &kFilterSetup},
    {L"Setting", &CLSID_AudioAnalyzerProperty, &CNVAudioAnalyzerProperty::CreateInstance, nullptr},
};


}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_DETACH)
        CloseAnalyzerBufferEvent();
    return TRUE;
}

DSHOW_MODULE_EXPORTS(kTemplates)
