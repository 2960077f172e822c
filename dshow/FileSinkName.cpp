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
