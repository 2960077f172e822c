#include "SettingsStore.h"
#include "FolderBrowser.h"
#include "Registry.h"
#include <shlobj.h>
#include <direct.h>

DWORD ReadSettingNumber(const wchar_t* regKey, const wchar_t* name, DWORD def)
{
    DWORD value = def;
    return RegReadDword(HKEY_CURRENT_USER, regKey, name, value, def) ? value : def;
}

DWORD ReadSettingNumberInRange(const wchar_t* regKey, const wchar_t* name, DWORD def, DWORD minimum, DWORD maximum)
{
    DWORD value = ReadSettingNumber(regKey, name, def);
    return value >= minimum && value <= maximum ? value : def;
}

DWORD WholeSettingNumber(double value, DWORD minimum, DWORD maximum, DWORD def)
{
    if (!(value == value)) return def;  // not a number
    if (value <= (double)minimum) return minimum;
    if (value >= (double)maximum) return maximum;
    return (DWORD)value;  // within range: the conversion is defined
}

void WriteSettingNumber(const wchar_t* regKey, const wchar_t* name, DWORD value)
{
    RegWriteDword(HKEY_CURRENT_USER, regKey, name, value);
}

void WriteSettingText(const wchar_t* regKey, const wchar_t* name, const wchar_t* text)
{
    RegWriteString(HKEY_CURRENT_USER, regKey, name, text);
}

// A directory of that very name: a search of "<folder>*.*" would also accept
// "...\Rec" because "...\Recordings" matches it.
bool SettingFolderFound(const wchar_t* folder)
{
    return folder && *folder && FolderExists(folder);
}

namespace {
CString WithSeparator(const CString& folder)
{
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] == L'\\') return folder;
    return folder + L"\\";
}

// Makes every missing level of the folder.
void MakeFolder(const wchar_t* folder)
{
    if (SettingFolderFound(folder)) return;
    if (CheckFolderPath(folder, FALSE) != FOLDER_PATH_OK) _wmkdir(folder);
}
}  // namespace

CString DefaultSettingFolder(const wchar_t* product, const wchar_t* sub, const CString& appPath)
{
    wchar_t music[MAX_PATH] = {};
    CString folder;
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_MYMUSIC | CSIDL_FLAG_CREATE, nullptr, 0, music))) {
        size_t length = wcslen(music);
        CString base;
        base.Format(length && music[length - 1] == L'\\' ? L"%s%s" : L"%s\\%s", music, product);
        MakeFolder(base);
        folder.Format(L"%s%s\\", (const wchar_t*)base, sub);
    } else {
        folder.Format(L"%s%s\\", (const wchar_t*)appPath, sub);
    }
    return folder;
}

void LoadSettingFolder(const wchar_t* regKey, const wchar_t* name, const CString& def, wchar_t* field,
                       size_t capacity)
{
    CString stored;
    BOOL read = RegReadString(HKEY_CURRENT_USER, regKey, name, stored, def);
    CString chosen = read && SettingFolderFound(stored) ? WithSeparator(stored) : def;
    lstrcpynW(field, chosen, (int)capacity);
    MakeFolder(field);
}
