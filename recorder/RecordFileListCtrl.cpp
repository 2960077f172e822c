#include "RecordFileListCtrl.h"
#include <commdlg.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <vector>
#include "ClockText.h"
#include "OSVersion.h"
#include "Registry.h"
#include "SharedReadFile.h"
#include "SonelleGlobals.h"
#include "WinApp.h"

namespace {

// The file's title as the platform shows it (with or without its extension).
CString DisplayTitle(const wchar_t* path)
{
    wchar_t title[MAX_PATH] = {};
    if (GetFileTitleW(path, title, MAX_PATH) == 0 && title[0]) return title;
    return PathFindFileNameW(path);
}

bool FileGone(const wchar_t* path)
{
    return GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace

std::unique_ptr<RecordFileRow> ReadRecordFileRow(const wchar_t* path)
{
    uint64_t length = 0;
    WavHeaderInfo info;
    WavHeaderStatus status;
    {
        CSharedReadFile file(path);
        if (!file.IsOpen()) return nullptr;
        length = file.Length();
        status = file.ParseWavHeader(info);
    }
    if (status != WavHeaderStatus::Ok) return nullptr;
    // A header that names no usable format gives no row rather than a division by zero.
    uint64_t byteRate = (uint64_t)info.sampleRate * info.channels * info.bitsPerSample / 8;
    if (!info.channels || !info.sampleRate || !info.bitsPerSample || !byteRate) return nullptr;

    auto row = std::make_unique<RecordFileRow>();
    row->path = path;
    row->title = DisplayTitle(path);
    row->size = (double)length;
    row->playSeconds = double(info.dataSize) / byteRate;
    row->sampleRate = (int)info.sampleRate;
    row->channels = info.channels;
    row->bitsPerSample = info.bitsPerSample;
    return row;
}

CString PlayTimeText(double seconds)
{
    return CString(ClockText(seconds, false, L" : ").c_str());
}

CString FileSizeText(double bytes)
{
    CString text;
    text.Format(L"%7.2f MB", bytes / 1048576.0);
    return text;
}

CString FormatText(int rate, int bits, int channels)
{
    CString text;
    text.Format(L"%dHz %dbit %s", rate, bits, channels == 1 ? L"Mono" : L"Stereo");
    return text;
}

// The rename box

LRESULT CRecFileRenameEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KILLFOCUS) {
        LRESULT result = CTooltipEdit::WindowProc(message, wParam, lParam);
        if (auto* list = (CRecordFileListCtrl*)CWnd::FromHandlePermanent(::GetParent(m_hWnd))) list->EndRename();
        return result;
    }
    if (message == WM_KEYUP && wParam == VK_RETURN) {
        if (auto* list = (CRecordFileListCtrl*)CWnd::FromHandlePermanent(::GetParent(m_hWnd))) list->EndRename();
        return CTooltipEdit::WindowProc(message, wParam, lParam);
    }
    return CTooltipEdit::WindowProc(message, wParam, lParam);
}

// The list

BEGIN_MESSAGE_MAP(CRecordFileListCtrl, CBListCtrl)
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CRecordFileListCtrl::CRecordFileListCtrl() = default;

CRecordFileListCtrl::~CRecordFileListCtrl()
{
    delete m_pRenameEdit;
}

void CRecordFileListCtrl::InsertColumns()
{
    // Inserted in this order so that the columns come out as File, Play Time, Size, Format.
    const struct { UINT text; int position, format, width, subItem; } columns[] = {
        {105, 1, LVCFMT_LEFT, 280, 1},
        {104, 3, LVCFMT_CENTER, 160, 2},
        {113, 2, LVCFMT_CENTER, 160, 3},
        {155, 4, LVCFMT_CENTER, 170, 4},
    };
    for (const auto& c : columns) {
        CString heading;
        heading.LoadString(c.text);
        InsertColumn(c.position, heading, c.format, c.width, c.subItem);
    }
}

BOOL CRecordFileListCtrl::AddFile(const wchar_t* path, BOOL checked)
{
    std::unique_ptr<RecordFileRow> row = ReadRecordFileRow(path);
    if (!row) return FALSE;
    InsertRow(std::move(row), checked);
    return TRUE;
}

