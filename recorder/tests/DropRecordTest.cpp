// The registry of cooperating drop windows: record layout, replace-or-append by
// program name, the copy-data size check and refusal of foreign handles.
#include "DropRecord.h"
#include <gtest/gtest.h>
#include <cstring>

TEST(DropRecord, LayoutIsFixedAt260BytesWithA32BitHandle)
{
    EXPECT_EQ(260u, sizeof(DropDlgRecord));
    EXPECT_EQ(0u, offsetof(DropDlgRecord, window));
    EXPECT_EQ(4u, offsetof(DropDlgRecord, program));
    HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1A2B));
    DropDlgRecord record = MakeDropRecord(window, L"Sonelle.exe");
    EXPECT_EQ(0x1A2B, record.window);
    EXPECT_EQ(window, DropRecordWindow(record));
    EXPECT_STREQ("Sonelle.exe", record.program);
}

TEST(DropRecord, LongProgramNameFillsAllBytesWithoutTerminator)
{
    std::wstring name(300, L'n');
    DropDlgRecord record = MakeDropRecord(nullptr, name.c_str());
    EXPECT_EQ(0, memcmp(record.program, std::string(256, 'n').data(), 256));
}

TEST(DropRecord, SameProgramInOtherCaseReplacesTheWindow)
{
    CDropRecordList list;
    list.Register(MakeDropRecord(reinterpret_cast<HWND>(0x10), L"Outside.exe"));
    list.Register(MakeDropRecord(reinterpret_cast<HWND>(0x20), L"Other.exe"));
    list.Register(MakeDropRecord(reinterpret_cast<HWND>(0x30), L"OUTSIDE.EXE"));
    ASSERT_EQ(2, list.GetCount());
    EXPECT_EQ(0x30, list.GetAt(0).window);
    EXPECT_STREQ("Outside.exe", list.GetAt(0).program);
    EXPECT_EQ(0x20, list.GetAt(1).window);

    list.Register(MakeDropRecord(reinterpret_cast<HWND>(0x20), L"Third.exe"));
    list.RemoveWindow(reinterpret_cast<HWND>(0x20));
    ASSERT_EQ(1, list.GetCount());
    EXPECT_EQ(0x30, list.GetAt(0).window);
    list.RemoveWindow(nullptr);
    EXPECT_EQ(1, list.GetCount());
}

TEST(DropRecord, CopyDataMustBeExactlyOneTaggedRecord)
{
    CDropRecordList list;
    DropDlgRecord record = MakeDropRecord(reinterpret_cast<HWND>(0x44), L"Peer.exe");
    char bigger[300] = {};
    memcpy(bigger, &record, sizeof(record));
    struct Case {
        ULONG_PTR tag;
        DWORD size;
        void* data;
        BOOL taken;
    } cases[] = {
        {WM_DROPDLG_REGISTRY, 260, &record, TRUE},
        {WM_DROPDLG_REGISTRY, 259, &record, FALSE},
        {WM_DROPDLG_REGISTRY, 261, bigger, FALSE},
        {WM_DROPDLG_REGISTRY, 0, nullptr, FALSE},
        {WM_DROPDLG_REGISTRY, 260, nullptr, FALSE},
        {1, 260, &record, FALSE},
    };
    for (const Case& c : cases) {
        COPYDATASTRUCT data = {c.tag, c.size, c.data};
        EXPECT_EQ(c.taken, list.RegisterFromCopyData(&data)) << c.size;
    }
    EXPECT_FALSE(list.RegisterFromCopyData(nullptr));
    ASSERT_EQ(1, list.GetCount());
    EXPECT_EQ(0x44, list.GetAt(0).window);
}

TEST(DropRecord, OnlyBlocksThisProcessPostedAreTaken)
{
    CDropRecordList list;
    DropDlgRecord record = MakeDropRecord(reinterpret_cast<HWND>(0x55), L"Same.exe");
    // A handle that arrives from elsewhere: never read, never freed.
    HGLOBAL foreign = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(record));
    memcpy(GlobalLock(foreign), &record, sizeof(record));
    GlobalUnlock(foreign);
    EXPECT_FALSE(list.RegisterFromBlock(foreign));
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(sizeof(record), GlobalSize(foreign)) << "still ours to free";

    NotePostedHandle(foreign);
    EXPECT_TRUE(list.RegisterFromBlock(foreign));
    ASSERT_EQ(1, list.GetCount());
    EXPECT_EQ(0x55, list.GetAt(0).window);
    EXPECT_FALSE(TakePostedHandle(foreign)) << "a block is taken once";
    EXPECT_FALSE(list.RegisterFromBlock(nullptr));
}

TEST(DropRecord, RegistrationReachesAWindowOfThisProcessThroughItsQueue)
{
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, owner);
    HWND self = reinterpret_cast<HWND>(0x77);
    ASSERT_TRUE(SendDropRegistration(owner, self, L"Peer.exe"));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, owner, WM_DROPDLG_REGISTRY, WM_DROPDLG_REGISTRY, PM_REMOVE));
    EXPECT_EQ((WPARAM)DROPDLG_REGISTER, msg.wParam);
    CDropRecordList list;
    EXPECT_TRUE(list.RegisterFromBlock(reinterpret_cast<HGLOBAL>(msg.lParam)));
    ASSERT_EQ(1, list.GetCount());
    EXPECT_EQ(self, DropRecordWindow(list.GetAt(0)));
    EXPECT_STREQ("Peer.exe", list.GetAt(0).program);
    EXPECT_FALSE(SendDropRegistration(nullptr, self, L"Peer.exe"));
    DestroyWindow(owner);
}
