#include "DateTime.h"
#include <cwchar>
#include <vector>

namespace {
constexpr LONGLONG kFileTimeTo1970 = 116444736000000000LL;   // 100-ns ticks from 1601
}

CString CTimeSpan::Format(const wchar_t* format) const
{
    CString out;
    if (!format) return out;
    wchar_t num[32];
    for (const wchar_t* p = format; *p; ++p) {
        if (*p != L'%' || !p[1]) { out += *p; continue; }
        switch (*++p) {
        case L'D': _snwprintf(num, 32, L"%I64d", GetDays()); out += num; break;
        case L'H': _snwprintf(num, 32, L"%02ld", (long)GetHours()); out += num; break;
        case L'M': _snwprintf(num, 32, L"%02ld", (long)GetMinutes()); out += num; break;
        case L'S': _snwprintf(num, 32, L"%02ld", (long)GetSeconds()); out += num; break;
        case L'%': out += L'%'; break;
        default: out += L'%'; out += *p; break;
        }
    }
    return out;
}

CTime::CTime(int year, int month, int day, int hour, int minute, int second)
{
    struct tm t = {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    __time64_t v = _mktime64(&t);
    m_time = v < 0 ? 0 : v;
}

CTime::CTime(const SYSTEMTIME& st) : CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond) {}

CTime::CTime(const FILETIME& ft)
{
    ULARGE_INTEGER v;
    v.LowPart = ft.dwLowDateTime;
    v.HighPart = ft.dwHighDateTime;
    m_time = ((LONGLONG)v.QuadPart - kFileTimeTo1970) / 10000000;
}

CTime CTime::GetCurrentTime()
{
    return CTime(_time64(nullptr));
}

struct tm CTime::Local() const
{
    struct tm t = {};
    __time64_t v = m_time;
    _localtime64_s(&t, &v);
    return t;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& st) const
{
    struct tm t = {};
    __time64_t v = m_time;
    if (_localtime64_s(&t, &v) != 0) return FALSE;
    st = SYSTEMTIME{};
    st.wYear = (WORD)(t.tm_year + 1900);
    st.wMonth = (WORD)(t.tm_mon + 1);
    st.wDayOfWeek = (WORD)t.tm_wday;
    st.wDay = (WORD)t.tm_mday;
    st.wHour = (WORD)t.tm_hour;
    st.wMinute = (WORD)t.tm_min;
    st.wSecond = (WORD)t.tm_sec;
    return TRUE;
}

CString CTime::FormatTm(const wchar_t* format, const struct tm& t)
{
    if (!format || !*format) return CString();
    std::vector<wchar_t> buf(256);
    for (int tries = 0; tries < 6; ++tries) {
        size_t n = wcsftime(buf.data(), buf.size(), format, &t);
        if (n > 0) return CString(buf.data(), (int)n);
        buf.resize(buf.size() * 4);
    }
    return CString();
}

CString CTime::Format(const wchar_t* format) const
{
    return FormatTm(format, Local());
}

CString CTime::FormatGmt(const wchar_t* format) const
{
    struct tm t = {};
    __time64_t v = m_time;
    _gmtime64_s(&t, &v);
    return FormatTm(format, t);
}
