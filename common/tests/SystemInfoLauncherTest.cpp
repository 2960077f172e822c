// Where "Check your computer spec" finds the system-information tool, and the
// filter-checker client with a library that lacks exports.
#include <gtest/gtest.h>
#include "OpenSystemInfoDlg.h"
#include "TestSupport.h"

namespace {

const wchar_t kMSInfoKey[] = L"Software\\Microsoft\\Shared Tools\\MSInfo";
const wchar_t kLocationKey[] = L"Software\\Microsoft\\Shared Tools Location";

// Keeps one HKLM value as it was before the test and puts it back.
class SavedValue {
public:
    SavedValue(const wchar_t* key, const wchar_t* name) : m_key(key), m_name(name)
    {
        DWORD bytes = sizeof(m_data);
        m_present = RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_ANY | RRF_NOEXPAND, &m_type, m_data,
                                 &bytes) == ERROR_SUCCESS;
        m_bytes = bytes;
    }
    ~SavedValue()
    {
        if (m_present)
            RegSetKeyValueW(HKEY_LOCAL_MACHINE, m_key, m_name, m_type, m_data, m_bytes);
        else
            RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, m_key, m_name);
    }

private:
    const wchar_t* m_key;
    const wchar_t* m_name;
    bool m_present = false;
    DWORD m_type = 0, m_bytes = 0;
    BYTE m_data[1024];
};

void SetValue(const wchar_t* key, const wchar_t* name, const std::wstring& text, DWORD type)
{
    if (text.empty()) {
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key, name);
        return;
    }
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, key, name, type, text.c_str(), DWORD((text.size() + 1) * 2));
}

TEST(SystemInfoLauncher, FindsTheToolThroughEitherRegistryValue)
{
    SavedValue path(kMSInfoKey, L"Path"), location(kLocationKey, L"MSInfo");
    std::wstring folder = MakeTempFolder(L"msinfo");
    std::wstring tool = folder + L"MSInfo32.exe";
    WriteFileBytes(tool, "MZ");
    SetEnvironmentVariableW(L"SONELLE_MSINFO", folder.c_str());

    struct Case {
        const wchar_t* what;
        std::wstring path;
        DWORD pathType;
        std::wstring location;
        bool found;
        std::wstring expected;
    } cases[] = {
        {L"Path as REG_SZ", tool, REG_SZ, L"", true, tool},
        {L"Path as REG_EXPAND_SZ", L"%SONELLE_MSINFO%MSInfo32.exe", REG_EXPAND_SZ, L"", true, tool},
        {L"only the MSInfo folder", L"", REG_SZ, folder.substr(0, folder.size() - 1), true, tool},
        {L"neither value", L"", REG_SZ, L"", false, L""},
        {L"Path to a missing file", folder + L"Gone.exe", REG_SZ, L"", false, folder + L"Gone.exe"},
    };
    for (const Case& c : cases) {
        SetValue(kMSInfoKey, L"Path", c.path, c.pathType);
        SetValue(kLocationKey, L"MSInfo", c.location, REG_SZ);
        COpenSystemInfoDlg launcher;
        CString found;
        EXPECT_EQ(launcher.GetSystemInfoPath(found), c.found ? TRUE : FALSE) << c.what;
        EXPECT_EQ(std::wstring(found.GetString()), c.expected) << c.what;
    }
    DeleteTree(folder);
}

TEST(FilterCheckerClient, ALibraryWithoutAllExportsIsNotUsedAndNotKept)
{
    std::wstring folder = MakeTempFolder(L"partial");
    ASSERT_TRUE(CopyFileW((ProgramFolder() + L"common_FilterCheckerProbe.exe").c_str(),
                          (folder + L"Probe.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((ProgramFolder() + L"PartialChecker.dll").c_str(),
                          (folder + L"NVFilterChecker.dll").c_str(), FALSE));
    EXPECT_EQ(RunProgram(folder + L"Probe.exe", L""), 0);
    DeleteTree(folder);
}

}  // namespace
