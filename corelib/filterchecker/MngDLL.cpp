#include "MngDLL.h"
#include <cstdio>
#include <share.h>
#include <vector>
#include "GetInfoString.h"
#include "LogFile.h"
#include "Registry.h"

MngDLL g_MngDLL;

namespace {

const IID kIID_IBaseFilter = {0x56A86895, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
const DWORD kCreateContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;

std::wstring Lower(std::wstring text)
{
    if (!text.empty()) CharLowerBuffW(&text[0], (DWORD)text.size());
    return text;
}

std::wstring Upper(std::wstring text)
{
    if (!text.empty()) CharUpperBuffW(&text[0], (DWORD)text.size());
    return text;
}

bool SameNoCase(const std::wstring& a, const std::wstring& b)
{
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), (int)a.size(), b.c_str(),
                          (int)b.size()) == CSTR_EQUAL;
}

std::wstring FolderOf(const std::wstring& path)
{
    size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(0, slash);
}

void TrimTrailingBackslashes(std::wstring& path)
{
    while (!path.empty() && path.back() == L'\\') path.pop_back();
}

// A registry string with environment references expanded, so a REG_EXPAND_SZ
// module path can be tested for existence.
BOOL ReadDefaultValue(const std::wstring& subKey, std::wstring& out)
{
    CString value;
    if (!RegReadString(HKEY_CLASSES_ROOT, subKey.c_str(), nullptr, value, L"")) return FALSE;
    DWORD chars = ExpandEnvironmentStringsW(value, nullptr, 0);
    if (chars == 0) {
        out = value.str();
        return TRUE;
    }
    std::vector<wchar_t> expanded(chars + 1);
    ExpandEnvironmentStringsW(value, expanded.data(), chars + 1);
    out = expanded.data();
    return TRUE;
}

int TryCreate(const CLSID& clsid, const IID& iid)
{
    IUnknown* object = nullptr;
    HRESULT hr = CoCreateInstance(clsid, nullptr, kCreateContext, iid, (void**)&object);
    if (FAILED(hr) || !object) return 0;
    object->Release();
    return 1;
}

}  // namespace

bool ReadListLine(FILE* file, std::wstring& line)
{
    std::string bytes;
    int ch;
    bool any = false;
    while ((ch = fgetc(file)) != EOF) {
        any = true;
        if (ch == '\n') break;
        bytes += (char)ch;
    }
    if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
    line = CString(bytes.c_str()).str();
    return any;
}

int MngDLL::CheckList(const wchar_t* listPath)
{
    FILE* file = _wfsopen(listPath, L"rb", _SH_DENYNO);
    if (!file) return 1;
    if (m_location.empty()) {
        SetLocation(L"");
        DebugPrint(L"Location:[%s]", m_location.c_str());
    }
    std::wstring line;
    int result = 1;
    while (ReadListLine(file, line)) {
        if (!DoCheck(line)) {
            result = 0;
            break;
        }
    }
    fclose(file);
    return result;
}

int MngDLL::DoCheck(const std::wstring& text)
{
    const wchar_t* tag = L"MngDLL::DoCheck";
    std::wstring line = Lower(text);
    std::wstring name = CGetInfoString::GetInfo(line, L"[name]");
    std::wstring type = CGetInfoString::GetInfo(line, L"[type]");
    std::wstring id = CGetInfoString::GetInfo(line, L"[guid]");
    DebugPrint(L"[%s] name:[%s] guid:[%s]", tag, name.c_str(), id.c_str());

    if (!CheckRegistredModule(name, id)) {
        DebugPrint(L"[%s] CheckRegistredModule return false ", tag);
        return 0;
    }
    if (type == L"filter" || type == L"ocx") {
        CLSID clsid;
        if (!CGetInfoString::StringToGUID(id, clsid)) {
            DebugPrint(L"[%s] not a class id:[%s]", tag, id.c_str());
            return 0;
        }
        bool filter = type == L"filter";
        int created = TryCreate(clsid, filter ? kIID_IBaseFilter : IID_IUnknown);
        DebugPrint(filter ? L"[%s] CheckFilter:[%d] " : L"[%s] CheckOCX:[%d] ", tag, created);
        return created;
    }
    if (type == L"pack") {
        CLSID clsid;
        int created = SUCCEEDED(CLSIDFromProgID(id.c_str(), &clsid)) ? TryCreate(clsid, IID_IUnknown) : 0;
        DebugPrint(L"[%s] CheckPack:[%d] ", tag, created);
        return created;
    }
    return 1;
}

