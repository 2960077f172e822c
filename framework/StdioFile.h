// CStdioFile: a text file of lines in the ANSI code page. Lines are read up to
// LF (a CR before it is dropped) and written with CR LF.
#pragma once
#include "File.h"
#include <string>

class CStdioFile : public CFile {
public:
    BOOL Open(const wchar_t* path, UINT flags) override;
    void Close() override;

    // The next line without its line end; FALSE at the end of the file.
    BOOL ReadString(CString& line);
    // Each "\n" of the text is written as CR LF.
    BOOL WriteString(const wchar_t* text);

private:
    bool Fill();

    std::string m_buffer;      // bytes read ahead of the current line
    size_t m_offset = 0;
    bool m_eof = false;
};
