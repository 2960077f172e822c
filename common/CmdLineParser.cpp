#include "CmdLineParser.h"
#include <cwchar>
#include <cwctype>

BOOL CCmdLineParser::Parse(const wchar_t* cmdLine, char switchChar, char separator)
{
    m_data.clear();
    if (!cmdLine || !*cmdLine) return FALSE;
    m_switchChar = switchChar;
    m_separator = separator;

    const std::wstring line(cmdLine);
    const wchar_t sw = (wchar_t)(unsigned char)switchChar;
    const wchar_t sep = (wchar_t)(unsigned char)separator;
    size_t start = 0;
    while (start <= line.size()) {
        size_t end = line.find(sw, start);
        if (end == std::wstring::npos) end = line.size();
        std::wstring token = line.substr(start, end - start);
        start = end + 1;
        if (token.empty()) continue;
        // Only trailing white space goes: "/ NV_Log" keeps its blank.
        while (!token.empty() && iswspace(token.back())) token.pop_back();
        _CmdLineData data;
        size_t split = token.find(sep);
        data.key = token.substr(0, split);
        if (split != std::wstring::npos) data.value = token.substr(split + 1);
        m_data.push_back(data);
    }
    return m_data.empty() ? FALSE : TRUE;
}

BOOL CCmdLineParser::HasKey(const wchar_t* key) const
{
    if (m_data.empty() || !key || !*key) return FALSE;
    for (const auto& d : m_data)
        if (_wcsicmp(d.key, key) == 0) return TRUE;
    return FALSE;
}
