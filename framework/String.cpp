#include "String.h"
#include "ResourceHandle.h"
#include <algorithm>
#include <cwctype>
#include <cstdio>
#include <vector>

std::wstring MultiByteToWide(const char* text, int length, UINT codePage)
{
    if (!text) return std::wstring();
    if (length < 0) length = (int)strlen(text);
    if (length == 0) return std::wstring();
    int n = MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    std::wstring out(n > 0 ? n : 0, L'\0');
    if (n > 0) MultiByteToWideChar(codePage, 0, text, length, &out[0], n);
    return out;
}

std::string WideToMultiByte(const wchar_t* text, int length, UINT codePage)
{
    if (!text) return std::string();
    if (length < 0) length = (int)wcslen(text);
    if (length == 0) return std::string();
    int n = WideCharToMultiByte(codePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0) WideCharToMultiByte(codePage, 0, text, length, &out[0], n, nullptr, nullptr);
    return out;
}

CString::CString(const char* ansi) : m_s(MultiByteToWide(ansi, -1, CP_ACP)) {}
CString::CString(const CStringA& ansi) : m_s(MultiByteToWide(ansi.GetString(), ansi.GetLength(), CP_ACP)) {}

void CString::FormatV(const wchar_t* fmt, va_list args)
{
    if (!fmt) { m_s.clear(); return; }
    va_list probe;
    va_copy(probe, args);
    int n = _vscwprintf(fmt, probe);
    va_end(probe);
    if (n < 0) { m_s.clear(); return; }
    std::vector<wchar_t> buf((size_t)n + 1);
    _vsnwprintf(buf.data(), buf.size(), fmt, args);
    buf[(size_t)n] = L'\0';
    m_s.assign(buf.data(), (size_t)n);
}

void CString::Format(const wchar_t* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    FormatV(fmt, args);
    va_end(args);
}

void CString::AppendFormat(const wchar_t* fmt, ...)
{
    CString tail;
    va_list args;
    va_start(args, fmt);
    tail.FormatV(fmt, args);
    va_end(args);
    m_s += tail.m_s;
}

BOOL CString::LoadString(UINT id)
{
    const wchar_t* res = nullptr;
    int len = ::LoadStringW(AfxGetResourceHandle(), id, (LPWSTR)&res, 0);
    if (len <= 0 && AfxGetResourceHandle() != GetModuleHandleW(nullptr))
        len = ::LoadStringW(GetModuleHandleW(nullptr), id, (LPWSTR)&res, 0);
    if (len <= 0 || !res) { m_s.clear(); return FALSE; }
    m_s.assign(res, (size_t)len);
    return TRUE;
}

wchar_t* CString::GetBuffer(int minLength)
{
    if (minLength > (int)m_s.size()) m_s.resize((size_t)minLength);
    m_s.reserve(m_s.size() + 1);
    return &m_s[0];
}

wchar_t* CString::GetBufferSetLength(int length)
{
    m_s.resize(length > 0 ? (size_t)length : 0);
    return &m_s[0];
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0) newLength = (int)wcsnlen(m_s.c_str(), m_s.size());
    m_s.resize((size_t)std::min<int>(newLength, (int)m_s.size()));
}

int CString::Find(wchar_t ch, int start) const
{
    if (start < 0 || start > (int)m_s.size()) return -1;
    size_t p = m_s.find(ch, (size_t)start);
    return p == std::wstring::npos ? -1 : (int)p;
}

int CString::Find(const wchar_t* sub, int start) const
{
    if (!sub || start < 0 || start > (int)m_s.size()) return -1;
    size_t p = m_s.find(sub, (size_t)start);
    return p == std::wstring::npos ? -1 : (int)p;
}

int CString::ReverseFind(wchar_t ch) const
{
    size_t p = m_s.rfind(ch);
    return p == std::wstring::npos ? -1 : (int)p;
}

CString CString::Mid(int first) const { return Mid(first, GetLength() - std::max(first, 0)); }

