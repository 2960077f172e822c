#include "TopologyDouble.h"
#include <endpointvolume.h>
#include <propsys.h>
#include <atomic>
#include <mmsystem.h>

const GUID TopologyNodeVolume = {0x3a5acc00, 0xc557, 0x11d0, {0x8a, 0x2b, 0x00, 0xa0, 0xc9, 0x25, 0x5a, 0xc1}};
const GUID TopologyNodeMute = {0x02b223c0, 0xc557, 0x11d0, {0x8a, 0x2b, 0x00, 0xa0, 0xc9, 0x25, 0x5a, 0xc1}};
const GUID TopologyNodeSum = {0xda441a60, 0xc556, 0x11d0, {0x8a, 0x2b, 0x00, 0xa0, 0xc9, 0x25, 0x5a, 0xc1}};

namespace {

CTopologyDouble* g_current = nullptr;

const PROPERTYKEY FriendlyNameKey = {
    {0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}}, 14};
const HRESULT NotFound = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);

LPWSTR TaskString(const std::wstring& s)
{
    auto* out = (LPWSTR)CoTaskMemAlloc((s.size() + 1) * sizeof(wchar_t));
    if (out) wcscpy(out, s.c_str());
    return out;
}

std::wstring FriendlyName(IMMDevice* device)
{
    std::wstring name;
    IPropertyStore* store = nullptr;
    if (SUCCEEDED(device->OpenPropertyStore(STGM_READ, &store)) && store) {
        PROPVARIANT v;
        PropVariantInit(&v);
        if (SUCCEEDED(store->GetValue(FriendlyNameKey, &v)) && v.vt == VT_LPWSTR && v.pwszVal) name = v.pwszVal;
        PropVariantClear(&v);
        store->Release();
    }
    return name;
}

} // namespace

// Reference counting shared by the objects below.
#define DOUBLE_REFCOUNT                                                              \
    std::atomic<ULONG> m_refs{1};                                                    \
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }                      \
    STDMETHODIMP_(ULONG) Release() override                                          \
    {                                                                                \
        ULONG r = --m_refs;                                                          \
        if (!r) delete this;                                                         \
        return r;                                                                    \
    }

#define DOUBLE_SIMPLE_QI(Interface)                                                  \
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override                     \
    {                                                                                \
        if (!out) return E_POINTER;                                                  \
        if (iid == IID_IUnknown || iid == __uuidof(Interface)) {                     \
            *out = static_cast<Interface*>(this);                                    \
            AddRef();                                                                \
            return S_OK;                                                             \
        }                                                                            \
        *out = nullptr;                                                              \
        return E_NOINTERFACE;                                                        \
    }

using PathRef = std::shared_ptr<CTopologyPath>;

class CDoubleMute : public IAudioMute {
public:
    CDoubleMute(PathRef path, TopologyNode* node) : m_path(std::move(path)), m_node(node) {}
    virtual ~CDoubleMute() = default;
    DOUBLE_REFCOUNT
    DOUBLE_SIMPLE_QI(IAudioMute)
    STDMETHODIMP SetMute(BOOL mute, LPCGUID) override
    {
        m_node->mute = mute;
        ++m_node->muteSets;
        return S_OK;
    }
    STDMETHODIMP GetMute(BOOL* mute) override
    {
        if (!mute) return E_POINTER;
        if (m_node->muteReadFails) return E_FAIL;
        *mute = m_node->mute;
        return S_OK;
    }

private:
    PathRef m_path;
    TopologyNode* m_node;
};

