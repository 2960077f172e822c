// What the end-to-end tests of Sonelle.exe share: the program's registry key, the
// installation values they point elsewhere for a test and put back, and file helpers.
#pragma once
#include <windows.h>
#include <string>
#include <utility>
#include <vector>

extern const wchar_t kSonelleKey[];

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
std::string ReadAll(const std::wstring& path);
std::wstring SpecialFolder(int csidl);

// The machine values of the installation (folder and window titles): kept when
// made, written back (or deleted when there was none) when destroyed.
class CSavedInstallation {
public:
    CSavedInstallation();
    ~CSavedInstallation();
    // Points the installation at `folder` with these window titles.
    void Set(const std::wstring& folder, const std::wstring& title, const std::wstring& wizardTitle,
             const std::wstring& launchTitle);

private:
    std::vector<std::pair<bool, std::wstring>> m_saved;
};
