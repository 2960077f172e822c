// Defines the interface id of IMP3BitstreamControl.h once.
#include <windows.h>
#include <initguid.h>
#include "IMP3BitstreamControl.h"
