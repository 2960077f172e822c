#include "OSVersion.h"

namespace {

bool IsVersion(DWORD major, DWORD minor)
{
    OSVERSIONINFOEXW want = {};
    want.dwOSVersionInfoSize = sizeof(want);
    want.dwMajorVersion = major;
    want.dwMinorVersion = minor;
    DWORDLONG mask = VerSetConditionMask(0, VER_MAJORVERSION, VER_EQUAL);
    mask = VerSetConditionMask(mask, VER_MINORVERSION, VER_EQUAL);
    return VerifyVersionInfoW(&want, VER_MAJORVERSION | VER_MINORVERSION, mask) != FALSE;
}

int CodeOfReportedVersion(const OSVERSIONINFOEXW& v, bool extended)
{
    const DWORD major = v.dwMajorVersion, minor = v.dwMinorVersion;
    switch (v.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return OS_WIN32S;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (major == 4 && minor == 0) return OS_WIN95;
        if (major == 4 && minor == 10) return v.szCSDVersion[0] && v.szCSDVersion[1] == L'A' ? OS_WIN98SE : OS_WIN98;
        if (major == 4 && minor == 90) return OS_WINME;
        return OS_VISTA;
    case VER_PLATFORM_WIN32_NT:
        if (major <= 4) return OS_WINNT4;
        if (major == 5 && minor == 0) return OS_WIN2000;
        if (major == 5 && minor == 1) return OS_WINXP;
        if (major == 6 && minor == 0)
            return !extended || v.wProductType == VER_NT_WORKSTATION ? OS_VISTA : OS_SERVER2008;
        if (major == 6 && minor == 1) return OS_WIN7;
        return OS_VISTA;
    default:
        return OS_VISTA;
    }
}

} // namespace

int GetOSVersionCode()
{
    OSVERSIONINFOEXW v = {};
    v.dwOSVersionInfoSize = sizeof(v);
    bool extended = GetVersionExW((OSVERSIONINFOW*)&v) != FALSE;
    if (!extended) {
        v = OSVERSIONINFOEXW{};
        v.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
        if (!GetVersionExW((OSVERSIONINFOW*)&v)) return OS_UNKNOWN;
    }
    int code = CodeOfReportedVersion(v, extended);
    if (IsVersion(v.dwMajorVersion, v.dwMinorVersion)) return code;

    // The reported version is not the real one: find the real one among those
    // with a code of their own.
    static const struct { DWORD major, minor; int code; } probes[] = {
        {4, 0, OS_WIN95}, {4, 10, OS_WIN98}, {4, 90, OS_WINME}, {3, 51, OS_WIN32S}, {5, 0, OS_WIN2000},
        {5, 1, OS_WINXP}, {5, 2, OS_PROBED_OTHER}, {6, 0, OS_VISTA}, {6, 1, OS_VISTA},
    };
    for (const auto& p : probes)
        if (IsVersion(p.major, p.minor)) return p.code;
    // None of the old versions: a newer system, which has the core-audio interfaces.
    return OS_VISTA;
}
