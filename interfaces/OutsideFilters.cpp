// Defines the class ids and interface ids of OutsideFilters.h once.
#include <windows.h>
#include <initguid.h>
#include "OutsideFilters.h"
