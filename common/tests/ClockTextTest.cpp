// The one time text of the suite: rounded to the precision it shows, with the
// carry reaching seconds, minutes and hours.
#include <gtest/gtest.h>
#include <cmath>
#include "ClockText.h"

TEST(ClockText, RoundsToTheShownPrecision)
{
    const struct {
        double seconds;
        bool hundredths;
        const wchar_t* separator;
        const wchar_t* text;
    } cases[] = {
        {5.999, true, L" : ", L"00 : 00 : 06.00"},
        {5.994, true, L" : ", L"00 : 00 : 05.99"},
        {59.996, true, L":", L"00:01:00.00"},
        {3599.995, true, L":", L"01:00:00.00"},
        {3725.5, true, L" : ", L"01 : 02 : 05.50"},
        {0.004, true, L":", L"00:00:00.00"},
        {-1.0, true, L":", L"00:00:00.00"},
        {std::nan(""), true, L":", L"00:00:00.00"},
        {2.5, false, L" : ", L"00 : 00 : 03"},
        {2.49, false, L" : ", L"00 : 00 : 02"},
        {59.6, false, L" : ", L"00 : 01 : 00"},
        {86399.7, false, L" : ", L"24 : 00 : 00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::wstring(c.text), ClockText(c.seconds, c.hundredths, c.separator)) << c.seconds;
}
