#include "Registry.h"
#include "RegKey.h"
#include <shlwapi.h>

namespace {

constexpr DWORD kNoDwordDefault = 0xFFFFFFFF;
constexpr DWORD kMaxStringChars = 260;   // terminator included

REGSAM ReadAccess() { return IsWow64() ? (KEY_READ | KEY_WOW64_32KEY) : KEY_READ; }
REGSAM WriteAccess() { return IsWow64() ? (KEY_WRITE | KEY_WOW64_32KEY) : KEY_WRITE; }

bool StartsWithKey(const wchar_t* subKey, const wchar_t* prefix)
{
    size_t n = wcslen(prefix);
    return _wcsnicmp(subKey, prefix, n) == 0 && (subKey[n] == L'\0' || subKey[n] == L'\\');
}

// Keys the platform owns: the suite reads them but must never create values there.
bool IsPlatformKey(HKEY root, const wchar_t* subKey)
{
    if (root == HKEY_CLASSES_ROOT) return true;
    if (!subKey) return false;
    while (*subKey == L'\\') ++subKey;
    return StartsWithKey(subKey, L"Software\\Microsoft") || StartsWithKey(subKey, L"Software\\Classes") ||
           StartsWithKey(subKey, L"System");
}

// Only a key or value that is not there is "missing"; any other failure (a value
// of the wrong type or length, no access) keeps what is stored.
bool IsMissing(LONG rc) { return rc == ERROR_FILE_NOT_FOUND || rc == ERROR_PATH_NOT_FOUND; }

} // namespace

BOOL IsWow64()
{
    typedef BOOL(WINAPI * IsWow64ProcessFn)(HANDLE, PBOOL);
    HMODULE kernel = GetModuleHandleW(L"kernel32");
    auto fn = kernel ? (IsWow64ProcessFn)(void*)GetProcAddress(kernel, "IsWow64Process") : nullptr;
    if (!fn) return FALSE;
    BOOL wow = FALSE;
    if (!fn(GetCurrentProcess(), &wow)) return FALSE;
    return wow;
}

BOOL RegWriteDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD value)
{
    CRegKey key;
    if (key.Create(root, subKey, WriteAccess()) != ERROR_SUCCESS) return FALSE;
    return key.SetDWORDValue(name, value) == ERROR_SUCCESS;
}

BOOL RegWriteString(HKEY root, const wchar_t* subKey, const wchar_t* name, const wchar_t* text)
{
    CRegKey key;
    if (key.Create(root, subKey, WriteAccess()) != ERROR_SUCCESS) return FALSE;
    return key.SetStringValue(name, text, REG_SZ) == ERROR_SUCCESS;
}

BOOL RegDeleteValueOf(HKEY root, const wchar_t* subKey, const wchar_t* name)
{
    CRegKey key;
    LONG rc = key.Open(root, subKey, WriteAccess());
    if (IsMissing(rc)) return TRUE;
    if (rc != ERROR_SUCCESS) return FALSE;
    rc = key.DeleteValue(name);
    return rc == ERROR_SUCCESS || IsMissing(rc);
}

BOOL RegReadDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD& out, DWORD def)
{
    LONG rc;
    {
        CRegKey key;
        rc = key.Open(root, subKey, ReadAccess());
        if (rc == ERROR_SUCCESS) {
            DWORD type = 0, value = 0, bytes = sizeof(value);
            rc = key.QueryValue(name, &type, &value, &bytes);
            if (rc == ERROR_SUCCESS) {
                if (type == REG_DWORD && bytes == sizeof(DWORD)) {
                    out = value;
                    return TRUE;
                }
                rc = ERROR_INVALID_DATA;
            }
        }
    }
    if (IsMissing(rc) && def != kNoDwordDefault && !IsPlatformKey(root, subKey))
        RegWriteDword(root, subKey, name, def);
    return FALSE;
}

BOOL RegReadString(HKEY root, const wchar_t* subKey, const wchar_t* name, CString& out, const wchar_t* def)
{
    LONG rc;
    {
        CRegKey key;
        rc = key.Open(root, subKey, ReadAccess());
        if (rc == ERROR_SUCCESS) {
            wchar_t buf[kMaxStringChars];
            DWORD type = 0, bytes = sizeof(buf);
            rc = key.QueryValue(name, &type, buf, &bytes);
            if (rc == ERROR_SUCCESS) {
                size_t chars = bytes / sizeof(wchar_t);
                // A value stored without any data is an empty string.
                bool usable = (type == REG_SZ || type == REG_EXPAND_SZ) && bytes % sizeof(wchar_t) == 0 &&
                              (chars == 0 || buf[chars - 1] == L'\0');
                if (usable) {
                    out = chars ? buf : L"";
                    return TRUE;
                }
                rc = ERROR_INVALID_DATA;
            }
        }
    }
    if (IsMissing(rc) && def && *def && !IsPlatformKey(root, subKey))
        RegWriteString(root, subKey, name, def);
    return FALSE;
}
