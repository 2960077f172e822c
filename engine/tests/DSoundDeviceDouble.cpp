#include "DSoundDeviceDouble.h"

DSoundDevice* MakeDSoundDevice(int waveId, const wchar_t* interfacePath)
{
    DSoundDevice* device = new DSoundDevice;
    device->waveDeviceId = waveId;
    device->interfacePath = interfacePath;
    device->vidPid = CDSoundEnumerator::VidPidFromInterfacePath(interfacePath);
    return device;
}
