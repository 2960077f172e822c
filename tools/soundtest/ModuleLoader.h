// Filter modules in tests: create a class straight from a module of the build
// folder, as COM would, or register the module with regsvr32 in the sandbox.
#pragma once
#include <windows.h>
#include <unknwn.h>
#include <vector>

namespace testsignal {

// The interface `iid` of a new instance of `clsid` from the module; null on failure.
void* CreateFromModule(const wchar_t* module, REFCLSID clsid, REFIID iid);
// Runs "regsvr32.exe /s" on the module of the build folder; true when it succeeded.
bool RegisterModule(const wchar_t* module);
// Runs "regsvr32.exe /u /s" on it: its classes are no longer found by class id.
bool UnregisterModule(const wchar_t* module);

// 16-bit PCM of a sine (all channels alike) at the given fraction of full scale.
std::vector<BYTE> SineBytes(int channels, int rate, double hz, double seconds, double amplitude);

} // namespace testsignal
