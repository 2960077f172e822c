// Filter-module registration: started without waiting, awaited before a graph.
#include "FilterRegistration.h"
#include "Driver.h"
#include "TestSupport.h"
#include <cwctype>
#include <string>
#include <gtest/gtest.h>

TEST(FilterRegistration, RegistrationsEndAndCanBeAwaited)
{
    // Two files that are there (not modules: regsvr32 refuses them, silently) and
    // two that are not, which are never handed to regsvr32.
    const wchar_t* const modules[] = {L"NoSuchModule1.ax", L"common_tests.exe", L"NoSuchModule2.ax",
                                      L"common_LogProbe.exe"};
    CFilterRegistration registration;
    registration.Start(CString(drv::OwnFolder().c_str()), modules, 4);
    EXPECT_EQ(2, registration.GetPendingCount()) << "started for the files that are there, not awaited";
    EXPECT_TRUE(registration.WaitUntilDone(30000));
    EXPECT_EQ(0, registration.GetPendingCount());
    // Silent: a module that cannot be registered shows nothing.
    EXPECT_EQ(nullptr, drv::WaitForMessageBox(0, 0).window);
    EXPECT_TRUE(registration.WaitUntilDone(0)) << "nothing left to wait for";
}

namespace {

const wchar_t kAnalyzer[] = L"{0E558951-6D30-4530-30EC-3F15777FBBE1}";
const wchar_t kAnalyzerPage[] = L"{0E558951-6D30-4530-3041-BB2F2D64D2A1}";
const wchar_t kFilterInstances[] = L"CLSID\\{083863F1-70DE-11d0-BD40-00A0C911CE86}\\Instance\\";

bool SetDefault(HKEY root, const std::wstring& key, const std::wstring& value)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExW(handle, nullptr, 0, REG_SZ, (const BYTE*)value.c_str(),
                             DWORD((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
    return rc == ERROR_SUCCESS;
}

// The classes root of this process redirected to a private key, filled by the test.
class PrivateClasses {
public:
    PrivateClasses()
    {
        m_name = L"Software\\SonelleTests\\RegistrationClasses" + std::to_wstring(GetCurrentProcessId());
        RegCreateKeyExW(HKEY_CURRENT_USER, m_name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_root, nullptr);
        if (m_root) RegOverridePredefKey(HKEY_CLASSES_ROOT, m_root);
    }
    ~PrivateClasses()
    {
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        if (m_root) RegCloseKey(m_root);
        RegDeleteTreeW(HKEY_CURRENT_USER, m_name.c_str());
    }
    HKEY Root() const { return m_root; }

private:
    std::wstring m_name;
    HKEY m_root = nullptr;
};

}  // namespace

TEST(FilterRegistration, AModuleAlreadyRegisteredFromThisFileIsNotRegisteredAgain)
{
    const std::wstring folder = MakeTempFolder(L"registration");
    const std::wstring module = folder + L"NVAudioAnalyer.ax";
    ASSERT_TRUE(WriteFileBytes(module, "not a real module: regsvr32 refuses it silently"));
    struct Case {
        const char* what;
        const wchar_t* filterServer;   // null: no such key
        const wchar_t* pageServer;
        bool listed;                    // in the filter category
        bool registeredHere;
    } cases[] = {
        {"both classes served from this file, filter listed", L"", L"", true, true},
        {"the same file named in other letter case", L"upper", L"upper", true, true},
        {"served from another folder", L"C:\\Elsewhere\\NVAudioAnalyer.ax", L"", true, false},
        {"the property page from another folder", L"", L"C:\\Elsewhere\\NVAudioAnalyer.ax", true, false},
        {"the property page missing", L"", nullptr, true, false},
        {"the filter not listed in the filter category", L"", L"", false, false},
        {"nothing registered", nullptr, nullptr, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int pending = -1;
        BOOL here = FALSE;
        {
            PrivateClasses classes;
            ASSERT_TRUE(classes.Root());
            auto server = [&](const wchar_t* given) {
                std::wstring value = given;
                if (value.empty()) return module;
                if (value != L"upper") return value;
                value = module;
                for (wchar_t& ch : value) ch = (wchar_t)towupper(ch);
                return value;
            };
            if (c.filterServer) {
                ASSERT_TRUE(SetDefault(classes.Root(), std::wstring(L"CLSID\\") + kAnalyzer + L"\\InprocServer32",
                                       server(c.filterServer)));
            }
            if (c.pageServer) {
                ASSERT_TRUE(SetDefault(classes.Root(), std::wstring(L"CLSID\\") + kAnalyzerPage + L"\\InprocServer32",
                                       server(c.pageServer)));
            }
            if (c.listed) {
                ASSERT_TRUE(SetDefault(classes.Root(), std::wstring(kFilterInstances) + kAnalyzer,
                                       L"NV Audio Analyzer Filter"));
            }
            here = IsFilterModuleRegisteredAt(L"NVAudioAnalyer.ax", CString(module.c_str()));
            const wchar_t* const modules[] = {L"NVAudioAnalyer.ax"};
            CFilterRegistration registration;
            registration.Start(CString(folder.c_str()), modules, 1);
            pending = registration.GetPendingCount();
            EXPECT_TRUE(registration.WaitUntilDone(30000));
        }
        EXPECT_EQ(c.registeredHere, here != FALSE);
        EXPECT_EQ(c.registeredHere ? 0 : 1, pending) << "regsvr32 runs only when the registration lacks this file";
    }
    EXPECT_EQ(nullptr, drv::WaitForMessageBox(0, 0).window);
    DeleteTree(folder);
}
