// Vossel.ax: class factory and registration of the PCM writer.
#include "PcmDumpFilter.h"
#include "ModuleExports.h"

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

DSHOW_MODULE_EXPORTS(kTemplates)
