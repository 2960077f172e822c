#include "OSVersion.h"
#include "RegKey.h"
#include "String.h"
#include "TestSupport.h"
#include <gtest/gtest.h>

namespace {

// Runs a copy of the probe under Wine's per-program Windows version setting
// (HKCU\Software\Wine\AppDefaults\<exe>\Version) and returns its exit code.
int CodeUnderWindowsVersion(const wchar_t* version)
{
    std::wstring exe = std::wstring(L"SonelleOSProbe_") + std::to_wstring(GetCurrentProcessId()) + L"_" + version + L".exe";
    std::wstring path = ProgramFolder() + exe;
    if (!CopyFileW((ProgramFolder() + L"common_OSVersionProbe.exe").c_str(), path.c_str(), FALSE)) return -1;
    std::wstring key = L"Software\\Wine\\AppDefaults\\" + exe;
    int code = -1;
    {
        CRegKey k;
        if (k.Create(HKEY_CURRENT_USER, key.c_str()) == ERROR_SUCCESS &&
            k.SetStringValue(L"Version", version) == ERROR_SUCCESS)
            code = RunProgram(exe, L"");
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    DeleteFileW(path.c_str());
    return code;
}

} // namespace

struct VersionCase {
    const wchar_t* wineVersion;
    int code;
};

class OSVersionCode : public ::testing::TestWithParam<VersionCase> {};

TEST_P(OSVersionCode, FollowsTheReportedWindowsVersion)
{
    EXPECT_EQ(GetParam().code, CodeUnderWindowsVersion(GetParam().wineVersion))
        << (const char*)CStringA(GetParam().wineVersion);
}

INSTANTIATE_TEST_SUITE_P(Table, OSVersionCode, ::testing::Values(
    VersionCase{L"winxp", 8}, VersionCase{L"vista", 9}, VersionCase{L"win7", 11},
    VersionCase{L"win2008", 10}, VersionCase{L"win10", 9}));

TEST(OSVersion, ThisProcessIsVistaOrLater)
{
    EXPECT_GE(GetOSVersionCode(), 9);
}