class CDoubleLevel : public IAudioVolumeLevel {
public:
    CDoubleLevel(PathRef path, TopologyNode* node) : m_path(std::move(path)), m_node(node) {}
    virtual ~CDoubleLevel() = default;
    DOUBLE_REFCOUNT
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == __uuidof(IAudioVolumeLevel) || iid == __uuidof(IPerChannelDbLevel)) {
            *out = static_cast<IAudioVolumeLevel*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP GetChannelCount(UINT* count) override
    {
        *count = (UINT)m_node->levels.size();
        return S_OK;
    }
    STDMETHODIMP GetLevelRange(UINT ch, float* lo, float* hi, float* step) override
    {
        if (ch >= m_node->levels.size()) return E_INVALIDARG;
        *lo = m_node->minimumDb;
        *hi = m_node->maximumDb;
        *step = m_node->stepDb;
        return S_OK;
    }
    STDMETHODIMP GetLevel(UINT ch, float* level) override
    {
        if (ch >= m_node->levels.size()) return E_INVALIDARG;
        *level = m_node->levels[ch];
        return S_OK;
    }
    STDMETHODIMP SetLevel(UINT ch, float level, LPCGUID) override
    {
        if (ch >= m_node->levels.size()) return E_INVALIDARG;
        m_node->levels[ch] = level;
        ++m_node->levelSets;
        return S_OK;
    }
    STDMETHODIMP SetLevelUniform(float level, LPCGUID) override
    {
        for (float& l : m_node->levels) l = level;
        ++m_node->levelSets;
        return S_OK;
    }
    STDMETHODIMP SetLevelAllChannels(float* levels, ULONG count, LPCGUID) override
    {
        for (ULONG i = 0; i < count && i < m_node->levels.size(); ++i) m_node->levels[i] = levels[i];
        ++m_node->levelSets;
        return S_OK;
    }

private:
    PathRef m_path;
    TopologyNode* m_node;
};

class CDoublePartsList;

