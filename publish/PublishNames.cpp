#include "PublishNames.h"
#include "PathUtil.h"

#include <cwchar>

namespace publish {

bool IsValidName(const std::wstring& name)
{
    if (name.empty()) return false;
    auto edge = [](wchar_t c) { return c == L'\t' || c == L' ' || c == L'.'; };
    if (edge(name.front()) || edge(name.back())) return false;
    return name.find_first_of(L"\"*/:<>?\\|") == std::wstring::npos;
}

std::wstring TrimBlanks(const std::wstring& text)
{
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return L"";
    const size_t last = text.find_last_not_of(L' ');
    return text.substr(first, last - first + 1);
}

std::wstring SanitizeTrackName(const std::wstring& name)
{
    std::wstring out = name;
    for (wchar_t& c : out) {
        switch (c) {
        case L'\\':
        case L'/': c = L'^'; break;
        case L':': c = L'@'; break;
        case L'*': c = L'#'; break;
        case L'?': c = L'$'; break;
        case L'"': c = L'\''; break;
        case L'<': c = L'('; break;
        case L'>': c = L')'; break;
        case L'|': c = L'!'; break;
        default: break;
        }
    }
    return TrimBlanks(out);
}

std::wstring OutputFileName(const std::wstring& albumFolder, int rowIndex, const std::wstring& trackName,
                            const std::wstring& fileTitle, const std::wstring& extension)
{
    wchar_t number[16];
    _snwprintf(number, 16, L"[%02d] ", rowIndex + 1);
    const std::wstring name = trackName.empty() ? fileTitle : SanitizeTrackName(trackName);
    return albumFolder + number + name + extension;
}

std::wstring DiscLongName(const std::wstring& fileName)
{
    std::wstring out = fileName;
    for (wchar_t& c : out)
        if (c == L';') c = L'_';
    return out;
}

std::wstring DiscShortName(const std::wstring& fileName, int index)
{
    const size_t dot = fileName.rfind(L'.');
    std::wstring stem = dot == std::wstring::npos ? fileName : fileName.substr(0, dot);
    const std::wstring ext = dot == std::wstring::npos ? L"" : fileName.substr(dot, 4);
    if (stem.size() > 8) {
        wchar_t hex[8];
        _snwprintf(hex, 8, L"%02x", unsigned(index) % 256);
        stem = stem.substr(0, 6) + hex;
    }
    return DiscLongName(stem + ext);
}

std::wstring TagTitleSuffix(const std::vector<std::wstring>& trackNames, const std::wstring& title, int currentRow)
{
    for (const std::wstring& name : trackNames) {
        if (name.size() > 28 && title.compare(0, 28, name, 0, 28) == 0 && title.size() >= 28) {
            wchar_t number[16];
            _snwprintf(number, 16, L"%02d", currentRow + 1);
            return number;
        }
    }
    return L"";
}

bool NameOnDisk(const std::wstring& path)
{
    return PathExists(path.c_str()) != FALSE;
}

std::wstring FreeName(const std::wstring& path, const std::function<bool(const std::wstring&)>& taken)
{
    if (!taken(path)) return path;
    const size_t slash = path.find_last_of(L"\\/");
    const size_t dot = path.rfind(L'.');
    const bool hasExt = dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash);
    const std::wstring stem = hasExt ? path.substr(0, dot) : path, ext = hasExt ? path.substr(dot) : L"";
    for (int n = 2;; ++n) {
        const std::wstring candidate = stem + L" (" + std::to_wstring(n) + L")" + ext;
        if (!taken(candidate)) return candidate;
    }
}

std::wstring MergeName(const std::wstring& albumFolder, const std::wstring& album, const std::wstring& mergeLabel,
                       const std::function<bool(const std::wstring&)>& exists)
{
    const std::wstring plain = albumFolder + album + L".mp3";
    if (!exists(plain)) return plain;
    return albumFolder + album + L"[" + mergeLabel + L"].mp3";
}

}  // namespace publish
