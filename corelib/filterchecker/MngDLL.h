// The checker behind NVFilterChecker.dll: every component of the list must be
// registered from the installation folder (or not at all) and, when it is a
// filter, a packaged component or a control, must be creatable.
#pragma once
#include <windows.h>
#include <cstdio>
#include <string>

class MngDLL {
public:
    // Checks the list file line by line: 0 at the first line that fails, else 1
    // (also for a list that cannot be opened or is empty).
    int CheckList(const wchar_t* listPath);
    // 1 for a line that passes, 0 for one that fails.
    int DoCheck(const std::wstring& line);
    BOOL CheckRegistredModule(const std::wstring& name, const std::wstring& id);
    // 1 when both name the same file, the same folder, or the registered folder
    // is the 8.3 form of the expected folder.
    static int CompareModulePath(const std::wstring& registered, const std::wstring& expected);
    // id is a class id or a ProgID; TRUE with the registered module's path.
    static BOOL GetCLSIDPath(const std::wstring& id, std::wstring& path);
    static BOOL GetRegisteredPath(const std::wstring& classId, std::wstring& path);
    // Empty folder: the host program's own folder. Trailing "\" are removed.
    void SetLocation(const wchar_t* folder);
    const std::wstring& GetLocation() const { return m_location; }

private:
    std::wstring m_location;  // expected folder, without trailing "\"
};

// One line of a component list: ANSI text of any length up to the end of line,
// without its CR LF. False at the end of the file.
bool ReadListLine(FILE* file, std::wstring& line);

// The library's one checker.
extern MngDLL g_MngDLL;
