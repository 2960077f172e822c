#include "FileDialog.h"
#include "Wnd.h"

CFileDialog::CFileDialog(BOOL openDialog, const wchar_t* defaultExt, const wchar_t* fileName, DWORD flags,
                         const wchar_t* filter, CWnd* parent)
    : m_open(openDialog), m_parent(parent ? parent->m_hWnd : nullptr)
{
    if (filter) {
        m_filter = filter;
        for (auto& ch : m_filter)
            if (ch == L'|') ch = L'\0';
        m_filter.push_back(L'\0');
    }
    if (defaultExt) m_defaultExt = defaultExt;
    m_file.assign(32768, L'\0');
    if (fileName) m_file.replace(0, wcslen(fileName), fileName);
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
}

INT_PTR CFileDialog::DoModal()
{
    if (!m_ofn.hwndOwner) m_ofn.hwndOwner = m_parent ? m_parent : ::GetActiveWindow();
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.lpstrDefExt = m_defaultExt.empty() ? nullptr : m_defaultExt.c_str();
    m_ofn.lpstrFile = &m_file[0];
    m_ofn.nMaxFile = (DWORD)m_file.size();
    BOOL ok = m_open ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    m_file.resize(wcslen(m_file.c_str()));
    m_file.resize(32768, L'\0');
    m_file.resize(wcslen(m_file.c_str()));
    return ok ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileName() const
{
    size_t slash = m_file.find_last_of(L"\\/");
    return CString(slash == std::wstring::npos ? m_file : m_file.substr(slash + 1));
}

CString CFileDialog::GetFileExt() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot < 0 ? name : name.Left(dot);
}

CString CFileDialog::GetFolderPath() const
{
    size_t slash = m_file.find_last_of(L"\\/");
    return CString(slash == std::wstring::npos ? std::wstring() : m_file.substr(0, slash));
}
