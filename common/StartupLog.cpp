#include "StartupLog.h"
#include "LogFile.h"

namespace {
ULONGLONG FileTimeValue(const FILETIME& t)
{
    return ((ULONGLONG)t.dwHighDateTime << 32) | t.dwLowDateTime;
}
}  // namespace

DWORD StartupMilliseconds()
{
    FILETIME created = {}, exited = {}, kernel = {}, user = {}, now = {};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    GetSystemTimeAsFileTime(&now);
    ULONGLONG from = FileTimeValue(created), to = FileTimeValue(now);
    return to > from ? (DWORD)((to - from) / 10000) : 0;
}

void NoteStartupStep(const wchar_t* step)
{
    if (g_bDebugSwitch) DebugPrint(L"Start-up: %lu ms %s", StartupMilliseconds(), step);
}
