// The Windows version as one code; 9 or more means Windows Vista or later, where
// the core-audio interfaces are used.
#pragma once
#include <windows.h>

enum {
    OS_UNKNOWN = 0, OS_WIN32S = 1, OS_WIN95 = 2, OS_WINNT4 = 3, OS_WIN98 = 4, OS_WIN98SE = 5,
    OS_WINME = 6, OS_WIN2000 = 7, OS_WINXP = 8, OS_VISTA = 9, OS_SERVER2008 = 10, OS_WIN7 = 11,
    OS_PROBED_OTHER = 12,
};

int GetOSVersionCode();
