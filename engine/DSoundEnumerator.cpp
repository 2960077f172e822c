#include "DSoundEnumerator.h"
#include <mmsystem.h>
#include <dsound.h>
#include <dshow.h>
#include "ComPtr.h"
#include "DeviceCategoryWalk.h"

// DirectSound's private property set. Its interface lists Get before Set, unlike
// the IKsPropertySet of the DirectShow headers, so it is declared here.
const GUID CLSID_DirectSoundPrivateSet =
    {0x11ab3ec0, 0x25ec, 0x11d1, {0xa4, 0xd8, 0x00, 0xc0, 0x4f, 0xc2, 0x8a, 0xca}};
const GUID PROPSET_DirectSoundDevice =
    {0x84624f82, 0x25ec, 0x11d1, {0xa4, 0xd8, 0x00, 0xc0, 0x4f, 0xc2, 0x8a, 0xca}};
const GUID IID_DSoundPrivatePropertySet =
    {0x31efac30, 0x515c, 0x11d0, {0xa9, 0xaa, 0x00, 0xaa, 0x00, 0x61, 0xbe, 0x93}};
const ULONG PROPERTY_DescriptionW = 6;

// Declared outside the anonymous namespace on purpose: an interface with internal
// linkage lets GCC assume no implementation exists and turn calls into traps.
struct IDSoundPrivatePropertySet : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Get(REFGUID set, ULONG id, void* instance, ULONG instanceLength,
                                          void* data, ULONG dataLength, ULONG* returned) = 0;
    virtual HRESULT STDMETHODCALLTYPE Set(REFGUID set, ULONG id, void* instance, ULONG instanceLength,
                                          void* data, ULONG dataLength) = 0;
    virtual HRESULT STDMETHODCALLTYPE QuerySupport(REFGUID set, ULONG id, ULONG* support) = 0;
};

namespace {

// The description record; the strings it points to follow it in the buffer on
// Windows, and live in DirectSound's own memory on Wine.
struct DeviceDescriptionRecord {
    ULONG type;
    ULONG dataFlow;
    GUID deviceId;
    const wchar_t* description;
    const wchar_t* module;
    const wchar_t* interfacePath;
    ULONG waveDeviceId;
};

CComPtr<IDSoundPrivatePropertySet> OpenPrivatePropertySet()
{
    CComPtr<IDSoundPrivatePropertySet> set;
    HMODULE dsound = LoadLibraryW(L"dsound.dll");
    if (!dsound) return set;
    typedef HRESULT(WINAPI * GetClassObjectFn)(REFCLSID, REFIID, void**);
    auto getClassObject = (GetClassObjectFn)(void*)GetProcAddress(dsound, "DllGetClassObject");
    if (getClassObject) {
        CComPtr<IClassFactory> factory;
        if (SUCCEEDED(getClassObject(CLSID_DirectSoundPrivateSet, IID_IClassFactory, (void**)&factory)) && factory)
            factory->CreateInstance(nullptr, IID_DSoundPrivatePropertySet, (void**)&set);
    }
    // The program links DirectSound itself, so the module stays loaded.
    FreeLibrary(dsound);
    return set;
}

// A string of the record, only when it points into memory we may read.
CString SafeString(const wchar_t* text, const BYTE* buffer, ULONG size)
{
    if (!text) return CString();
    const BYTE* p = (const BYTE*)text;
    if (p >= buffer && p < buffer + size) {
        // Inside the returned buffer: stop at its end even without a terminator.
        size_t maxChars = (size_t)(buffer + size - p) / sizeof(wchar_t);
        size_t n = 0;
        while (n < maxChars && text[n]) ++n;
        return CString(text, (int)n);
    }
    return CString(text);
}

// Wine's description leaves the wave id alone: take the wave device whose name
// (cut to the 31 characters of the wave caps) starts the description.
int WaveIdByDescription(const CString& description, bool capture)
{
    if (description.IsEmpty()) return -1;
    UINT count = capture ? waveInGetNumDevs() : waveOutGetNumDevs();
    for (UINT i = 0; i < count; ++i) {
        wchar_t name[MAXPNAMELEN] = {};
        if (capture) {
            WAVEINCAPSW caps = {};
            if (waveInGetDevCapsW(i, &caps, sizeof(caps)) != MMSYSERR_NOERROR) continue;
            wcscpy(name, caps.szPname);
        } else {
            WAVEOUTCAPSW caps = {};
            if (waveOutGetDevCapsW(i, &caps, sizeof(caps)) != MMSYSERR_NOERROR) continue;
            wcscpy(name, caps.szPname);
        }
        if (name[0] && description.Left((int)wcslen(name)) == name) return (int)i;
    }
    return -1;
}

// Reads wave id and interface path of one device; leaves them unset on any failure.
void ReadDescription(IDSoundPrivatePropertySet* set, DSoundDevice& device, bool capture)
{
    if (!set) return;
    DeviceDescriptionRecord record = {};
    record.deviceId = device.guid;
    record.waveDeviceId = (ULONG)-1;
    ULONG size = 0;
    HRESULT hr = set->Get(PROPSET_DirectSoundDevice, PROPERTY_DescriptionW, nullptr, 0,
                          &record, sizeof(record), &size);
    if (FAILED(hr) || size < sizeof(record)) return;
    std::vector<BYTE> buffer(size);
    memcpy(buffer.data(), &record, sizeof(record));
    ULONG returned = 0;
    hr = set->Get(PROPSET_DirectSoundDevice, PROPERTY_DescriptionW, nullptr, 0,
                  buffer.data(), size, &returned);
    if (FAILED(hr) || returned < sizeof(record) || returned > size) return;
    DeviceDescriptionRecord filled;
    memcpy(&filled, buffer.data(), sizeof(filled));
    device.waveDeviceId = (int)filled.waveDeviceId;
    device.interfacePath = SafeString(filled.interfacePath, buffer.data(), returned);
    if (device.waveDeviceId < 0)
        device.waveDeviceId = WaveIdByDescription(SafeString(filled.description, buffer.data(), returned), capture);
}

struct EnumContext {
    IDSoundPrivatePropertySet* set;
    std::vector<DSoundDevice*>* list;
    bool capture;
};

} // namespace

