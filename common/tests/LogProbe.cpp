// A program that starts its log the way every program of the suite does; the log
// tests run it as a real process. Log name from SONELLE_LOGPROBE_LOG.
#include "LogFile.h"
#include <shlwapi.h>

int main()
{
    const wchar_t* args = PathGetArgsW(GetCommandLineW());
    wchar_t name[MAX_PATH] = L"SonelleLogProbe.log";
    GetEnvironmentVariableW(L"SONELLE_LOGPROBE_LOG", name, MAX_PATH);
    InitLogFromCommandLine(args, GetModuleHandleW(nullptr), name);
    DebugPrint(L"args [%s]", args);
    return g_bDebugSwitch ? 1 : 0;
}