void CRecordFileListCtrl::InsertRow(std::unique_ptr<RecordFileRow> row, BOOL checked)
{
    int index = InsertItem(GetItemCount(), row->title, 1);
    if (index < 0) return;
    SetItemText(index, 1, PlayTimeText(row->playSeconds));
    SetItemText(index, 2, FileSizeText(row->size));
    SetItemText(index, 3, FormatText(row->sampleRate, row->bitsPerSample, row->channels));
    SetCheck(index, checked);
    SetItemData(index, (DWORD_PTR)row.release());
    SendMessage(LVM_SETHOTITEM, (WPARAM)index);
    EnsureVisible(index, FALSE);
    Invalidate();
}

CString CRecordFileListCtrl::GetSelectedPath() const
{
    int index = GetNextItem(-1, LVNI_SELECTED);
    const RecordFileRow* row = index >= 0 ? Row(index) : nullptr;
    return row ? row->path : CString();
}

void CRecordFileListCtrl::Play()
{
    CString path = GetSelectedPath();
    if (path.IsEmpty()) return;
    CString ext = PathFindExtensionW(path);
    CString verb = L"open";

    // The play command of the user's program for this kind of file, if it has one.
    CString key = L"____", value, sub;
    CString fileExts;
    fileExts.Format(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\%s", (const wchar_t*)ext);
    auto classKey = [&](const CString& progId) {
        CString k;
        k.Format(L"%s\\shell\\play\\command", (const wchar_t*)progId);
        return k;
    };
    auto fromClassesRoot = [&] {
        return RegReadString(HKEY_CLASSES_ROOT, ext, L"", value, L"") ? classKey(value) : CString(L"____");
    };
    if (GetOSVersionCode() >= 9) {
        sub.Format(L"%s\\UserChoice", (const wchar_t*)fileExts);
        key = RegReadString(HKEY_CURRENT_USER, sub, L"Progid", value, L"") ? classKey(value) : fromClassesRoot();
    } else if (RegReadString(HKEY_CURRENT_USER, fileExts, L"Progid", value, L"")) {
        key = classKey(value);
    } else if (RegReadString(HKEY_CURRENT_USER, fileExts, L"Application", value, L"")) {
        key.Format(L"Applications\\%s\\shell\\play\\command", (const wchar_t*)value);
    } else {
        key = fromClassesRoot();
    }
    if (RegReadString(HKEY_CLASSES_ROOT, key, L"", value, L"")) verb = L"play";
    INT_PTR result = (INT_PTR)ShellExecuteW(m_hWnd, verb, path, nullptr, nullptr, SW_SHOWNORMAL);
    if (result > 32) return;
    // Without a word the click would seem lost.
    CString text;
    if (result == SE_ERR_NOASSOC || result == SE_ERR_ASSOCINCOMPLETE)
        text.Format(L"No program is associated with %s files.  Please install a player and try again.",
                    (const wchar_t*)ext);
    else
        text.Format(L"Cannot play the file.\n\n%s", (const wchar_t*)path);
    HWND owner = ::GetAncestor(m_hWnd, GA_ROOT);
    ::MessageBoxW(owner ? owner : m_hWnd, text, g_szWindowTitle, MB_ICONEXCLAMATION);
}

void CRecordFileListCtrl::Rename()
{
    int index = GetNextItem(-1, LVNI_SELECTED);
    const RecordFileRow* row = index >= 0 ? Row(index) : nullptr;
    if (!row) return;
    if (!m_pRenameEdit) {
        m_pRenameEdit = new CRecFileRenameEdit;
        CRect empty(0, 0, 0, 0);
        HWND box = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 0, 0, 0,
                                     0, m_hWnd, (HMENU)(INT_PTR)100, nullptr, nullptr);
        m_pRenameEdit->SubclassWindow(box);
        m_pRenameEdit->SendMessage(WM_SETFONT, SendMessage(WM_GETFONT), TRUE);
        m_pRenameEdit->SetTipParent(AfxGetMainWnd());
    }
    m_pRenameEdit->SetWindowText(row->title);
    m_pRenameEdit->m_nItem = index;
    CRect rc, label;
    GetItemRect(index, &rc, LVIR_BOUNDS);
    // Over the name from its first letter on: the check box stays free, and
    // no letter of the old name shows beside the box.
    rc.left = GetItemRect(index, &label, LVIR_LABEL) ? label.left : 40;
    rc.right = GetColumnWidth(0);
    m_pRenameEdit->MoveWindow(&rc);
    m_pRenameEdit->ShowWindow(SW_SHOW);
    m_pRenameEdit->SetFocus();
    m_pRenameEdit->SendMessage(EM_SETSEL, 0, -1);
}

