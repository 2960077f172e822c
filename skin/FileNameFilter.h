// The characters a file name cannot hold, refused by the file-name edits whether
// typed or pasted, and the tip text that explains why.
#pragma once
#include "String.h"

bool IsForbiddenFileNameChar(wchar_t ch);
// The text without its forbidden characters.
CString RemoveForbiddenFileNameChars(const CString& text);
// The system's explanation (shell32 string 4109) with " %" appended, control
// characters followed by a tab turned into blanks; our own text where the
// system has none.
CString FileNameTipText();
// The tip text cleaned as above, from a given system text.
CString MakeFileNameTipText(const CString& systemText);
