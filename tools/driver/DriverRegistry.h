// Registry reads (and test set-up writes) in the view the suite uses.
#pragma once
#include <windows.h>
#include <string>

namespace drv {

bool RegValueExists(HKEY root, const std::wstring& key, const std::wstring& name);
// Returns false when the value is missing or of another type.
bool RegReadString(HKEY root, const std::wstring& key, const std::wstring& name, std::wstring* value);
bool RegReadDword(HKEY root, const std::wstring& key, const std::wstring& name, DWORD* value);
bool RegWriteString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value);
bool RegWriteDword(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value);
bool RegDeleteValue(HKEY root, const std::wstring& key, const std::wstring& name);
// Deletes the key with everything below it; a missing key is no error.
bool RegDeleteTree(HKEY root, const std::wstring& key);

}  // namespace drv
