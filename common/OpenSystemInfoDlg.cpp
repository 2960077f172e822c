#include "OpenSystemInfoDlg.h"
#include <shellapi.h>
#include <shlwapi.h>
#include <vector>
#include "Registry.h"

namespace {

CString Expanded(const CString& text)
{
    DWORD chars = ExpandEnvironmentStringsW(text, nullptr, 0);
    if (chars == 0) return text;
    std::vector<wchar_t> buffer(chars + 1);
    ExpandEnvironmentStringsW(text, buffer.data(), chars + 1);
    return CString(buffer.data());
}

}  // namespace

BOOL COpenSystemInfoDlg::GetSystemInfoPath(CString& path)
{
    path.Empty();
    CString value;
    if (RegReadString(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Shared Tools\\MSInfo", L"Path", value, L"")) {
        path = Expanded(value);
    } else if (RegReadString(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Shared Tools Location", L"MSInfo", value,
                             L"")) {
        path = Expanded(value);
        if (!path.IsEmpty() && path[path.GetLength() - 1] != L'\\') path += L'\\';
        path += L"MSInfo32.exe";
    }
    return !path.IsEmpty() && PathFileExistsW(path);
}

void COpenSystemInfoDlg::OpenSystemInfo()
{
    CString path;
    if (GetSystemInfoPath(path)) ShellExecuteW(nullptr, L"open", path, nullptr, nullptr, SW_SHOWNORMAL);
}
