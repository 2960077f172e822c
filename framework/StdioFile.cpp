#include "StdioFile.h"

BOOL CStdioFile::Open(const wchar_t* path, UINT flags)
{
    m_buffer.clear();
    m_offset = 0;
    m_eof = false;
    return CFile::Open(path, flags);
}

void CStdioFile::Close()
{
    m_buffer.clear();
    m_offset = 0;
    m_eof = false;
    CFile::Close();
}

bool CStdioFile::Fill()
{
    if (m_eof) return false;
    char chunk[4096];
    UINT got = Read(chunk, sizeof(chunk));
    if (!got) { m_eof = true; return false; }
    m_buffer.erase(0, m_offset);
    m_offset = 0;
    m_buffer.append(chunk, got);
    return true;
}

BOOL CStdioFile::ReadString(CString& line)
{
    size_t lf;
    while ((lf = m_buffer.find('\n', m_offset)) == std::string::npos)
        if (!Fill()) break;
    if (lf == std::string::npos && m_offset >= m_buffer.size()) {
        line.Empty();
        return FALSE;
    }
    size_t end = lf == std::string::npos ? m_buffer.size() : lf;
    size_t len = end - m_offset;
    if (len && m_buffer[m_offset + len - 1] == '\r') --len;
    line = CString(MultiByteToWide(m_buffer.data() + m_offset, (int)len, CP_ACP));
    m_offset = lf == std::string::npos ? m_buffer.size() : lf + 1;
    return TRUE;
}

BOOL CStdioFile::WriteString(const wchar_t* text)
{
    if (!text) return FALSE;
    std::string bytes = WideToMultiByte(text, -1, CP_ACP), out;
    out.reserve(bytes.size() + 8);
    for (char ch : bytes) {
        if (ch == '\n') out += '\r';
        out += ch;
    }
    return Write(out.data(), (UINT)out.size());
}
