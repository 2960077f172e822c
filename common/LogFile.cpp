#include "LogFile.h"
#include "CmdLineParser.h"
#include "NVPath.h"
#include "File.h"
#include <shlobj.h>
#include <shlwapi.h>
#include <cstdio>
#include <vector>

CLogFile g_LogFile;
BOOL g_bDebugSwitch = FALSE;

namespace {

constexpr int kLogPathChars = 511;   // the path buffer holds 512 characters

bool FormatV(std::vector<wchar_t>& out, const wchar_t* format, va_list args)
{
    if (!format) return false;
    va_list probe;
    va_copy(probe, args);
    int n = _vscwprintf(format, probe);
    va_end(probe);
    if (n < 0) return false;
    try { out.assign((size_t)n + 1, L'\0'); } catch (...) { return false; }
    _vsnwprintf(out.data(), out.size(), format, args);
    out[(size_t)n] = L'\0';
    return true;
}

} // namespace

void CLogFile::SetFileName(const wchar_t* path, BOOL keepBackups)
{
    if (!path) path = L"";
    if (keepBackups && *path && PathFileExistsW(path)) {
        // The backups sit beside the log, whatever kind of folder holds it.
        NV_Path parts(path);
        CString bak1, bak2;
        CString folder = parts.GetDrive() + parts.GetDir();
        bak1.Format(L"%s%s_bak%d%s", (const wchar_t*)folder, (const wchar_t*)parts.GetFileTitle(), 1,
                    (const wchar_t*)parts.GetExt());
        bak2.Format(L"%s%s_bak%d%s", (const wchar_t*)folder, (const wchar_t*)parts.GetFileTitle(), 2,
                    (const wchar_t*)parts.GetExt());
        if (PathFileExistsW(bak1)) CopyFileW(bak1, bak2, FALSE);
        CopyFileW(path, bak1, FALSE);
    }
    std::lock_guard<std::mutex> hold(m_lock);
    m_path = path;
    m_lines = 0;        // a new log counts from its first line
}

void CLogFile::SetLevel(DWORD mask)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_mask = mask;
}

CString CLogFile::GetFileName() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_path;
}

int CLogFile::GetLineCount() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_lines;
}

bool CLogFile::Passes(DWORD level) const
{
    if (m_mask & 1) return false;
    if (m_mask & level & 0x20000) return (level & 0xFFFF) < 0x200;
    if (m_mask == 0x40000) return level == 0x20000 || level == 0x40000;
    return m_mask == 0x10000;
}

void CLogFile::Write(DWORD level, const wchar_t* text)
{
    std::lock_guard<std::mutex> hold(m_lock);
    if (!Passes(level)) return;

    wchar_t date[256], time[256];
    GetLocalDateTimeText(date, time, FALSE);
    CString line;
    line.Format(L"[%08d] [%s-%s] ", m_lines, date, time);
    if (m_path.IsEmpty()) return;

    // Written as ANSI bytes with CR LF, without byte-order mark, in one write.
    line += text ? text : L"";
    std::string bytes = WideToMultiByte(line, line.GetLength(), CP_THREAD_ACP);
    bytes += "\r\n";

    CFile file;
    if (!file.Open(m_path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite | CFile::shareDenyNone))
        return;
    if (file.SeekToEnd() < 0 || !file.Write(bytes.data(), (UINT)bytes.size())) return;
    ++m_lines;
}

int GetLocalDateTimeText(wchar_t* date, wchar_t* time, BOOL quoted)
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    const wchar_t* q = quoted ? L"\"" : L"";
    if (date)
        _snwprintf(date, 32, L"%s%02u/%02u/%02u%s", q, st.wYear, st.wMonth, st.wDay, q);
    if (time)
        _snwprintf(time, 32, L"%s%02u:%02u:%02u.%03u%s", q, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds, q);
    return 1;
}

void LogInit(HMODULE module, const wchar_t* fileName, int folderMode, BOOL keepBackups, DWORD levelMask)
{
    wchar_t buf[MAX_PATH + 1] = {};
    CString folder;
    switch (folderMode) {
    case LOG_FOLDER_MODULE:
        GetModuleFileNameW(module, buf, MAX_PATH);
        folder = buf;
        break;
    case LOG_FOLDER_TEMP:
        GetTempPathW(MAX_PATH, buf);
        folder.Format(L"%sTmpF\\", buf);
        CreateDirectoryW(folder, nullptr);
        break;
    case LOG_FOLDER_DOCUMENTS:
        if (!SHGetSpecialFolderPathW(nullptr, buf, CSIDL_PERSONAL, FALSE)) return;
        folder.Format(L"%s\\", buf);
        break;
    default:
        return;
    }
    int cut = folder.ReverseFind(L'\\');
    if (cut >= 0) folder = folder.Left(cut);

    CString path = folder + L"\\" + (fileName ? fileName : L"");
    if (path.GetLength() > kLogPathChars) path = path.Left(kLogPathChars);

    g_LogFile.SetFileName(path, keepBackups);
    g_LogFile.SetLevel(levelMask);
    DeleteFileW(path);
    LogPrint(LOG_LEVEL_DEFAULT, L"Log init Success");
}

void LogPrint(DWORD level, const wchar_t* format, ...)
{
    std::vector<wchar_t> text;
    va_list args;
    va_start(args, format);
    bool ok = FormatV(text, format, args);
    va_end(args);
    if (ok) g_LogFile.Write(level, text.data());
}

void DebugPrint(const wchar_t* format, ...)
{
    if (!g_bDebugSwitch) return;
    std::vector<wchar_t> text;
    va_list args;
    va_start(args, format);
    bool ok = FormatV(text, format, args);
    va_end(args);
    if (!ok) return;
    OutputDebugStringW(text.data());
    g_LogFile.Write(LOG_LEVEL_DEFAULT, text.data());
}

namespace {
bool g_logSwitchRead = false;  // the command line was parsed
}  // namespace

BOOL ReadLogSwitch(const wchar_t* cmdLine)
{
    CCmdLineParser parser;
    g_logSwitchRead = parser.Parse(cmdLine, '/', ':') != FALSE;
    if (g_logSwitchRead && parser.HasKey(L"NV_Log")) g_bDebugSwitch = TRUE;
    return g_logSwitchRead;
}

void OpenSwitchedLog(HMODULE module, const wchar_t* logName)
{
    if (!g_logSwitchRead) return;
    if (g_bDebugSwitch) LogInit(module, logName, LOG_FOLDER_DOCUMENTS, TRUE, LOG_LEVEL_DEFAULT);
    DebugPrint(L"NV_Log param setting...");
}

BOOL InitLogFromCommandLine(const wchar_t* cmdLine, HMODULE module, const wchar_t* logName)
{
    if (!ReadLogSwitch(cmdLine)) return FALSE;
    OpenSwitchedLog(module, logName);
    return g_bDebugSwitch;
}
