// The steps the publish dialog and the wizard's burn page share, each with its
// texts as ids and its own title: the item check, the tags of an output, the
// writer list, the disc check and the end-of-write report.
#include <gtest/gtest.h>
#include "DiscSteps.h"
#include "DiscTestKit.h"
#include "DriverMessageBox.h"
#include "Mp3Info.h"
#include "PublishItemCheck.h"
#include "PublishMessages.h"
#include "PublishTags.h"

#include <atomic>
#include <thread>

using namespace disctest;

namespace {

const DiscStepTexts Texts = {L"Steps Title", 902, 903, 904, 905, 906, 907};

class ListHost : public CWnd {
public:
    ListHost()
    {
        EXPECT_TRUE(CreateEx(0, nullptr, L"steps host", WS_POPUP | WS_VISIBLE, 50, 50, 900, 300, nullptr, nullptr));
        HWND child = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 10, 860, 200,
                                       m_hWnd, (HMENU)1008, nullptr, nullptr);
        EXPECT_TRUE(list.SubclassWindow(child));
        HWND box = ::CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 10, 220, 300, 100,
                                     m_hWnd, (HMENU)1035, nullptr, nullptr);
        EXPECT_TRUE(drives.SubclassWindow(box));
    }
    ~ListHost() override
    {
        list.DestroyWindow();
        drives.DestroyWindow();
        DestroyWindow();
    }
    CPublishListCtrl list;
    CComboBox drives;
};

PublishItemData Item(double seconds, const wchar_t* name, int year = 0)
{
    PublishItemData item;
    item.kind = PublishKindTrack;
    item.sourcePath = L"C:\\nowhere\\work.tmw";
    item.playTime = seconds;
    item.trackName = name;
    item.year = year;
    return item;
}

// Answers the message boxes of this process with OK from a helper thread and
// keeps their titles and texts.
class BoxReader {
public:
    BoxReader()
    {
        m_thread = std::thread([this] {
            while (!m_stop) {
                drv::MessageBoxInfo box = drv::WaitForMessageBox(GetCurrentProcessId(), 100);
                if (!box.window) continue;
                m_seen.push_back(box.title + L"|" + box.text);
                drv::AnswerMessageBox(box, IDOK);
                Sleep(100);
            }
        });
    }
    ~BoxReader() { Stop(); }
    std::vector<std::wstring> Stop()
    {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
        return m_seen;
    }

private:
    std::atomic<bool> m_stop{false};
    std::vector<std::wstring> m_seen;
    std::thread m_thread;
};

}  // namespace

TEST(PublishSteps, CheckItemsSaysWhenNothingIsCheckedAndPassesMp3RunsOfAnyLength)
{
    ListHost host;
    ItemCheckPrompts prompts;
    prompts.owner = host.m_hWnd;
    prompts.title = L"Steps Title";
    prompts.noFileId = 901;
    {
        BoxReader boxes;
        EXPECT_FALSE(CheckItems(host.list, false, prompts));
        EXPECT_EQ(std::vector<std::wstring>{L"Steps Title|No file selected."}, boxes.Stop());
    }
    host.list.AddItem(0, Item(1.0, L"short"));
    host.list.AddItem(1, Item(60.0, L"long"));
    std::vector<int> rows;
    EXPECT_TRUE(CheckItems(host.list, false, prompts, &rows));
    EXPECT_EQ((std::vector<int>{0, 1}), rows);
    host.list.SetCheck(0, FALSE);
    EXPECT_TRUE(CheckItems(host.list, true, prompts, &rows)) << "the short row is not checked";
    EXPECT_EQ(std::vector<int>{1}, rows);
}

