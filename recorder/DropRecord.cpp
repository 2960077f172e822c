#include "DropRecord.h"
#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>

CDropRecordList g_DropWindows;

namespace {

const ULONG_PTR kCopyDataTag = WM_DROPDLG_REGISTRY;

size_t NameLength(const DropDlgRecord& record)
{
    return strnlen(record.program, sizeof(record.program));
}

bool SameProgram(const DropDlgRecord& a, const DropDlgRecord& b)
{
    size_t length = NameLength(a);
    return length == NameLength(b) &&
           CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.program, (int)length, b.program,
                          (int)length) == CSTR_EQUAL;
}

std::mutex g_postedLock;
std::set<HANDLE> g_posted;

}  // namespace

DropDlgRecord MakeDropRecord(HWND window, const wchar_t* programFileName)
{
    DropDlgRecord record;
    memset(&record, 0, sizeof(record));
    record.window = HandleToLong(window);
    char ansi[512] = {};
    WideCharToMultiByte(CP_THREAD_ACP, 0, programFileName ? programFileName : L"", -1, ansi, sizeof(ansi),
                        nullptr, nullptr);
    // At most 256 bytes; terminated only when shorter (the record is zeroed).
    memcpy(record.program, ansi, std::min(strlen(ansi), sizeof(record.program)));
    return record;
}

void CDropRecordList::Register(const DropDlgRecord& record)
{
    for (auto& existing : m_records) {
        if (SameProgram(*existing, record)) {
            existing->window = record.window;
            return;
        }
    }
    m_records.push_back(std::make_unique<DropDlgRecord>(record));
}

void CDropRecordList::RemoveWindow(HWND window)
{
    const LONG value = HandleToLong(window);
    for (size_t i = m_records.size(); i-- > 0;)
        if (m_records[i]->window == value) m_records.erase(m_records.begin() + (ptrdiff_t)i);
}

BOOL CDropRecordList::RegisterFromCopyData(const COPYDATASTRUCT* data)
{
    if (!data || data->dwData != kCopyDataTag || data->cbData != sizeof(DropDlgRecord) || !data->lpData)
        return FALSE;
    DropDlgRecord record;
    memcpy(&record, data->lpData, sizeof(record));
    Register(record);
    return TRUE;
}

BOOL CDropRecordList::RegisterFromBlock(HGLOBAL block)
{
    if (!block || !TakePostedHandle(block)) return FALSE;
    BOOL taken = FALSE;
    if (GlobalSize(block) >= sizeof(DropDlgRecord)) {
        if (const void* bytes = GlobalLock(block)) {
            DropDlgRecord record;
            memcpy(&record, bytes, sizeof(record));
            GlobalUnlock(block);
            Register(record);
            taken = TRUE;
        }
    }
    GlobalFree(block);
    return taken;
}

BOOL SendDropRegistration(HWND owner, HWND self, const wchar_t* programFileName)
{
    if (!IsWindow(owner)) return FALSE;
    DropDlgRecord record = MakeDropRecord(self, programFileName);
    DWORD ownerProcess = 0;
    GetWindowThreadProcessId(owner, &ownerProcess);
    if (ownerProcess == GetCurrentProcessId()) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, sizeof(record));
        if (!block) return FALSE;
        memcpy(GlobalLock(block), &record, sizeof(record));
        GlobalUnlock(block);
        NotePostedHandle(block);
        if (PostMessageW(owner, WM_DROPDLG_REGISTRY, DROPDLG_REGISTER, reinterpret_cast<LPARAM>(block)))
            return TRUE;
        TakePostedHandle(block);
        GlobalFree(block);
        return FALSE;
    }
    COPYDATASTRUCT data = {kCopyDataTag, sizeof(record), &record};
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(owner, WM_COPYDATA, reinterpret_cast<WPARAM>(self),
                               reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

void NotePostedHandle(HANDLE handle)
{
    std::lock_guard<std::mutex> lock(g_postedLock);
    g_posted.insert(handle);
}

BOOL TakePostedHandle(HANDLE handle)
{
    std::lock_guard<std::mutex> lock(g_postedLock);
    return g_posted.erase(handle) ? TRUE : FALSE;
}
