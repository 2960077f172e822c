#include "CmdLineParser.h"
#include <gtest/gtest.h>

struct SwitchCase {
    const wchar_t* cmdLine;
    BOOL parsed;     // Parse result
    BOOL hasLog;     // HasKey("NV_Log")
};

class LogSwitch : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(LogSwitch, IsRecognisedAsTheProgramsDo)
{
    const SwitchCase& c = GetParam();
    CCmdLineParser parser;
    EXPECT_EQ(c.parsed, parser.Parse(c.cmdLine, '/', ':')) << (const char*)CStringA(c.cmdLine);
    EXPECT_EQ(c.hasLog, parser.HasKey(L"NV_Log")) << (const char*)CStringA(c.cmdLine);
}

INSTANTIATE_TEST_SUITE_P(Table, LogSwitch, ::testing::Values(
    SwitchCase{L"/NV_Log", TRUE, TRUE},
    SwitchCase{L"/nv_log", TRUE, TRUE},
    SwitchCase{L"/NV_LOG:on", TRUE, TRUE},
    SwitchCase{L"/NV_Log   ", TRUE, TRUE},
    SwitchCase{L"NV_Log", TRUE, TRUE},                 // text before the first "/" counts
    SwitchCase{L"\"C:\\a b\\x.wav\" /NV_Log", TRUE, TRUE},
    SwitchCase{L"/owner=1F2E /NV_Log:1 /x", TRUE, TRUE},
    SwitchCase{L"/NV_Log2", TRUE, FALSE},
    SwitchCase{L"/ NV_Log", TRUE, FALSE},              // the blank stays in the key
    SwitchCase{L"/NV_Lo", TRUE, FALSE},
    SwitchCase{L"/NOINTRO", TRUE, FALSE},
    SwitchCase{L"", FALSE, FALSE},
    SwitchCase{L"//", FALSE, FALSE},
    SwitchCase{nullptr, FALSE, FALSE}));

TEST(CCmdLineParser, StoresKeysAndValuesInCommandLineOrder)
{
    CCmdLineParser parser;
    ASSERT_TRUE(parser.Parse(L"first /NV_Log:C:\\x /NOINTRO  /k:a:b", '/', ':'));
    ASSERT_EQ(4, parser.GetCount());
    EXPECT_STREQ(L"first", parser.GetAt(0).key);
    EXPECT_STREQ(L"", parser.GetAt(0).value);
    EXPECT_STREQ(L"NV_Log", parser.GetAt(1).key);
    EXPECT_STREQ(L"C:\\x", parser.GetAt(1).value);     // only the first separator splits
    EXPECT_STREQ(L"NOINTRO", parser.GetAt(2).key);
    EXPECT_STREQ(L"k", parser.GetAt(3).key);
    EXPECT_STREQ(L"a:b", parser.GetAt(3).value);
}

TEST(CCmdLineParser, OtherSwitchAndSeparatorCharacters)
{
    CCmdLineParser parser;
    ASSERT_TRUE(parser.Parse(L"-a=1 -b", '-', '='));
    EXPECT_TRUE(parser.HasKey(L"A"));
    EXPECT_TRUE(parser.HasKey(L"b"));
    EXPECT_STREQ(L"1", parser.GetAt(0).value);
}

TEST(CCmdLineParser, EmptyKeyAndEmptyParserAnswerFalse)
{
    CCmdLineParser parser;
    EXPECT_FALSE(parser.HasKey(L"NV_Log"));
    ASSERT_TRUE(parser.Parse(L"/a", '/', ':'));
    EXPECT_FALSE(parser.HasKey(L""));
    EXPECT_FALSE(parser.HasKey(nullptr));
    // A new parse replaces what an earlier one stored.
    EXPECT_FALSE(parser.Parse(L"", '/', ':'));
    EXPECT_FALSE(parser.HasKey(L"a"));
}
