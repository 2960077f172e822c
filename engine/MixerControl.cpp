#include "MixerControl.h"
#include <objbase.h>
#include <dshow.h>
#include <vector>
#include "DeviceCategoryWalk.h"
#include "Registry.h"
#include "String.h"

namespace {

const MixerApi* g_api = nullptr;

const MixerApi& Api() { return g_api ? *g_api : WinmmMixerApi(); }

const DWORD OnHandle = MIXER_OBJECTF_HMIXER;

HMIXEROBJ Obj(HMIXER mixer) { return reinterpret_cast<HMIXEROBJ>(mixer); }

void CopyName(wchar_t* to, const wchar_t* from)
{
    lstrcpynW(to, from ? from : L"", CMixerControl::NameLength);
}

bool GetDestination(HMIXER mixer, DWORD destination, MIXERLINEW& line)
{
    ZeroMemory(&line, sizeof line);
    line.cbStruct = sizeof line;
    line.dwDestination = destination;
    return Api().getLineInfo(Obj(mixer), &line, OnHandle | MIXER_GETLINEINFOF_DESTINATION) == MMSYSERR_NOERROR;
}

bool GetSource(HMIXER mixer, DWORD destination, DWORD source, MIXERLINEW& line)
{
    ZeroMemory(&line, sizeof line);
    line.cbStruct = sizeof line;
    line.dwDestination = destination;
    line.dwSource = source;
    return Api().getLineInfo(Obj(mixer), &line, OnHandle | MIXER_GETLINEINFOF_SOURCE) == MMSYSERR_NOERROR;
}

bool IsDestinationNamed(const MIXERLINEW& line, const wchar_t* typeName)
{
    return !wcscmp(CMixerControl::ComponentTypeName(line.dwComponentType), typeName);
}

bool FindControl(HMIXER mixer, DWORD lineId, DWORD controlType, MIXERCONTROLW& control)
{
    ZeroMemory(&control, sizeof control);
    control.cbStruct = sizeof control;
    MIXERLINECONTROLSW query = {};
    query.cbStruct = sizeof query;
    query.dwLineID = lineId;
    query.dwControlType = controlType;
    query.cControls = 1;
    query.cbmxctrl = sizeof control;
    query.pamxctrl = &control;
    return Api().getLineControls(Obj(mixer), &query, OnHandle | MIXER_GETLINECONTROLSF_ONEBYTYPE) ==
           MMSYSERR_NOERROR;
}

// One value for every item of the control (one uniform channel). The values are
// zeroed first: some drivers answer a read without writing anything.
struct ControlValues {
    std::vector<MIXERCONTROLDETAILS_UNSIGNED> values;
    MIXERCONTROLDETAILS details = {};
    ControlValues(const MIXERCONTROLW& control, DWORD multipleItems)
        : values(multipleItems ? multipleItems : 1)
    {
        details.cbStruct = sizeof details;
        details.dwControlID = control.dwControlID;
        details.cChannels = 1;
        details.cMultipleItems = multipleItems;
        details.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
        details.paDetails = values.data();
    }
};

bool ReadControl(HMIXER mixer, const MIXERCONTROLW& control, DWORD multipleItems, LONG& value)
{
    ControlValues v(control, multipleItems);
    if (Api().getControlDetails(Obj(mixer), &v.details, OnHandle | MIXER_GETCONTROLDETAILSF_VALUE) !=
        MMSYSERR_NOERROR)
        return false;
    value = (LONG)v.values[0].dwValue;
    return true;
}

bool WriteControl(HMIXER mixer, const MIXERCONTROLW& control, DWORD multipleItems, LONG value)
{
    ControlValues v(control, multipleItems);
    for (auto& item : v.values) item.dwValue = (DWORD)value;
    return Api().setControlDetails(Obj(mixer), &v.details, OnHandle | MIXER_SETCONTROLDETAILSF_VALUE) ==
           MMSYSERR_NOERROR;
}

// The names of the DirectShow audio inputs, in enumeration order.
std::vector<CString> AudioInputNames()
{
    std::vector<CString> names;
    WalkDeviceCategory(CLSID_AudioInputDeviceCategory, [&](IMoniker*, IPropertyBag* bag) {
        CString name;
        if (ReadBagString(bag, L"FriendlyName", name)) names.push_back(name);
        return true;
    });
    return names;
}

} // namespace

