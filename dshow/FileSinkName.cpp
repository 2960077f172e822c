#include "FileSinkName.h"

HRESULT CopyFileSinkName(const std::wstring& path, LPOLESTR* name, AM_MEDIA_TYPE* mt)
{
    if (!name) return E_POINTER;
    *name = nullptr;
    if (mt) ZeroMemory(mt, sizeof(*mt));
    if (path.empty()) return S_FALSE;
    size_t bytes = (path.size() + 1) * sizeof(wchar_t);
    *name = (LPOLESTR)CoTaskMemAlloc(bytes);
    if (!*name) return E_OUTOFMEMORY;
    memcpy(*name, path.c_str(), bytes);
    if (mt) mt->majortype = MEDIATYPE_Audio;
    return S_OK;
}

HRESULT CheckWritableName(const wchar_t* name)
{
    DWORD attributes = GetFileAttributesW(name);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
        HANDLE h = CreateFileW(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return HRESULT_FROM_WIN32(GetLastError());
        CloseHandle(h);
        return S_OK;
    }
    wchar_t full[MAX_PATH * 2];
    wchar_t* title = nullptr;
    DWORD n = GetFullPathNameW(name, MAX_PATH * 2, full, &title);
    if (n == 0 || n >= MAX_PATH * 2 || !title || !*title) return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    *title = 0;
    DWORD folder = GetFileAttributesW(full);
    if (folder == INVALID_FILE_ATTRIBUTES || !(folder & FILE_ATTRIBUTE_DIRECTORY))
        return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    return S_OK;
}