BOOL MngDLL::CheckRegistredModule(const std::wstring& name, const std::wstring& id)
{
    if (name.empty() || id.empty()) return TRUE;
    const wchar_t* tag = L"MngDLL::CheckRegistredModule";
    std::wstring classId = Upper(id);
    std::wstring registered;
    DebugPrint(L"[%s] guid:[%s] RegistredPath:[%s]", tag, classId.c_str(), registered.c_str());
    // Not registered: nothing to compare; the creation test decides.
    if (!GetCLSIDPath(classId, registered)) return TRUE;
    int same = CompareModulePath(registered, m_location + L"\\" + name);
    DebugPrint(L"[%s] CompareModulePath:[%d]", tag, same);
    return same;
}

int MngDLL::CompareModulePath(const std::wstring& registered, const std::wstring& expected)
{
    if (registered.empty() || expected.empty()) return 0;
    const wchar_t* tag = L"MngDLL::CompareModulePath";
    DebugPrint(L"[%s] 1. strModulePath:[%s] strRegPath:[%s]", tag, expected.c_str(), registered.c_str());
    if (SameNoCase(expected, registered)) return 1;

    std::wstring expectedFolder = FolderOf(expected), registeredFolder = FolderOf(registered);
    DebugPrint(L"[%s] 2. strModuleLocation:[%s] strRegLocation:[%s]", tag, expectedFolder.c_str(),
               registeredFolder.c_str());
    if (SameNoCase(expectedFolder, registeredFolder)) return 1;

    DWORD chars = GetShortPathNameW(expectedFolder.c_str(), nullptr, 0);
    if (chars == 0) return 0;
    std::vector<wchar_t> shortForm(chars + 1);
    if (!GetShortPathNameW(expectedFolder.c_str(), shortForm.data(), chars + 1)) return 0;
    DebugPrint(L"[%s] 3. strModuleShortLocation:[%s] strShortName:[%s]", tag, shortForm.data(),
               registeredFolder.c_str());
    return SameNoCase(shortForm.data(), registeredFolder) ? 1 : 0;
}

BOOL MngDLL::GetCLSIDPath(const std::wstring& id, std::wstring& path)
{
    // A ProgID names its class under "<id>\CLSID"; otherwise id is the class id.
    std::wstring classId;
    if (!ReadDefaultValue(id + L"\\CLSID", classId) || classId.empty()) classId = id;
    return GetRegisteredPath(classId, path);
}

BOOL MngDLL::GetRegisteredPath(const std::wstring& classId, std::wstring& path)
{
    if (classId.empty()) return FALSE;
    std::wstring server;
    if (ReadDefaultValue(L"CLSID\\" + classId + L"\\InprocServer32", server) &&
        GetFileAttributesW(server.c_str()) != INVALID_FILE_ATTRIBUTES) {
        path = server;
        return TRUE;
    }
    std::wstring typeLib, library;
    if (ReadDefaultValue(L"Interface\\" + classId + L"\\TypeLib", typeLib) &&
        ReadDefaultValue(L"TypeLib\\" + typeLib + L"\\1.0\\0\\win32", library)) {
        path = library;
        return TRUE;
    }
    return FALSE;
}

void MngDLL::SetLocation(const wchar_t* folder)
{
    if (folder && *folder) {
        m_location = folder;
    } else {
        wchar_t module[MAX_PATH] = L"";
        GetModuleFileNameW(nullptr, module, MAX_PATH);
        m_location = FolderOf(module);
    }
    TrimTrailingBackslashes(m_location);
}
