// CTime: a point in time (seconds since 1970, UTC) shown in local time;
// CTimeSpan: a signed number of seconds. Both format with strftime-style codes.
#pragma once
#include <windows.h>
#include <ctime>
#include "String.h"

class CTimeSpan {
public:
    CTimeSpan() = default;
    CTimeSpan(LONGLONG seconds) : m_span(seconds) {}
    CTimeSpan(LONG days, int hours, int minutes, int seconds)
        : m_span(((LONGLONG)days * 24 + hours) * 3600 + (LONGLONG)minutes * 60 + seconds) {}

    LONGLONG GetDays() const { return m_span / 86400; }
    LONG GetHours() const { return (LONG)(m_span / 3600 % 24); }       // within the day
    LONG GetMinutes() const { return (LONG)(m_span / 60 % 60); }
    LONG GetSeconds() const { return (LONG)(m_span % 60); }
    LONGLONG GetTotalHours() const { return m_span / 3600; }
    LONGLONG GetTotalMinutes() const { return m_span / 60; }
    LONGLONG GetTotalSeconds() const { return m_span; }
    LONGLONG GetTimeSpan() const { return m_span; }

    // %D days, %H hours within the day, %M minutes, %S seconds (two digits each
    // except %D), %% a percent sign; other characters are copied.
    CString Format(const wchar_t* format) const;

    CTimeSpan operator+(CTimeSpan o) const { return m_span + o.m_span; }
    CTimeSpan operator-(CTimeSpan o) const { return m_span - o.m_span; }
    CTimeSpan& operator+=(CTimeSpan o) { m_span += o.m_span; return *this; }
    CTimeSpan& operator-=(CTimeSpan o) { m_span -= o.m_span; return *this; }
    bool operator==(CTimeSpan o) const { return m_span == o.m_span; }
    bool operator!=(CTimeSpan o) const { return m_span != o.m_span; }
    bool operator<(CTimeSpan o) const { return m_span < o.m_span; }
    bool operator>(CTimeSpan o) const { return m_span > o.m_span; }
    bool operator<=(CTimeSpan o) const { return m_span <= o.m_span; }
    bool operator>=(CTimeSpan o) const { return m_span >= o.m_span; }

private:
    LONGLONG m_span = 0;
};

class CTime {
public:
    CTime() = default;
    CTime(__time64_t t) : m_time(t) {}
    // Local date and time.
    CTime(int year, int month, int day, int hour, int minute, int second);
    CTime(const SYSTEMTIME& localTime);
    // A file time (UTC, as the file system reports it).
    CTime(const FILETIME& fileTime);

    static CTime GetCurrentTime();

    __time64_t GetTime() const { return m_time; }
    int GetYear() const { return Local().tm_year + 1900; }
    int GetMonth() const { return Local().tm_mon + 1; }
    int GetDay() const { return Local().tm_mday; }
    int GetHour() const { return Local().tm_hour; }
    int GetMinute() const { return Local().tm_min; }
    int GetSecond() const { return Local().tm_sec; }
    int GetDayOfWeek() const { return Local().tm_wday + 1; }   // 1 = Sunday
    BOOL GetAsSystemTime(SYSTEMTIME& localTime) const;

    // strftime codes on the local time ("%Y%m%d_%H%M%S").
    CString Format(const wchar_t* format) const;
    CString FormatGmt(const wchar_t* format) const;

    CTimeSpan operator-(CTime o) const { return CTimeSpan(m_time - o.m_time); }
    CTime operator+(CTimeSpan s) const { return CTime(m_time + s.GetTimeSpan()); }
    CTime operator-(CTimeSpan s) const { return CTime(m_time - s.GetTimeSpan()); }
    CTime& operator+=(CTimeSpan s) { m_time += s.GetTimeSpan(); return *this; }
    CTime& operator-=(CTimeSpan s) { m_time -= s.GetTimeSpan(); return *this; }
    bool operator==(CTime o) const { return m_time == o.m_time; }
    bool operator!=(CTime o) const { return m_time != o.m_time; }
    bool operator<(CTime o) const { return m_time < o.m_time; }
    bool operator>(CTime o) const { return m_time > o.m_time; }
    bool operator<=(CTime o) const { return m_time <= o.m_time; }
    bool operator>=(CTime o) const { return m_time >= o.m_time; }

private:
    struct tm Local() const;
    static CString FormatTm(const wchar_t* format, const struct tm& t);

    __time64_t m_time = 0;
};
