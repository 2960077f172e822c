// The module Wavrill.ax: class factory and registration of "NV PCM Source".
#include <windows.h>
#include "IWavrill.h"
#include "ModuleExports.h"
#include "Wavrill.h"

namespace {

const REGPINTYPES kPinTypes = {&MEDIATYPE_Audio, &GUID_NULL};

const REGFILTERPINS2 kPins[] = {{
    REG_PINFLAG_B_OUTPUT,   // output; not rendered, not zero, not many
    1, 1, &kPinTypes,       // one instance, one media type
    0, nullptr,             // no mediums
    &GUID_NULL,             // no pin category
}};

REGFILTER2 MakeFilterData()
{
    REGFILTER2 rf = {};
    rf.dwVersion = 2;
    rf.dwMerit = DSHOW_MERIT_DO_NOT_USE;
    rf.cPins2 = 1;
    rf.rgPins2 = kPins;
    return rf;
}
const REGFILTER2 kFilterData = MakeFilterData();

const CFactoryTemplate kTemplates[] = {
    {L"NV PCM Source", &CLSID_Wavrill, &Wavrill::CreateInstance, &kFilterData},
};

}  // namespace

DSHOW_MODULE_EXPORTS(kTemplates)
