// The list-line parser: values between quotes of any length, class ids only in
// their braced form.
#include <gtest/gtest.h>
#include "GetInfoString.h"

TEST(GetInfoString, TakesTheQuotedValueAfterTheKey)
{
    std::wstring line = L"[name] \" NVAudioAnalyer.ax \" [type] \"filter\" [guid] \"{0e558951-6d30-4530-30ec-3f15777fbbe1}";
    EXPECT_EQ(CGetInfoString::GetInfo(line, L"[name]"), L"NVAudioAnalyer.ax");
    EXPECT_EQ(CGetInfoString::GetInfo(line, L"[type]"), L"filter");
    // No closing quote: everything after the opening one.
    EXPECT_EQ(CGetInfoString::GetInfo(line, L"[guid]"), L"{0e558951-6d30-4530-30ec-3f15777fbbe1}");
    EXPECT_EQ(CGetInfoString::GetInfo(line, L"[other]"), L"");
    EXPECT_EQ(CGetInfoString::GetInfo(L"[name] no quotes", L"[name]"), L"");
}

TEST(GetInfoString, KeepsValuesLongerThanAnyFixedBuffer)
{
    std::wstring value(400, L'x');
    EXPECT_EQ(CGetInfoString::GetInfo(L"[name] \"" + value + L"\" [type] \"pack\"", L"[name]"), value);
}

TEST(GetInfoString, ParsesOnlyTheBracedClassIdForm)
{
    GUID guid{};
    ASSERT_TRUE(CGetInfoString::StringToGUID(L"{0E558951-6D30-4530-30ec-3F15777FBBE1}", guid));
    EXPECT_EQ(guid.Data1, 0x0E558951u);
    EXPECT_EQ(guid.Data2, 0x6D30);
    EXPECT_EQ(guid.Data3, 0x4530);
    const BYTE tail[8] = {0x30, 0xEC, 0x3F, 0x15, 0x77, 0x7F, 0xBB, 0xE1};
    EXPECT_EQ(memcmp(guid.Data4, tail, 8), 0);

    const wchar_t* bad[] = {L"", L"{123}", L"0E558951-6D30-4530-30EC-3F15777FBBE1",
                            L"{0E558951-6D30-4530-30EC-3F15777FBBEG}", L"{0E558951+6D30-4530-30EC-3F15777FBBE1}",
                            L"{0E558951-6D30-4530-30EC-3F15777FBBE1}x", L"sonelle.progid"};
    for (const wchar_t* text : bad) {
        GUID untouched{};
        EXPECT_FALSE(CGetInfoString::StringToGUID(text, untouched)) << text;
        EXPECT_EQ(untouched.Data1, 0u);
    }
}

TEST(GetInfoString, HexStopsAtTheFirstOtherCharacterAndAfterEightDigits)
{
    EXPECT_EQ(CGetInfoString::HexToULong(L"fF10"), 0xFF10u);
    EXPECT_EQ(CGetInfoString::HexToULong(L"12g4"), 0x12u);
    EXPECT_EQ(CGetInfoString::HexToULong(L"123456789"), 0x12345678u);
    EXPECT_EQ(CGetInfoString::HexToULong(L"zz"), 0u);
}
