#include "ContinuationName.h"

std::wstring ContinuationName(const std::wstring& path, int index, const wchar_t* ext)
{
    const size_t nameStart = path.find_last_of(L"\\/:") == std::wstring::npos ? 0 : path.find_last_of(L"\\/:") + 1;
    const size_t dot = path.find_last_of(L'.');
    const size_t stemEnd = dot != std::wstring::npos && dot >= nameStart ? dot : path.size();
    return path.substr(0, stemEnd) + L"_" + std::to_wstring(index) + ext;
}
