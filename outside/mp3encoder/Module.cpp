// NVMp3Enc.ax: class factory and registration of "MP3 Encoder".
#include "Mp3EncoderFilter.h"
#include "ModuleExports.h"
#include "PlatformGuids.h"

namespace {

const REGPINTYPES kInTypes = {&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM};
const REGPINTYPES kOutTypes = {&MEDIATYPE_Audio, &MEDIASUBTYPE_MP3_Audio};
const REGFILTERPINS2 kPins[] = {
    {0, 1, 1, &kInTypes, 0, nullptr, nullptr},
    {REG_PINFLAG_B_OUTPUT, 1, 1, &kOutTypes, 0, nullptr, nullptr},
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
    {L"MP3 Encoder", &CLSID_NVMP3EncFilter, CMp3EncoderFilter::CreateInstance, &kFilter},
};

} // namespace

DSHOW_MODULE_EXPORTS(kTemplates)
