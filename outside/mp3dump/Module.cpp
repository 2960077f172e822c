// Tarrow.ax: class factory and registration of "NV MP3 Dump".
#include "Mp3DumpFilter.h"
#include "ModuleExports.h"
#include "PlatformGuids.h"

namespace {

const REGPINTYPES kPinTypes = {&MEDIATYPE_Audio, &MEDIASUBTYPE_MP3_Audio};
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
    {L"NV MP3 Dump", &CLSID_NVMP3Dump, CMp3DumpFilter::CreateInstance, &kFilter},
};

} // namespace

DSHOW_MODULE_EXPORTS(kTemplates)
