#include "NVCoreAudio.h"
#include <cmath>
#include <mmdeviceapi.h>
#include <endpointvolume.h>
#include <audiopolicy.h>
#include <devicetopology.h>
#include <propsys.h>
#include "AnsiName.h"
#include "ComPtr.h"
#include "TopologyWalk.h"

namespace {

const PROPERTYKEY FriendlyNameKey = {
    {0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}}, 14};

bool CreateEnumerator(IMMDeviceEnumerator** enumerator)
{
    return SUCCEEDED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                      __uuidof(IMMDeviceEnumerator), (void**)enumerator)) &&
           *enumerator;
}

bool ReadFriendlyName(IMMDevice* device, char* row)
{
    CComPtr<IPropertyStore> store;
    PROPVARIANT value;
    PropVariantInit(&value);
    bool ok = SUCCEEDED(device->OpenPropertyStore(STGM_READ, &store)) && store &&
              SUCCEEDED(store->GetValue(FriendlyNameKey, &value)) && value.vt == VT_LPWSTR && value.pwszVal;
    if (ok) ToAnsiName(value.pwszVal, row, CNVCoreAudio::NameBytes);
    PropVariantClear(&value);
    return ok;
}

IMMDevice* DefaultEndpoint(DWORD flow)
{
    CComPtr<IMMDeviceEnumerator> enumerator;
    IMMDevice* device = nullptr;
    if (flow > 1 || !CreateEnumerator(&enumerator) ||
        FAILED(enumerator->GetDefaultAudioEndpoint(flow == 0 ? eRender : eCapture, eConsole, &device)))
        return nullptr;
    return device;
}

template <class I> bool ActivateOn(IMMDevice* device, I** out)
{
    return device && SUCCEEDED(device->Activate(__uuidof(I), CLSCTX_ALL, nullptr, (void**)out)) && *out;
}

// Volumes in percent to the platform's scalar, kept within 0..1, and back. The way
// back rounds: truncating 0.4f x 100 would read a volume of 40 back as 39.
float PercentToScalar(DWORD percent) { return percent > 100 ? 1.0f : percent / 100.0f; }
DWORD ScalarToPercent(float scalar) { return scalar <= 0 ? 0 : (DWORD)(scalar * 100.0f + 0.5f); }

bool EndpointMute(IMMDevice* device, int bSet, int* mute)
{
    CComPtr<IAudioEndpointVolume> volume;
    if (!mute || !ActivateOn(device, &volume)) return false;
    if (bSet) return volume->SetMute(*mute ? TRUE : FALSE, nullptr) == S_OK;
    BOOL value = FALSE;
    if (volume->GetMute(&value) != S_OK) return false;
    *mute = value;
    return true;
}

bool EndpointVolume(IMMDevice* device, int bSet, DWORD* percent)
{
    CComPtr<IAudioEndpointVolume> volume;
    if (!percent || !ActivateOn(device, &volume)) return false;
    if (bSet) return volume->SetMasterVolumeLevelScalar(PercentToScalar(*percent), nullptr) == S_OK;
    float scalar = 0;
    if (volume->GetMasterVolumeLevelScalar(&scalar) != S_OK) return false;
    *percent = ScalarToPercent(scalar);
    return true;
}

bool SessionVolume(ISimpleAudioVolume** out)
{
    CComPtr<IMMDevice> device;
    device.Attach(DefaultEndpoint(0));
    CComPtr<IAudioSessionManager> sessions;
    return ActivateOn(device.p, &sessions) && SUCCEEDED(sessions->GetSimpleAudioVolume(nullptr, FALSE, out)) && *out;
}

// The reading of an item volume: 0 at the control's minimum, 316 at its maximum.
DWORD LevelToValue(float level, float minimum, float range)
{
    return (DWORD)(std::pow(10.0f, (level - minimum) * 4.5f / range) / 100.0f);
}

// The step count (0..100 of the range) for a value to set; values above 100 give 100.
int ValueToSteps(DWORD value)
{
    float t = value / 100.0f;
    float u = 1e-10f + (1.0f - 1e-10f) * t;
    float l = std::log10(u);
    float w = 10.0f * l > -10.0f ? 100.0f * l + 100.0f : 10.0f * l + 100.0f;
    int n = (int)w;
    return n < 0 ? 0 : n > 100 ? 100 : n;
}

} // namespace

CNVCoreAudio::CNVCoreAudio()
{
    Clear();
    m_comInitialized = SUCCEEDED(CoInitialize(nullptr));
}

CNVCoreAudio::CNVCoreAudio(NoCom)
{
    Clear();
    m_comInitialized = false;
}

CNVCoreAudio::CNVCoreAudio(const CNVCoreAudio& other)
{
    CopyLists(other);
    m_comInitialized = SUCCEEDED(CoInitialize(nullptr));
}

CNVCoreAudio& CNVCoreAudio::operator=(const CNVCoreAudio& other)
{
    if (this != &other) CopyLists(other);
    return *this;
}

CNVCoreAudio::~CNVCoreAudio()
{
    if (m_comInitialized) CoUninitialize();
}

