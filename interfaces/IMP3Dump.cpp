// Defines the class id and interface id of IMP3Dump.h once.
#include <windows.h>
#include <initguid.h>
#include "IMP3Dump.h"
