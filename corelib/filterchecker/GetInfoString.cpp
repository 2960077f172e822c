#include "GetInfoString.h"
#include <cwctype>

namespace {

bool IsBlank(wchar_t ch) { return ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n'; }

int HexValue(wchar_t ch)
{
    if (ch >= L'0' && ch <= L'9') return ch - L'0';
    if (ch >= L'a' && ch <= L'f') return ch - L'a' + 10;
    if (ch >= L'A' && ch <= L'F') return ch - L'A' + 10;
    return -1;
}

}  // namespace

std::wstring CGetInfoString::GetInfo(const std::wstring& line, const wchar_t* key)
{
    size_t at = line.find(key);
    if (at == std::wstring::npos) return std::wstring();
    size_t open = line.find(L'"', at + wcslen(key));
    if (open == std::wstring::npos) return std::wstring();
    size_t close = line.find(L'"', open + 1);
    std::wstring value = close == std::wstring::npos ? line.substr(open + 1)
                                                      : line.substr(open + 1, close - open - 1);
    size_t first = 0, last = value.size();
    while (first < last && IsBlank(value[first])) ++first;
    while (last > first && IsBlank(value[last - 1])) --last;
    return value.substr(first, last - first);
}

ULONG CGetInfoString::HexToULong(const wchar_t* text)
{
    ULONG value = 0;
    for (int i = 0; i < 8 && text[i]; ++i) {
        int digit = HexValue(text[i]);
        if (digit < 0) break;
        value = (value << 4) | (ULONG)digit;
    }
    return value;
}

BOOL CGetInfoString::StringToGUID(const std::wstring& text, GUID& guid)
{
    // Fixed positions of the braced form; every other character must be a digit.
    if (text.size() != 38 || text[0] != L'{' || text[37] != L'}') return FALSE;
    for (size_t i = 1; i < 37; ++i) {
        bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash ? text[i] != L'-' : HexValue(text[i]) < 0) return FALSE;
    }
    auto part = [&](size_t first, size_t count) {
        std::wstring digits = text.substr(first, count);
        return HexToULong(digits.c_str());
    };
    guid.Data1 = part(1, 8);
    guid.Data2 = (USHORT)part(10, 4);
    guid.Data3 = (USHORT)part(15, 4);
    static const size_t bytes[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) guid.Data4[i] = (BYTE)part(bytes[i], 2);
    return TRUE;
}