void CNVCoreAudio::Clear()
{
    m_playbackCount = 0;
    m_recordingCount = 0;
    ZeroMemory(m_playbackNames, sizeof m_playbackNames);
    ZeroMemory(m_recordingNames, sizeof m_recordingNames);
    ZeroMemory(&m_renderVolumeItems, sizeof m_renderVolumeItems);
    ZeroMemory(&m_renderMuteItems, sizeof m_renderMuteItems);
    ZeroMemory(&m_captureVolumeItems, sizeof m_captureVolumeItems);
    ZeroMemory(&m_captureMuteItems, sizeof m_captureMuteItems);
}

void CNVCoreAudio::CopyLists(const CNVCoreAudio& o)
{
    m_playbackCount = o.m_playbackCount;
    m_recordingCount = o.m_recordingCount;
    CopyMemory(m_playbackNames, o.m_playbackNames, sizeof m_playbackNames);
    CopyMemory(m_recordingNames, o.m_recordingNames, sizeof m_recordingNames);
    m_renderVolumeItems = o.m_renderVolumeItems;
    m_renderMuteItems = o.m_renderMuteItems;
    m_captureVolumeItems = o.m_captureVolumeItems;
    m_captureMuteItems = o.m_captureMuteItems;
}

CNVCoreAudio::ItemList* CNVCoreAudio::VolumeItems(DWORD flow)
{
    return flow == 0 ? &m_renderVolumeItems : flow == 1 ? &m_captureVolumeItems : nullptr;
}

CNVCoreAudio::ItemList* CNVCoreAudio::MuteItems(DWORD flow)
{
    return flow == 0 ? &m_renderMuteItems : flow == 1 ? &m_captureMuteItems : nullptr;
}

bool CNVCoreAudio::Initialize()
{
    if (!MakeCaptureDeviceLists()) return false;
    MakeChannelList(0, 0);
    MakeChannelList(1, 0);
    return true;
}

bool CNVCoreAudio::ReInitialize()
{
    Clear();
    return Initialize();
}

bool CNVCoreAudio::MakeCaptureDeviceLists()
{
    CComPtr<IMMDeviceEnumerator> enumerator;
    if (!CreateEnumerator(&enumerator)) return false;
    for (DWORD flow = 0; flow <= 1; ++flow) {
        int& count = flow == 0 ? m_playbackCount : m_recordingCount;
        Name* names = flow == 0 ? m_playbackNames : m_recordingNames;
        CComPtr<IMMDeviceCollection> endpoints;
        UINT n = 0;
        if (FAILED(enumerator->EnumAudioEndpoints(flow == 0 ? eRender : eCapture, DEVICE_STATE_ACTIVE, &endpoints)) ||
            !endpoints || FAILED(endpoints->GetCount(&n)) || !n)
            return false;
        for (UINT i = 0; i < n && count < EndpointRows - 1; ++i) {
            CComPtr<IMMDevice> device;
            if (SUCCEEDED(endpoints->Item(i, &device)) && device && ReadFriendlyName(device, names[count])) ++count;
        }
    }
    return true;
}

bool CNVCoreAudio::MakeChannelList(DWORD flow, int deviceIndex)
{
    ItemList* volumes = VolumeItems(flow);
    ItemList* mutes = MuteItems(flow);
    if (!volumes) return false;
    ZeroMemory(volumes, sizeof *volumes);
    ZeroMemory(mutes, sizeof *mutes);
    return WalkTopology(flow, deviceIndex, false, [&](IPart* part, const GUID& subType, UINT position) {
        ItemList* list = subType == NodeTypeVolume ? volumes : mutes;
        if (list->count >= ItemRows - 1) return false;
        char* row = list->names[list->count];
        LPWSTR name = nullptr;
        if (SUCCEEDED(part->GetName(&name)) && name && *name) {
            ToAnsiName(name, row, NameBytes);
        } else {
            wsprintfA(row, "Unknown name %d", (int)position);
        }
        CoTaskMemFree(name);
        UINT id = 0;
        part->GetLocalId(&id);
        list->localIds[list->count++] = id;
        return false;
    });
}

bool CNVCoreAudio::AdjustChannelitemMute(DWORD flow, int deviceIndex, int item, int bSet, int* mute)
{
    if (flow != 0 || !mute || item < 0 || item >= m_renderMuteItems.count || !m_renderMuteItems.localIds[item])
        return false;
    const UINT wanted = m_renderMuteItems.localIds[item];
    bool reached = false;
    bool started = WalkTopology(flow, deviceIndex, true, [&](IPart* part, const GUID& subType, UINT) {
        UINT id = 0;
        CComPtr<IAudioMute> control;
        if (subType != NodeTypeMute || FAILED(part->GetLocalId(&id)) || id != wanted ||
            FAILED(part->Activate(CLSCTX_ALL, __uuidof(IAudioMute), (void**)&control)) || !control)
            return false;
        if (bSet) {
            reached = control->SetMute(*mute ? TRUE : FALSE, nullptr) == S_OK;
        } else {
            BOOL value = FALSE;
            reached = control->GetMute(&value) == S_OK;
            if (reached) *mute = value;
        }
        return reached;
    });
    return started && reached;
}

