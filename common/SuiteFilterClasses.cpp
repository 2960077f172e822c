#include "SuiteFilterClasses.h"
#include "IAnalyzer.h"
#include "IWavrill.h"
#include "OutsideFilters.h"

namespace {
const SuiteFilterModuleClasses kModules[] = {
    {L"NVNoiseReduction.ax", {&CLSID_NoiseReduction, nullptr}},
    {L"NVAudioAnalyer.ax", {&CLSID_AudioAnalyzer, &CLSID_AudioAnalyzerProperty}},
    {L"NVMp3Enc.ax", {&CLSID_NVMP3EncFilter, nullptr}},
    {L"Vossel.ax", {&CLSID_NVPCMDump, nullptr}},
    {L"Wavrill.ax", {&CLSID_Wavrill, nullptr}},
    {L"Tarrow.ax", {&CLSID_NVMP3Dump, nullptr}},
};
}  // namespace

const SuiteFilterModuleClasses* FindSuiteFilterModuleClasses(const wchar_t* moduleName)
{
    for (const SuiteFilterModuleClasses& entry : kModules)
        if (lstrcmpiW(entry.module, moduleName) == 0) return &entry;
    return nullptr;
}
