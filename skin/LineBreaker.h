// The word-wrapping layout of CxStatic: breaks a text into lines no wider than
// a width, at blanks where it can, and at a carriage-return/line-feed pair.
#pragma once
#include <functional>
#include <vector>
#include "String.h"

// measure(text, count) gives the width of the first count characters.
std::vector<CString> BreakLines(const CString& text, int width,
                                const std::function<int(const wchar_t*, int)>& measure);
