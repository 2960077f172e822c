// CCmdLineParser: splits a command line into switches ("/key:value") so a program
// can ask whether a switch was given.
#pragma once
#include <windows.h>
#include <vector>
#include "String.h"

class CCmdLineParser {
public:
    struct _CmdLineData {
        CString key;
        CString value;
    };

    CCmdLineParser() = default;
    virtual ~CCmdLineParser() = default;

    // The text before the first switch character counts as a switch too. TRUE when
    // at least one switch was stored.
    BOOL Parse(const wchar_t* cmdLine, char switchChar = '/', char separator = ':');
    // Compared without regard to case.
    BOOL HasKey(const wchar_t* key) const;

    int GetCount() const { return (int)m_data.size(); }
    const _CmdLineData& GetAt(int i) const { return m_data[(size_t)i]; }

private:
    char m_switchChar = '/';
    char m_separator = ':';
    std::vector<_CmdLineData> m_data;
};
