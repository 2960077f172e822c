#include "RegKey.h"
#include <cwchar>

LONG CRegKey::Open(HKEY parent, const wchar_t* subKey, REGSAM access)
{
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExW(parent, subKey, 0, access, &key);
    if (rc == ERROR_SUCCESS) Attach(key);
    return rc;
}

LONG CRegKey::Create(HKEY parent, const wchar_t* subKey, REGSAM access)
{
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExW(parent, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                              nullptr, &key, nullptr);
    if (rc == ERROR_SUCCESS) Attach(key);
    return rc;
}

LONG CRegKey::Close()
{
    if (!m_hKey) return ERROR_SUCCESS;
    HKEY k = Detach();
    return RegCloseKey(k);
}

LONG CRegKey::QueryValue(const wchar_t* name, DWORD* type, void* data, DWORD* bytes) const
{
    return RegQueryValueExW(m_hKey, name, nullptr, type, (BYTE*)data, bytes);
}

LONG CRegKey::QueryDWORDValue(const wchar_t* name, DWORD& value) const
{
    DWORD type = 0, v = 0, bytes = sizeof(v);
    LONG rc = QueryValue(name, &type, &v, &bytes);
    if (rc != ERROR_SUCCESS) return rc;
    if (type != REG_DWORD || bytes != sizeof(DWORD)) return ERROR_INVALID_DATA;
    value = v;
    return ERROR_SUCCESS;
}

LONG CRegKey::SetDWORDValue(const wchar_t* name, DWORD value) const
{
    return RegSetValueExW(m_hKey, name, 0, REG_DWORD, (const BYTE*)&value, sizeof(value));
}

LONG CRegKey::SetStringValue(const wchar_t* name, const wchar_t* text, DWORD type) const
{
    if (!text) text = L"";
    DWORD bytes = (DWORD)((wcslen(text) + 1) * sizeof(wchar_t));
    return RegSetValueExW(m_hKey, name, 0, type, (const BYTE*)text, bytes);
}

LONG CRegKey::DeleteValue(const wchar_t* name) const
{
    return RegDeleteValueW(m_hKey, name);
}
