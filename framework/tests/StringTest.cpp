#include "String.h"
#include <gtest/gtest.h>

TEST(CString, FormatTakesWideStringsForPercentS)
{
    CString s;
    s.Format(L"[%08d] [%s-%s] ", 7, L"2026/12/10", L"12:00:00.000");
    EXPECT_STREQ(L"[00000007] [2026/12/10-12:00:00.000] ", s);
}

TEST(CString, FormatOfLongTextIsNotCut)
{
    CString big(L'x', 5000), s;
    s.Format(L"<%s>", (const wchar_t*)big);
    EXPECT_EQ(5002, s.GetLength());
}

TEST(CString, SubstringsAndSearch)
{
    CString s(L"C:\\Music\\a.b.wav");
    EXPECT_EQ(2, s.Find(L'\\'));
    EXPECT_EQ(8, s.ReverseFind(L'\\'));
    EXPECT_STREQ(L"a.b.wav", s.Mid(9));
    EXPECT_STREQ(L"C:", s.Left(2));
    EXPECT_STREQ(L".wav", s.Right(4));
    EXPECT_STREQ(L"", s.Mid(100));
    EXPECT_STREQ(L"", s.Left(-1));
    EXPECT_EQ(-1, s.Find(L"zzz"));
}

TEST(CString, CaseTrimAndCompare)
{
    CString s(L"  NV_Log \t");
    s.Trim();
    EXPECT_STREQ(L"NV_Log", s);
    EXPECT_EQ(0, s.CompareNoCase(L"nv_log"));
    EXPECT_STREQ(L"nv_log", CString(s).MakeLower());
    EXPECT_STREQ(L"NV_LOG", CString(s).MakeUpper());
}

TEST(CString, BufferRoundTrip)
{
    CString s;
    wchar_t* p = s.GetBuffer(260);
    wcscpy(p, L"abc");
    s.ReleaseBuffer();
    EXPECT_EQ(3, s.GetLength());
    EXPECT_STREQ(L"abc", s);
}

TEST(CString, AnsiConversionUsesCodePage1252)
{
    EXPECT_EQ(1252u, GetACP());
    CStringA a(L"caf\u00e9 \u4e2d");
    EXPECT_STREQ("caf\xe9 ?", a);
    EXPECT_STREQ(L"caf\u00e9", AnsiToWide("caf\xe9"));
    EXPECT_STREQ("\xc3\xa9", WideToUtf8(L"\u00e9"));
}
