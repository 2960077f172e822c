// The recorded-file list: rows from WAV headers, rename, remove, delete and play,
// in a real list window (the Record page's own control from template 129).
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include <cstdint>
#include <fstream>
#include <map>
#include <set>
#include <thread>
#include <sstream>
#include <string>
#include <vector>
#include "Driver.h"
#include "RecordFileListCtrl.h"
#include "RecordPageSupport.h"
#include "RecorderCaptureDevice.h"
#include "SkinModule.h"
#include "SonelleGlobals.h"
#include "TestSignal.h"

namespace {

void Put32(std::vector<BYTE>& b, uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back((BYTE)(v >> (8 * i))); }
void Put16(std::vector<BYTE>& b, uint16_t v) { b.push_back((BYTE)v); b.push_back((BYTE)(v >> 8)); }
void PutId(std::vector<BYTE>& b, const char* id) { b.insert(b.end(), id, id + 4); }

// A WAV file: optional LIST chunk before "fmt ", the format, `dataBytes` of zeros.
std::vector<BYTE> Wav(int channels, int rate, int bits, uint32_t dataBytes, bool listFirst = false)
{
    std::vector<BYTE> b;
    PutId(b, "RIFF");
    Put32(b, 0);
    PutId(b, "WAVE");
    if (listFirst) {
        PutId(b, "LIST");
        Put32(b, 10);
        PutId(b, "INFO");
        PutId(b, "ISFT");
        b.push_back('x');
        b.push_back(0);
    }
    PutId(b, "fmt ");
    Put32(b, 16);
    Put16(b, 1);
    Put16(b, (uint16_t)channels);
    Put32(b, (uint32_t)rate);
    Put32(b, (uint32_t)(rate * channels * bits / 8));
    Put16(b, (uint16_t)(channels * bits / 8));
    Put16(b, (uint16_t)bits);
    PutId(b, "data");
    Put32(b, dataBytes);
    b.resize(b.size() + dataBytes);
    uint32_t riff = (uint32_t)b.size() - 8;
    memcpy(&b[4], &riff, 4);
    return b;
}

void WriteFileBytes(const std::wstring& path, const std::vector<BYTE>& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD written = 0;
    WriteFile(h, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(h);
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class RecordFileList : public RecordPageFixture {
protected:
    void SetUp() override
    {
        RecordPageFixture::SetUp();
        // The page's own list, without opening a device: the page is created hidden.
        ASSERT_TRUE(host.SetActivePage(CPageCapture::IDD));
        page.WaitForWorker(-1);
        list = &page.FileList();
    }
    std::wstring Make(const wchar_t* name, const std::vector<BYTE>& bytes)
    {
        std::wstring path = folder + name;
        WriteFileBytes(path, bytes);
        return path;
    }
    void SelectOnly(std::initializer_list<int> rows)
    {
        for (int i = 0; i < list->GetItemCount(); ++i) list->SetItemState(i, 0, LVIS_SELECTED);
        for (int r : rows) list->SetItemState(r, LVIS_SELECTED, LVIS_SELECTED);
    }
    CRecordFileListCtrl* list = nullptr;
};

}  // namespace

TEST(RecordFileRows, HeaderTable)
{
    std::wstring dir = testsignal::TempPath(L"RecordRows") + L"\\";
    CreateDirectoryW(dir.c_str(), nullptr);
    const struct {
        const wchar_t* name;
        std::vector<BYTE> bytes;
        bool row;
        const wchar_t *time, *size, *format;
    } cases[] = {
        {L"ten.wav", Wav(2, 44100, 16, 1764000), true, L"00 : 00 : 10", L"   1.68 MB", L"44100Hz 16bit Stereo"},
        {L"list.wav", Wav(1, 48000, 16, 96000 * 3), true, L"00 : 00 : 03", L"   0.27 MB", L"48000Hz 16bit Mono"},
        // 2.6 s shows as 3 whole seconds (rounded, not cut).
        {L"rounded.wav", Wav(2, 44100, 16, 176400 * 26 / 10), true, L"00 : 00 : 03", L"   0.44 MB", L"44100Hz 16bit Stereo"},
        {L"zero.wav", Wav(0, 44100, 16, 1000), false, nullptr, nullptr, nullptr},
        {L"norate.wav", Wav(2, 0, 16, 1000), false, nullptr, nullptr, nullptr},
        {L"text.wav", std::vector<BYTE>{'h', 'e', 'l', 'l', 'o'}, false, nullptr, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        std::vector<BYTE> bytes = c.bytes;
        if (std::wstring(c.name) == L"list.wav") bytes = Wav(1, 48000, 16, 96000 * 3, true);
        std::wstring path = dir + c.name;
        WriteFileBytes(path, bytes);
        std::unique_ptr<RecordFileRow> row = ReadRecordFileRow(path.c_str());
        ASSERT_EQ(c.row, row != nullptr) << c.name;
        if (row) {
            EXPECT_STREQ(c.time, PlayTimeText(row->playSeconds).GetString()) << c.name;
            EXPECT_STREQ(c.size, FileSizeText(row->size).GetString()) << c.name;
            EXPECT_STREQ(c.format, FormatText(row->sampleRate, row->bitsPerSample, row->channels).GetString());
            EXPECT_EQ((double)bytes.size(), row->size);
        }
        DeleteFileW(path.c_str());
    }
    EXPECT_EQ(nullptr, ReadRecordFileRow((dir + L"missing.wav").c_str()));
    RemoveDirectoryW(dir.c_str());
}

TEST_F(RecordFileList, ColumnsAndRowsWithANonAnsiName)
{
    ASSERT_EQ(4, list->GetHeaderCtrl()->GetItemCount());
    const wchar_t* headers[4] = {L"File", L"Play Time", L"Size", L"Format"};
    for (int i = 0; i < 4; ++i) {
        wchar_t text[64] = {};
        HDITEMW item = {};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        list->GetHeaderCtrl()->SendMessage(HDM_GETITEMW, (WPARAM)i, (LPARAM)&item);
        EXPECT_STREQ(headers[i], text);
    }
    std::wstring path = Make(L"\u0416\u0443\u043a_\u6f22.wav", Wav(2, 44100, 16, 1764000));
    ASSERT_TRUE(list->AddFile(path.c_str(), TRUE));
    ASSERT_EQ(1, list->GetItemCount());
    EXPECT_TRUE(list->GetCheck(0));
    EXPECT_EQ(path, std::wstring(list->Row(0)->path));
    EXPECT_STREQ(L"00 : 00 : 10", list->GetItemText(0, 1).GetString());
    EXPECT_STREQ(L"   1.68 MB", list->GetItemText(0, 2).GetString());
    EXPECT_STREQ(L"44100Hz 16bit Stereo", list->GetItemText(0, 3).GetString());
    EXPECT_FALSE(list->AddFile((folder + L"none.wav").c_str(), TRUE));
    EXPECT_EQ(1, list->GetItemCount());
}

TEST_F(RecordFileList, TheWorkerListsTheFolderIncludingNamesTheCodePageCannotSpell)
{
    host.DestroyWindow();
    Make(L"a.wav", Wav(2, 44100, 16, 1000));
    Make(L"\u6f22\u5b57.wav", Wav(2, 44100, 16, 1000));
    Make(L"notes.txt", Wav(2, 44100, 16, 1000));
    Make(L"broken.wav", std::vector<BYTE>(10, 'x'));
    CNewWizDialog second{102};
    TestPage fresh;
    second.SetPlaceholder(1006);
    second.AddPage(&fresh, CPageCapture::IDD);
    ASSERT_TRUE(second.Create(102, nullptr));
    ASSERT_TRUE(second.SetActivePage(CPageCapture::IDD));
    fresh.WaitForWorker(-1);
    Pump(100);
    ASSERT_EQ(2, fresh.FileList().GetItemCount());
    std::set<std::wstring> paths;
    for (int i = 0; i < 2; ++i) {
        paths.insert((const wchar_t*)fresh.FileList().Row(i)->path);
        EXPECT_FALSE(fresh.FileList().GetCheck(i)) << "listed at start unchecked";
    }
    EXPECT_TRUE(paths.count(folder + L"\u6f22\u5b57.wav"));
    second.DestroyWindow();
    g_CaptureDevice.Close();
}

TEST_F(RecordFileList, RemoveKeepsTheFilesAndRemoveAllEmptiesTheList)
{
    std::vector<std::wstring> files;
    for (const wchar_t* n : {L"1.wav", L"2.wav", L"3.wav", L"4.wav"}) {
        files.push_back(Make(n, Wav(2, 44100, 16, 100)));
        list->AddFile(files.back().c_str(), FALSE);
    }
    SelectOnly({1, 3});
    list->Remove();
    ASSERT_EQ(2, list->GetItemCount());
    EXPECT_EQ(files[0], std::wstring(list->Row(0)->path));
    EXPECT_EQ(files[2], std::wstring(list->Row(1)->path));
    SelectOnly({0, 1});
    list->Remove();
    EXPECT_EQ(0, list->GetItemCount());
    for (auto& f : files) EXPECT_TRUE(Exists(f));
    list->Remove();  // nothing selected, nothing there: nothing happens
}

TEST_F(RecordFileList, RenameKeepsTheExtensionChangesOnlyTheFileNameAndNeverReplaces)
{
    // The folder carries the title in its own name.
    std::wstring sub = folder + L"Take_1\\";
    ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
    std::wstring take = sub + L"Take_1.wav";
    WriteFileBytes(take, Wav(2, 44100, 16, 100));
    WriteFileBytes(sub + L"Busy.wav", Wav(2, 44100, 16, 100));
    ASSERT_TRUE(list->AddFile(take.c_str(), TRUE));
    CString title = list->Row(0)->title;

    auto rename = [&](const wchar_t* typed) {
        SelectOnly({0});
        list->Rename();
        ASSERT_NE(nullptr, list->RenameBox());
        list->RenameBox()->SetWindowText(typed);
        list->EndRename();
    };
    // A change of letter case alone is not applied.
    CString lower = title;
    lower.MakeLower();
    rename(lower);
    EXPECT_TRUE(Exists(take));
    EXPECT_STREQ(title.GetString(), list->Row(0)->title.GetString());

    // An existing file is never replaced; the row stays as it was.
    rename(L"Busy");
    EXPECT_TRUE(Exists(take));
    EXPECT_EQ(take, std::wstring(list->Row(0)->path));

    rename(L"Song");
    EXPECT_FALSE(Exists(take));
    EXPECT_TRUE(Exists(sub + L"Song.wav"));
    EXPECT_EQ(sub + L"Song.wav", std::wstring(list->Row(0)->path));
    EXPECT_EQ(std::wstring(list->Row(0)->title), std::wstring(list->GetItemText(0, 0)));
    EXPECT_EQ(0u, std::wstring(list->Row(0)->title).find(L"Song"));
}

TEST_F(RecordFileList, DeleteAsksMovesToTheTrashAndDropsOnlyRowsWhoseFileWent)
{
    std::wstring a = Make(L"del_a.wav", Wav(2, 44100, 16, 100));
    std::wstring b = Make(L"del_b.wav", Wav(2, 44100, 16, 100));
    list->AddFile(a.c_str(), FALSE);
    list->AddFile(b.c_str(), FALSE);

    // No: everything stays.
    CDialogAnswerer no(IDNO, 10000);
    SelectOnly({0, 1});
    list->Delete();
    EXPECT_TRUE(no.Answered()) << "the platform asks first";
    EXPECT_EQ(2, list->GetItemCount());
    EXPECT_TRUE(Exists(a));

    // Yes on one selected row: that file goes to the trash, its row goes.
    CDialogAnswerer yes(IDYES, 10000);
    SelectOnly({1});
    list->Delete();
    EXPECT_TRUE(yes.Answered());
    EXPECT_FALSE(Exists(b));
    ASSERT_EQ(1, list->GetItemCount());
    EXPECT_EQ(a, std::wstring(list->Row(0)->path));
}

TEST_F(RecordFileList, DeleteBuildsItsListFromTheRealPathLengths)
{
    // A path longer than 260 characters.
    std::wstring deep = folder;
    for (int i = 0; i < 3; ++i) {
        deep += std::wstring(90, L'd') + L"\\";
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    }
    std::wstring longPath = deep + L"long.wav";
    ASSERT_GT(longPath.size(), 260u);
    WriteFileBytes(longPath, Wav(2, 44100, 16, 100));
    std::wstring shortPath = Make(L"short.wav", Wav(2, 44100, 16, 100));
    ASSERT_TRUE(list->AddFile(shortPath.c_str(), FALSE));
    ASSERT_TRUE(list->AddFile(longPath.c_str(), FALSE));
    CDialogAnswerer yes(IDYES, 10000);
    SelectOnly({0, 1});
    list->Delete();
    EXPECT_TRUE(yes.Answered());
    // Each row goes exactly when its file went; nothing else is touched.
    for (const std::wstring& path : {shortPath, longPath}) {
        bool listed = false;
        for (int i = 0; i < list->GetItemCount(); ++i) listed |= path == (const wchar_t*)list->Row(i)->path;
        EXPECT_EQ(Exists(path), listed) << std::string(path.begin(), path.end());
    }
    EXPECT_FALSE(Exists(shortPath));
    DeleteFileW((L"\\\\?\\" + longPath).c_str());
}

namespace {

// The context menu's item states, read from a helper thread while the menu is
// open (the menu runs its own loop on the page's thread), then closed.
struct MenuStates {
    bool seen = false;
    std::map<UINT, bool> enabled;
};

MenuStates ReadContextMenu(CPageCapture& page)
{
    MenuStates states;
    std::thread reader([&] {
        for (int i = 0; i < 250; ++i) {
            HWND menu = nullptr;
            while ((menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) != nullptr) {
                DWORD pid = 0;
                GetWindowThreadProcessId(menu, &pid);
                if (pid != GetCurrentProcessId() || !IsWindowVisible(menu)) continue;
                HMENU handle = (HMENU)SendMessageW(menu, MN_GETHMENU, 0, 0);
                if (!handle) continue;
                for (UINT id : {CPageCapture::ID_FILE_PLAY, CPageCapture::ID_FILE_EDIT, CPageCapture::ID_FILE_REMOVE,
                                CPageCapture::ID_FILE_DELETE, CPageCapture::ID_FILE_RENAME})
                    states.enabled[id] = !(GetMenuState(handle, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
                states.seen = true;
                PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
                return;
            }
            Sleep(20);
        }
    });
    POINT at = {400, 420};
    ::ClientToScreen(page.m_hWnd, &at);
    page.SendMessage(WM_CONTEXTMENU, (WPARAM)page.m_hWnd, MAKELPARAM(at.x, at.y));
    reader.join();
    Pump(100);
    return states;
}

}  // namespace

TEST_F(RecordFileList, ContextMenuStatesFollowTheSelectedRows)
{
    for (const wchar_t* n : {L"m1.wav", L"m2.wav", L"m3.wav"}) list->AddFile(Make(n, Wav(2, 44100, 16, 100)).c_str(), FALSE);
    const UINT single[] = {CPageCapture::ID_FILE_PLAY, CPageCapture::ID_FILE_EDIT, CPageCapture::ID_FILE_RENAME};
    const UINT many[] = {CPageCapture::ID_FILE_REMOVE, CPageCapture::ID_FILE_DELETE};

    SelectOnly({});
    MenuStates none = ReadContextMenu(page);
    ASSERT_TRUE(none.seen);
    for (auto& s : none.enabled) EXPECT_FALSE(s.second) << s.first;

    SelectOnly({1});
    MenuStates one = ReadContextMenu(page);
    ASSERT_TRUE(one.seen);
    for (auto& s : one.enabled) EXPECT_TRUE(s.second) << s.first;

    SelectOnly({0, 2});
    MenuStates two = ReadContextMenu(page);
    ASSERT_TRUE(two.seen);
    for (UINT id : single) EXPECT_FALSE(two.enabled[id]) << id;
    for (UINT id : many) EXPECT_TRUE(two.enabled[id]) << id;

    // Outside the rows (a keyboard menu has the point -1, -1): no menu.
    page.SendMessage(WM_CONTEXTMENU, (WPARAM)page.m_hWnd, MAKELPARAM(-1, -1));
    EXPECT_EQ(3, list->GetItemCount());
}

TEST_F(RecordFileList, PlayUsesThePlayCommandOfTheUsersProgramElseOpen)
{
    // A program of ours stands in for the user's player: it writes what it was given.
    std::wstring player = folder + L"PlayDouble.exe";
    ASSERT_TRUE(CopyFileW((drv::OwnFolder() + L"StarterDouble.exe").c_str(), player.c_str(), FALSE));
    std::wstring record = folder + L"PlayDouble.args";
    std::wstring wav = Make(L"play me.wav", Wav(2, 44100, 16, 100));
    list->AddFile(wav.c_str(), FALSE);
    SelectOnly({0});

    // The association goes into the merged classes view: Wine's HKEY_CLASSES_ROOT
    // does not show the per-user classes (docs/wine.md), Windows' shows both.
    std::wstring savedWav;
    const bool hadWav = drv::RegReadString(HKEY_CLASSES_ROOT, L".wav", L"", &savedWav);
    auto setClass = [&](const wchar_t* progId, bool withPlay) {
        drv::RegWriteString(HKEY_CLASSES_ROOT, L".wav", L"", progId);
        std::wstring base = std::wstring(progId) + L"\\shell\\";
        drv::RegWriteString(HKEY_CLASSES_ROOT, base + L"open\\command", L"", L"\"" + player + L"\" open \"%1\"");
        if (withPlay)
            drv::RegWriteString(HKEY_CLASSES_ROOT, base + L"play\\command", L"", L"\"" + player + L"\" play \"%1\"");
    };
    auto recorded = [&] {
        std::ifstream in(record.c_str(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    };
    auto restore = [&] {
        drv::RegDeleteTree(HKEY_CLASSES_ROOT, L"SonelleTestPlayable");
        drv::RegDeleteTree(HKEY_CLASSES_ROOT, L"SonelleTestOpenOnly");
        if (hadWav) drv::RegWriteString(HKEY_CLASSES_ROOT, L".wav", L"", savedWav);
        else drv::RegDeleteTree(HKEY_CLASSES_ROOT, L".wav");
    };
    setClass(L"SonelleTestPlayable", true);
    list->Play();
    bool played = PumpUntil([&] { return !recorded().empty(); }, 10000);
    EXPECT_TRUE(played);
    EXPECT_EQ(0u, recorded().find("play ")) << recorded();
    EXPECT_NE(std::string::npos, recorded().find("play me.wav"));

    DeleteFileW(record.c_str());
    setClass(L"SonelleTestOpenOnly", false);
    list->Play();
    played = PumpUntil([&] { return !recorded().empty(); }, 10000);
    EXPECT_TRUE(played);
    EXPECT_EQ(0u, recorded().find("open ")) << recorded();
    restore();
}

TEST_F(RecordFileList, RenameBoxCoversTheWholeNameAndLeavesTheCheckBoxFree)
{
    std::wstring wav = Make(L"Wide Name.wav", Wav(2, 44100, 16, 100));
    ASSERT_TRUE(list->AddFile(wav.c_str(), TRUE));
    SelectOnly({0});
    list->Rename();
    ASSERT_NE(nullptr, list->RenameBox());
    CRect box, label, icon;
    list->RenameBox()->GetWindowRect(&box);
    list->ScreenToClient(&box);
    ASSERT_TRUE(list->GetItemRect(0, &label, LVIR_LABEL));
    ASSERT_TRUE(list->GetItemRect(0, &icon, LVIR_ICON));
    EXPECT_LE(box.left, label.left) << "no letter of the name shows left of the box";
    EXPECT_GE(box.left, icon.right - 1) << "the check box stays free";
    EXPECT_EQ(list->GetColumnWidth(0), box.right);
    // A picture of the box over its row, for a person to look at (under Xvfb).
    if (const char* dir = std::getenv("SONELLE_PICTURES_DIR")) {
        host.ShowWindow(SW_SHOWNOACTIVATE);
        Pump(500);
        drv::SaveWindowPicture(host.m_hWnd, std::wstring(dir, dir + strlen(dir)) + L"\\record-rename.bmp");
    }
    list->RenameBox()->SetWindowText(L"Wide Name");
    list->EndRename();
}

TEST_F(RecordFileList, PlayWithoutAProgramForTheFileSaysSo)
{
    std::wstring wav = Make(L"nobody plays me.wav", Wav(2, 44100, 16, 100));
    list->AddFile(wav.c_str(), FALSE);
    SelectOnly({0});
    // A class with no command at all stands for a machine without a player.
    std::wstring savedWav;
    const bool hadWav = drv::RegReadString(HKEY_CLASSES_ROOT, L".wav", L"", &savedWav);
    drv::RegWriteString(HKEY_CLASSES_ROOT, L".wav", L"", L"SonelleTestNoPlayer");
    drv::RegWriteString(HKEY_CLASSES_ROOT, L"SonelleTestNoPlayer", L"", L"Nothing");
    std::vector<std::wstring> texts;
    {
        CMessageBoxAnswerer answerer;
        list->Play();
        PumpUntil([&] { return !answerer.Texts().empty(); }, 10000);
        texts = answerer.Texts();
    }
    drv::RegDeleteTree(HKEY_CLASSES_ROOT, L"SonelleTestNoPlayer");
    if (hadWav) drv::RegWriteString(HKEY_CLASSES_ROOT, L".wav", L"", savedWav);
    else drv::RegDeleteTree(HKEY_CLASSES_ROOT, L".wav");
    ASSERT_EQ(1u, texts.size()) << "one message, not silence";
    EXPECT_NE(std::wstring::npos, texts[0].find(L"No program is associated with .wav files.")) << texts[0];
    EXPECT_TRUE(Exists(wav));
}