bool CNVCoreAudio::AdjustChannelitemVolume(DWORD flow, int deviceIndex, int item, int bSet, DWORD* value)
{
    if (flow != 0 || !value || item < 0 || item >= m_renderVolumeItems.count ||
        !m_renderVolumeItems.localIds[item])
        return false;
    const UINT wanted = m_renderVolumeItems.localIds[item];
    bool reached = false;
    bool started = WalkTopology(flow, deviceIndex, true, [&](IPart* part, const GUID& subType, UINT) {
        UINT id = 0, channels = 0;
        CComPtr<IAudioVolumeLevel> control;
        if (subType != NodeTypeVolume || FAILED(part->GetLocalId(&id)) || id != wanted ||
            FAILED(part->Activate(CLSCTX_ALL, __uuidof(IAudioVolumeLevel), (void**)&control)) || !control ||
            FAILED(control->GetChannelCount(&channels)))
            return false;
        bool ok = false;
        DWORD result = 0;
        for (UINT ch = 0; ch < channels; ++ch) {
            float minimum = 0, maximum = 0, step = 0, level = 0;
            if (FAILED(control->GetLevelRange(ch, &minimum, &maximum, &step))) return false;
            float range = maximum - minimum;
            if (!(range > 0)) return false;     // no range to place a level in
            if (bSet) {
                int n = ValueToSteps(*value);
                float newLevel = step > 0 ? minimum + n * 0.01f * (range / step) * step : minimum + n * 0.01f * range;
                if (newLevel > maximum) newLevel = maximum;
                if (newLevel < minimum) newLevel = minimum;
                ok = control->SetLevel(ch, newLevel, nullptr) == S_OK;
            } else {
                ok = control->GetLevel(ch, &level) == S_OK;
                if (ok) {
                    if (level < minimum) level = minimum;
                    if (level > maximum) level = maximum;
                    result = LevelToValue(level, minimum, range);
                }
            }
        }
        if (ok && !bSet) *value = result;
        reached = ok;
        return ok;
    });
    return started && reached;
}

bool CNVCoreAudio::AdjustExclusiveMasterMute(int bSet, int* mute)
{
    CComPtr<IMMDevice> device;
    device.Attach(DefaultEndpoint(0));
    return EndpointMute(device, bSet, mute);
}

bool CNVCoreAudio::AdjustExclusiveMasterVolume(int bSet, DWORD* volume)
{
    CComPtr<IMMDevice> device;
    device.Attach(DefaultEndpoint(0));
    return EndpointVolume(device, bSet, volume);
}

bool CNVCoreAudio::AdjustSharedMasterVolume(int bSet, DWORD* volume)
{
    CComPtr<ISimpleAudioVolume> session;
    if (!volume || !SessionVolume(&session)) return false;
    if (bSet) return session->SetMasterVolume(PercentToScalar(*volume), nullptr) == S_OK;
    float scalar = 0;
    if (session->GetMasterVolume(&scalar) != S_OK) return false;
    *volume = ScalarToPercent(scalar);
    return true;
}

bool CNVCoreAudio::AdjustSharedMasterMute(int bSet, int* mute)
{
    CComPtr<ISimpleAudioVolume> session;
    if (!mute || !SessionVolume(&session)) return false;
    if (bSet) return session->SetMute(*mute ? TRUE : FALSE, nullptr) == S_OK;
    BOOL value = FALSE;
    if (session->GetMute(&value) != S_OK) return false;
    *mute = value;
    return true;
}

bool CNVCoreAudio::AdjustRecordingDeviceMasterVolume(int bSet, int deviceIndex, DWORD* volume)
{
    CComPtr<IMMDevice> device;
    device.Attach(ActiveEndpoint(1, deviceIndex));
    return EndpointVolume(device, bSet, volume);
}

bool CNVCoreAudio::AdjustRecordingDeviceMasterMute(int bSet, int deviceIndex, int* mute)
{
    CComPtr<IMMDevice> device;
    device.Attach(ActiveEndpoint(1, deviceIndex));
    return EndpointMute(device, bSet, mute);
}

void CNVCoreAudio::getPlaybackDeviceLists(int* count, Name** names)
{
    if (count) *count = m_playbackCount;
    if (names) *names = m_playbackNames;
}

void CNVCoreAudio::getRecordingDeviceLists(int* count, Name** names)
{
    if (count) *count = m_recordingCount;
    if (names) *names = m_recordingNames;
}

void CNVCoreAudio::getChannelLists(DWORD kind, int* count, Name** names)
{
    ItemList* list = kind == 1 ? &m_renderVolumeItems : kind == 0 ? &m_renderMuteItems : nullptr;
    if (!list) return;
    if (count) *count = list->count;
    if (names) *names = list->names;
}

bool CNVCoreAudio::getDefaultDeviceName(DWORD flow, Name* name)
{
    CComPtr<IMMDevice> device;
    device.Attach(DefaultEndpoint(flow));
    Name read;
    if (!name || !device || !ReadFriendlyName(device, read)) return false;
    CopyMemory(*name, read, sizeof read);
    return true;
}
