// Defines the class id and interface ids of IWavrill.h once.
#include <windows.h>
#include <initguid.h>
#include "IWavrill.h"
