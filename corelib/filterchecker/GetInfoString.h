// Parser of one line of the component list: "[name] "x.ax" [type] "filter"
// [guid] "{...}"". Values have no length limit; a class id is accepted only in
// its full 38-character braced form.
#pragma once
#include <windows.h>
#include <string>

class CGetInfoString {
public:
    virtual ~CGetInfoString() = default;

    // The text between the first two double quotes after key (everything after
    // the first quote when there is no second), blanks trimmed; empty when the
    // key is missing.
    static std::wstring GetInfo(const std::wstring& line, const wchar_t* key);
    // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" only: any other text gives FALSE
    // and leaves guid alone.
    static BOOL StringToGUID(const std::wstring& text, GUID& guid);
    // Up to 8 hexadecimal digits, stopping at the first other character.
    static ULONG HexToULong(const wchar_t* text);
};
