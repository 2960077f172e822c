// IFileSinkFilter::GetCurFile for writers: a CoTaskMem copy of the file name and
// an audio media type (S_FALSE while no file was named).
#pragma once
#include <dshow.h>
#include <string>

HRESULT CopyFileSinkName(const std::wstring& path, LPOLESTR* name, AM_MEDIA_TYPE* mt);
