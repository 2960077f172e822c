// A test installation of the suite for the starter's end-to-end tests: a fresh
// folder named in the machine key as "AppPath", the suite's titles set to this
// test's own, and the programs, doubles and lists each test copies into it.
#pragma once
#include <windows.h>
#include <string>
#include <utility>
#include <vector>
#include "Driver.h"

namespace startertest {

extern const wchar_t kSuiteKey[];
// The analyzer's class id as the component list names it.
extern const char kAnalyzerId[];

class Installation {
public:
    Installation();
    ~Installation();
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    const std::wstring& Folder() const { return m_folder; }
    // Copies a file of the build folder into the installation under `as`.
    bool Copy(const std::wstring& name, const std::wstring& as) const;
    bool Copy(const std::wstring& name) const { return Copy(name, name); }
    // The recorder with the disc libraries it links at load time.
    bool CopyRecorder() const { return Copy(L"Sonelle.exe") && Copy(L"NVDataCDDVD.dll") && Copy(L"NVAudioCD.dll"); }
    // kelvrodata.bin with these lines.
    bool WriteComponentList(const std::string& lines) const;
    // What the starter double copied as `program` recorded (empty when it never ran).
    std::string Record(const std::wstring& program) const;
    bool HasRecord(const std::wstring& program) const;

    std::wstring launchName, wizardName, advancedName;
    std::wstring StarterCaption() const { return launchName + L" Starter"; }

private:
    std::wstring m_folder;
    std::vector<std::pair<bool, std::wstring>> m_saved;
};

// The starter of the installation as a process, and its window.
HWND StartStarter(const Installation& install, drv::Process& process, const std::wstring& arguments = L"");
// Ends a starter window through its exit button and waits until it is gone.
bool CloseStarter(HWND window);

// Keeps one HKLM string value as it was and puts it back.
class SavedString {
public:
    SavedString(const std::wstring& key, const std::wstring& name);
    ~SavedString();

private:
    std::wstring m_key, m_name, m_value;
    bool m_present = false;
};

std::string ReadAll(const std::wstring& path);
bool FileExists(const std::wstring& path);
// Waits up to timeoutMs for the file to exist.
bool WaitForFile(const std::wstring& path, DWORD timeoutMs);
std::wstring DocumentsFolder();

}  // namespace startertest