void CRecordFileListCtrl::EndRename()
{
    // Ends once: hiding the box and taking the focus back end it again.
    if (!m_pRenameEdit || m_pRenameEdit->m_nItem < 0) return;
    int index = m_pRenameEdit->m_nItem;
    m_pRenameEdit->m_nItem = -1;
    m_pRenameEdit->ShowWindow(SW_HIDE);
    RecordFileRow* row = index >= 0 && index < GetItemCount() ? (RecordFileRow*)GetItemData(index) : nullptr;
    CString typed;
    m_pRenameEdit->GetWindowText(typed);
    typed.Trim();
    // A change of letter case alone is not applied.
    if (row && !typed.IsEmpty() && typed.CompareNoCase(row->title) != 0) {
        // Only the file name changes (a folder of the same name stays), and it keeps its extension.
        const wchar_t* name = PathFindFileNameW(row->path);
        CString folder = row->path.Left((int)(name - (const wchar_t*)row->path));
        CString ext = PathFindExtensionW(name);
        CString newName = typed;
        if (newName.GetLength() < ext.GetLength() ||
            newName.Right(ext.GetLength()).CompareNoCase(ext) != 0)
            newName += ext;
        CString newPath = folder + newName;
        // The disk first: the row follows only a rename that happened, and an
        // existing file is never replaced.
        if (MoveFileW(row->path, newPath)) {
            row->path = newPath;
            row->title = DisplayTitle(newPath);
            SetItemText(index, 0, row->title);
            SetItemData(index, (DWORD_PTR)row);
        }
    }
    SetFocus();
}

void CRecordFileListCtrl::DeleteRow(int index)
{
    delete (RecordFileRow*)GetItemData(index);
    SetItemData(index, 0);
    DeleteItem(index);
}

void CRecordFileListCtrl::DeleteAllRows()
{
    while (GetItemCount() > 0) DeleteRow(0);
}

void CRecordFileListCtrl::RemoveSelected()
{
    if (GetSelectedCount() == 0) return;
    if ((int)GetSelectedCount() == GetItemCount()) {
        DeleteAllRows();
        return;
    }
    std::vector<int> selected;
    for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED)) selected.push_back(i);
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) DeleteRow(*it);
}

void CRecordFileListCtrl::Remove()
{
    RemoveSelected();
}

void CRecordFileListCtrl::Delete()
{
    if (GetSelectedCount() == 0) return;
    std::vector<int> selected;
    std::vector<wchar_t> list;
    for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED)) {
        const RecordFileRow* row = Row(i);
        if (!row) continue;
        selected.push_back(i);
        list.insert(list.end(), (const wchar_t*)row->path, (const wchar_t*)row->path + row->path.GetLength());
        list.push_back(0);
    }
    if (selected.empty()) return;
    list.push_back(0);
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = list.data();
    op.fFlags = FOF_ALLOWUNDO | FOF_MULTIDESTFILES;
    SHFileOperationW(&op);
    // Only the rows whose file really went (the user may have said No, or a file
    // may have refused).
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        if (FileGone(Row(*it)->path)) DeleteRow(*it);
}

void CRecordFileListCtrl::OnLButtonDblClk(UINT flags, CPoint point)
{
    if (HitTest(point) >= 0) Play();
    Default();
    (void)flags;
}

LRESULT CRecordFileListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ADD_ROW:
        InsertRow(std::unique_ptr<RecordFileRow>((RecordFileRow*)lParam), FALSE);
        return 1;
    case WM_DESTROY:
        DeleteAllRows();
        break;
    case WM_KEYUP:
        if (wParam == VK_DELETE) Delete();
        break;
    case WM_VSCROLL:
    case WM_HSCROLL:
        if (TranslateScroll(message, wParam)) return 1;
        break;
    }
    return CBListCtrl::WindowProc(message, wParam, lParam);
}
