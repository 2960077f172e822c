// Times as the suite shows them, "hh<sep>mm<sep>ss" with or without hundredths,
// rounded to the precision shown: 5.999 s reads 00:00:06.00, 59.6 s 00:01:00.
// Portable: the wave editor's core uses it as well as the lists of the programs.
#pragma once
#include <cmath>
#include <cwchar>
#include <string>

inline std::wstring ClockText(double seconds, bool hundredths, const wchar_t* separator)
{
    // Negative and not-a-number read as zero; beyond 99 999 hours nobody reads the figure.
    if (!(seconds > 0)) seconds = 0;
    if (seconds > 359999999.0) seconds = 359999999.0;
    // Round first, then split, so that a carry reaches the seconds, minutes and hours.
    const long long units = std::llround(seconds * (hundredths ? 100.0 : 1.0));
    const long long whole = hundredths ? units / 100 : units;
    wchar_t text[64];
    swprintf(text, 64, L"%02d%ls%02d%ls%02d", int(whole / 3600), separator, int(whole / 60 % 60), separator,
             int(whole % 60));
    std::wstring out = text;
    if (hundredths) {
        swprintf(text, 64, L".%02d", int(units % 100));
        out += text;
    }
    return out;
}
