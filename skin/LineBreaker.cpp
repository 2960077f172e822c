#include "LineBreaker.h"

namespace {
bool IsBreak(wchar_t ch) { return ch == L'\r' || ch == L'\n'; }
}

std::vector<CString> BreakLines(const CString& text, int width,
                                const std::function<int(const wchar_t*, int)>& measure)
{
    std::vector<CString> lines;
    CString remaining = text;
    while (!remaining.IsEmpty()) {
        bool restart = false;
        wchar_t remembered = 0;
        for (int d = 1; d <= remaining.GetLength(); ++d) {
            wchar_t ch = remaining[d - 1];
            if (IsBreak(ch)) {
                if (!remembered) {
                    remembered = ch;
                } else if (remembered != ch) {
                    // A carriage return and a line feed, in either order, end the line.
                    lines.push_back(remaining.Left(d >= 2 ? d - 2 : 0));
                    remaining = remaining.Mid(d);
                    restart = true;
                    break;
                }
            }
            if (measure(remaining.GetString(), d) > width) {
                if (d == 1) {
                    // Narrower than one character: the line takes that one anyway.
                    lines.push_back(remaining.Left(1));
                    remaining = remaining.Mid(1);
                } else {
                    CString cut = remaining.Left(d - 1);
                    int blank = cut.ReverseFind(L' ');
                    if (blank < 0 || blank == cut.GetLength() - 1) {
                        lines.push_back(cut);
                        remaining = remaining.Mid(d - 1);
                    } else {
                        lines.push_back(cut.Left(blank));
                        remaining = remaining.Mid(blank + 1);
                    }
                }
                restart = true;
                break;
            }
        }
        if (!restart) {
            lines.push_back(remaining);
            break;
        }
    }
    return lines;
}
