#include "FolderBrowser.h"
#include <commctrl.h>
#include <string>

namespace {

bool IsSeparator(wchar_t ch) { return ch == L'\\'; }

// A name of one folder level: not empty, no blank, tab or dot at either end, none
// of the characters the file system refuses.
bool NameIsUsable(const std::wstring& name)
{
    if (name.empty()) return false;
    auto edge = [](wchar_t ch) { return ch == L'\t' || ch == L' ' || ch == L'.'; };
    if (edge(name.front()) || edge(name.back())) return false;
    return name.find_first_of(L"\"*/:<>?\\|") == std::wstring::npos;
}

// The typed text without trailing separators ("C:\" keeps its own).
std::wstring WithoutTrailingSeparators(std::wstring path)
{
    while (path.size() > 3 && IsSeparator(path.back())) path.pop_back();
    return path;
}

bool AnythingExists(const wchar_t* path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

CString Formatted(const wchar_t* format, const wchar_t* a, const wchar_t* b = L"")
{
    CString text;
    text.Format(format, a, b);
    return text;
}

// Unique name for the short-lived probe entries of CheckFolderAccess.
std::wstring ProbeName(const std::wstring& folder, const wchar_t* suffix)
{
    static LONG counter = 0;
    wchar_t name[64];
    swprintf(name, 64, L"~nvprobe%08lx%04lx%s", GetCurrentProcessId(),
             (unsigned long)(InterlockedIncrement(&counter) & 0xFFFF), suffix);
    return folder + name;
}

}  // namespace

BOOL FolderExists(const wchar_t* path)
{
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int CheckFolderPath(const wchar_t* typed, BOOL testOnly)
{
    if (!typed) return FOLDER_PATH_BAD_NAME;
    std::wstring path = WithoutTrailingSeparators(typed);
    // Longer paths are refused, not cut: a cut path would name another folder.
    if (path.size() <= 2 || path.size() > MAX_PATH - 1) return FOLDER_PATH_BAD_NAME;
    wchar_t drive = path[0];
    bool letter = (drive >= L'A' && drive <= L'Z') || (drive >= L'a' && drive <= L'z');
    if (!letter || path[1] != L':' || !IsSeparator(path[2])) return FOLDER_PATH_BAD_NAME;
    if (path.size() == 3)
        return testOnly || FolderExists(path.c_str()) ? FOLDER_PATH_OK : FOLDER_PATH_NOT_CREATED;

    size_t start = 3;
    for (;;) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        if (!NameIsUsable(path.substr(start, end - start))) return FOLDER_PATH_BAD_NAME;
        if (!testOnly) {
            std::wstring level = path.substr(0, end);
            CreateDirectoryW(level.c_str(), nullptr);
            if (!FolderExists(level.c_str())) return FOLDER_PATH_NOT_CREATED;
        }
        if (end == path.size()) return FOLDER_PATH_OK;
        start = end + 1;
    }
}

int ValidateAndCreateFolder(HWND owner, const wchar_t* title, const wchar_t* path, const wchar_t* question,
                            const wchar_t* warning)
{
    int code = CheckFolderPath(path, TRUE);
    if (code == FOLDER_PATH_OK) {
        std::wstring folder = WithoutTrailingSeparators(path);
        if (FolderExists(folder.c_str())) return 0;
        if (AnythingExists(folder.c_str())) {
            code = FOLDER_PATH_NOT_CREATED;  // a file of that name: never taken as the folder
        } else {
            CString ask = Formatted(L"%s\n\n%s", path, question ? question : L"");
            if (MessageBoxW(owner, ask, title, MB_ICONQUESTION | MB_YESNO) != IDYES) return -1;
            code = CheckFolderPath(path, FALSE);
            if (code == FOLDER_PATH_OK) return 0;
        }
    }
    CString text = code == FOLDER_PATH_BAD_NAME
                       ? Formatted(L"%s \n\n%s", path, warning ? warning : L"")
                       : Formatted(L"The folder:\n\n%s\n\ncan not be created. Please double check.", path);
    MessageBoxW(owner, text, title, MB_ICONWARNING);
    return code;
}

void CheckFolderAccess(const wchar_t* folderText, BOOL* canAddFolder, BOOL* canAddFile)
{
    std::wstring folder(folderText ? folderText : L"");
    if (folder.size() > 1299) folder.resize(1299);
    if (!folder.empty() && !IsSeparator(folder.back())) folder += L'\\';
    // Opening the folder with FILE_ADD_* access says little on every file system;
    // making and removing a real entry is what the caller is about to do.
    if (canAddFolder) {
        std::wstring probe = ProbeName(folder, L"");
        *canAddFolder = !folder.empty() && CreateDirectoryW(probe.c_str(), nullptr);
        if (*canAddFolder) RemoveDirectoryW(probe.c_str());
    }
    if (canAddFile) {
        std::wstring probe = ProbeName(folder, L".tmp");
        HANDLE file = folder.empty() ? INVALID_HANDLE_VALUE
                                     : CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                                   FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        *canAddFile = file != INVALID_HANDLE_VALUE;
        if (*canAddFile) CloseHandle(file);
    }
}

// ---------------------------------------------------------------------------
// The browse window's own command handling: OK and the added edit box.

class CPathDialogSub {
public:
    explicit CPathDialogSub(CPathDialog* dialog) : m_dialog(dialog) {}
    ~CPathDialogSub() { Unsubclass(); }

