#include "AnsiName.h"
#include <string>

void ToAnsiName(const wchar_t* text, char* row, int rowBytes)
{
    ZeroMemory(row, rowBytes);
    if (!text || !*text || rowBytes < 1) return;
    int bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return;
    std::string all((size_t)bytes, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &all[0], bytes, nullptr, nullptr);
    // Keep whole characters only: a lead byte never ends the row without its trail.
    int kept = 0;
    while (kept < bytes - 1) {
        int width = IsDBCSLeadByte((BYTE)all[(size_t)kept]) ? 2 : 1;
        if (kept + width > rowBytes - 1) break;
        kept += width;
    }
    CopyMemory(row, all.data(), kept);
}
