// The file names of the writers' IFileSinkFilter.
#pragma once
#include <dshow.h>
#include <string>

// GetCurFile: a CoTaskMem copy of the file name and an audio media type (S_FALSE
// while no file was named).
HRESULT CopyFileSinkName(const std::wstring& path, LPOLESTR* name, AM_MEDIA_TYPE* mt);

// SetFileName's check, which creates and changes nothing: an existing file must
// open for writing, a new one needs an existing folder.
HRESULT CheckWritableName(const wchar_t* name);
