#include "NVPath.h"

void NV_Path::Split(const wchar_t* path)
{
    m_full = path ? path : L"";
    m_drive.Empty(); m_dir.Empty(); m_title.Empty(); m_ext.Empty();

    std::wstring rest = m_full.str();
    if (rest.size() >= 2 && rest[1] == L':') {
        m_drive = rest.substr(0, 2);
        rest.erase(0, 2);
    }
    size_t slash = rest.find_last_of(L"\\/");
    if (slash != std::wstring::npos) {
        std::wstring dir = rest.substr(0, slash + 1);
        for (auto& ch : dir) if (ch == L'/') ch = L'\\';
        m_dir = dir;
        rest.erase(0, slash + 1);
    }
    size_t dot = rest.rfind(L'.');
    if (dot != std::wstring::npos) {
        m_ext = rest.substr(dot);
        rest.erase(dot);
    }
    m_title = rest;
}

CString NV_Path::GetDriveDir() const
{
    if (m_drive.IsEmpty()) return CString();
    if (m_dir.IsEmpty()) return m_drive + L"\\";
    return m_drive + m_dir;
}
