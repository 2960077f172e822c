#include <gtest/gtest.h>
#include "PublishNames.h"

#include <set>

using namespace publish;

TEST(PublishNames, ValidNames)
{
    struct Case {
        const wchar_t* name;
        bool valid;
    } cases[] = {
        {L"Album", true},        {L"My album 2", true}, {L"", false},        {L" Album", false},
        {L"Album ", false},      {L".Album", false},    {L"Album.", false},  {L"\tAlbum", false},
        {L"A\"b", false},        {L"A*b", false},       {L"A/b", false},     {L"A:b", false},
        {L"A<b", false},         {L"A>b", false},       {L"A?b", false},     {L"A\\b", false},
        {L"A|b", false},         {L"Caf\x00E9", true},  {L"a.b", true},
    };
    for (const Case& c : cases) EXPECT_EQ(c.valid, IsValidName(c.name)) << "\"" << testing::PrintToString(std::wstring(c.name)) << "\"";
}

TEST(PublishNames, OutputNamesCarryTheRowNumberAndSanitisedName)
{
    EXPECT_EQ(L"C:\\out\\Album\\[01] Side A@ intro$.mp3",
              OutputFileName(L"C:\\out\\Album\\", 0, L" Side A: intro? ", L"take", L".mp3"));
    EXPECT_EQ(L"C:\\a\\[12] take.wav", OutputFileName(L"C:\\a\\", 11, L"", L"take", L".wav"));
    EXPECT_EQ(L"^^@#$'()!", SanitizeTrackName(L"\\/:*?\"<>|"));
    // Two rows named alike differ in their bracketed number.
    EXPECT_NE(OutputFileName(L"", 0, L"Same", L"", L".mp3"), OutputFileName(L"", 1, L"Same", L"", L".mp3"));
}

TEST(PublishNames, DiscShortAndLongNames)
{
    EXPECT_EQ(L"Sevent00.mp3", DiscShortName(L"Seventeen_chars_x.mp3", 0));
    EXPECT_EQ(L"[01] M1f.mp3", DiscShortName(L"[01] Morning.mp3", 0x11f));
    EXPECT_EQ(L"short.mp3", DiscShortName(L"short.mp3", 3));
    EXPECT_EQ(L"a_b.mp3", DiscShortName(L"a;b.mp3", 1));
    EXPECT_EQ(L"[01] x_y.mp3", DiscLongName(L"[01] x;y.mp3"));
    EXPECT_EQ(L"longna05.mpe", DiscShortName(L"longname1.mpeg3", 5));   // the extension cut to 4 with its dot
}

TEST(PublishNames, LongTitlesGetTheRowNumberAsSuffix)
{
    const std::wstring forty = L"A title of forty characters for the tag";
    ASSERT_EQ(39u, forty.size());
    const std::wstring name = forty + L"!";
    EXPECT_EQ(L"03", TagTitleSuffix({L"short", name}, name, 2));
    EXPECT_EQ(L"", TagTitleSuffix({L"short", L"exactly twenty-eight chars!!"}, L"exactly twenty-eight chars!!", 0));
    EXPECT_EQ(L"", TagTitleSuffix({name}, L"Something else entirely, long enough", 0));
}

TEST(PublishNames, FreeAndMergeNames)
{
    std::set<std::wstring> taken = {L"C:\\a\\[01] x.wav", L"C:\\a\\[01] x (2).wav"};
    auto isTaken = [&](const std::wstring& p) { return taken.count(p) > 0; };
    EXPECT_EQ(L"C:\\a\\[01] x (3).wav", FreeName(L"C:\\a\\[01] x.wav", isTaken));
    EXPECT_EQ(L"C:\\a\\[02] y.wav", FreeName(L"C:\\a\\[02] y.wav", isTaken));
    EXPECT_EQ(L"C:\\a.b\\name (2)", FreeName(L"C:\\a.b\\name", [](const std::wstring& p) { return p == L"C:\\a.b\\name"; }));
    EXPECT_EQ(L"C:\\o\\Album.mp3", MergeName(L"C:\\o\\", L"Album", L"Merge Tracks", [](const std::wstring&) { return false; }));
    EXPECT_EQ(L"C:\\o\\Album[Merge Tracks].mp3",
              MergeName(L"C:\\o\\", L"Album", L"Merge Tracks", [](const std::wstring& p) { return p == L"C:\\o\\Album.mp3"; }));
}
