// Loads the filter checker beside itself and exits with 10 * the load result +
// 1 when the library is still in the process afterwards.
#include "FilterCheckerClient.h"

int main()
{
    BOOL loaded = LoadFilterChecker();
    return (loaded ? 10 : 0) + (GetModuleHandleW(L"NVFilterChecker.dll") ? 1 : 0);
}
