// CString / CStringA: the framework's string classes, thin wrappers over
// std::wstring / std::string with the operations the suite calls.
// Format uses the C runtime's wide printf, so %s takes a wide string (Microsoft's
// meaning; the build pins __USE_MINGW_ANSI_STDIO=0).
#pragma once
#include <windows.h>
#include <cstdarg>
#include <string>

class CStringA;

class CString {
public:
    CString() = default;
    CString(const wchar_t* s) : m_s(s ? s : L"") {}
    CString(const wchar_t* s, int len) : m_s(s ? std::wstring(s, len) : std::wstring()) {}
    CString(wchar_t ch, int repeat = 1) : m_s(repeat > 0 ? repeat : 0, ch) {}
    CString(const std::wstring& s) : m_s(s) {}
    explicit CString(const char* ansi);          // from the ANSI code page
    explicit CString(const CStringA& ansi);

    int GetLength() const { return (int)m_s.size(); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    operator const wchar_t*() const { return m_s.c_str(); }
    const wchar_t* GetString() const { return m_s.c_str(); }
    const std::wstring& str() const { return m_s; }
    wchar_t GetAt(int i) const { return m_s[(size_t)i]; }
    wchar_t operator[](int i) const { return m_s[(size_t)i]; }
    void SetAt(int i, wchar_t ch) { m_s[(size_t)i] = ch; }

    CString& operator=(const wchar_t* s) { m_s = s ? s : L""; return *this; }
    CString& operator+=(const CString& s) { m_s += s.m_s; return *this; }
    CString& operator+=(const wchar_t* s) { if (s) m_s += s; return *this; }
    CString& operator+=(wchar_t ch) { m_s += ch; return *this; }
    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
    friend CString operator+(const CString& a, const wchar_t* b) { return CString(a.m_s + (b ? b : L"")); }
    friend CString operator+(const wchar_t* a, const CString& b) { return CString((a ? a : L"") + b.m_s); }
    friend CString operator+(const CString& a, wchar_t ch) { return CString(a.m_s + ch); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.m_s == (b ? b : L""); }
    friend bool operator==(const wchar_t* a, const CString& b) { return b == a; }
    friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
    friend bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_s < b.m_s; }

    void Format(const wchar_t* fmt, ...);
    void FormatV(const wchar_t* fmt, va_list args);
    void AppendFormat(const wchar_t* fmt, ...);
    BOOL LoadString(UINT id);                    // from the current resource module

    // Writable buffer of at least minLength characters; ReleaseBuffer(-1) takes the
    // length from the terminator.
    wchar_t* GetBuffer(int minLength = 0);
    wchar_t* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

    int Find(wchar_t ch, int start = 0) const;
    int Find(const wchar_t* sub, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString& MakeLower();
    CString& MakeUpper();
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    CString& TrimLeft(const wchar_t* chars);
    CString& TrimRight(const wchar_t* chars);
    int Replace(const wchar_t* from, const wchar_t* to);
    int Replace(wchar_t from, wchar_t to);
    int Insert(int index, const wchar_t* s);
    int Delete(int index, int count = 1);
    int Remove(wchar_t ch);
    int Compare(const wchar_t* s) const { return wcscmp(m_s.c_str(), s ? s : L""); }
    int CompareNoCase(const wchar_t* s) const;

private:
    std::wstring m_s;
};

// 8-bit text, in the ANSI code page unless a conversion says otherwise.
class CStringA {
public:
    CStringA() = default;
    CStringA(const char* s) : m_s(s ? s : "") {}
    CStringA(const char* s, int len) : m_s(s ? std::string(s, len) : std::string()) {}
    CStringA(const std::string& s) : m_s(s) {}
    explicit CStringA(const wchar_t* wide);      // to the ANSI code page
    explicit CStringA(const CString& wide) : CStringA(wide.GetString()) {}

    int GetLength() const { return (int)m_s.size(); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    operator const char*() const { return m_s.c_str(); }
    const char* GetString() const { return m_s.c_str(); }
    const std::string& str() const { return m_s; }
    CStringA& operator=(const char* s) { m_s = s ? s : ""; return *this; }
    CStringA& operator+=(const char* s) { if (s) m_s += s; return *this; }
    friend bool operator==(const CStringA& a, const char* b) { return a.m_s == (b ? b : ""); }
    friend bool operator==(const CStringA& a, const CStringA& b) { return a.m_s == b.m_s; }
    void Format(const char* fmt, ...);
    char* GetBuffer(int minLength = 0);
    void ReleaseBuffer(int newLength = -1);

private:
    std::string m_s;
};

typedef CString CStringW;

// Conversions between UTF-16 and 8-bit text in a given code page.
std::wstring MultiByteToWide(const char* text, int length, UINT codePage);
std::string WideToMultiByte(const wchar_t* text, int length, UINT codePage);
inline CString AnsiToWide(const char* s) { return CString(MultiByteToWide(s, -1, CP_ACP)); }
inline CStringA WideToAnsi(const wchar_t* s) { return CStringA(WideToMultiByte(s, -1, CP_ACP)); }
inline CString Utf8ToCString(const char* s) { return CString(MultiByteToWide(s, -1, CP_UTF8)); }
inline CStringA WideToUtf8(const wchar_t* s) { return CStringA(WideToMultiByte(s, -1, CP_UTF8)); }
