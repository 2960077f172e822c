#include "EndToEndSupport.h"
#include <shlobj.h>
#include <fstream>
#include <sstream>
#include "Driver.h"

const wchar_t kSonelleKey[] = L"software\\Norvane\\NV Sonelle";

namespace {
const wchar_t* const kMachineValues[] = {L"AppPath", L"LanuchName", L"WizardName", L"AdvancedName"};
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool FolderExists(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadAll(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::wstring SpecialFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, 0, path);
    return path;
}

CSavedInstallation::CSavedInstallation()
{
    for (const wchar_t* name : kMachineValues) {
        std::wstring value;
        bool present = drv::RegReadString(HKEY_LOCAL_MACHINE, kSonelleKey, name, &value);
        m_saved.emplace_back(present, present ? value : std::wstring());
    }
}

CSavedInstallation::~CSavedInstallation()
{
    for (size_t i = 0; i < m_saved.size(); ++i) {
        if (m_saved[i].first)
            drv::RegWriteString(HKEY_LOCAL_MACHINE, kSonelleKey, kMachineValues[i], m_saved[i].second);
        else
            drv::RegDeleteValue(HKEY_LOCAL_MACHINE, kSonelleKey, kMachineValues[i]);
    }
}

void CSavedInstallation::Set(const std::wstring& folder, const std::wstring& title, const std::wstring& wizardTitle,
                             const std::wstring& launchTitle)
{
    drv::RegWriteString(HKEY_LOCAL_MACHINE, kSonelleKey, L"AppPath", folder);
    drv::RegWriteString(HKEY_LOCAL_MACHINE, kSonelleKey, L"AdvancedName", title);
    drv::RegWriteString(HKEY_LOCAL_MACHINE, kSonelleKey, L"WizardName", wizardTitle);
    drv::RegWriteString(HKEY_LOCAL_MACHINE, kSonelleKey, L"LanuchName", launchTitle);
}
