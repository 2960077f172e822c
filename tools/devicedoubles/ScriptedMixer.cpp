#include "ScriptedMixer.h"
#include "MixerControl.h"

namespace {

CScriptedMixer* g_current = nullptr;

// Handles and ids: a handle is 0x1000 + mixer index; a line id holds the
// destination (bits 8-15) and 1 + the source (bits 0-7, 0 = the destination);
// a control id is the line id times 16 plus the control's position.
const UINT_PTR HandleBase = 0x1000;

ScriptedMixerDevice* MixerOf(HMIXEROBJ obj, DWORD flags)
{
    if (!g_current) return nullptr;
    UINT_PTR v = reinterpret_cast<UINT_PTR>(obj);
    size_t index = (flags & MIXER_OBJECTF_HMIXER) ? (size_t)(v - HandleBase) : (size_t)v;
    if ((flags & MIXER_OBJECTF_HMIXER) && v < HandleBase) return nullptr;
    return index < g_current->mixers.size() ? &g_current->mixers[index] : nullptr;
}

ScriptedLine* LineOf(ScriptedMixerDevice* mixer, DWORD lineId, DWORD* dest = nullptr, DWORD* src = nullptr)
{
    DWORD d = (lineId >> 8) & 0xFF, s = lineId & 0xFF;
    if (d >= mixer->destinations.size()) return nullptr;
    if (dest) *dest = d;
    if (src) *src = s;
    ScriptedDestination& destination = mixer->destinations[d];
    if (!s) return &destination;
    return s - 1 < destination.sources.size() ? &destination.sources[s - 1] : nullptr;
}

ScriptedControl* ControlOf(ScriptedMixerDevice* mixer, DWORD controlId)
{
    ScriptedLine* line = LineOf(mixer, controlId >> 4);
    if (!line || (controlId & 0xF) >= line->controls.size()) return nullptr;
    return &line->controls[controlId & 0xF];
}

void FillLine(MIXERLINEW* out, const ScriptedLine& line, DWORD d, DWORD s, DWORD connections)
{
    out->dwDestination = d;
    out->dwSource = s ? s - 1 : 0;
    out->dwLineID = (d << 8) | s;
    out->fdwLine = MIXERLINE_LINEF_ACTIVE | (s ? MIXERLINE_LINEF_SOURCE : 0);
    out->dwComponentType = line.componentType;
    out->cChannels = 2;
    out->cConnections = connections;
    out->cControls = (DWORD)line.controls.size();
    lstrcpynW(out->szShortName, line.name.c_str(), MIXER_SHORT_NAME_CHARS);
    lstrcpynW(out->szName, line.name.c_str(), MIXER_LONG_NAME_CHARS);
}

void FillControl(MIXERCONTROLW* out, const ScriptedControl& control, DWORD id)
{
    ZeroMemory(out, sizeof *out);
    out->cbStruct = sizeof *out;
    out->dwControlID = id;
    out->dwControlType = control.type;
    out->Bounds.dwMinimum = control.minimum;
    out->Bounds.dwMaximum = control.maximum;
    lstrcpynW(out->szName, control.type == MIXERCONTROL_CONTROLTYPE_MUTE ? L"Mute" : L"Volume",
              MIXER_LONG_NAME_CHARS);
}

UINT WINAPI NumDevs() { return g_current ? (UINT)g_current->mixers.size() : 0; }

UINT WINAPI WaveInNumDevs()
{
    if (g_current) ++g_current->waveInCounts;
    return 1;
}

MMRESULT WINAPI DevCaps(UINT_PTR id, MIXERCAPSW* caps, UINT)
{
    if (!g_current || id >= g_current->mixers.size()) return MMSYSERR_BADDEVICEID;
    const ScriptedMixerDevice& mixer = g_current->mixers[id];
    if (mixer.capsFail) return MMSYSERR_ERROR;
    ZeroMemory(caps, sizeof *caps);
    lstrcpynW(caps->szPname, mixer.name.c_str(), MAXPNAMELEN);
    caps->cDestinations = (DWORD)mixer.destinations.size();
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI Open(HMIXER* out, UINT id, DWORD_PTR, DWORD_PTR, DWORD)
{
    if (!g_current || id >= g_current->mixers.size()) return MMSYSERR_BADDEVICEID;
    ScriptedMixerDevice& mixer = g_current->mixers[id];
    if (mixer.openFails) return MMSYSERR_ALLOCATED;
    ++mixer.opens;
    ++mixer.openHandles;
    *out = reinterpret_cast<HMIXER>(HandleBase + id);
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI Close(HMIXER handle)
{
    ScriptedMixerDevice* mixer = MixerOf(reinterpret_cast<HMIXEROBJ>(handle), MIXER_OBJECTF_HMIXER);
    if (!mixer || mixer->openHandles <= 0) return MMSYSERR_INVALHANDLE;
    --mixer->openHandles;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI LineInfo(HMIXEROBJ obj, MIXERLINEW* line, DWORD flags)
{
    ScriptedMixerDevice* mixer = MixerOf(obj, flags);
    if (!mixer) return MMSYSERR_INVALHANDLE;
    switch (flags & MIXER_GETLINEINFOF_QUERYMASK) {
    case MIXER_GETLINEINFOF_DESTINATION: {
        DWORD d = line->dwDestination;
        if (d >= mixer->destinations.size()) return MIXERR_INVALLINE;
        ScriptedDestination& dest = mixer->destinations[d];
        if (dest.readFails) return MMSYSERR_ERROR;
        FillLine(line, dest, d, 0, (DWORD)dest.sources.size());
        return MMSYSERR_NOERROR;
    }
    case MIXER_GETLINEINFOF_SOURCE: {
        DWORD d = line->dwDestination, s = line->dwSource;
        if (d >= mixer->destinations.size() || s >= mixer->destinations[d].sources.size()) return MIXERR_INVALLINE;
        ScriptedLine& source = mixer->destinations[d].sources[s];
        if (source.readFails) return MMSYSERR_ERROR;
        FillLine(line, source, d, s + 1, 0);
        return MMSYSERR_NOERROR;
    }
    case MIXER_GETLINEINFOF_COMPONENTTYPE:
        for (DWORD d = 0; d < mixer->destinations.size(); ++d)
            if (mixer->destinations[d].componentType == line->dwComponentType) {
                FillLine(line, mixer->destinations[d], d, 0, (DWORD)mixer->destinations[d].sources.size());
                return MMSYSERR_NOERROR;
            }
        return MIXERR_INVALLINE;
    default:
        return MMSYSERR_NOTSUPPORTED;
    }
}

MMRESULT WINAPI LineControls(HMIXEROBJ obj, MIXERLINECONTROLSW* query, DWORD flags)
{
    ScriptedMixerDevice* mixer = MixerOf(obj, flags);
    if (!mixer) return MMSYSERR_INVALHANDLE;
    if ((flags & MIXER_GETLINECONTROLSF_QUERYMASK) != MIXER_GETLINECONTROLSF_ONEBYTYPE) return MMSYSERR_NOTSUPPORTED;
    ScriptedLine* line = LineOf(mixer, query->dwLineID);
    if (!line) return MIXERR_INVALLINE;
    for (size_t i = 0; i < line->controls.size(); ++i)
        if (line->controls[i].type == query->dwControlType) {
            FillControl(query->pamxctrl, line->controls[i], (query->dwLineID << 4) | (DWORD)i);
            return MMSYSERR_NOERROR;
        }
    return MIXERR_INVALCONTROL;
}

MMRESULT WINAPI GetDetails(HMIXEROBJ obj, MIXERCONTROLDETAILS* details, DWORD flags)
{
    ScriptedMixerDevice* mixer = MixerOf(obj, flags);
    ScriptedControl* control = mixer ? ControlOf(mixer, details->dwControlID) : nullptr;
    if (!control) return MIXERR_INVALCONTROL;
    if (control->answersWithValue)
        static_cast<MIXERCONTROLDETAILS_UNSIGNED*>(details->paDetails)->dwValue = (DWORD)control->value;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI SetDetails(HMIXEROBJ obj, MIXERCONTROLDETAILS* details, DWORD flags)
{
    ScriptedMixerDevice* mixer = MixerOf(obj, flags);
    ScriptedControl* control = mixer ? ControlOf(mixer, details->dwControlID) : nullptr;
    if (!control) return MIXERR_INVALCONTROL;
    control->value = (LONG) static_cast<MIXERCONTROLDETAILS_UNSIGNED*>(details->paDetails)->dwValue;
    ++control->sets;
    return MMSYSERR_NOERROR;
}

ScriptedLine Line(const wchar_t* name, DWORD type, bool withMute = true)
{
    ScriptedLine line;
    line.name = name;
    line.componentType = type;
    ScriptedControl volume;
    volume.type = MIXERCONTROL_CONTROLTYPE_VOLUME;
    volume.maximum = 65535;
    volume.value = 32768;
    line.controls.push_back(volume);
    if (withMute) line.controls.push_back(ScriptedControl());
    return line;
}

ScriptedDestination Destination(const wchar_t* name, DWORD type)
{
    ScriptedDestination d;
    static_cast<ScriptedLine&>(d) = Line(name, type);
    return d;
}

} // namespace

ScriptedControl* ScriptedLine::Control(DWORD type)
{
    for (auto& c : controls)
        if (c.type == type) return &c;
    return nullptr;
}

ScriptedLine* ScriptedDestination::Source(const std::wstring& sourceName)
{
    for (auto& s : sources)
        if (s.name == sourceName) return &s;
    return nullptr;
}

ScriptedDestination* ScriptedMixerDevice::Destination(DWORD componentType)
{
    for (auto& d : destinations)
        if (d.componentType == componentType) return &d;
    return nullptr;
}

CScriptedMixer::CScriptedMixer()
    : m_api{NumDevs, DevCaps, Open, Close, LineInfo, LineControls, GetDetails, SetDetails, WaveInNumDevs}
{
    g_current = this;
    CMixerControl::UseMixerApi(&m_api);
}

CScriptedMixer::~CScriptedMixer()
{
    CMixerControl::UseMixerApi(nullptr);
    g_current = nullptr;
}

CScriptedMixer* CScriptedMixer::Current() { return g_current; }

int CScriptedMixer::OpenHandles() const
{
    int n = 0;
    for (const auto& m : mixers) n += m.openHandles;
    return n;
}

ScriptedMixerDevice CScriptedMixer::SoundCard(const wchar_t* name)
{
    ScriptedMixerDevice card;
    card.name = name;
    ScriptedDestination speakers = Destination(L"Master Volume", MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
    speakers.sources = {
        Line(L"Line In", MIXERLINE_COMPONENTTYPE_SRC_LINE),
        Line(L"Microphone", MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE),
        Line(L"CD Player", MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC),
        Line(L"Aux", MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY),
        Line(L"Digital", MIXERLINE_COMPONENTTYPE_SRC_DIGITAL),
        Line(L"Wave Out", MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT),
    };
    ScriptedDestination waveIn = Destination(L"Recording Control", MIXERLINE_COMPONENTTYPE_DST_WAVEIN);
    waveIn.sources = {
        Line(L"Line In", MIXERLINE_COMPONENTTYPE_SRC_LINE),
        Line(L"Microphone", MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE),
        Line(L"CD Player", MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC),
    };
    card.destinations = {speakers, waveIn};
    return card;
}

ScriptedMixerDevice CScriptedMixer::UsbDevice(const wchar_t* name)
{
    ScriptedMixerDevice usb = SoundCard(name);
    std::swap(usb.destinations[0], usb.destinations[1]);
    return usb;
}
