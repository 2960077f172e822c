// The starter's one application object; the framework's entry point runs it.
#include "SonelleStarterApp.h"

CSonelleStarterApp theApp;

// The entry point lives in the framework library; referring to it here makes the
// linker take it from there.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, wchar_t*, int);
__attribute__((used)) static int(WINAPI* const g_entryPoint)(HINSTANCE, HINSTANCE, wchar_t*, int) = wWinMain;
