#include "DateTime.h"
#include <gtest/gtest.h>

TEST(CTimeSpan, PartsAndFormat)
{
    CTimeSpan span(1, 2, 3, 4);
    EXPECT_EQ(1, span.GetDays());
    EXPECT_EQ(2, span.GetHours());
    EXPECT_EQ(3, span.GetMinutes());
    EXPECT_EQ(4, span.GetSeconds());
    EXPECT_EQ(26, span.GetTotalHours());
    EXPECT_EQ(93784, span.GetTotalSeconds());
    EXPECT_STREQ(L"02 : 03 : 04", span.Format(L"%H : %M : %S"));
    EXPECT_STREQ(L"1d 100% %x", span.Format(L"%Dd 100%% %x"));
    // Hours count within a day: a full day shows as zero.
    EXPECT_STREQ(L"00 : 00 : 00", CTimeSpan(86400).Format(L"%H : %M : %S"));
    EXPECT_STREQ(L"00 : 01 : 05", CTimeSpan(65).Format(L"%H : %M : %S"));
}

TEST(CTime, LocalPartsFormatAndArithmetic)
{
    CTime t(2026, 12, 10, 13, 5, 28);
    EXPECT_EQ(2026, t.GetYear());
    EXPECT_EQ(12, t.GetMonth());
    EXPECT_EQ(10, t.GetDay());
    EXPECT_EQ(13, t.GetHour());
    EXPECT_EQ(5, t.GetMinute());
    EXPECT_EQ(28, t.GetSecond());
    EXPECT_STREQ(L"20261210_130528", t.Format(L"%Y%m%d_%H%M%S"));

    CTime later = t + CTimeSpan(0, 1, 0, 30);
    EXPECT_EQ(3630, (later - t).GetTotalSeconds());
    EXPECT_TRUE(later > t);
    SYSTEMTIME st;
    ASSERT_TRUE(later.GetAsSystemTime(st));
    EXPECT_EQ(14, st.wHour);
    EXPECT_EQ(CTime(st).GetTime(), later.GetTime());
}

TEST(CTime, FileTimesAreUtc)
{
    FILETIME ft;
    ULARGE_INTEGER v;
    v.QuadPart = 116444736000000000ULL + 86400ULL * 10000000ULL;   // 1970-01-02 00:00:00 UTC
    ft.dwLowDateTime = v.LowPart;
    ft.dwHighDateTime = v.HighPart;
    CTime t(ft);
    EXPECT_EQ(86400, t.GetTime());
    EXPECT_STREQ(L"1970-01-02 00:00:00", t.FormatGmt(L"%Y-%m-%d %H:%M:%S"));

    SYSTEMTIME now;
    GetSystemTime(&now);
    FILETIME nowFt;
    SystemTimeToFileTime(&now, &nowFt);
    EXPECT_LE(llabs((long long)(CTime(nowFt) - CTime::GetCurrentTime()).GetTotalSeconds()), 2);
}
