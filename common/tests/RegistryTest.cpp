#include "Registry.h"
#include "RegKey.h"
#include <gtest/gtest.h>

namespace {

// Every test works under its own key below HKCU and removes it afterwards.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        key = CString(L"Software\\Norvane\\SonelleTest\\") +
              CString(::testing::UnitTest::GetInstance()->current_test_info()->name());
        RegDeleteTreeW(HKEY_CURRENT_USER, key);
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, key); }

    bool KeyExists(const wchar_t* sub) const
    {
        CRegKey k;
        return k.Open(HKEY_CURRENT_USER, sub, KEY_READ) == ERROR_SUCCESS;
    }
    void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes)
    {
        CRegKey k;
        ASSERT_EQ(ERROR_SUCCESS, k.Create(HKEY_CURRENT_USER, key));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(k, name, 0, type, (const BYTE*)data, bytes));
    }
    std::string GetRaw(const wchar_t* name, DWORD* type = nullptr)
    {
        CRegKey k;
        if (k.Open(HKEY_CURRENT_USER, key) != ERROR_SUCCESS) return "<no key>";
        char buf[2048];
        DWORD t = 0, bytes = sizeof(buf);
        if (k.QueryValue(name, &t, buf, &bytes) != ERROR_SUCCESS) return "<no value>";
        if (type) *type = t;
        return std::string(buf, bytes);
    }

    CString key;
};

} // namespace

TEST_F(RegistryTest, MissingDwordIsCreatedWithTheDefaultAndReadNextTime)
{
    DWORD out = 77;
    EXPECT_FALSE(RegReadDword(HKEY_CURRENT_USER, key + L"\\deep\\er", L"AudioLevel", out, 10));
    EXPECT_EQ(77u, out);                                   // out is not set to the default
    EXPECT_TRUE(RegReadDword(HKEY_CURRENT_USER, key + L"\\deep\\er", L"AudioLevel", out, 99));
    EXPECT_EQ(10u, out);
}

TEST_F(RegistryTest, MissingStringIsCreatedWithTheDefaultAndReadNextTime)
{
    CString out(L"untouched");
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, key, L"AlbumName", out, L"My Album"));
    EXPECT_STREQ(L"untouched", out);
    EXPECT_TRUE(RegReadString(HKEY_CURRENT_USER, key, L"AlbumName", out, L"other"));
    EXPECT_STREQ(L"My Album", out);
    DWORD type = 0;
    GetRaw(L"AlbumName", &type);
    EXPECT_EQ((DWORD)REG_SZ, type);
}

TEST_F(RegistryTest, DefaultsThatMeanNeverCreateWriteNothing)
{
    DWORD n = 0;
    CString s;
    EXPECT_FALSE(RegReadDword(HKEY_CURRENT_USER, key, L"hMSG", n, 0xFFFFFFFF));
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, key, L"AdvancedName", s, L""));
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, key, L"AdvancedName", s, nullptr));
    EXPECT_FALSE(KeyExists(key));
}

TEST_F(RegistryTest, WriteThenReadBack)
{
    ASSERT_TRUE(RegWriteDword(HKEY_CURRENT_USER, key + L"\\a\\b", L"n", 0xFFFFFFFF));
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, key + L"\\a\\b", L"s", L"C:\\Rec\\ \x00E9\x4E2D"));
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, key + L"\\a\\b", L"empty", L""));
    DWORD n = 0;
    CString s(L"x"), e(L"x");
    EXPECT_TRUE(RegReadDword(HKEY_CURRENT_USER, key + L"\\a\\b", L"n", n, 5));   // 0xFFFFFFFF is a value like any other
    EXPECT_EQ(0xFFFFFFFFu, n);
    EXPECT_TRUE(RegReadString(HKEY_CURRENT_USER, key + L"\\a\\b", L"s", s, L"d"));
    EXPECT_STREQ(L"C:\\Rec\\ \x00E9\x4E2D", s);
    EXPECT_TRUE(RegReadString(HKEY_CURRENT_USER, key + L"\\a\\b", L"empty", e, L"d"));
    EXPECT_STREQ(L"", e);
    // The key's own default value is reached by the empty name.
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, key, L"", L"command"));
    EXPECT_TRUE(RegReadString(HKEY_CURRENT_USER, key, L"", s, L""));
    EXPECT_STREQ(L"command", s);
}

