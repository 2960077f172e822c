#include "DriverRegistry.h"

namespace drv {

namespace {
// The suite opens its keys in the 32-bit view; a program of the same build as the
// suite sees that view by default.
const REGSAM kView = 0;

bool Read(HKEY root, const std::wstring& key, const std::wstring& name, DWORD wantType,
          std::wstring* text, DWORD* number)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE | kView, &handle) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = 0;
    bool ok = RegQueryValueExW(handle, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    if (ok && wantType != REG_NONE) ok = type == wantType;
    if (ok && text) {
        std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
        size = (DWORD)(buffer.size() * sizeof(wchar_t));
        ok = RegQueryValueExW(handle, name.c_str(), nullptr, nullptr,
                              reinterpret_cast<BYTE*>(&buffer[0]), &size) == ERROR_SUCCESS;
        buffer.resize(wcslen(buffer.c_str()));
        *text = buffer;
    }
    if (ok && number) {
        size = sizeof(DWORD);
        ok = RegQueryValueExW(handle, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(number),
                              &size) == ERROR_SUCCESS;
    }
    RegCloseKey(handle);
    return ok;
}

bool Write(HKEY root, const std::wstring& key, const std::wstring& name, DWORD type,
           const BYTE* data, DWORD size)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | kView, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = RegSetValueExW(handle, name.c_str(), 0, type, data, size) == ERROR_SUCCESS;
    RegCloseKey(handle);
    return ok;
}
}  // namespace

bool RegValueExists(HKEY root, const std::wstring& key, const std::wstring& name)
{
    return Read(root, key, name, REG_NONE, nullptr, nullptr);
}

bool RegReadString(HKEY root, const std::wstring& key, const std::wstring& name, std::wstring* value)
{
    return Read(root, key, name, REG_SZ, value, nullptr);
}

bool RegReadDword(HKEY root, const std::wstring& key, const std::wstring& name, DWORD* value)
{
    return Read(root, key, name, REG_DWORD, nullptr, value);
}

bool RegWriteString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value)
{
    return Write(root, key, name, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 (DWORD)((value.size() + 1) * sizeof(wchar_t)));
}

bool RegWriteDword(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value)
{
    return Write(root, key, name, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

bool RegDeleteValue(HKEY root, const std::wstring& key, const std::wstring& name)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_SET_VALUE | kView, &handle) != ERROR_SUCCESS)
        return false;
    bool ok = RegDeleteValueW(handle, name.c_str()) == ERROR_SUCCESS;
    RegCloseKey(handle);
    return ok;
}

bool RegDeleteTree(HKEY root, const std::wstring& key)
{
    HKEY handle = nullptr;
    LONG rc = RegOpenKeyExW(root, key.c_str(), 0, KEY_ALL_ACCESS | kView, &handle);
    if (rc == ERROR_FILE_NOT_FOUND) return true;
    if (rc != ERROR_SUCCESS) return false;
    rc = RegDeleteTreeW(handle, nullptr);
    RegCloseKey(handle);
    if (rc != ERROR_SUCCESS) return false;
    rc = RegDeleteKeyExW(root, key.c_str(), kView, 0);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

}  // namespace drv