TEST(PublishSteps, AudioCdRefusesAllShortTracksAtOnceAndHundredRowsAndSaysWhy)
{
    ListHost host;
    ItemCheckPrompts prompts;
    prompts.owner = host.m_hWnd;
    std::vector<std::vector<int>> asked;
    int tooMany = 0;
    prompts.tooManyTracks = [&](int count) { tooMany = count; };
    host.list.AddItem(0, Item(3.9, L"a"));
    host.list.AddItem(1, Item(4.0, L"b"));
    host.list.AddItem(2, Item(3.0, L"c"));
    EXPECT_FALSE(CheckItems(host.list, true, prompts)) << "no prompt: refused";
    prompts.shortTracks = [&](const std::vector<int>& rows) {
        asked.push_back(rows);
        return false;
    };
    EXPECT_FALSE(CheckItems(host.list, true, prompts));
    EXPECT_EQ((std::vector<std::vector<int>>{{0, 2}}), asked) << "one prompt names every short row, in list order";
    EXPECT_TRUE(host.list.GetCheck(0)) << "a refusal unchecks nothing";
    // The wizard's Retry: the rows are unchecked and the check goes on.
    asked.clear();
    prompts.shortTracks = [&](const std::vector<int>& rows) {
        asked.push_back(rows);
        return true;
    };
    std::vector<int> rows;
    EXPECT_TRUE(CheckItems(host.list, true, prompts, &rows));
    EXPECT_EQ((std::vector<std::vector<int>>{{0, 2}}), asked);
    EXPECT_EQ(std::vector<int>{1}, rows);
    EXPECT_FALSE(host.list.GetCheck(0));
    EXPECT_EQ(0, host.list.Record(2)->checked);

    host.list.DeleteAllRows();
    for (int i = 0; i < 99; ++i) host.list.AddItem(i, Item(4.0, L"t"));
    EXPECT_TRUE(CheckItems(host.list, true, prompts));
    EXPECT_EQ(0, tooMany);
    host.list.AddItem(99, Item(4.0, L"t"));
    EXPECT_FALSE(CheckItems(host.list, true, prompts));
    EXPECT_EQ(100, tooMany);
    EXPECT_TRUE(CheckItems(host.list, false, prompts)) << "an MP3 run takes 100 rows";
}

TEST(PublishSteps, WriteTagsGivesAlbumYearGenreAndTheRowNumberToLongTitles)
{
    ListHost host;
    const std::wstring folder = FreshFolder(L"steps-tags");
    const std::wstring longName = L"A track name of forty characters, yes!!!";
    ASSERT_EQ(40u, longName.size());
    host.list.AddItem(0, Item(60, longName.c_str()));
    host.list.AddItem(1, Item(60, L"Second", 1999));
    std::vector<unsigned char> frames(4000, 0x55);
    frames[0] = 0xFF;
    frames[1] = 0xFB;
    const std::wstring first = folder + L"\\first.mp3", second = folder + L"\\second.mp3";
    ASSERT_TRUE(WriteBytes(first, frames));
    ASSERT_TRUE(WriteBytes(second, frames));

    EXPECT_FALSE(WriteTags(host.list, 0, L"Album", L"", L"")) << "a WAV output has no path to tag";
    ASSERT_TRUE(WriteTags(host.list, 0, L"Album", CString(first), L""));
    ASSERT_TRUE(WriteTags(host.list, 1, L"Album", CString(second), L"Own title"));

    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(now.wYear, host.list.Record(0)->year) << "the year taken is kept in the record";
    const std::vector<unsigned char> a = ReadBytes(first), b = ReadBytes(second);
    ASSERT_EQ(frames.size() + 128, a.size());
    const char* tagA = (const char*)a.data() + frames.size();
    const char* tagB = (const char*)b.data() + frames.size();
    EXPECT_EQ(std::string("TAG"), std::string(tagA, 3));
    EXPECT_EQ(std::string("A track name of forty charac01"), std::string(tagA + 3, 30));
    EXPECT_EQ(std::string("Album"), std::string(tagA + 63));
    EXPECT_EQ(std::to_string(now.wYear), std::string(tagA + 93, 4));
    EXPECT_EQ(255, (unsigned char)tagA[127]);
    EXPECT_EQ(std::string("Own title"), std::string(tagB + 3));
    EXPECT_EQ(std::string("1999"), std::string(tagB + 93, 4));
    RemoveTree(folder);
}

