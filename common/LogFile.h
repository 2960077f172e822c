// The diagnostic log: one text file per program, switched on by "NV_Log".
// Each line is "[counter] [date-time] text", ANSI bytes ending in CR LF; the file
// is opened and closed per line so it survives a crash and can be read live.
#pragma once
#include <windows.h>
#include <mutex>
#include "String.h"

// Level every caller in the suite uses, and the mask every program sets.
constexpr DWORD LOG_LEVEL_DEFAULT = 0x20000;

class CLogFile {
public:
    CLogFile() = default;
    CLogFile(const CLogFile&) = delete;
    CLogFile& operator=(const CLogFile&) = delete;

    // Keeps the two previous logs as "<title>_bak1<ext>" and "<title>_bak2<ext>";
    // the line counter starts again at 0.
    void SetFileName(const wchar_t* path, BOOL keepBackups);
    void SetLevel(DWORD mask);
    // Appends one line when the level passes the mask; safe from any thread.
    void Write(DWORD level, const wchar_t* text);

    CString GetFileName() const;
    int GetLineCount() const;

private:
    bool Passes(DWORD level) const;

    mutable std::mutex m_lock;
    CString m_path;                 // nothing is written while empty
    int m_lines = 0;
    DWORD m_mask = 0x10000;
};

// The process's log object (each module that links this library has its own).
extern CLogFile g_LogFile;
// Set by the program's start-up when "NV_Log" was given; gates DebugPrint.
extern BOOL g_bDebugSwitch;

// Folder modes of LogInit.
enum { LOG_FOLDER_MODULE = 0, LOG_FOLDER_TEMP = 1, LOG_FOLDER_DOCUMENTS = 2 };

void LogInit(HMODULE module, const wchar_t* fileName, int folderMode, BOOL keepBackups, DWORD levelMask);
void LogPrint(DWORD level, const wchar_t* format, ...);
void DebugPrint(const wchar_t* format, ...);
// Fills whichever buffer is not null ("2026/12/10", "13:05:28.120"); each needs
// room for 32 characters. Returns 1.
int GetLocalDateTimeText(wchar_t* date, wchar_t* time, BOOL quoted);

// The start-up step every program makes: parse its command line with '/' and ':';
// when "NV_Log" is there set the debug switch and open the log (own module,
// logName, Documents folder, two backups, mask 0x20000); then note the switch
// setting in the log. Returns TRUE when logging was switched on.
BOOL InitLogFromCommandLine(const wchar_t* cmdLine, HMODULE module, const wchar_t* logName);
// The same step in two halves, for a program that may refuse to start because
// another copy runs: ReadLogSwitch only sets the debug switch; OpenSwitchedLog,
// called once the start is accepted, opens the log and notes the switch. Opening
// moves the previous log to the backups, and that log is the running copy's.
// ReadLogSwitch returns FALSE when the command line cannot be parsed, and then
// OpenSwitchedLog does nothing.
BOOL ReadLogSwitch(const wchar_t* cmdLine);
void OpenSwitchedLog(HMODULE module, const wchar_t* logName);
