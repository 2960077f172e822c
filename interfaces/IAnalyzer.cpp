// Defines the class ids and interface ids of IAnalyzer.h once.
#include <windows.h>
#include <initguid.h>
#include "IAnalyzer.h"
