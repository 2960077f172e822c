// A checker library that lacks two of the three exports.
#include <windows.h>

extern "C" __declspec(dllexport) int __cdecl CheckNVFilter(const wchar_t*)
{
    return 0;
}
