#include "FileNameFilter.h"
#include <cwchar>

bool IsForbiddenFileNameChar(wchar_t ch) { return ch && wcschr(L"\"%*/:<>?\\|", ch) != nullptr; }

CString RemoveForbiddenFileNameChars(const CString& text)
{
    CString kept;
    for (int i = 0; i < text.GetLength(); ++i)
        if (!IsForbiddenFileNameChar(text[i])) kept += text[i];
    return kept;
}

CString MakeFileNameTipText(const CString& systemText)
{
    CString text = systemText;
    // The buffer holds 259 characters: the suffix goes only where it fits.
    if (text.GetLength() > 259) text = text.Left(259);
    if (text.GetLength() + 2 <= 259) text += L" %";
    for (int i = 0; i + 1 < text.GetLength(); ++i) {
        if (text[i] < 0x20 && text[i + 1] == L'\t') {
            text.SetAt(i, L' ');
            text.SetAt(i + 1, L' ');
        }
    }
    return text;
}

CString FileNameTipText()
{
    wchar_t buffer[260] = {};
    HMODULE shell = ::LoadLibraryW(L"Shell32.dll");
    int length = shell ? ::LoadStringW(shell, 4109, buffer, 260) : 0;
    if (shell) ::FreeLibrary(shell);
    // Where the platform has no such string, say the same in our words.
    CString systemText = length > 0 ? CString(buffer)
                                    : CString(L"A file name can't contain any of the following characters:\r\t\\ / : * ? \" < > |");
    return MakeFileNameTipText(systemText);
}
