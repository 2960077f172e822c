// The registry of cooperating drop windows: a window started with "/owner=" tells
// its owner who it is with a 260-byte record, and the owner keeps one record per
// program file name.
//
// Between processes the record travels in WM_COPYDATA, which copies it; a global
// memory handle means nothing outside the process that allocated it, so handles
// in WM_DROPDLG_REGISTRY are only taken when this process posted them itself.
#pragma once
#include <windows.h>
#include <memory>
#include <vector>

constexpr UINT WM_DROPDLG_REGISTRY = WM_USER + 987;  // 2011

// wParam values of WM_DROPDLG_REGISTRY.
enum {
    DROPDLG_REGISTER = 1,     // lParam: global block holding a DropDlgRecord
    DROPDLG_UNREGISTER = 2,   // lParam: window handle
    DROPDLG_DROPFILES = 3,    // lParam: drop handle
    DROPDLG_DROPOTHER = 4,    // lParam: value for the second drop operation
    DROPDLG_OWNERCLOSING = 99
};

#pragma pack(push, 1)
struct DropDlgRecord {
    LONG window;          // 32-bit window handle (HandleToLong), in every build
    char program[256];    // program file name, ANSI, terminated only when shorter
};
#pragma pack(pop)
static_assert(sizeof(DropDlgRecord) == 260, "the record's layout is shared between programs");

DropDlgRecord MakeDropRecord(HWND window, const wchar_t* programFileName);
inline HWND DropRecordWindow(const DropDlgRecord& record) { return static_cast<HWND>(LongToHandle(record.window)); }

class CDropRecordList {
public:
    // A record of the same program (without regard to case) gets the new window;
    // otherwise a copy is appended.
    void Register(const DropDlgRecord& record);
    // Removes every record of that window.
    void RemoveWindow(HWND window);
    void RemoveAll() { m_records.clear(); }
    int GetCount() const { return (int)m_records.size(); }
    const DropDlgRecord& GetAt(int index) const { return *m_records[(size_t)index]; }

    // A WM_COPYDATA carrying a registration: TRUE when it was one (right tag and
    // exactly 260 bytes) and was registered.
    BOOL RegisterFromCopyData(const COPYDATASTRUCT* data);
    // A registration block posted inside this process: copied, then unlocked and
    // freed. Blocks this process did not post are ignored (FALSE).
    BOOL RegisterFromBlock(HGLOBAL block);

private:
    std::vector<std::unique_ptr<DropDlgRecord>> m_records;
};

// The process-wide list of windows registered with this program's dialogs.
extern CDropRecordList g_DropWindows;

// Tells `owner` that `self` of program `programFileName` cooperates with it: a
// posted block inside this process, WM_COPYDATA to another process.
BOOL SendDropRegistration(HWND owner, HWND self, const wchar_t* programFileName);

// Handles this process posts to its own windows in WM_DROPDLG_REGISTRY. A receiver
// takes a handle only when TakePostedHandle finds it (and forgets it).
void NotePostedHandle(HANDLE handle);
BOOL TakePostedHandle(HANDLE handle);