const wchar_t* const CDSoundEnumerator::KnownUsbVidPid[KnownUsbDeviceCount] = {
    L"VID_0C76&PID_1606", L"VID_0C76&PID_1600", L"VID_0D8C&PID_0121"};
const wchar_t* const CDSoundEnumerator::KnownUsbName[KnownUsbDeviceCount] = {
    L"USB Audio Device", L"USB PnP Audio Device", L"USB RIFBOX"};

CDSoundEnumerator::~CDSoundEnumerator()
{
    DeleteAll();
}

void CDSoundEnumerator::DeleteAll()
{
    for (DSoundDevice* d : m_captureDevices) delete d;
    for (DSoundDevice* d : m_renderDevices) delete d;
    m_captureDevices.clear();
    m_renderDevices.clear();
}

BOOL CALLBACK CDSoundEnumerator::EnumCallback(LPGUID guid, LPCWSTR, LPCWSTR, LPVOID context)
{
    // The entry without a GUID is the primary device, listed again under its own GUID.
    if (!guid) return TRUE;
    EnumContext* ctx = (EnumContext*)context;
    DSoundDevice* device = new DSoundDevice;
    device->guid = *guid;
    ReadDescription(ctx->set, *device, ctx->capture);
    device->vidPid = VidPidFromInterfacePath(device->interfacePath);
    ctx->list->push_back(device);
    return TRUE;
}

CDSoundEnumerator::DeviceSource CDSoundEnumerator::s_deviceSource = nullptr;

void CDSoundEnumerator::SetDeviceSource(DeviceSource source)
{
    s_deviceSource = source;
}

void CDSoundEnumerator::Enumerate()
{
    DeleteAll();
    if (s_deviceSource) {
        s_deviceSource(*this);
        return;
    }
    CComPtr<IDSoundPrivatePropertySet> set = OpenPrivatePropertySet();
    EnumContext capture = {set, &m_captureDevices, true};
    DirectSoundCaptureEnumerateW(EnumCallback, &capture);
    EnumContext render = {set, &m_renderDevices, false};
    DirectSoundEnumerateW(EnumCallback, &render);
}

CString CDSoundEnumerator::VidPidFromInterfacePath(const wchar_t* path)
{
    CString text(path);
    int classStart = text.Find(L"#{");
    if (classStart < 0) return L"NULL";
    CString head = text.Left(classStart);
    head.MakeUpper();
    int vid = head.Find(L"VID_");
    if (vid < 0) return L"NULL";
    int pid = head.Find(L"PID_", vid);
    // "PID_" and its four digits must be there in full.
    if (pid < 0 || pid + 8 > head.GetLength()) return L"NULL";
    return head.Mid(vid, pid + 8 - vid);
}

int CDSoundEnumerator::GetWaveInIdByVidPid(const wchar_t* vidPid) const
{
    CString wanted(vidPid);
    // "NULL" marks a device without VID/PID; it names no device.
    if (wanted.IsEmpty() || wanted.CompareNoCase(L"NULL") == 0) return -1;
    wanted.MakeUpper();
    for (const DSoundDevice* d : m_captureDevices) {
        CString path = d->interfacePath;
        path.MakeUpper();
        if (path.Find(wanted) > 0) return d->waveDeviceId;
    }
    return -1;
}

CString CDSoundEnumerator::GetFriendlyNameByVidPid(const wchar_t* vidPid) const
{
    int waveId = GetWaveInIdByVidPid(vidPid);
    CString name;
    if (waveId < 0) return name;
    WalkDeviceCategory(CLSID_AudioInputDeviceCategory, [&](IMoniker*, IPropertyBag* bag) {
        int id = -1;
        if (!ReadBagInt(bag, L"WaveInId", id) || id != waveId) return true;
        ReadBagString(bag, L"FriendlyName", name);
        return false;
    });
    return name;
}

CString CDSoundEnumerator::GetVidPidByFriendlyName(const wchar_t* friendlyName) const
{
    CString wanted(friendlyName);
    int waveId = -1;
    if (!wanted.IsEmpty()) {
        WalkDeviceCategory(CLSID_AudioInputDeviceCategory, [&](IMoniker*, IPropertyBag* bag) {
            CString name;
            if (!ReadBagString(bag, L"FriendlyName", name) || name.CompareNoCase(wanted) != 0) return true;
            ReadBagInt(bag, L"WaveInId", waveId);
            return false;
        });
    }
    if (waveId < 0) return L"NULL";
    for (const DSoundDevice* d : m_captureDevices)
        if (d->waveDeviceId == waveId) return d->vidPid;
    return L"NULL";
}

CString CDSoundEnumerator::FindKnownUsbDevice() const
{
    for (int row = 0; row < KnownUsbDeviceCount; ++row) {
        CString name = GetFriendlyNameByVidPid(KnownUsbVidPid[row]);
        if (!name.IsEmpty()) return name;
    }
    return CString();
}
