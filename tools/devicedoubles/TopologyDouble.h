// Test support: the multimedia device enumerator as this process sees it while a
// CTopologyDouble lives. It passes Wine's endpoints through, and on top of them
// answers IDeviceTopology for chosen endpoints with an in-memory path of connectors
// and subunits whose mute and volume controls the test reads back, keeps endpoint
// mute and volume per endpoint, can hide endpoints, add render endpoints and name
// the default one. Wine itself has no device topology.
#pragma once
#include <windows.h>
#include <mmdeviceapi.h>
#include <devicetopology.h>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

extern const GUID TopologyNodeVolume;   // KSNODETYPE_VOLUME
extern const GUID TopologyNodeMute;     // KSNODETYPE_MUTE
extern const GUID TopologyNodeSum;      // KSNODETYPE_SUM

// One part of a path. Data flows from a part to the parts in its outgoing list.
struct TopologyNode {
    PartType type = Subunit;
    std::wstring name;
    UINT localId = 0;
    GUID subType = GUID_NULL;
    std::vector<TopologyNode*> incoming, outgoing;
    // Connectors.
    ConnectorType connectorType = Software_IO;
    DataFlow flow = In;
    TopologyNode* connectedTo = nullptr;
    bool answersConnector = true;     // false: QueryInterface for IConnector fails
    // Controls.
    BOOL mute = FALSE;
    int muteSets = 0;
    bool muteReadFails = false;       // GetMute answers E_FAIL
    std::vector<float> levels{0.0f, 0.0f};   // dB per channel
    float minimumDb = -96.0f, maximumDb = 0.0f, stepDb = 0.5f;
    int levelSets = 0;
};

class CTopologyPath {
public:
    // The endpoint's connector 0 (data flow In for render), connected to the
    // adapter's output connector, from which the walk goes upstream.
    CTopologyPath(DataFlow endpointFlow = In);
    TopologyNode* Endpoint() { return m_endpoint; }
    TopologyNode* Adapter() { return m_adapter; }
    TopologyNode* Subunit(const wchar_t* name, const GUID& subType, UINT localId);
    TopologyNode* Connector(const wchar_t* name, ConnectorType type, UINT localId);
    // Sound flows from `from` into `to`.
    static void Feeds(TopologyNode* from, TopologyNode* to);

private:
    std::vector<std::unique_ptr<TopologyNode>> m_nodes;
    TopologyNode* m_endpoint;
    TopologyNode* m_adapter;
};

struct EndpointVolumeState {
    BOOL mute = FALSE;
    float scalar = 1.0f;
};

class CTopologyDouble {
public:
    CTopologyDouble();
    ~CTopologyDouble();
    CTopologyDouble(const CTopologyDouble&) = delete;
    CTopologyDouble& operator=(const CTopologyDouble&) = delete;
    bool Ok() const { return m_cookie != 0; }

    // Friendly names of Wine's active endpoints of a flow (0 render, 1 capture),
    // in enumeration order, and of its default console endpoint.
    std::vector<std::wstring> WineEndpoints(DWORD flow) const;
    std::wstring WineDefault(DWORD flow) const;

    // What the enumerator shows; read at every call, so tests may change it any time.
    bool hideCapture = false;
    int addedRender = 0;                           // render endpoints "Added Endpoint %d" after Wine's
    std::set<std::wstring> removed;                // endpoints listed no more
    std::wstring defaultRender;                    // name of the default render endpoint, else Wine's
    std::map<std::wstring, std::shared_ptr<CTopologyPath>> paths;   // by endpoint name
    std::map<std::wstring, EndpointVolumeState> endpointVolumes;     // by endpoint name

    static CTopologyDouble* Current();
    IMMDeviceEnumerator* Wine() const { return m_wine; }

private:
    class CFactory;
    bool m_com = false;
    IMMDeviceEnumerator* m_wine = nullptr;
    CFactory* m_factory = nullptr;
    DWORD m_cookie = 0;
};
