// The three plain C exports the programs bind by name.
#include <windows.h>
#include "LogFile.h"
#include "MngDLL.h"

extern "C" {

__declspec(dllexport) int __cdecl CheckNVFilter(const wchar_t* listPath)
{
    // COM is the caller's thread's: start it here and stop it only when this
    // call started it, so a host already in another apartment keeps its COM.
    HRESULT hr = CoInitialize(nullptr);
    int result = g_MngDLL.CheckList(listPath ? listPath : L"");
    if (SUCCEEDED(hr)) CoUninitialize();
    return result;
}

__declspec(dllexport) int __cdecl SetLogPrint(int enable)
{
    g_bDebugSwitch = enable;
    if (enable) {
        LogInit(GetModuleHandleW(nullptr), L"FilterCheck.log", LOG_FOLDER_DOCUMENTS, TRUE, LOG_LEVEL_DEFAULT);
        DebugPrint(L"NV_Log param setting...");
    }
    return 1;
}

__declspec(dllexport) int __cdecl SetPath(const wchar_t* folder)
{
    if (!folder || !*folder) return 0;
    g_MngDLL.SetLocation(folder);
    return g_MngDLL.GetLocation().empty() ? 0 : 1;
}

}