    void Subclass(HWND window)
    {
        m_window = window;
        SetWindowSubclass(window, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    void Unsubclass()
    {
        if (m_window && IsWindow(m_window)) RemoveWindowSubclass(m_window, Proc, 1);
        m_window = nullptr;
    }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR data)
    {
        CPathDialogSub* self = reinterpret_cast<CPathDialogSub*>(data);
        if (message == WM_COMMAND) {
            if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
                self->m_dialog->OnOK();
                return 0;
            }
            if (LOWORD(wParam) == CPathDialog::IDC_PATH_EDIT && HIWORD(wParam) == EN_CHANGE) {
                self->m_dialog->OnEditChanged();
                return 0;
            }
        }
        if (message == WM_NCDESTROY) {
            RemoveWindowSubclass(window, Proc, 1);
            self->m_window = nullptr;
        }
        return DefSubclassProc(window, message, wParam, lParam);
    }

    CPathDialog* m_dialog;
    HWND m_window = nullptr;
};

CPathDialog::CPathDialog(BOOL editable, const wchar_t* caption, const wchar_t* title,
                         const wchar_t* initialFolder, HWND owner, int maxLength, const wchar_t* question,
                         const wchar_t* warning)
    : m_caption(caption), m_hasCaption(caption != nullptr), m_title(title),
      m_initialFolder(initialFolder), m_hasInitialFolder(initialFolder != nullptr), m_owner(owner),
      m_editable(editable), m_maxLength(maxLength), m_question(question), m_warning(warning),
      m_sub(new CPathDialogSub(this))
{
    m_browse.hwndOwner = owner;
    m_browse.lpszTitle = m_title;
    m_browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    m_browse.lpfn = BrowseCallback;
    m_browse.lParam = reinterpret_cast<LPARAM>(this);
}

CPathDialog::~CPathDialog()
{
    delete m_sub;
}

int CPathDialog::DoModal()
{
    int result = -1;
    wchar_t displayName[MAX_PATH] = {};
    m_browse.pszDisplayName = displayName;
    m_accepted = FALSE;
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator))) return -1;
    LPITEMIDLIST item = SHBrowseForFolderW(&m_browse);
    if (item) allocator->Free(item);  // the path comes from the edit box
    if (m_accepted) result = 1;
    allocator->Release();
    m_sub->Unsubclass();
    m_browseWindow = nullptr;
    return result;
}

