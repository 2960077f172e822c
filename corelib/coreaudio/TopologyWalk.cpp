#include "TopologyWalk.h"
#include "ComPtr.h"

const GUID NodeTypeVolume = {0x3a5acc00, 0xc557, 0x11d0, {0x8a, 0x2b, 0x00, 0xa0, 0xc9, 0x25, 0x5a, 0xc1}};
const GUID NodeTypeMute = {0x02b223c0, 0xc557, 0x11d0, {0x8a, 0x2b, 0x00, 0xa0, 0xc9, 0x25, 0x5a, 0xc1}};

namespace {

const int MaxHops = 31;
// Subunits followed within one hop; a topology that loops back on itself ends here.
const int MaxSubunitsPerHop = 64;

void ShowWalkMessage(const wchar_t* text)
{
    MessageBoxW(nullptr, text, L"NVCoreAudio", MB_OK | MB_ICONWARNING);
}

// The first part of a part's neighbour list in the walk's direction.
HRESULT Neighbours(IPart* part, DWORD flow, IPartsList** list)
{
    return flow == 0 ? part->EnumPartsIncoming(list) : part->EnumPartsOutgoing(list);
}

bool ExamineSubunit(IPart* subunit, DWORD flow, const ExamineCandidate& examine)
{
    bool succeeded = false;
    CComPtr<IPartsList> beside;
    if (FAILED(Neighbours(subunit, flow, &beside)) || !beside) return false;
    UINT besideCount = 0;
    beside->GetCount(&besideCount);
    for (UINT q = 0; q < besideCount; ++q) {
        CComPtr<IPart> middle;
        CComPtr<IPartsList> beyond;
        if (FAILED(beside->GetPart(q, &middle)) || !middle || FAILED(Neighbours(middle, flow, &beyond)) || !beyond)
            continue;
        UINT beyondCount = 0;
        beyond->GetCount(&beyondCount);
        for (UINT r = 0; r < beyondCount; ++r) {
            CComPtr<IPart> candidate;
            GUID subType = GUID_NULL;
            if (FAILED(beyond->GetPart(r, &candidate)) || !candidate || FAILED(candidate->GetSubType(&subType)))
                continue;
            if (subType == NodeTypeVolume || subType == NodeTypeMute)
                if (examine(candidate, subType, r)) succeeded = true;
        }
    }
    return succeeded;
}

} // namespace

IMMDevice* ActiveEndpoint(DWORD flow, int deviceIndex)
{
    CComPtr<IMMDeviceEnumerator> enumerator;
    CComPtr<IMMDeviceCollection> endpoints;
    IMMDevice* device = nullptr;
    if (flow > 1 || deviceIndex < 0 ||
        FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, __uuidof(IMMDeviceEnumerator),
                                (void**)&enumerator)) ||
        FAILED(enumerator->EnumAudioEndpoints(flow == 0 ? eRender : eCapture, DEVICE_STATE_ACTIVE, &endpoints)) ||
        !endpoints || FAILED(endpoints->Item((UINT)deviceIndex, &device)))
        return nullptr;
    return device;
}

bool WalkTopology(DWORD flow, int deviceIndex, bool stopOnSuccess, const ExamineCandidate& examine)
{
    CComPtr<IMMDevice> endpoint;
    endpoint.Attach(ActiveEndpoint(flow, deviceIndex));
    CComPtr<IDeviceTopology> topology;
    CComPtr<IConnector> connector;
    DataFlow dataFlow = In;
    if (!endpoint ||
        FAILED(endpoint->Activate(__uuidof(IDeviceTopology), CLSCTX_ALL, nullptr, (void**)&topology)) || !topology ||
        FAILED(topology->GetConnector(0, &connector)) || !connector || FAILED(connector->GetDataFlow(&dataFlow)) ||
        (DWORD)dataFlow != flow)
        return false;

    for (int hop = 0; hop < MaxHops && connector; ++hop) {
        BOOL connected = FALSE;
        if (FAILED(connector->IsConnected(&connected)) || !connected) {
            ConnectorType type = Unknown_Connector;
            if (FAILED(connector->GetType(&type)) || type != Software_IO)
                ShowWalkMessage(L"Reached end of path abnormally");
            break;
        }
        CComPtr<IConnector> across;
        CComPtr<IPart> current;
        if (FAILED(connector->GetConnectedTo(&across)) || !across ||
            FAILED(across->QueryInterface(__uuidof(IPart), (void**)&current)) || !current)
            break;
        connector.Release();
        for (int step = 0; step < MaxSubunitsPerHop; ++step) {
            CComPtr<IPartsList> list;
            CComPtr<IPart> next;
            if (FAILED(Neighbours(current, flow, &list)) || !list || FAILED(list->GetPart(0, &next)) || !next)
                break;
            PartType type = Connector;
            if (FAILED(next->GetPartType(&type))) break;
            if (type == Subunit) {
                if (ExamineSubunit(next, flow, examine) && stopOnSuccess) return true;
                current = next;
                continue;
            }
            if (FAILED(next->QueryInterface(__uuidof(IConnector), (void**)&connector)) || !connector) {
                connector.Release();
                ShowWalkMessage(L"Failed to QI for IID_IConnector");
            }
            break;
        }
    }
    return true;
}