class CDoublePart : public IPart, public IConnector {
public:
    CDoublePart(PathRef path, TopologyNode* node) : m_path(std::move(path)), m_node(node) {}
    virtual ~CDoublePart() = default;
    DOUBLE_REFCOUNT
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == __uuidof(IPart)) *out = static_cast<IPart*>(this);
        else if (iid == __uuidof(IConnector) && m_node->type == Connector && m_node->answersConnector)
            *out = static_cast<IConnector*>(this);
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    // IPart
    STDMETHODIMP GetName(LPWSTR* name) override
    {
        *name = TaskString(m_node->name);
        return S_OK;
    }
    STDMETHODIMP GetLocalId(UINT* id) override
    {
        *id = m_node->localId;
        return S_OK;
    }
    STDMETHODIMP GetGlobalId(LPWSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP GetPartType(PartType* type) override
    {
        *type = m_node->type;
        return S_OK;
    }
    STDMETHODIMP GetSubType(GUID* subType) override
    {
        *subType = m_node->subType;
        return S_OK;
    }
    STDMETHODIMP GetControlInterfaceCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetControlInterface(UINT, IControlInterface**) override { return E_NOTIMPL; }
    STDMETHODIMP EnumPartsIncoming(IPartsList** parts) override;
    STDMETHODIMP EnumPartsOutgoing(IPartsList** parts) override;
    STDMETHODIMP GetTopologyObjects(IDeviceTopology**) override { return E_NOTIMPL; }
    STDMETHODIMP Activate(DWORD, REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == __uuidof(IAudioMute) && m_node->subType == TopologyNodeMute)
            *out = static_cast<IAudioMute*>(new CDoubleMute(m_path, m_node));
        else if (iid == __uuidof(IAudioVolumeLevel) && m_node->subType == TopologyNodeVolume)
            *out = static_cast<IAudioVolumeLevel*>(new CDoubleLevel(m_path, m_node));
        return *out ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP RegisterControlChangeCallback(REFGUID, IControlChangeNotify*) override { return E_NOTIMPL; }
    STDMETHODIMP UnregisterControlChangeCallback(IControlChangeNotify*) override { return E_NOTIMPL; }
    // IConnector
    STDMETHODIMP GetType(ConnectorType* type) override
    {
        *type = m_node->connectorType;
        return S_OK;
    }
    STDMETHODIMP GetDataFlow(DataFlow* flow) override
    {
        *flow = m_node->flow;
        return S_OK;
    }
    STDMETHODIMP ConnectTo(IConnector*) override { return E_NOTIMPL; }
    STDMETHODIMP Disconnect() override { return E_NOTIMPL; }
    STDMETHODIMP IsConnected(BOOL* connected) override
    {
        *connected = m_node->connectedTo != nullptr;
        return S_OK;
    }
    STDMETHODIMP GetConnectedTo(IConnector** other) override
    {
        if (!m_node->connectedTo) return E_NOTFOUND;
        *other = static_cast<IConnector*>(new CDoublePart(m_path, m_node->connectedTo));
        return S_OK;
    }
    STDMETHODIMP GetConnectorIdConnectedTo(LPWSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP GetDeviceIdConnectedTo(LPWSTR*) override { return E_NOTIMPL; }

private:
    HRESULT List(const std::vector<TopologyNode*>& parts, IPartsList** out);
    PathRef m_path;
    TopologyNode* m_node;
};

class CDoublePartsList : public IPartsList {
public:
    CDoublePartsList(PathRef path, std::vector<TopologyNode*> parts) : m_path(std::move(path)), m_parts(std::move(parts)) {}
    virtual ~CDoublePartsList() = default;
    DOUBLE_REFCOUNT
    DOUBLE_SIMPLE_QI(IPartsList)
    STDMETHODIMP GetCount(UINT* count) override
    {
        *count = (UINT)m_parts.size();
        return S_OK;
    }
    STDMETHODIMP GetPart(UINT index, IPart** part) override
    {
        if (index >= m_parts.size()) return E_INVALIDARG;
        *part = static_cast<IPart*>(new CDoublePart(m_path, m_parts[index]));
        return S_OK;
    }

private:
    PathRef m_path;
    std::vector<TopologyNode*> m_parts;
};

HRESULT CDoublePart::List(const std::vector<TopologyNode*>& parts, IPartsList** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (parts.empty()) return E_NOTFOUND;   // as the platform answers at the end of a path
    *out = new CDoublePartsList(m_path, parts);
    return S_OK;
}
HRESULT CDoublePart::EnumPartsIncoming(IPartsList** parts) { return List(m_node->incoming, parts); }
HRESULT CDoublePart::EnumPartsOutgoing(IPartsList** parts) { return List(m_node->outgoing, parts); }

class CDoubleTopology : public IDeviceTopology {
public:
    explicit CDoubleTopology(PathRef path) : m_path(std::move(path)) {}
    virtual ~CDoubleTopology() = default;
    DOUBLE_REFCOUNT
    DOUBLE_SIMPLE_QI(IDeviceTopology)
    STDMETHODIMP GetConnectorCount(UINT* count) override
    {
        *count = 1;
        return S_OK;
    }
    STDMETHODIMP GetConnector(UINT index, IConnector** connector) override
    {
        if (index) return E_INVALIDARG;
        *connector = static_cast<IConnector*>(new CDoublePart(m_path, m_path->Endpoint()));
        return S_OK;
    }
    STDMETHODIMP GetSubunitCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetSubunit(UINT, ISubUnit**) override { return E_NOTIMPL; }
    STDMETHODIMP GetPartById(UINT, IPart**) override { return E_NOTIMPL; }
    STDMETHODIMP GetDeviceId(LPWSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP GetSignalPath(IPart*, IPart*, BOOL, IPartsList**) override { return E_NOTIMPL; }

private:
    PathRef m_path;
};

class CDoubleEndpointVolume : public IAudioEndpointVolume {
public:
    explicit CDoubleEndpointVolume(std::wstring name) : m_name(std::move(name)) {}
    virtual ~CDoubleEndpointVolume() = default;
    DOUBLE_REFCOUNT
    DOUBLE_SIMPLE_QI(IAudioEndpointVolume)
    STDMETHODIMP RegisterControlChangeNotify(IAudioEndpointVolumeCallback*) override { return S_OK; }
    STDMETHODIMP UnregisterControlChangeNotify(IAudioEndpointVolumeCallback*) override { return S_OK; }
    STDMETHODIMP GetChannelCount(UINT* count) override
    {
        *count = 2;
        return S_OK;
    }
    STDMETHODIMP SetMasterVolumeLevel(float, LPCGUID) override { return E_NOTIMPL; }
    STDMETHODIMP SetMasterVolumeLevelScalar(float level, LPCGUID) override
    {
        if (level < 0 || level > 1) return E_INVALIDARG;
        if (EndpointVolumeState* s = State()) s->scalar = level;
        return State() ? S_OK : E_FAIL;
    }
    STDMETHODIMP GetMasterVolumeLevel(float*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMasterVolumeLevelScalar(float* level) override
    {
        EndpointVolumeState* s = State();
        if (!s) return E_FAIL;
        *level = s->scalar;
        return S_OK;
    }
    STDMETHODIMP SetChannelVolumeLevel(UINT, float, LPCGUID) override { return E_NOTIMPL; }
    STDMETHODIMP SetChannelVolumeLevelScalar(UINT, float, LPCGUID) override { return E_NOTIMPL; }
    STDMETHODIMP GetChannelVolumeLevel(UINT, float*) override { return E_NOTIMPL; }
    STDMETHODIMP GetChannelVolumeLevelScalar(UINT, float*) override { return E_NOTIMPL; }
    STDMETHODIMP SetMute(BOOL mute, LPCGUID) override
    {
        EndpointVolumeState* s = State();
        if (!s) return E_FAIL;
        s->mute = mute;
        return S_OK;
    }
    STDMETHODIMP GetMute(BOOL* mute) override
    {
        EndpointVolumeState* s = State();
        if (!s) return E_FAIL;
        *mute = s->mute;
        return S_OK;
    }
    STDMETHODIMP GetVolumeStepInfo(UINT*, UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP VolumeStepUp(LPCGUID) override { return E_NOTIMPL; }
    STDMETHODIMP VolumeStepDown(LPCGUID) override { return E_NOTIMPL; }
    STDMETHODIMP QueryHardwareSupport(DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP GetVolumeRange(float*, float*, float*) override { return E_NOTIMPL; }

private:
    EndpointVolumeState* State() const
    {
        return g_current ? &g_current->endpointVolumes[m_name] : nullptr;
    }
    std::wstring m_name;
};

// The property store of an added endpoint: its friendly name only.
class CAddedEndpointStore : public IPropertyStore {
public:
    explicit CAddedEndpointStore(std::wstring name) : m_name(std::move(name)) {}
    virtual ~CAddedEndpointStore() = default;
    DOUBLE_REFCOUNT
    DOUBLE_SIMPLE_QI(IPropertyStore)
    STDMETHODIMP GetCount(DWORD* count) override
    {
        *count = 1;
        return S_OK;
    }
    STDMETHODIMP GetAt(DWORD index, PROPERTYKEY* key) override
    {
        if (index) return E_INVALIDARG;
        *key = FriendlyNameKey;
        return S_OK;
    }
    STDMETHODIMP GetValue(REFPROPERTYKEY key, PROPVARIANT* value) override
    {
        PropVariantInit(value);
        if (!IsEqualPropertyKey(key, FriendlyNameKey)) return S_OK;
        value->vt = VT_LPWSTR;
        value->pwszVal = TaskString(m_name);
        return S_OK;
    }
    STDMETHODIMP SetValue(REFPROPERTYKEY, REFPROPVARIANT) override { return STG_E_ACCESSDENIED; }
    STDMETHODIMP Commit() override { return STG_E_ACCESSDENIED; }

private:
    std::wstring m_name;
};

class CDoubleDevice : public IMMDevice {
public:
    CDoubleDevice(IMMDevice* wine, std::wstring name) : m_wine(wine), m_name(std::move(name))
    {
        if (m_wine) m_wine->AddRef();
    }
    virtual ~CDoubleDevice()
    {
        if (m_wine) m_wine->Release();
    }
    DOUBLE_REFCOUNT
    // Other interfaces of Wine's endpoint (IMMEndpoint, which winmm asks for) are
    // Wine's own.
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == __uuidof(IMMDevice)) {
            *out = static_cast<IMMDevice*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return m_wine ? m_wine->QueryInterface(iid, out) : E_NOINTERFACE;
    }
    STDMETHODIMP Activate(REFIID iid, DWORD context, PROPVARIANT* params, void** out) override
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == __uuidof(IDeviceTopology) && g_current) {
            auto found = g_current->paths.find(m_name);
            if (found != g_current->paths.end()) {
                *out = static_cast<IDeviceTopology*>(new CDoubleTopology(found->second));
                return S_OK;
            }
        }
        if (iid == __uuidof(IAudioEndpointVolume)) {
            *out = static_cast<IAudioEndpointVolume*>(new CDoubleEndpointVolume(m_name));
            return S_OK;
        }
        return m_wine ? m_wine->Activate(iid, context, params, out) : E_NOINTERFACE;
    }
    STDMETHODIMP OpenPropertyStore(DWORD access, IPropertyStore** store) override
    {
        if (m_wine) return m_wine->OpenPropertyStore(access, store);
        *store = new CAddedEndpointStore(m_name);
        return S_OK;
    }
    STDMETHODIMP GetId(LPWSTR* id) override
    {
        if (m_wine) return m_wine->GetId(id);
        *id = TaskString(L"{added}." + m_name);
        return S_OK;
    }
    STDMETHODIMP GetState(DWORD* state) override
    {
        *state = DEVICE_STATE_ACTIVE;
        return S_OK;
    }

private:
    IMMDevice* m_wine;
    std::wstring m_name;
};

class CDoubleCollection : public IMMDeviceCollection {
public:
    explicit CDoubleCollection(std::vector<IMMDevice*> devices) : m_devices(std::move(devices)) {}
    virtual ~CDoubleCollection()
    {
        for (IMMDevice* d : m_devices) d->Release();
    }
    DOUBLE_REFCOUNT
    DOUBLE_SIMPLE_QI(IMMDeviceCollection)
    STDMETHODIMP GetCount(UINT* count) override
    {
        *count = (UINT)m_devices.size();
        return S_OK;
    }
    STDMETHODIMP Item(UINT index, IMMDevice** device) override
    {
        if (!device) return E_POINTER;
        *device = nullptr;
        if (index >= m_devices.size()) return E_INVALIDARG;
        *device = m_devices[index];
        (*device)->AddRef();
        return S_OK;
    }

private:
    std::vector<IMMDevice*> m_devices;
};

class CDoubleEnumerator : public IMMDeviceEnumerator {
public:
    CDoubleEnumerator() = default;
    virtual ~CDoubleEnumerator() = default;
    DOUBLE_REFCOUNT
    DOUBLE_SIMPLE_QI(IMMDeviceEnumerator)

    // The endpoints of a flow as the double shows them, each a new wrapper.
    static std::vector<IMMDevice*> Endpoints(EDataFlow flow)
    {
        std::vector<IMMDevice*> out;
        CTopologyDouble* d = g_current;
        if (!d || (flow == eCapture && d->hideCapture)) return out;
        IMMDeviceCollection* wine = nullptr;
        if (SUCCEEDED(d->Wine()->EnumAudioEndpoints(flow, DEVICE_STATE_ACTIVE, &wine)) && wine) {
            UINT n = 0;
            wine->GetCount(&n);
            for (UINT i = 0; i < n; ++i) {
                IMMDevice* device = nullptr;
                if (FAILED(wine->Item(i, &device)) || !device) continue;
                std::wstring name = FriendlyName(device);
                if (!d->removed.count(name)) out.push_back(new CDoubleDevice(device, name));
                device->Release();
            }
            wine->Release();
        }
        if (flow == eRender)
            for (int i = 1; i <= d->addedRender; ++i) {
                std::wstring name = L"Added Endpoint " + std::to_wstring(i);
                if (!d->removed.count(name)) out.push_back(new CDoubleDevice(nullptr, name));
            }
        return out;
    }

    STDMETHODIMP EnumAudioEndpoints(EDataFlow flow, DWORD, IMMDeviceCollection** out) override
    {
        if (!out) return E_POINTER;
        *out = new CDoubleCollection(Endpoints(flow));
        return S_OK;
    }
    STDMETHODIMP GetDefaultAudioEndpoint(EDataFlow flow, ERole role, IMMDevice** out) override
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        CTopologyDouble* d = g_current;
        if (!d) return E_FAIL;
        std::wstring wanted;
        if (flow == eRender && !d->defaultRender.empty()) {
            wanted = d->defaultRender;
        } else {
            IMMDevice* wine = nullptr;
            if (FAILED(d->Wine()->GetDefaultAudioEndpoint(flow, role, &wine)) || !wine) return NotFound;
            wanted = FriendlyName(wine);
            wine->Release();
        }
        for (IMMDevice* device : Endpoints(flow)) {
            if (!*out && FriendlyName(device) == wanted) {
                *out = device;
                continue;
            }
            device->Release();
        }
        return *out ? S_OK : NotFound;
    }
    STDMETHODIMP GetDevice(LPCWSTR id, IMMDevice** out) override
    {
        IMMDevice* wine = nullptr;
        HRESULT hr = g_current ? g_current->Wine()->GetDevice(id, &wine) : E_FAIL;
        if (FAILED(hr)) return hr;
        *out = new CDoubleDevice(wine, FriendlyName(wine));
        wine->Release();
        return S_OK;
    }
    STDMETHODIMP RegisterEndpointNotificationCallback(IMMNotificationClient*) override { return S_OK; }
    STDMETHODIMP UnregisterEndpointNotificationCallback(IMMNotificationClient*) override { return S_OK; }
};

class CTopologyDouble::CFactory : public IClassFactory {
public:
    virtual ~CFactory() = default;
    DOUBLE_REFCOUNT
    DOUBLE_SIMPLE_QI(IClassFactory)
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (outer) return CLASS_E_NOAGGREGATION;
        auto* e = new CDoubleEnumerator;
        HRESULT hr = e->QueryInterface(iid, out);
        e->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

CTopologyPath::CTopologyPath(DataFlow endpointFlow)
{
    m_nodes.emplace_back(new TopologyNode);
    m_endpoint = m_nodes.back().get();
    m_endpoint->type = ::Connector;
    m_endpoint->connectorType = Physical_External;
    m_endpoint->flow = endpointFlow;
    m_endpoint->name = L"Endpoint";
    m_adapter = Connector(L"Adapter Out", Physical_External, 1);
    m_adapter->flow = endpointFlow == In ? Out : In;
    m_endpoint->connectedTo = m_adapter;
    m_adapter->connectedTo = m_endpoint;
}

TopologyNode* CTopologyPath::Subunit(const wchar_t* name, const GUID& subType, UINT localId)
{
    m_nodes.emplace_back(new TopologyNode);
    TopologyNode* n = m_nodes.back().get();
    n->type = ::Subunit;
    n->name = name ? name : L"";
    n->subType = subType;
    n->localId = localId;
    return n;
}

TopologyNode* CTopologyPath::Connector(const wchar_t* name, ConnectorType type, UINT localId)
{
    m_nodes.emplace_back(new TopologyNode);
    TopologyNode* n = m_nodes.back().get();
    n->type = ::Connector;
    n->name = name ? name : L"";
    n->connectorType = type;
    n->localId = localId;
    return n;
}

void CTopologyPath::Feeds(TopologyNode* from, TopologyNode* to)
{
    from->outgoing.push_back(to);
    to->incoming.push_back(from);
}

CTopologyDouble::CTopologyDouble()
{
    m_com = SUCCEEDED(CoInitialize(nullptr));
    // Wine's winmm builds its device lists once, from the device enumerator of the
    // moment: let it do so from Wine's own (it cannot walk these wrappers).
    waveOutGetNumDevs();
    waveInGetNumDevs();
    if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, __uuidof(IMMDeviceEnumerator),
                                (void**)&m_wine)) || !m_wine)
        return;
    m_factory = new CFactory;
    g_current = this;
    if (FAILED(CoRegisterClassObject(__uuidof(MMDeviceEnumerator), m_factory, CLSCTX_INPROC_SERVER,
                                     REGCLS_MULTIPLEUSE, &m_cookie)))
        m_cookie = 0;
}