TEST_F(RegistryTest, StringsUpTo259CharactersAndExpandableStringsUnexpanded)
{
    CString longest(L'x', 259), out;
    ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, key, L"v", longest));
    EXPECT_TRUE(RegReadString(HKEY_CURRENT_USER, key, L"v", out, L"d"));
    EXPECT_EQ(longest, out);

    const wchar_t expand[] = L"%TEMP%\\x";
    SetRaw(L"e", REG_EXPAND_SZ, expand, sizeof(expand));
    EXPECT_TRUE(RegReadString(HKEY_CURRENT_USER, key, L"e", out, L"d"));
    EXPECT_STREQ(expand, out);
}

// Values that exist but cannot be used: the read fails and what is stored stays.
TEST_F(RegistryTest, UnusableValuesAreReportedButNeverOverwritten)
{
    std::wstring tooLong(300, L'y');
    SetRaw(L"long", REG_SZ, tooLong.c_str(), (DWORD)(tooLong.size() + 1) * 2);
    const wchar_t unterminated[] = {L'a', L'b', L'c'};
    SetRaw(L"unterminated", REG_SZ, unterminated, sizeof(unterminated));
    const char odd[] = {'a', 0, 0};
    SetRaw(L"odd", REG_SZ, odd, 3);
    DWORD number = 5;
    SetRaw(L"number", REG_DWORD, &number, 4);
    const wchar_t text[] = L"12";
    SetRaw(L"text", REG_SZ, text, sizeof(text));
    ULONGLONG wide = 7;
    SetRaw(L"qword", REG_QWORD, &wide, 8);
    SetRaw(L"short", REG_BINARY, "ab", 2);

    std::string before[] = {GetRaw(L"long"), GetRaw(L"unterminated"), GetRaw(L"odd"), GetRaw(L"number"),
                            GetRaw(L"text"), GetRaw(L"qword"), GetRaw(L"short")};
    CString s(L"keep");
    DWORD n = 42;
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, key, L"long", s, L"default"));
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, key, L"unterminated", s, L"default"));
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, key, L"odd", s, L"default"));
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, key, L"number", s, L"default"));
    EXPECT_FALSE(RegReadDword(HKEY_CURRENT_USER, key, L"text", n, 1));
    EXPECT_FALSE(RegReadDword(HKEY_CURRENT_USER, key, L"qword", n, 1));
    EXPECT_FALSE(RegReadDword(HKEY_CURRENT_USER, key, L"short", n, 1));
    EXPECT_STREQ(L"keep", s);
    EXPECT_EQ(42u, n);

    std::string after[] = {GetRaw(L"long"), GetRaw(L"unterminated"), GetRaw(L"odd"), GetRaw(L"number"),
                           GetRaw(L"text"), GetRaw(L"qword"), GetRaw(L"short")};
    for (size_t i = 0; i < sizeof(before) / sizeof(before[0]); ++i) EXPECT_EQ(before[i], after[i]) << i;
}

TEST_F(RegistryTest, PlatformKeysAreReadButNeverWritten)
{
    const wchar_t* platform = L"Software\\Microsoft\\SonelleTestNeverWritten";
    RegDeleteTreeW(HKEY_CURRENT_USER, platform);
    CString s;
    DWORD n = 0;
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, platform, L"Playback", s, L"-"));
    EXPECT_FALSE(RegReadDword(HKEY_CURRENT_USER, platform, L"n", n, 3));
    EXPECT_FALSE(KeyExists(platform));
    // What the platform stores there is read as usual.
    EXPECT_TRUE(RegReadString(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion",
                              L"CurrentVersion", s, L"-"));
    EXPECT_FALSE(s.IsEmpty());
}

TEST(IsWow64, MatchesTheProcessKind)
{
#ifdef _WIN64
    EXPECT_FALSE(IsWow64());           // a 64-bit process is never under WOW64
#else
    BOOL wow = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow);
    EXPECT_EQ(wow, IsWow64());
#endif
}
