// NVNoiseReduction.ax: class factory and registration of the noise reduction.
#include "NoiseReductionFilter.h"
#include "ModuleExports.h"

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

DSHOW_MODULE_EXPORTS(kTemplates)