CTopologyDouble::~CTopologyDouble()
{
    if (m_cookie) CoRevokeClassObject(m_cookie);
    g_current = nullptr;
    if (m_factory) m_factory->Release();
    if (m_wine) m_wine->Release();
    if (m_com) CoUninitialize();
}

CTopologyDouble* CTopologyDouble::Current() { return g_current; }

std::vector<std::wstring> CTopologyDouble::WineEndpoints(DWORD flow) const
{
    std::vector<std::wstring> names;
    IMMDeviceCollection* all = nullptr;
    if (FAILED(m_wine->EnumAudioEndpoints(flow == 0 ? eRender : eCapture, DEVICE_STATE_ACTIVE, &all)) || !all)
        return names;
    UINT n = 0;
    all->GetCount(&n);
    for (UINT i = 0; i < n; ++i) {
        IMMDevice* device = nullptr;
        if (SUCCEEDED(all->Item(i, &device)) && device) {
            names.push_back(FriendlyName(device));
            device->Release();
        }
    }
    all->Release();
    return names;
}

std::wstring CTopologyDouble::WineDefault(DWORD flow) const
{
    IMMDevice* device = nullptr;
    if (FAILED(m_wine->GetDefaultAudioEndpoint(flow == 0 ? eRender : eCapture, eConsole, &device)) || !device)
        return L"";
    std::wstring name = FriendlyName(device);
    device->Release();
    return name;
}
