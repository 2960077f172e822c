#include "RecordingName.h"
#include <windows.h>
#include <cwctype>

namespace recordingname {

std::wstring FreeStem(const std::wstring& album, const std::wstring& timeText,
                      const std::function<bool(const std::wstring&)>& taken)
{
    if (!taken(album)) return album;
    const std::wstring timed = album + L"_" + timeText;
    if (!taken(timed)) return timed;
    for (int n = 2;; ++n) {
        std::wstring counted = timed + L"-" + std::to_wstring(n);
        if (!taken(counted)) return counted;
    }
}

namespace {

bool EqualNoCase(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), (int)a.size(), b.c_str(), (int)b.size(), TRUE) == CSTR_EQUAL;
}

// "<stem>.mp3" or "<stem>_<digits>.mp3", without regard to case.
bool IsStemFile(const std::wstring& name, const std::wstring& stem)
{
    const std::wstring ext = L".mp3";
    if (name.size() < stem.size() + ext.size()) return false;
    if (!EqualNoCase(name.substr(0, stem.size()), stem)) return false;
    if (!EqualNoCase(name.substr(name.size() - ext.size()), ext)) return false;
    std::wstring middle = name.substr(stem.size(), name.size() - stem.size() - ext.size());
    if (middle.empty()) return true;
    if (middle.size() < 2 || middle[0] != L'_') return false;
    for (size_t i = 1; i < middle.size(); ++i)
        if (!std::iswdigit(middle[i])) return false;
    return true;
}

}  // namespace

bool StemTaken(const std::wstring& folder, const std::wstring& stem)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + stem + L"*.mp3").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool taken = false;
    do {
        if (IsStemFile(found.cFileName, stem)) taken = true;
    } while (!taken && FindNextFileW(search, &found));
    FindClose(search);
    return taken;
}

unsigned LongestMp3Recording(unsigned long long freeKB, int bitrateKbps)
{
    const unsigned long long reserveKB = 51200, longest = 86399;
    unsigned long long usable = freeKB > reserveKB ? freeKB - reserveKB : 0;
    long long kbPerSecond = ((long long)bitrateKbps * 1000 / 8) >> 10;
    if (kbPerSecond < 1) kbPerSecond = 1;
    unsigned long long seconds = usable / (unsigned long long)kbPerSecond;
    return seconds > longest ? (unsigned)longest : (unsigned)seconds;
}

}  // namespace recordingname
