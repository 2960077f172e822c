// The walk along an endpoint's device topology that lists and adjusts the volume
// and mute controls on the endpoint's path.
#pragma once
#include <windows.h>
#include <functional>
#include <mmdeviceapi.h>
#include <devicetopology.h>

// The active endpoint of a flow at a position, or null.
IMMDevice* ActiveEndpoint(DWORD flow, int deviceIndex);

// A control candidate R (subtype KSNODETYPE_VOLUME or KSNODETYPE_MUTE) found two
// steps beyond a subunit on the path, with its position in the list it came from.
// Returns whether the examination of the candidate succeeded.
using ExamineCandidate = std::function<bool(IPart* part, const GUID& subType, UINT position)>;

// Walks from connector 0 of the endpoint's topology toward the hardware (render:
// incoming parts; capture: outgoing parts). stopOnSuccess: the walk ends at the
// first subunit whose examination succeeded. False when the walk cannot start.
bool WalkTopology(DWORD flow, int deviceIndex, bool stopOnSuccess, const ExamineCandidate& examine);

extern const GUID NodeTypeVolume;
extern const GUID NodeTypeMute;