void CMixerControl::UseMixerApi(const MixerApi* api) { g_api = api; }

const wchar_t* CMixerControl::ComponentTypeName(DWORD type)
{
    static const wchar_t* const sources[] = {
        L"Undefined", L"Digital", L"Line Level", L"Microphone", L"Synthesizer", L"Compact Disc",
        L"Telephone", L"PC Speaker", L"Wave Out", L"Auxiliary", L"Analog",
    };
    static const wchar_t* const destinations[] = {
        L"Undefined", L"Digital", L"Line Level", L"Monitor", L"Speakers", L"Headphones",
        L"Telephone", L"Wave Input", L"Voice Recognition",
    };
    if (type >= MIXERLINE_COMPONENTTYPE_SRC_FIRST) {
        DWORD i = type - MIXERLINE_COMPONENTTYPE_SRC_FIRST;
        return i < ARRAYSIZE(sources) ? sources[i] : L"NOT VALID";
    }
    return type < ARRAYSIZE(destinations) ? destinations[type] : L"NOT VALID";
}

CMixerControl::CMixerControl()
{
    m_comInitialized = SUCCEEDED(CoInitialize(nullptr));
    ZeroMemory(&m_speakerSources, sizeof m_speakerSources);
    ZeroMemory(&m_recordSources, sizeof m_recordSources);
    ZeroMemory(&m_devices, sizeof m_devices);
}

CMixerControl::~CMixerControl()
{
    Close();
    if (m_comInitialized) CoUninitialize();
}

BOOL CMixerControl::BuildDeviceTable()
{
    ZeroMemory(&m_devices, sizeof m_devices);
    UINT count = Api().getNumDevs();
    Api().waveInGetNumDevs();
    if (!count) return FALSE;

    std::vector<CString> inputs = AudioInputNames();
    for (UINT id = 0; id < count && m_devices.count < TableSize; ++id) {
        MIXERCAPSW caps = {};
        if (Api().getDevCaps(id, &caps, sizeof caps) != MMSYSERR_NOERROR) continue;
        caps.szPname[MAXPNAMELEN - 1] = 0;
        Device& device = m_devices.entries[m_devices.count++];
        device.mixerId = id;
        CopyName(device.name, caps.szPname);
        for (const CString& input : inputs)
            if (caps.szPname[0] && input.Find(caps.szPname) >= 0) {
                CopyName(device.name, input);
                break;
            }

        CString lower(device.name);
        lower.MakeLower();
        lower.TrimRight(L" ");
        if (lower.Find(L"usb audio device") >= 0 || lower.Find(L"usb") >= 0 || lower.Find(L" us") >= 0) {
            device.flags = HasSpeakers | HasWaveInput | UsbDevice;
            continue;
        }
        HMIXER mixer = nullptr;
        if (Api().open(&mixer, id, 0, 0, CALLBACK_WINDOW) != MMSYSERR_NOERROR) continue;
        for (DWORD d = 0; d < caps.cDestinations; ++d) {
            MIXERLINEW line;
            if (!GetDestination(mixer, d, line)) continue;
            if (IsDestinationNamed(line, L"Speakers")) device.flags |= HasSpeakers;
            else if (IsDestinationNamed(line, L"Wave Input")) device.flags |= HasWaveInput;
        }
        Api().close(mixer);
    }
    return !(m_devices.count == 1 && (m_devices.entries[0].flags & UsbDevice));
}

const CMixerControl::Device* CMixerControl::DeviceAmong(int flag, int position) const
{
    for (int i = 0, seen = 0; i < m_devices.count; ++i)
        if (m_devices.entries[i].flags & flag) {
            if (seen == position) return &m_devices.entries[i];
            ++seen;
        }
    return nullptr;
}

// The device at playbackIndex among those with speakers, else the first of them.
const CMixerControl::Device* CMixerControl::PlaybackDevice() const
{
    const Device* device = DeviceAmong(HasSpeakers, m_playbackIndex);
    return device ? device : DeviceAmong(HasSpeakers, 0);
}

int CMixerControl::FindDefaultPlaybackDevice() const
{
    // The platform's key: read, never written (RegReadString writes no defaults there).
    CString playback;
    if (!RegReadString(HKEY_CURRENT_USER, L"Software\\Microsoft\\Multimedia\\Sound Mapper", L"Playback",
                       playback, L"-"))
        return 0;
    for (int i = 0, position = 0; i < m_devices.count; ++i) {
        const Device& device = m_devices.entries[i];
        if (!(device.flags & HasSpeakers)) continue;
        if (device.name[0] && playback.Find(device.name) >= 0) return position;
        ++position;
    }
    return 0;
}

