// Test support: a render path for the topology double with three mute controls
// beside one subunit: "Line Mute" (21), "Mic Mute" (22) and "CD Mute" (23).
#pragma once
#include <memory>
#include "TopologyDouble.h"

struct MutePath {
    std::shared_ptr<CTopologyPath> path = std::make_shared<CTopologyPath>();
    TopologyNode* mutes[3];
    MutePath()
    {
        CTopologyPath& p = *path;
        TopologyNode* sum = p.Subunit(L"Master Sum", TopologyNodeSum, 1);
        TopologyNode* mixer = p.Subunit(L"Mixer", TopologyNodeSum, 2);
        TopologyNode* software = p.Connector(L"Wave", Software_IO, 3);
        CTopologyPath::Feeds(sum, p.Adapter());
        CTopologyPath::Feeds(software, sum);
        CTopologyPath::Feeds(mixer, sum);
        const wchar_t* names[3] = {L"Line Mute", L"Mic Mute", L"CD Mute"};
        for (int i = 0; i < 3; ++i) {
            mutes[i] = p.Subunit(names[i], TopologyNodeMute, 21 + (UINT)i);
            CTopologyPath::Feeds(mutes[i], mixer);
        }
    }
    int Sets() const { return mutes[0]->muteSets + mutes[1]->muteSets + mutes[2]->muteSets; }
};
