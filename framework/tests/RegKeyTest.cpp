#include "RegKey.h"
#include <gtest/gtest.h>

TEST(CRegKey, CreatesReadsAndClosesItsKey)
{
    const wchar_t* path = L"Software\\Norvane\\SonelleTest\\Framework\\RegKey";
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Norvane\\SonelleTest\\Framework");
    {
        CRegKey key;
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Open(HKEY_CURRENT_USER, path));
        EXPECT_EQ(nullptr, (HKEY)key);
        ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, path));
        EXPECT_EQ(ERROR_SUCCESS, key.SetDWORDValue(L"n", 42));
        EXPECT_EQ(ERROR_SUCCESS, key.SetStringValue(L"s", L"text"));
        DWORD n = 0;
        EXPECT_EQ(ERROR_SUCCESS, key.QueryDWORDValue(L"n", n));
        EXPECT_EQ(42u, n);
        EXPECT_NE(ERROR_SUCCESS, key.QueryDWORDValue(L"s", n));      // a string is no number
        EXPECT_EQ(42u, n);
        EXPECT_EQ(ERROR_SUCCESS, key.DeleteValue(L"s"));
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.QueryValue(L"s", nullptr, nullptr, nullptr));

        // Moving hands the key over; the source no longer closes it.
        CRegKey moved(std::move(key));
        EXPECT_EQ(nullptr, (HKEY)key);
        EXPECT_EQ(ERROR_SUCCESS, moved.QueryDWORDValue(L"n", n));
    }
    // The key was closed, so deleting the tree succeeds and nothing is left.
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Norvane\\SonelleTest\\Framework"));
    CRegKey gone;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, gone.Open(HKEY_CURRENT_USER, path));
}