BOOL CMixerControl::CollectSpeakerSources()
{
    MIXERCAPSW caps = {};
    const Device* device = PlaybackDevice();
    if (!device || Api().getDevCaps(device->mixerId, &caps, sizeof caps) != MMSYSERR_NOERROR) return FALSE;
    for (DWORD d = 0; d < caps.cDestinations; ++d) {
        MIXERLINEW destination;
        if (!GetDestination(m_playbackMixer, d, destination) || !IsDestinationNamed(destination, L"Speakers"))
            continue;
        for (DWORD s = 0; s < destination.cConnections && m_speakerSources.count < TableSize; ++s) {
            MIXERLINEW line;
            if (!GetSource(m_playbackMixer, d, s, line) || line.cControls < 1) continue;
            SpeakerSource& entry = m_speakerSources.entries[m_speakerSources.count++];
            CopyName(entry.typeName, ComponentTypeName(line.dwComponentType));
            CopyName(entry.lineName, line.szName);
            entry.componentType = line.dwComponentType;
            entry.savedMute = 0;
            MIXERCONTROLW mute;
            LONG value = 0;
            if (FindControl(m_playbackMixer, line.dwLineID, MIXERCONTROL_CONTROLTYPE_MUTE, mute) &&
                ReadControl(m_playbackMixer, mute, 0, value))
                entry.savedMute = value;
        }
    }
    return m_speakerSources.count > 0;
}

void CMixerControl::CollectRecordSources(UINT mixerId)
{
    MIXERCAPSW caps = {};
    HMIXER mixer = nullptr;
    if (Api().getDevCaps(mixerId, &caps, sizeof caps) != MMSYSERR_NOERROR ||
        Api().open(&mixer, mixerId, 0, 0, CALLBACK_WINDOW) != MMSYSERR_NOERROR)
        return;
    for (DWORD d = 0; d < caps.cDestinations; ++d) {
        MIXERLINEW destination;
        if (!GetDestination(mixer, d, destination) || !IsDestinationNamed(destination, L"Wave Input")) continue;
        for (DWORD s = 0; s < destination.cConnections && m_recordSources.count < TableSize; ++s) {
            MIXERLINEW line;
            if (!GetSource(mixer, d, s, line) || line.cControls < 1) continue;
            bool feedsSpeakers = false;
            for (int i = 0; i < m_speakerSources.count && !feedsSpeakers; ++i)
                feedsSpeakers = !wcscmp(m_speakerSources.entries[i].lineName, line.szName);
            if (!feedsSpeakers) continue;
            RecordSource& entry = m_recordSources.entries[m_recordSources.count++];
            entry.mixerId = mixerId;
            CopyName(entry.typeName, ComponentTypeName(line.dwComponentType));
            CopyName(entry.lineName, line.szName);
        }
    }
    Api().close(mixer);
}

BOOL CMixerControl::Open()
{
    Close();
    if (!BuildDeviceTable()) {
        Close();
        return FALSE;
    }
    m_playbackIndex = FindDefaultPlaybackDevice();
    const Device* playback = PlaybackDevice();
    if (!playback || Api().open(&m_playbackMixer, playback->mixerId, 0, 0, CALLBACK_WINDOW) != MMSYSERR_NOERROR) {
        m_playbackMixer = nullptr;
        Close();
        return FALSE;
    }
    m_playbackFlags = playback->flags;
    if (!CollectSpeakerSources()) {
        Close();
        return FALSE;
    }
    if (m_playbackFlags & HasWaveInput) {
        if (const Device* record = DeviceAmong(HasWaveInput, m_playbackIndex))
            CollectRecordSources(record->mixerId);
    } else {
        for (int i = 0; i < m_devices.count; ++i)
            if (m_devices.entries[i].flags & HasWaveInput) CollectRecordSources(m_devices.entries[i].mixerId);
    }
    if (!m_recordSources.count) {
        Close();
        return FALSE;
    }
    return TRUE;
}

