#include "WaveInId.h"
#include <windows.h>
#include <mmsystem.h>
#include <cwchar>

namespace testsignal {

int WaveInId(const wchar_t* name)
{
    for (UINT i = 0; i < waveInGetNumDevs(); ++i) {
        WAVEINCAPSW caps = {};
        if (waveInGetDevCapsW(i, &caps, sizeof(caps)) == MMSYSERR_NOERROR && !wcscmp(caps.szPname, name))
            return (int)i;
    }
    return -1;
}

}  // namespace testsignal