CString CString::Mid(int first, int count) const
{
    if (first < 0) first = 0;
    if (count < 0) count = 0;
    if (first >= GetLength()) return CString();
    return CString(m_s.substr((size_t)first, (size_t)count));
}

CString CString::Left(int count) const
{
    if (count <= 0) return CString();
    return CString(m_s.substr(0, (size_t)count));
}

CString CString::Right(int count) const
{
    if (count <= 0) return CString();
    if (count >= GetLength()) return *this;
    return CString(m_s.substr(m_s.size() - (size_t)count));
}

CString& CString::MakeLower()
{
    if (!m_s.empty()) CharLowerBuffW(&m_s[0], (DWORD)m_s.size());
    return *this;
}

CString& CString::MakeUpper()
{
    if (!m_s.empty()) CharUpperBuffW(&m_s[0], (DWORD)m_s.size());
    return *this;
}

CString& CString::TrimLeft()
{
    size_t i = 0;
    while (i < m_s.size() && iswspace(m_s[i])) ++i;
    m_s.erase(0, i);
    return *this;
}

CString& CString::TrimRight()
{
    size_t n = m_s.size();
    while (n > 0 && iswspace(m_s[n - 1])) --n;
    m_s.resize(n);
    return *this;
}

CString& CString::Trim() { TrimRight(); return TrimLeft(); }

CString& CString::TrimLeft(const wchar_t* chars)
{
    size_t p = m_s.find_first_not_of(chars ? chars : L"");
    m_s.erase(0, p == std::wstring::npos ? m_s.size() : p);
    return *this;
}

CString& CString::TrimRight(const wchar_t* chars)
{
    size_t p = m_s.find_last_not_of(chars ? chars : L"");
    m_s.resize(p == std::wstring::npos ? 0 : p + 1);
    return *this;
}

int CString::Replace(const wchar_t* from, const wchar_t* to)
{
    if (!from || !*from) return 0;
    std::wstring f(from), t(to ? to : L"");
    int count = 0;
    for (size_t p = m_s.find(f); p != std::wstring::npos; p = m_s.find(f, p + t.size())) {
        m_s.replace(p, f.size(), t);
        ++count;
    }
    return count;
}

int CString::Replace(wchar_t from, wchar_t to)
{
    int count = 0;
    for (auto& c : m_s)
        if (c == from) { c = to; ++count; }
    return count;
}

int CString::Insert(int index, const wchar_t* s)
{
    index = std::max(0, std::min(index, GetLength()));
    if (s) m_s.insert((size_t)index, s);
    return GetLength();
}

int CString::Delete(int index, int count)
{
    if (index >= 0 && index < GetLength() && count > 0) m_s.erase((size_t)index, (size_t)count);
    return GetLength();
}

int CString::Remove(wchar_t ch)
{
    size_t before = m_s.size();
    m_s.erase(std::remove(m_s.begin(), m_s.end(), ch), m_s.end());
    return (int)(before - m_s.size());
}

int CString::CompareNoCase(const wchar_t* s) const { return _wcsicmp(m_s.c_str(), s ? s : L""); }

CStringA::CStringA(const wchar_t* wide) : m_s(WideToMultiByte(wide, -1, CP_ACP)) {}

void CStringA::Format(const char* fmt, ...)
{
    va_list args, probe;
    va_start(args, fmt);
    va_copy(probe, args);
    int n = _vscprintf(fmt, probe);
    va_end(probe);
    if (n < 0) { m_s.clear(); va_end(args); return; }
    std::vector<char> buf((size_t)n + 1);
    _vsnprintf(buf.data(), buf.size(), fmt, args);
    va_end(args);
    m_s.assign(buf.data(), (size_t)n);
}

char* CStringA::GetBuffer(int minLength)
{
    if (minLength > (int)m_s.size()) m_s.resize((size_t)minLength);
    m_s.reserve(m_s.size() + 1);
    return &m_s[0];
}

void CStringA::ReleaseBuffer(int newLength)
{
    if (newLength < 0) newLength = (int)strnlen(m_s.c_str(), m_s.size());
    m_s.resize((size_t)std::min<int>(newLength, (int)m_s.size()));
}
