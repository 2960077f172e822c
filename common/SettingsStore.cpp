#include "SettingsStore.h"
#include "Registry.h"
#include <shlobj.h>
#include <direct.h>

DWORD ReadSettingNumber(const wchar_t* regKey, const wchar_t* name, DWORD def)
{
    DWORD value = def;
    return RegReadDword(HKEY_CURRENT_USER, regKey, name, value, def) ? value : def;
}

void WriteSettingNumber(const wchar_t* regKey, const wchar_t* name, DWORD value)
{
    RegWriteDword(HKEY_CURRENT_USER, regKey, name, value);
}

void WriteSettingText(const wchar_t* regKey, const wchar_t* name, const wchar_t* text)
{
    RegWriteString(HKEY_CURRENT_USER, regKey, name, text);
}

bool SettingFolderFound(const wchar_t* folder)
{
    CString pattern;
    pattern.Format(L"%s*.*", folder);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(pattern, &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    return true;
}

CString DefaultSettingFolder(const wchar_t* product, const wchar_t* sub, const CString& appPath)
{
    wchar_t music[MAX_PATH] = {};
    CString folder;
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_MYMUSIC | CSIDL_FLAG_CREATE, nullptr, 0, music))) {
        size_t length = wcslen(music);
        CString base;
        base.Format(length && music[length - 1] == L'\\' ? L"%s%s" : L"%s\\%s", music, product);
        if (!SettingFolderFound(base)) _wmkdir(base);
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
    lstrcpynW(field, read && SettingFolderFound(stored) ? (const wchar_t*)stored : (const wchar_t*)def, (int)capacity);
    if (!SettingFolderFound(field)) _wmkdir(field);
}