void CMixerControl::Close()
{
    if (m_playbackMixer) Api().close(m_playbackMixer);
    m_playbackMixer = nullptr;
    m_playbackIndex = 0;
    m_playbackFlags = 0;
    ZeroMemory(&m_speakerSources, sizeof m_speakerSources);
    ZeroMemory(&m_recordSources, sizeof m_recordSources);
    ZeroMemory(&m_devices, sizeof m_devices);
}

BOOL CMixerControl::SetSpeakerMute(BOOL mute)
{
    if (!m_playbackMixer) return FALSE;
    MIXERLINEW line = {};
    line.cbStruct = sizeof line;
    line.dwComponentType = (m_playbackFlags & UsbDevice) ? MIXERLINE_COMPONENTTYPE_DST_WAVEIN
                                                          : MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    MIXERCONTROLW control;
    return Api().getLineInfo(Obj(m_playbackMixer), &line, OnHandle | MIXER_GETLINEINFOF_COMPONENTTYPE) ==
               MMSYSERR_NOERROR &&
           FindControl(m_playbackMixer, line.dwLineID, MIXERCONTROL_CONTROLTYPE_MUTE, control) &&
           WriteControl(m_playbackMixer, control, 0, mute ? 1 : 0);
}

// A USB device's volume is its first destination's; otherwise the speakers'.
BOOL CMixerControl::FindSpeakerOutputLine(MIXERLINEW& line, bool& destinationZero)
{
    destinationZero = (m_playbackFlags & UsbDevice) != 0;
    if (!m_playbackMixer) return FALSE;
    if (destinationZero) return GetDestination(m_playbackMixer, 0, line);
    ZeroMemory(&line, sizeof line);
    line.cbStruct = sizeof line;
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    return Api().getLineInfo(Obj(m_playbackMixer), &line, OnHandle | MIXER_GETLINEINFOF_COMPONENTTYPE) ==
           MMSYSERR_NOERROR;
}

BOOL CMixerControl::GetSpeakerVolume(int* minimum, int* maximum, int* value)
{
    MIXERLINEW line;
    MIXERCONTROLW control;
    bool destinationZero = false;
    LONG current = 0;
    if (!FindSpeakerOutputLine(line, destinationZero) ||
        !FindControl(m_playbackMixer, line.dwLineID, MIXERCONTROL_CONTROLTYPE_VOLUME, control) ||
        !ReadControl(m_playbackMixer, control, destinationZero ? 0 : control.cMultipleItems, current))
        return FALSE;
    if (minimum) *minimum = (int)control.Bounds.dwMinimum;
    if (maximum) *maximum = (int)control.Bounds.dwMaximum;
    if (value) *value = (int)current;
    return TRUE;
}

BOOL CMixerControl::SetSpeakerVolume(int value)
{
    MIXERLINEW line;
    MIXERCONTROLW control;
    bool destinationZero = false;
    if (!FindSpeakerOutputLine(line, destinationZero) ||
        !FindControl(m_playbackMixer, line.dwLineID, MIXERCONTROL_CONTROLTYPE_VOLUME, control))
        return FALSE;
    LONGLONG v = value;
    if (v < (LONGLONG)control.Bounds.dwMinimum) v = control.Bounds.dwMinimum;
    if (v > (LONGLONG)control.Bounds.dwMaximum) v = control.Bounds.dwMaximum;
    return WriteControl(m_playbackMixer, control, destinationZero ? 0 : control.cMultipleItems, (LONG)v);
}

BOOL CMixerControl::SetSourceLineMute(const wchar_t* lineName, int mute)
{
    MIXERCAPSW caps = {};
    const Device* device = PlaybackDevice();
    if (!m_playbackMixer || !lineName || !device ||
        Api().getDevCaps(device->mixerId, &caps, sizeof caps) != MMSYSERR_NOERROR)
        return FALSE;
    for (DWORD d = 0; d < caps.cDestinations; ++d) {
        MIXERLINEW destination;
        if (!GetDestination(m_playbackMixer, d, destination) || !IsDestinationNamed(destination, L"Speakers"))
            continue;
        for (DWORD s = 0; s < destination.cConnections; ++s) {
            MIXERLINEW line;
            if (!GetSource(m_playbackMixer, d, s, line) || wcscmp(line.szName, lineName)) continue;
            MIXERCONTROLW control;
            return FindControl(m_playbackMixer, line.dwLineID, MIXERCONTROL_CONTROLTYPE_MUTE, control) &&
                   WriteControl(m_playbackMixer, control, 0, mute);
        }
    }
    return FALSE;
}
