// Defines the class ids and interface ids of OutsideFilters.h once (those of
// IMP3Dump.h are defined by IMP3Dump.cpp, so that header is read before initguid).
#include <windows.h>
#include "IMP3Dump.h"
#include <initguid.h>
#include "OutsideFilters.h"