TEST(PublishSteps, TheWriterListSelectsTheSavedWriterWithoutRegardToCase)
{
    ListHost host;
    CWriterIni ini;
    ini.AddWriter({L"Name=First Writer"});
    ini.AddWriter({L"Name=Second Writer"});
    CNVDataCDDVD data;
    CNVAudioCD audio;
    CDiscBurner burner(data, audio);
    EXPECT_EQ(1, FillDriveList(host.drives, burner, L"SECOND writer"));
    EXPECT_EQ(2, host.drives.GetCount());
    EXPECT_EQ(1, host.drives.GetCurSel());
    EXPECT_EQ(0, FillDriveList(host.drives, burner, L"Gone Writer"));
    EXPECT_EQ(0, host.drives.GetCurSel());
    EXPECT_TRUE(burner.WriterPresent());
    ini.WriteEmpty();
    EXPECT_EQ(-1, FillDriveList(host.drives, burner, L"First Writer"));
    EXPECT_EQ(0, host.drives.GetCount());
    EXPECT_FALSE(burner.WriterPresent());
}

struct CheckCase {
    const wchar_t* medium;
    double bytes;
    const wchar_t* said;   // empty: passes
};

class DiscCheckMessages : public ::testing::TestWithParam<CheckCase> {};

TEST_P(DiscCheckMessages, EachRefusalNamesItsReasonUnderTheCallersTitle)
{
    const CheckCase& c = GetParam();
    ListHost host;
    CWriterIni ini;
    ini.AddWriter({std::wstring(L"Medium=") + c.medium, L"Blocks=1000"});
    CNVDataCDDVD data;
    CNVAudioCD audio;
    CDiscBurner burner(data, audio);
    FillDriveList(host.drives, burner, L"");
    burner.ChooseDrive(0);
    BoxReader boxes;
    const BOOL passed = CheckDisc(host.m_hWnd, burner, BurnKindData, {c.bytes / 2, c.bytes / 2}, Texts);
    const std::vector<std::wstring> seen = boxes.Stop();
    EXPECT_EQ(*c.said == 0, passed != FALSE);
    if (*c.said)
        EXPECT_EQ(std::vector<std::wstring>{std::wstring(L"Steps Title|") + c.said}, seen);
    else
        EXPECT_TRUE(seen.empty());
}

INSTANTIATE_TEST_SUITE_P(Table, DiscCheckMessages,
                         ::testing::Values(CheckCase{L"cdr", 850 * 2048.0, L""},
                                           CheckCase{L"cdr", 850 * 2048.0 + 2, L"Insufficient disc space."},
                                           CheckCase{L"none", 1, L"Device not ready."},
                                           CheckCase{L"cdrom", 1, L"Disc not compatible"},
                                           CheckCase{L"cdrw-written", 1, L"Please insert a writable disc"}));

TEST(PublishSteps, AFailedWriteReportsItsSenseFieldsAndEjects)
{
    ListHost host;
    const std::wstring folder = FreshFolder(L"steps-fail");
    const std::wstring source = folder + L"\\one.mp3";
    ASSERT_TRUE(WriteBytes(source, std::vector<unsigned char>(300000, 7)));
    CWriterIni ini;
    ini.AddWriter({L"Blocks=1000", L"FailAtBlock=20", L"FailCode=0x052400", L"ImageFolder=" + folder});
    CNVDataCDDVD data;
    CNVAudioCD audio;
    CDiscBurner burner(data, audio);
    FillDriveList(host.drives, burner, L"");
    burner.ChooseDrive(0);
    BoxReader boxes;
    ASSERT_TRUE(BurnDataDisc(host.m_hWnd, burner, {CString(source)}, {300000}, L"Album", Texts));
    MSG msg = {};
    const DWORD end = GetTickCount() + 20000;
    while (GetTickCount() < end) {
        if (PeekMessageW(&msg, host.m_hWnd, WM_DISC_BURN_DONE, WM_DISC_BURN_DONE, PM_REMOVE)) break;
        Sleep(10);
    }
    ASSERT_EQ(UINT(WM_DISC_BURN_DONE), msg.message);
    ReportBurnEnd(host.m_hWnd, burner, BurnKind(msg.lParam), int(msg.wParam), Texts);
    const std::vector<std::wstring> seen = boxes.Stop();
    EXPECT_EQ(std::vector<std::wstring>{L"Steps Title|Burning failed.\nSenseKey :  5, ASC : 24, ASCQ :  0"}, seen);
    EXPECT_EQ(L"none", ini.Value(1, L"Medium"));
    RemoveTree(folder);
}