int CPathDialog::EffectiveMaxLength() const
{
    return m_maxLength > 0 && m_maxLength < MAX_PATH - 1 ? m_maxLength : MAX_PATH - 1;
}

int CALLBACK CPathDialog::BrowseCallback(HWND window, UINT message, LPARAM param, LPARAM data)
{
    CPathDialog* self = reinterpret_cast<CPathDialog*>(data);
    if (message == BFFM_INITIALIZED) self->OnInitialized(window);
    else if (message == BFFM_SELCHANGED) self->OnSelectionChanged(reinterpret_cast<LPCITEMIDLIST>(param));
    return 0;
}

void CPathDialog::OnInitialized(HWND window)
{
    m_browseWindow = window;
    if (m_hasCaption) SetWindowTextW(window, m_caption);
    m_sub->Subclass(window);
    ShowWindow(GetDlgItem(window, IDC_BROWSE_STATUS), SW_HIDE);

    RECT tree = {};
    GetWindowRect(GetDlgItem(window, IDC_BROWSE_TREE), &tree);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&tree), 2);
    HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                tree.left, tree.top - 35, tree.right - tree.left, 20, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PATH_EDIT)),
                                GetModuleHandleW(nullptr), nullptr);
    ShowWindow(edit, SW_SHOW);
    EnableWindow(edit, m_editable);
    SendMessageW(edit, WM_SETFONT, SendMessageW(window, WM_GETFONT, 0, 0), TRUE);

    wchar_t current[MAX_PATH] = {};
    const wchar_t* start = m_initialFolder;
    if (!m_hasInitialFolder) {
        GetCurrentDirectoryW(MAX_PATH, current);
        start = current;
    }
    SendMessageW(window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start));
}

void CPathDialog::OnSelectionChanged(LPCITEMIDLIST item)
{
    if (!m_browseWindow) return;
    wchar_t path[MAX_PATH] = {};
    bool usable = false;
    if (SHGetPathFromIDListW(item, path) && path[1] == L':') {
        usable = (int)wcslen(path) <= m_maxLength;
        if (!usable) path[0] = 0;
    } else {
        path[0] = 0;
    }
    SendMessageW(m_browseWindow, BFFM_ENABLEOK, 0, usable);
    SendMessageW(m_browseWindow, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path));
    SetDlgItemTextW(m_browseWindow, IDC_PATH_EDIT, path);
}

void CPathDialog::OnEditChanged()
{
    GetDlgItemTextW(m_browseWindow, IDC_PATH_EDIT, m_path, MAX_PATH);
    SendMessageW(m_browseWindow, BFFM_ENABLEOK, 0, m_path[0] != 0);
}

void CPathDialog::OnOK()
{
    HWND edit = GetDlgItem(m_browseWindow, IDC_PATH_EDIT);
    int length = GetWindowTextLengthW(edit);
    std::wstring typed((size_t)length + 1, L'\0');
    GetWindowTextW(edit, &typed[0], length + 1);
    typed.resize(wcslen(typed.c_str()));
    typed = WithoutTrailingSeparators(typed);

    // Message boxes carry the caption of the program's own window.
    wchar_t title[256] = {};
    HWND top = m_owner ? GetAncestor(m_owner, GA_ROOT) : m_browseWindow;
    GetWindowTextW(top ? top : m_browseWindow, title, 256);

    int result;
    if ((int)typed.size() > EffectiveMaxLength()) {
        CString text;
        text.Format(L"%s \n\n%s", typed.c_str(), (const wchar_t*)m_warning);
        MessageBoxW(m_browseWindow, text, title, MB_ICONWARNING);
        result = FOLDER_PATH_BAD_NAME;
    } else {
        wcscpy(m_path, typed.c_str());
        result = ValidateAndCreateFolder(m_browseWindow, title, m_path, m_question, m_warning);
    }
    if (result != 0) {
        SetFocus(edit);
        return;
    }
    m_accepted = TRUE;
    EndDialog(m_browseWindow, 1);
}
