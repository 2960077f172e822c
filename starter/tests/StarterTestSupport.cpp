#include "StarterTestSupport.h"
#include <shlobj.h>
#include <fstream>
#include <sstream>

namespace startertest {

const wchar_t kSuiteKey[] = L"software\\Norvane\\NV Sonelle";
const char kAnalyzerId[] = "{0E558951-6D30-4530-30EC-3F15777FBBE1}";

namespace {
const wchar_t* const kMachineValues[] = {L"AppPath", L"LanuchName", L"WizardName", L"AdvancedName"};

std::wstring Stem(const std::wstring& program)
{
    size_t dot = program.find_last_of(L'.');
    return dot == std::wstring::npos ? program : program.substr(0, dot);
}
}  // namespace

Installation::Installation()
{
    for (const wchar_t* name : kMachineValues) {
        std::wstring value;
        bool present = drv::RegReadString(HKEY_LOCAL_MACHINE, kSuiteKey, name, &value);
        m_saved.push_back({present, value});
    }
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    // One folder per installation: a program a test just ended may hold its file.
    static int count = 0;
    const std::wstring tag = std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++count);
    m_folder = std::wstring(temp) + L"StarterInstall" + tag + L"\\";
    drv::RemoveTree(m_folder.substr(0, m_folder.size() - 1));
    CreateDirectoryW(m_folder.c_str(), nullptr);

    launchName = L"My Suite " + tag;
    wizardName = L"Suite Wizard " + tag;
    advancedName = L"Suite Recorder " + tag;
    drv::RegWriteString(HKEY_LOCAL_MACHINE, kSuiteKey, L"AppPath", m_folder);
    drv::RegWriteString(HKEY_LOCAL_MACHINE, kSuiteKey, L"LanuchName", launchName);
    drv::RegWriteString(HKEY_LOCAL_MACHINE, kSuiteKey, L"WizardName", wizardName);
    drv::RegWriteString(HKEY_LOCAL_MACHINE, kSuiteKey, L"AdvancedName", advancedName);
    Copy(L"SonelleStarter.exe");
    Copy(L"NVFilterChecker.dll");
    // The recorder links the core-audio library at load time.
    Copy(L"NVCoreAudio.dll");
    WriteComponentList("");
}

Installation::~Installation()
{
    // A recorder the test ended hands back to a starter of this installation; left
    // open it would keep every later starter away.
    drv::EndProcessesStartedFrom(m_folder);
    for (size_t i = 0; i < m_saved.size(); ++i) {
        if (m_saved[i].first) drv::RegWriteString(HKEY_LOCAL_MACHINE, kSuiteKey, kMachineValues[i], m_saved[i].second);
        else drv::RegDeleteValue(HKEY_LOCAL_MACHINE, kSuiteKey, kMachineValues[i]);
    }
    const std::wstring folder = m_folder.substr(0, m_folder.size() - 1);
    for (int i = 0; i < 40 && GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES; ++i) {
        drv::RemoveTree(folder);
        Sleep(50);
    }
}

bool Installation::Copy(const std::wstring& name, const std::wstring& as) const
{
    return CopyFileW((drv::OwnFolder() + name).c_str(), (m_folder + as).c_str(), FALSE) != FALSE;
}

bool Installation::WriteComponentList(const std::string& lines) const
{
    std::ofstream out((m_folder + L"kelvrodata.bin").c_str(), std::ios::binary | std::ios::trunc);
    out << lines;
    return bool(out);
}

std::string Installation::Record(const std::wstring& program) const
{
    return ReadAll(m_folder + Stem(program) + L".args");
}

bool Installation::HasRecord(const std::wstring& program) const
{
    return FileExists(m_folder + Stem(program) + L".args");
}

HWND StartStarter(const Installation& install, drv::Process& process, const std::wstring& arguments)
{
    if (!process.Start(install.Folder() + L"SonelleStarter.exe", arguments, install.Folder())) return nullptr;
    return drv::WaitForWindow(L"#32770", install.StarterCaption(), process.Id(), 15000);
}

bool CloseStarter(HWND window)
{
    return drv::ClickControl(window, IDOK) && drv::WaitForWindowGone(window, 15000);
}

SavedString::SavedString(const std::wstring& key, const std::wstring& name) : m_key(key), m_name(name)
{
    m_present = drv::RegReadString(HKEY_LOCAL_MACHINE, key, name, &m_value);
}

SavedString::~SavedString()
{
    if (m_present) drv::RegWriteString(HKEY_LOCAL_MACHINE, m_key, m_name, m_value);
    else drv::RegDeleteValue(HKEY_LOCAL_MACHINE, m_key, m_name);
}

std::string ReadAll(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WaitForFile(const std::wstring& path, DWORD timeoutMs)
{
    for (DWORD waited = 0;; waited += 50) {
        if (FileExists(path)) return true;
        if (waited >= timeoutMs) return false;
        Sleep(50);
    }
}

std::wstring DocumentsFolder()
{
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, 0, path);
    return path;
}

}  // namespace startertest
