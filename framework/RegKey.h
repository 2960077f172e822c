// CRegKey: holds one open registry key and always closes it.
#pragma once
#include <windows.h>

class CRegKey {
public:
    CRegKey() = default;
    ~CRegKey() { Close(); }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    CRegKey(CRegKey&& o) noexcept : m_hKey(o.Detach()) {}
    CRegKey& operator=(CRegKey&& o) noexcept { if (this != &o) Attach(o.Detach()); return *this; }

    // Both return the Win32 error code (ERROR_SUCCESS when the key is held).
    LONG Open(HKEY parent, const wchar_t* subKey, REGSAM access = KEY_READ);
    LONG Create(HKEY parent, const wchar_t* subKey, REGSAM access = KEY_READ | KEY_WRITE);
    LONG Close();

    LONG QueryDWORDValue(const wchar_t* name, DWORD& value) const;
    LONG SetDWORDValue(const wchar_t* name, DWORD value) const;
    LONG SetStringValue(const wchar_t* name, const wchar_t* text, DWORD type = REG_SZ) const;
    // Raw query: type and size in bytes come back as the platform gives them.
    LONG QueryValue(const wchar_t* name, DWORD* type, void* data, DWORD* bytes) const;
    LONG DeleteValue(const wchar_t* name) const;

    void Attach(HKEY key) { Close(); m_hKey = key; }
    HKEY Detach() { HKEY k = m_hKey; m_hKey = nullptr; return k; }
    operator HKEY() const { return m_hKey; }

    HKEY m_hKey = nullptr;
};
