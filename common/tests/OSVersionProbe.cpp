// Exits with the Windows version code; the tests run copies of it under Wine's
// per-program Windows version setting.
#include "OSVersion.h"

int main()
{
    return GetOSVersionCode();
}
