// Defines the GUIDs declared in PlatformGuids.h exactly once for the whole suite.
#include <windows.h>
#include <initguid.h>
#include "PlatformGuids.h"
#include <functiondiscoverykeys_devpkey.h>
